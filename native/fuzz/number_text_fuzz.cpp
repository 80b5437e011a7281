#include "winops/number_text.h"

#include "number_reference.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string Describe(const std::vector<std::uint32_t>& units)
{
    std::string out = "\"";
    for (std::uint32_t unit : units) {
        char piece[16];
        if (unit >= 0x20 && unit < 0x7F && unit != '"' && unit != '\\') {
            std::snprintf(piece, sizeof piece, "%c", static_cast<char>(unit));
        } else {
            std::snprintf(piece, sizeof piece, "\\u%04X", static_cast<unsigned>(unit));
        }
        out += piece;
    }
    return out + "\"";
}

// -0.0 and 0.0 differ here on purpose: a sign that goes missing is a visible difference once
// the number is formatted again.
bool SameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

void CheckNumberToInteger(double number, const char* source)
{
    const std::int32_t got = NumberToInteger(number);
    const std::int32_t want = reference::NumberToInteger(number);
    if (got != want) {
        std::fprintf(stderr, "NumberToInteger(%a = %.17g) from %s: got %d, reference %d\n", number,
                     number, source, got, want);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Edit boxes hand over UTF-16, so every code unit is fair game, lone surrogates included.
    std::vector<std::uint32_t> units;
    std::wstring text;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        const std::uint32_t unit = data[i] | static_cast<std::uint32_t>(data[i + 1]) << 8;
        units.push_back(unit);
        text.push_back(static_cast<wchar_t>(unit));
    }

    const double got = TextToNumber(text);
    const reference::Reading want = reference::TextToNumber(units);
    if (!SameBits(got, want.value)) {
        std::fprintf(stderr,
                     "TextToNumber(%s)\n  got       %a = %.17g\n  reference %a = %.17g (strtod of "
                     "\"%s\")\n",
                     Describe(units).c_str(), got, got, want.value, want.value,
                     want.decimal.c_str());
        std::abort();
    }
    CheckNumberToInteger(got, "the text");

    // The same leading bytes as a raw double reach NaNs, infinities and subnormals no text needs.
    std::uint8_t raw[8] = {};
    std::memcpy(raw, data, std::min(size, sizeof raw));
    double number;
    std::memcpy(&number, raw, sizeof number);
    CheckNumberToInteger(number, "raw bytes");

    // Whatever the program shows in an edit box must read back as the same handle or size.
    std::int32_t value;
    std::memcpy(&value, raw, sizeof value);
    const std::wstring shown = IntegerToText(value);
    char expected[16];
    const int length = std::snprintf(expected, sizeof expected, "%d", static_cast<int>(value));
    if (shown != std::wstring(expected, expected + length)) {
        std::fprintf(stderr, "IntegerToText(%d) differs from \"%s\"\n", static_cast<int>(value),
                     expected);
        std::abort();
    }
    const std::int32_t back = NumberToInteger(TextToNumber(shown));
    if (back != value) {
        std::fprintf(stderr, "IntegerToText(%d) reads back as %d\n", static_cast<int>(value),
                     static_cast<int>(back));
        std::abort();
    }
    return 0;
}
