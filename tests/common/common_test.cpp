#include <gtest/gtest.h>

#include <functional>
#include <limits>

#include "common/Paths.h"
#include "common/Rounding.h"
#include "common/VbError.h"
#include "support/Raised.h"

namespace velkor {
namespace {

using testing::ErrorNumberOf;

TEST(Rounding, TiesGoToTheEvenNeighbour) {
  const struct {
    double in;
    int32_t out;
  } cases[] = {{2.5, 2},   {3.5, 4},     {-2.5, -2},  {0.5, 0},    {1.5, 2}, {25.5, 26},
               {76.5, 76}, {127.5, 128}, {2.4999, 2}, {2.5001, 3}, {-0.5, 0}};
  for (const auto& c : cases) EXPECT_EQ(CLng(c.in), c.out) << c.in;
}

TEST(Rounding, WhatTheTypeCannotHoldIsOverflow) {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  constexpr double kInf = std::numeric_limits<double>::infinity();
  constexpr double kMax = std::numeric_limits<float>::max();
  EXPECT_EQ(CByte(255.4), 255);
  EXPECT_EQ(CByte(-0.5), 0);
  EXPECT_EQ(CInt(32767.4), 32767);
  EXPECT_EQ(MulChecked(-3, 7), -21);
  EXPECT_EQ(AddChecked(-3, 7), 4);
  EXPECT_EQ(CSng(kMax), std::numeric_limits<float>::max());
  EXPECT_EQ(CSng(-kMax), -std::numeric_limits<float>::max());
  EXPECT_EQ(CSng(2.01), 2.01f);
  EXPECT_EQ(CSng(-0.5), -0.5f);
  const std::function<void()> refused[] = {[] { CByte(255.5); },
                                           [] { CByte(-1); },
                                           [] { CInt(32767.5); },
                                           [] { CInt(-32768.6); },
                                           [] { CLng(2147483648.0); },
                                           [] { CLng(kNaN); },
                                           [] { MulChecked(65536, 32768); },
                                           [] { AddChecked(2147483647, 1); },
                                           [] { CSng(kNaN); },
                                           [] { CSng(kInf); },
                                           [] { CSng(-kInf); },
                                           [] { CSng(kMax * 1.0000001); },
                                           [] { CSng(-kMax * 1.0000001); }};
  for (size_t i = 0; i < std::size(refused); ++i) EXPECT_EQ(ErrorNumberOf(refused[i]), kErrOverflow) << i;
}

TEST(Errors, CarryNumberAndDescription) {
  const auto [number, message] = testing::Refusal([] { RaiseFileNotFound("/x/car0000.bmp"); });
  EXPECT_EQ(number, 53);
  EXPECT_NE(message.find("/x/car0000.bmp"), std::string::npos);
}

TEST(PathHelpers, FolderAndBaseNameOfEachShape) {
  const std::string longFolder = "/" + std::string(290, 'f');  // past what an 8-bit position holds
  const struct {
    std::string path, folder, base;
  } cases[] = {
      {"C:\\a\\b.bmp", "C:\\a", "b"},
      {"C:\\b.bmp", "C:", "b"},
      {"car.bmp", "", "car"},
      {"\\car.bmp", "", "car"},
      {"C:\\x\\car.blue.bmp", "C:\\x", "car"},
      {"C:\\x.y\\file", "C:\\x.y", "file"},
      {"C:\\x\\.bmp", "C:\\x", ""},
      {"/home/u/out/car.bmp", "/home/u/out", "car"},
      {"/car.bmp", "", "car"},
      {"", "", ""},
      {"a\\b/c.d.e", "a\\b", "c"},  // both separators count
      {longFolder + "/" + std::string(20, 'n') + ".x.bmp", longFolder, std::string(20, 'n')},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GetFolderName(c.path), c.folder) << c.path;
    EXPECT_EQ(GetBaseName(c.path), c.base) << c.path;
  }
  EXPECT_EQ(JoinPath("/a/b", "c.srf"), "/a/b/c.srf");
  for (const auto& [text, trimmed] : {std::pair{"  2.10  ", "2.10"}, {"   ", ""}, {"\t2.10", "\t2.10"}})
    EXPECT_EQ(Trim(text), trimmed) << text;  // only spaces are blanks
}

}  // namespace
}  // namespace velkor
