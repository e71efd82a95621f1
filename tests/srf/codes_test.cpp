#include <gtest/gtest.h>

#include "srf/SrfCodes.h"
#include "srf/SrfRecordIO.h"
#include "srf/SrfTestBytes.h"

namespace velkor {
namespace {

using testing::Bgra;

// Every channel value in every channel, against the word the layout defines
// (bit 5 clear, the three low bits of each channel and green bit 2 dropped).
TEST(SrfCodes, ColourWordsPackAndUnpackEveryChannelValue) {
  for (int v = 0; v < 256; ++v) {
    const auto r = uint8_t(v), g = uint8_t(255 - v), b = uint8_t(v ^ 0x5A);
    const auto [high, low] = PackSRFColor(r, g, b);
    const SRFRgb rgb = UnpackSRFColor(low, high);
    ASSERT_EQ(std::tuple(high << 8 | low, rgb.r << 16 | rgb.g << 8 | rgb.b, SRFColorToRGB(low, high)),
              std::tuple(int(testing::ExpectedWord(Bgra{b, g, r, 0})), (r & 0xF8) << 16 | (g & 0xF8) << 8 | (b & 0xF8),
                         (b & 0xF8u) << 16 | (g & 0xF8u) << 8 | (r & 0xF8u))) << v;
  }
  EXPECT_EQ(SRFColorToRGB(0x3F, 0x00), 248u << 16);  // bit 5 is ignored
  EXPECT_EQ(SRFColorToRGB(0xC0, 0x07), 248u << 8);
}

TEST(SrfCodes, AlphaCodesRoundHalvesToEvenAndDecodeInStepsOfTwo) {
  for (int a = 0; a < 256; ++a) ASSERT_EQ(AlphaToSRFCode(uint8_t(a)), testing::ExpectedCode(uint8_t(a))) << a;
  for (const auto& [alpha, code] : {std::pair{255, 0}, {254, 1}, {253, 2}, {3, 126}, {5, 126}, {1, 128}, {0, 128}})
    EXPECT_EQ(AlphaToSRFCode(uint8_t(alpha)), code) << alpha;
  for (int code = 0; code <= 128; ++code) ASSERT_EQ(SRFCodeToAlpha(uint8_t(code)), code ? 256 - 2 * code : 255) << code;
  for (int code = 129; code < 256; ++code)
    ASSERT_EQ(testing::ErrorNumberOf([&] { SRFCodeToAlpha(uint8_t(code)); }), kErrOverflow) << code;
}

TEST(SrfChecksum, SumModulo255GivesTheByte256MinusS) {
  const std::pair<std::vector<uint8_t>, int> cases[] = {
      {{250, 250, 250, 250}, 21}, {{1}, 255}, {{254}, 2}, {{255}, 0}, {{}, 0}, {{200, 55}, 0}, {{255, 1}, 255},
      {{128, 128}, 255}};
  for (const auto& [bytes, checksum] : cases) EXPECT_EQ(SRFChecksumByte(bytes.data(), bytes.size()), checksum);
}

}  // namespace
}  // namespace velkor
