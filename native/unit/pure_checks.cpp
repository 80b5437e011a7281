// Fixed cases run natively under AddressSanitizer and UndefinedBehaviorSanitizer: texts far longer
// than the fuzzer ever builds, edges that a coverage-minimised corpus drops, and the fuzzer's own
// reference held to known answers so that it cannot drift into agreeing with a wrong program.

#include "shell/fatal_error.h"
#include "winops/client_size.h"
#include "winops/number_text.h"

#include "../fuzz/number_reference.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

int passed = 0;
int failed = 0;

void Record(bool ok, const std::string& what)
{
    if (ok) {
        ++passed;
    } else {
        ++failed;
        std::printf("FAIL %s\n", what.c_str());
    }
}

std::string Narrow(const std::wstring& text)
{
    std::string out;
    for (wchar_t c : text) {
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char piece[16];
            std::snprintf(piece, sizeof piece, "\\u%04X", static_cast<unsigned>(c));
            out += piece;
        }
    }
    return out.size() > 60 ? out.substr(0, 28) + "..." + out.substr(out.size() - 28) : out;
}

bool SameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Both readings must give the known answer, each on its own.
void ExpectNumber(const std::wstring& text, double expected)
{
    const double got = TextToNumber(text);
    Record(SameBits(got, expected),
           "TextToNumber(\"" + Narrow(text) + "\") = " + std::to_string(got));
    const std::vector<std::uint32_t> units(text.begin(), text.end());
    const double reference = reference::TextToNumber(units).value;
    Record(SameBits(reference, expected),
           "reference::TextToNumber(\"" + Narrow(text) + "\") = " + std::to_string(reference));
}

void ExpectInteger(double number, std::int32_t expected)
{
    char shown[48];
    std::snprintf(shown, sizeof shown, "%a", number);
    Record(NumberToInteger(number) == expected, std::string("NumberToInteger(") + shown + ")");
    Record(reference::NumberToInteger(number) == expected,
           std::string("reference::NumberToInteger(") + shown + ")");
}

void ExpectIntegerAgreement(double number)
{
    char shown[48];
    std::snprintf(shown, sizeof shown, "%a", number);
    Record(NumberToInteger(number) == reference::NumberToInteger(number),
           std::string("NumberToInteger(") + shown + ") against the reference");
}

// Edges the coverage-minimised corpus does not keep, since they add no new branch: only the
// agreement of the two readings is known here.
void ExpectAgreement(const std::wstring& text)
{
    const double got = TextToNumber(text);
    const std::vector<std::uint32_t> units(text.begin(), text.end());
    const double reference = reference::TextToNumber(units).value;
    Record(SameBits(got, reference), "TextToNumber(\"" + Narrow(text) +
                                         "\") = " + std::to_string(got) + ", reference " +
                                         std::to_string(reference));
    ExpectIntegerAgreement(got);
}

} // namespace

int main()
{
    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    const std::wstring zeros(100005, L'0');

    ExpectNumber(L"\uFF11\uFF12\uFF0E\uFF15\uFF45\uFF0B\uFF12", 1250.0);
    ExpectNumber(L"\u3000\t\r\n\v\f-0", -0.0);
    ExpectNumber(L"-.e5", 0.0);
    ExpectNumber(L"5d-x", 5.0);
    ExpectNumber(L"1234567890123456789012345678", 1234567890123456789012345e3);
    // 2^53 + 1 lies halfway between two doubles: the 25th digit tips it up, the 26th must not.
    ExpectNumber(L"9007199254740993.000000001", 9007199254740994.0);
    ExpectNumber(L"9007199254740993.0000000001", 9007199254740992.0);
    ExpectNumber(L"1e400", kInfinity);
    ExpectNumber(L"-1e-400", -0.0);
    ExpectNumber(L"4.9406564584124654e-324", 0x1p-1074);
    // Positions of the decimal point far beyond any exponent a double can use still cancel out.
    ExpectNumber(L"0." + zeros + L"1e100010", 1e4);
    ExpectNumber(L"1" + zeros + L"e-100003", 1e2);
    ExpectNumber(L"1e-99999999999999999999999999", 0.0);
    ExpectNumber(L"-1e+99999999999999999999999999", -kInfinity);

    ExpectInteger(4294967295.0, -1);
    ExpectInteger(-1.9, -1);
    ExpectInteger(2147483648.0, std::numeric_limits<std::int32_t>::min());
    ExpectInteger(-0x1p63 + 1024, 1024);
    ExpectInteger(0x1p63 - 1024, -1024);
    ExpectInteger(0x1p63, 0);
    ExpectInteger(-kInfinity, 0);
    ExpectInteger(std::numeric_limits<double>::quiet_NaN(), 0);

    for (const wchar_t* text :
         {L"\v\f\r\n\t 1", L"\uFF0D\uFF10", L"+0.0e-5", L"1D+2", L"1\uFF44\uFF0D2",
          L"9223372036854775807", L"9223372036854775808", L"9223372036854776833",
          L"-9223372036854775808", L"-9223372036854775809", L"-9223372036854777857", L"4294967296",
          L"2147483647.99", L"-2147483648.5", L"1.7976931348623157e308", L"1.7976931348623158e308",
          L"2.2250738585072011e-308", L"2.4703282292062327e-324", L"2.4703282292062328e-324"}) {
        ExpectAgreement(text);
    }
    for (double number :
         {0x1p63, std::nextafter(0x1p63, 0.0), -0x1p63, std::nextafter(-0x1p63, -kInfinity), 0x1p31,
          -0x1p31 - 1, 0x1p32, kInfinity, -0.0, -0.5, 0x1p-1074}) {
        ExpectIntegerAgreement(number);
    }

    // Sizes at the ends of the range, where the sum is only defined because it is widened first.
    const Placement placement = PlacementForClientSize(
        {-7, 9, std::numeric_limits<std::int32_t>::max(), std::numeric_limits<std::int32_t>::min()},
        {-1, 1}, {0, 0});
    Record(placement.x == -7 && placement.y == 9 &&
               placement.width == std::numeric_limits<std::int32_t>::min() &&
               placement.height == std::numeric_limits<std::int32_t>::max(),
           "PlacementForClientSize at the ends of the range");
    Record(RuntimeErrorText(std::numeric_limits<int>::min(), L"") ==
               L"运行时出错!\r\n\r\n错误代码：-2147483648\r\n\r\n",
           "RuntimeErrorText with the most negative code");

    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
