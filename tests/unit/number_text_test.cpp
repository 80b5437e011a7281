#include "winops/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr std::int32_t kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kInt32Max = std::numeric_limits<std::int32_t>::max();

const std::wstring kLoneSurrogate(1, static_cast<wchar_t>(0xD800));

std::wstring Zeros(std::size_t count)
{
    return std::wstring(count, L'0');
}

TEST(NumberTextTest, EditBoxTextToInteger)
{
    struct Case {
        std::wstring text;
        std::int32_t expected;
    };
    const std::vector<Case> cases = {
        {L"640", 640},
        {L"   640", 640},
        {L"640px", 640},
        {L"+640", 640},
        {L"640.9", 640},
        {L"-20", -20},
        {L"6 40", 6},
        {L"1e3", 1000},
        {L"1d3", 1000},
        {L"\uFF16\uFF14\uFF10", 640},
        {L"abc", 0},
        {L" ", 0},
        {L"+", 0},
        {L"-", 0},
        {L"0x280", 0},
        // Beyond the 64-bit range nothing is left to wrap, so this is 0 rather than its low bits.
        {L"99999999999999999999", 0},
        {L"1,024", 1},
        {L".5", 0},
        {L".", 0},
        {L"-2147483648", kInt32Min},
        {L"4294967295", -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NumberToInteger(TextToNumber(c.text)), c.expected) << c.text;
    }
}

TEST(NumberTextTest, TextToNumber)
{
    struct Case {
        std::wstring text;
        double expected;
    };
    const std::vector<Case> cases = {
        {L"", 0.0},
        {L"12.5", 12.5},
        {L"12.", 12.0},
        {L".5", 0.5},
        {L"-.5e1", -5.0},
        {L".e5", 0.0},
        {L"1E3", 1000.0},
        {L"1D-3", 0.001},
        {L"2.5e+2", 250.0},
        // An exponent letter or sign without digits is left out of the number.
        {L"5e", 5.0},
        {L"5e+", 5.0},
        {L"5d-x", 5.0},
        {L"5e 3", 5.0},
        {L" \t\r\n\v\f7", 7.0},
        {L"\u3000\u30007", 7.0},
        {L"- 5", 0.0},
        {L"+-5", 0.0},
        {L"\uFF0D\uFF11\uFF12\uFF0E\uFF15", -12.5},
        {L"\uFF0B\uFF13", 3.0},
        {L"\uFF11\uFF25\uFF12", 100.0},
        {L"\uFF11\uFF45\uFF0D\uFF12", 0.01},
        {L"\uFF11\uFF24\uFF12", 100.0},
        {L"\uFF11\uFF44\uFF12", 100.0},
        // Code units whose low bits happen to spell a digit are still not digits.
        {L"\u0131", 0.0},
        {L"\U00010031", 0.0},
        {L"5" + kLoneSurrogate, 5.0},
        {kLoneSurrogate + L"5", 0.0},
        {L"0x1F", 0.0},
        {L"inf", 0.0},
        {L"nan", 0.0},
        {L"1,024", 1.0},
        {L"1e400", kInfinity},
        {L"-1e400", -kInfinity},
        {L"1.8e308", kInfinity},
        {L"1e999999999999", kInfinity},
        {L"-1e99999999999999999999999999", -kInfinity},
        {L"1e-400", 0.0},
        {L"1e-999999999999", 0.0},
        {L"0e999999999999", 0.0},
        {L"1.7976931348623157e308", std::numeric_limits<double>::max()},
        {L"3e-324", std::numeric_limits<double>::denorm_min()},
        {L"2e-324", 0.0},
        // Leading zeros are not significant digits.
        {Zeros(30) + L"1.5", 1.5},
        {L"0." + Zeros(30) + L"15", 1.5e-31},
        // Past 25 significant digits only the magnitude counts.
        {L"123456789012345678901234567890", 1.234567890123456789012345e29},
        {L"1234567890123456789012345678", 1234567890123456789012345000.0},
        {L"1234567890123456789012345000", 1234567890123456789012345000.0},
        {L"1234567890123456789012345678.9", 1234567890123456789012345000.0},
        // The first lies just above halfway between 1 and the next double, but its 25-digit
        // prefix lies below; the second shows the 25th digit still counts.
        {L"1.000000000000000111022302462515654042363166809082031251", 1.0},
        {L"1.000000000000000111022303", std::nextafter(1.0, 2.0)},
        {L"1" + Zeros(400), kInfinity},
        {L"0." + Zeros(400) + L"1", 0.0},
        {L"1" + Zeros(200000) + L"e-200000", 1.0},
        {L"0." + Zeros(199999) + L"1e200000", 1.0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TextToNumber(c.text), c.expected) << c.text;
    }
}

TEST(NumberTextTest, NumberToInteger)
{
    struct Case {
        double number;
        std::int32_t expected;
    };
    const std::vector<Case> cases = {
        {12.9, 12},
        {-12.9, -12},
        {-0.9, 0},
        {2147483647.9, kInt32Max},
        {2147483648.0, kInt32Min},
        {-2147483649.0, kInt32Max},
        {4294967297.0, 1},
        {-4294967297.0, -1},
        {1e19, 0},
        {1e30, 0},
        {kNaN, 0},
        {kInfinity, 0},
        {-kInfinity, 0},
        // Around the ends of the 64-bit range: 2^63 - 2048, 2^63, 2^63 + 4096 and their negatives.
        {9223372036854773760.0, -2048},
        {9223372036854775808.0, 0},
        {9223372036854779904.0, 0},
        {-9223372036854773760.0, 2048},
        {-9223372036854775808.0, 0},
        {-9223372036854779904.0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NumberToInteger(c.number), c.expected) << c.number;
    }
}

TEST(NumberTextTest, IntegerToText)
{
    struct Case {
        std::int32_t value;
        std::wstring expected;
    };
    const std::vector<Case> cases = {
        {0, L"0"},
        {-1, L"-1"},
        {640, L"640"},
        {1000000, L"1000000"},
        {kInt32Min, L"-2147483648"},
        {kInt32Max, L"2147483647"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IntegerToText(c.value), c.expected) << c.value;
    }
}

TEST(NumberTextTest, IntegerReadsBackFromItsText)
{
    for (const std::int32_t value :
         {kInt32Min, kInt32Min + 1, -65536, -1, 0, 1, 9, 10, 65535, kInt32Max - 1, kInt32Max}) {
        EXPECT_EQ(NumberToInteger(TextToNumber(IntegerToText(value))), value);
    }
}

} // namespace
