#include "winops/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>
#include <limits>
#include <system_error>

namespace {

constexpr int kMaxSignificantDigits = 25;

// Any decimal exponent beyond this turns every significand we keep into an infinity or a zero,
// so clamping to it changes no result and keeps the formatted exponent short.
constexpr std::int64_t kExponentLimit = 100000;

// Far larger than any digit count a text can hold, yet small enough that adding it to the
// position of the decimal point cannot overflow.
constexpr std::int64_t kWrittenExponentLimit = 1000000000000000;

// Users typing with an East Asian IME on get full-width forms; they should not have to switch
// the IME off to enter a number.
char FoldToAscii(wchar_t unit)
{
    const auto code = static_cast<std::uint32_t>(unit);
    if (code < 0x80) {
        return static_cast<char>(code);
    }
    if (code >= 0xFF10 && code <= 0xFF19) {
        return static_cast<char>('0' + (code - 0xFF10));
    }
    switch (code) {
    case 0xFF0B:
        return '+';
    case 0xFF0D:
        return '-';
    case 0xFF0E:
        return '.';
    case 0xFF24:
        return 'D';
    case 0xFF25:
        return 'E';
    case 0xFF44:
        return 'd';
    case 0xFF45:
        return 'e';
    case 0x3000:
        return ' ';
    default:
        return '\0';
    }
}

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsSign(char c)
{
    return c == '+' || c == '-';
}

bool IsExponentLetter(char c)
{
    return c == 'e' || c == 'E' || c == 'd' || c == 'D';
}

} // namespace

double TextToNumber(std::wstring_view text)
{
    const auto at = [text](std::size_t i) { return i < text.size() ? FoldToAscii(text[i]) : '\0'; };

    std::size_t i = 0;
    while (IsSpace(at(i))) {
        ++i;
    }
    const bool negative = at(i) == '-';
    if (IsSign(at(i))) {
        ++i;
    }

    // The value is digits[0..kept) * 10^exponent.
    char digits[kMaxSignificantDigits];
    int kept = 0;
    std::int64_t exponent = 0;
    bool seen_digit = false;
    bool seen_point = false;
    for (;; ++i) {
        const char c = at(i);
        if (c == '.' && !seen_point) {
            seen_point = true;
            continue;
        }
        if (!IsDigit(c)) {
            break;
        }
        seen_digit = true;
        if (kept == 0 && c == '0') {
            exponent -= seen_point ? 1 : 0;
        } else if (kept < kMaxSignificantDigits) {
            digits[kept++] = c;
            exponent -= seen_point ? 1 : 0;
        } else {
            exponent += seen_point ? 0 : 1;
        }
    }
    if (!seen_digit) {
        return 0.0;
    }

    if (IsExponentLetter(at(i))) {
        std::size_t j = i + 1;
        const bool exponent_negative = at(j) == '-';
        if (IsSign(at(j))) {
            ++j;
        }
        std::int64_t written = 0;
        for (; IsDigit(at(j)); ++j) {
            written = std::min(written * 10 + (at(j) - '0'), kWrittenExponentLimit);
        }
        exponent += exponent_negative ? -written : written;
    }

    if (kept == 0) {
        return negative ? -0.0 : 0.0;
    }

    // from_chars rather than strtod: strtod takes its decimal point from the C locale.
    char buffer[48];
    char* out = std::copy_n(digits, kept, buffer);
    *out++ = 'e';
    const std::int64_t clamped = std::clamp(exponent, -kExponentLimit, kExponentLimit);
    out = std::to_chars(out, std::end(buffer), clamped).ptr;
    double magnitude = 0.0;
    if (std::from_chars(buffer, out, magnitude).ec == std::errc::result_out_of_range) {
        magnitude = clamped + kept > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -magnitude : magnitude;
}

std::int32_t NumberToInteger(double number)
{
    // Converting a double outside the int64 range is undefined, so the range is checked in
    // double first; both bounds are powers of two and therefore exact. NaN fails the test too.
    constexpr double kTwoToThe63 = 9223372036854775808.0;
    const double truncated = std::trunc(number);
    if (!(truncated >= -kTwoToThe63 && truncated < kTwoToThe63)) {
        return 0;
    }
    // Unsigned conversions wrap by definition, which yields the low word without signed overflow.
    const auto wide = static_cast<std::uint64_t>(static_cast<std::int64_t>(truncated));
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(wide));
}

std::wstring IntegerToText(std::int32_t value)
{
    // to_chars never groups digits or consults the locale.
    char digits[16];
    char* end = std::to_chars(std::begin(digits), std::end(digits), value).ptr;
    return std::wstring(digits, end);
}
