#include <gtest/gtest.h>

#include "common/VbError.h"
#include "srf/SrfCodes.h"

namespace velkor {
namespace {

struct PackCase {
  uint8_t r, g, b;
  uint16_t word;
};

TEST(SrfCodes, PackSRFColorGivesTheWordHighByteFirst) {
  const PackCase cases[] = {
      {255, 255, 255, 0xFFDF},  // bit 5 stays clear
      {255, 0, 0, 0xF800},      {0, 255, 0, 0x07C0}, {0, 0, 255, 0x001F},
      {0, 4, 0, 0x0000},        // green below 8 is lost
      {0, 8, 0, 0x0040},        {128, 128, 128, 0x8410},
      {0, 0, 0, 0x0000},        {7, 7, 7, 0x0000},  // the three low bits never count
      {0, 0x20, 0, 0x0100},     // green bit 5 is the high byte's bit 0
      {0, 0x1C, 0, 0x00C0},     // green bits 4..3 in the low byte, bit 2 dropped
  };
  for (const PackCase& c : cases) {
    const SRFColorBytes packed = PackSRFColor(c.r, c.g, c.b);
    EXPECT_EQ(packed.high, c.word >> 8) << int(c.r) << "," << int(c.g) << "," << int(c.b);
    EXPECT_EQ(packed.low, c.word & 0xFF) << int(c.r) << "," << int(c.g) << "," << int(c.b);
  }
}

struct UnpackCase {
  uint8_t low, high;
  uint8_t r, g, b;
};

TEST(SrfCodes, UnpackSRFColorKeepsTheTopFiveBitsOfEachChannel) {
  const UnpackCase cases[] = {
      {0xDF, 0xFF, 248, 248, 248}, {0x00, 0xF8, 248, 0, 0},   {0xC0, 0x07, 0, 248, 0},
      {0x1F, 0x00, 0, 0, 248},     {0x10, 0x84, 128, 128, 128}, {0x40, 0x00, 0, 8, 0},
      {0x20, 0x00, 0, 0, 0},       // bit 5 does not take part
      {0xFF, 0xFF, 248, 248, 248}, // same as 0xFFDF
  };
  for (const UnpackCase& c : cases) {
    const SRFRgb rgb = UnpackSRFColor(c.low, c.high);
    EXPECT_EQ(rgb.r, c.r) << std::hex << int(c.high) << int(c.low);
    EXPECT_EQ(rgb.g, c.g) << std::hex << int(c.high) << int(c.low);
    EXPECT_EQ(rgb.b, c.b) << std::hex << int(c.high) << int(c.low);
  }
}

TEST(SrfCodes, SRFColorToRGBIsTheSetPixelForm) {
  EXPECT_EQ(SRFColorToRGB(0x1F, 0x00), 248u * 65536);
  EXPECT_EQ(SRFColorToRGB(0x00, 0xF8), 248u);
  EXPECT_EQ(SRFColorToRGB(0xC0, 0x07), 248u * 256);
  EXPECT_EQ(SRFColorToRGB(0xDF, 0xFF), 0xF8F8F8u);
  EXPECT_EQ(SRFColorToRGB(0x3F, 0x00), SRFColorToRGB(0x1F, 0x00));
}

TEST(SrfCodes, ColourRoundTripKeepsEachChannelAndF8) {
  for (int v = 0; v < 256; ++v) {
    const auto c = static_cast<uint8_t>(v);
    const auto other = static_cast<uint8_t>(255 - v);
    const SRFColorBytes packed = PackSRFColor(c, other, c);
    const SRFRgb rgb = UnpackSRFColor(packed.low, packed.high);
    EXPECT_EQ(rgb.r, c & 0xF8);
    EXPECT_EQ(rgb.g, other & 0xF8);
    EXPECT_EQ(rgb.b, c & 0xF8);
    EXPECT_EQ(packed.low & 0x20, 0);
  }
}

TEST(SrfCodes, AlphaToSRFCodeRoundsHalvesToEven) {
  const std::pair<int, int> cases[] = {{255, 0}, {254, 1}, {253, 2}, {2, 127},  {1, 128},  {0, 128},
                                       {3, 126}, {5, 126}, {7, 124}, {127, 64}, {129, 64}, {128, 64},
                                       {126, 65}, {252, 2}, {251, 2}, {249, 4}};
  for (const auto& [alpha, code] : cases) {
    EXPECT_EQ(AlphaToSRFCode(static_cast<uint8_t>(alpha)), code) << "alpha " << alpha;
  }
  for (int a = 0; a < 255; ++a) {
    const int code = AlphaToSRFCode(static_cast<uint8_t>(a));
    EXPECT_GE(code, 1);
    EXPECT_LE(code, 128);
  }
}

TEST(SrfCodes, SRFCodeToAlphaDecodesZeroTo128) {
  const std::pair<int, int> cases[] = {{0, 255}, {1, 254}, {2, 252}, {64, 128}, {127, 2}, {128, 0}};
  for (const auto& [code, alpha] : cases) {
    EXPECT_EQ(SRFCodeToAlpha(static_cast<uint8_t>(code)), alpha) << "code " << code;
  }
}

TEST(SrfCodes, SRFCodeToAlphaRaisesOverflowAbove128) {
  for (int code : {129, 130, 200, 255}) {
    try {
      SRFCodeToAlpha(static_cast<uint8_t>(code));
      ADD_FAILURE() << "code " << code << " decoded";
    } catch (const VbError& e) {
      EXPECT_EQ(e.Number(), kErrOverflow) << "code " << code;
    }
  }
}

TEST(SrfCodes, AlphaRoundTrip) {
  for (int a = 0; a < 256; ++a) {
    const int back = SRFCodeToAlpha(AlphaToSRFCode(static_cast<uint8_t>(a)));
    int expected;
    if (a == 255 || (a % 2 == 0 && a >= 2)) {
      expected = a;
    } else if (a <= 1) {
      expected = 0;
    } else {
      expected = a % 4 == 1 ? a - 1 : a + 1;  // 4m+1 goes down, 4m+3 goes up
    }
    EXPECT_EQ(back, expected) << "alpha " << a;
  }
  EXPECT_EQ(SRFCodeToAlpha(AlphaToSRFCode(3)), 4);
  EXPECT_EQ(SRFCodeToAlpha(AlphaToSRFCode(5)), 4);
  EXPECT_EQ(SRFCodeToAlpha(AlphaToSRFCode(127)), 128);
  EXPECT_EQ(SRFCodeToAlpha(AlphaToSRFCode(253)), 252);
}

}  // namespace
}  // namespace velkor
