#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The edit boxes accept whatever is typed, so reading never fails: text that does not start
// with a number reads as 0.
double TextToNumber(std::wstring_view text);

// Wraps to the low 32 bits instead of saturating, so that a window handle with its top bit set,
// shown by IntegerToText as a negative number, reads back as the same handle.
std::int32_t NumberToInteger(double number);

std::wstring IntegerToText(std::int32_t value);
