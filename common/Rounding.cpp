#include "common/Rounding.h"

#include <cmath>
#include <limits>

#include "common/VbError.h"

namespace velkor {

double RoundHalfEven(double value) {
  // nearbyint follows the current rounding mode, which the program never leaves
  // from round-to-nearest-even.
  return std::nearbyint(value);
}

namespace {
template <typename T>
T ConvertRounded(double value) {
  const double r = RoundHalfEven(value);
  if (!(r >= static_cast<double>(std::numeric_limits<T>::min()) &&
        r <= static_cast<double>(std::numeric_limits<T>::max()))) {
    RaiseOverflow();  // also NaN
  }
  return static_cast<T>(r);
}
}  // namespace

int32_t CLng(double value) { return ConvertRounded<int32_t>(value); }
int16_t CInt(double value) { return ConvertRounded<int16_t>(value); }
uint8_t CByte(double value) { return ConvertRounded<uint8_t>(value); }

float CSng(double value) {
  if (std::isnan(value) || std::fabs(value) > std::numeric_limits<float>::max()) RaiseOverflow();
  return static_cast<float>(value);
}

int32_t MulChecked(int32_t a, int32_t b) {
  int32_t r;
  if (__builtin_mul_overflow(a, b, &r)) RaiseOverflow();
  return r;
}

int32_t AddChecked(int32_t a, int32_t b) {
  int32_t r;
  if (__builtin_add_overflow(a, b, &r)) RaiseOverflow();
  return r;
}

}  // namespace velkor
