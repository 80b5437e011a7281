#pragma once

// A second, deliberately plain reading of number text, written without looking at how the
// program does it: the fuzzer trusts neither, only their agreement. It leans on the C library's
// strtod for the decimal-to-binary step, which is correctly rounded in glibc.

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace reference {

// Every unit that cannot be part of a number becomes '?', which ends a number just as well.
inline char Fold(std::uint32_t unit)
{
    if (unit >= 0xFF10 && unit <= 0xFF19) return static_cast<char>('0' + (unit - 0xFF10));
    switch (unit) {
    case 0xFF0B:
        return '+';
    case 0xFF0D:
        return '-';
    case 0xFF0E:
        return '.';
    case 0xFF25:
        return 'E';
    case 0xFF45:
        return 'e';
    case 0xFF24:
        return 'D';
    case 0xFF44:
        return 'd';
    case 0x3000:
        return ' ';
    default:
        return unit < 0x80 ? static_cast<char>(unit) : '?';
    }
}

struct Reading {
    double value;
    // What went to strtod; empty when the text holds no number.
    std::string decimal;
};

inline Reading TextToNumber(const std::vector<std::uint32_t>& units)
{
    std::string s;
    for (std::uint32_t unit : units)
        s += Fold(unit);
    // One past the end reads as '?' so that no look-ahead needs a bounds test.
    const auto at = [&s](std::size_t i) { return i < s.size() ? s[i] : '?'; };
    const auto digit = [&](std::size_t i) { return at(i) >= '0' && at(i) <= '9'; };
    const std::string_view spaces = " \t\n\v\f\r";

    std::size_t i = 0;
    while (spaces.find(at(i)) != std::string_view::npos)
        ++i;
    std::string sign;
    if (at(i) == '+' || at(i) == '-') sign = at(i++);
    std::string whole, fraction;
    while (digit(i))
        whole += at(i++);
    if (at(i) == '.') {
        ++i;
        while (digit(i))
            fraction += at(i++);
    }
    if (whole.empty() && fraction.empty()) return {0.0, {}};

    std::string exponent;
    if (std::string_view("EeDd").find(at(i)) != std::string_view::npos) {
        std::size_t j = i + 1;
        std::string written;
        if (at(j) == '+' || at(j) == '-') written = at(j++);
        if (digit(j)) {
            while (digit(j))
                written += at(j++);
            exponent = "e" + written;
        }
    }

    // Digits past the 25th significant one still say how large the number is, but not its value.
    int significant = 0;
    for (std::string* part : {&whole, &fraction}) {
        for (char& c : *part) {
            if (significant > 0 || c != '0') ++significant;
            if (significant > 25) c = '0';
        }
    }

    Reading reading;
    reading.decimal = sign + (whole.empty() ? "0" : whole) + "." + fraction + exponent;
    // The process never calls setlocale, so strtod reads '.' as the decimal point.
    char* end = nullptr;
    errno = 0;
    reading.value = std::strtod(reading.decimal.c_str(), &end);
    if (end != reading.decimal.c_str() + reading.decimal.size()) {
        std::fprintf(stderr, "reference: strtod stopped early in \"%s\"\n",
                     reading.decimal.c_str());
        std::abort();
    }
    return reading;
}

// Exact long double arithmetic rather than integer conversions, so that it shares no failure
// mode with the program's casts.
inline std::int32_t NumberToInteger(double number)
{
    if (std::isnan(number)) return 0;
    const long double truncated = std::trunc(static_cast<long double>(number));
    if (truncated < -0x1p63L || truncated >= 0x1p63L) return 0;
    long double low = std::fmod(truncated, 0x1p32L);
    if (low < 0) low += 0x1p32L;
    if (low >= 0x1p31L) low -= 0x1p32L;
    return static_cast<std::int32_t>(low);
}

} // namespace reference
