#include "common/Rounding.h"

#include <gtest/gtest.h>

#include <limits>

#include "common/VbError.h"

namespace velkor {
namespace {

int ErrorNumberOf(void (*f)()) {
  try {
    f();
  } catch (const VbError& e) {
    return e.Number();
  }
  return 0;
}

TEST(Rounding, TiesGoToTheEvenNeighbour) {
  const struct {
    double in;
    int32_t out;
  } cases[] = {{2.5, 2}, {3.5, 4}, {-2.5, -2}, {0.5, 0}, {1.5, 2}, {25.5, 26}, {76.5, 76}, {127.5, 128},
               {2.4999, 2}, {2.5001, 3}, {-0.5, 0}};
  for (const auto& c : cases) EXPECT_EQ(CLng(c.in), c.out) << c.in;
}

TEST(Rounding, OutOfRangeIsOverflow) {
  EXPECT_EQ(CByte(255.4), 255);
  EXPECT_EQ(CByte(-0.5), 0);
  EXPECT_EQ(ErrorNumberOf([] { CByte(255.5); }), kErrOverflow);
  EXPECT_EQ(ErrorNumberOf([] { CByte(-1); }), kErrOverflow);
  EXPECT_EQ(CInt(32767.4), 32767);
  EXPECT_EQ(ErrorNumberOf([] { CInt(32767.5); }), kErrOverflow);
  EXPECT_EQ(ErrorNumberOf([] { CLng(2147483648.0); }), kErrOverflow);
  EXPECT_EQ(ErrorNumberOf([] { CLng(std::numeric_limits<double>::quiet_NaN()); }), kErrOverflow);
  EXPECT_EQ(ErrorNumberOf([] { MulChecked(65536, 32768); }), kErrOverflow);
  EXPECT_EQ(ErrorNumberOf([] { AddChecked(2147483647, 1); }), kErrOverflow);
  EXPECT_EQ(MulChecked(-3, 7), -21);
}

TEST(Rounding, SingleConversionRefusesWhatNoFloatHolds) {
  constexpr double kMax = std::numeric_limits<float>::max();
  constexpr double kInf = std::numeric_limits<double>::infinity();
  for (double refused : {std::numeric_limits<double>::quiet_NaN(), kInf, -kInf, kMax * 1.0000001, -kMax * 1.0000001}) {
    EXPECT_THROW(CSng(refused), VbError) << refused;
  }
  EXPECT_EQ(ErrorNumberOf([] { CSng(std::numeric_limits<double>::quiet_NaN()); }), kErrOverflow);
  EXPECT_EQ(CSng(kMax), std::numeric_limits<float>::max());
  EXPECT_EQ(CSng(-kMax), -std::numeric_limits<float>::max());
  EXPECT_EQ(CSng(2.01), 2.01f);
  EXPECT_EQ(CSng(-0.5), -0.5f);
}

TEST(Errors, CarryNumberSourceAndDescription) {
  try {
    RaiseFileNotFound("/x/car0000.bmp");
    FAIL();
  } catch (const VbError& e) {
    EXPECT_EQ(e.Number(), 53);
    EXPECT_NE(e.Description().find("/x/car0000.bmp"), std::string::npos);
  }
}

}  // namespace
}  // namespace velkor
