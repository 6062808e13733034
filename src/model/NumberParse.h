#pragma once
// The one lenient number parse used everywhere a number is read from text:
// leading blanks skipped, the longest leading decimal number taken (optional
// sign, point as separator), a text without a number reads as 0. Never fails.
#include <cstdint>
#include <string_view>

namespace corvane {

// '0' to '9' only, whatever the locale.
constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }

double LenientNumber(std::string_view text);

// The lenient number truncated toward zero and clamped into the int range.
long long LenientInteger(std::string_view text);

// A double truncated toward zero and clamped into the int range; NaN gives 0.
int ToIntClamped(double value);

// Clamp helpers for stored fields (16-bit signed, 8-bit unsigned).
int16_t ToInt16(long long value);
uint8_t ToByte(long long value);

}  // namespace corvane
