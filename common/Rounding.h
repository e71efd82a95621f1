#pragma once
// Conversions from floating point to integers: nearest value, ties to even,
// and a value that does not fit its target raises the overflow error (6).
#include <cstdint>

namespace velkor {

double RoundHalfEven(double value);  // nearest integer value, ties to even
int32_t CLng(double value);          // 32-bit signed
int16_t CInt(double value);          // 16-bit signed
uint8_t CByte(double value);         // 0..255
float CSng(double value);            // to single precision; out of range raises 6

// Integer arithmetic that raises 6 instead of wrapping.
int32_t MulChecked(int32_t a, int32_t b);
int32_t AddChecked(int32_t a, int32_t b);

}  // namespace velkor
