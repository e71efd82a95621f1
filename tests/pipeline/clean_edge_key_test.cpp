// The clean edges rule: exact pixels, and edges scored against the true
// coverage of small anti-aliased frames.
#include <gtest/gtest.h>

#include <cstring>

#include "bench/keying/EdgePicture.h"
#include "bench/keying/EdgeScore.h"
#include "bench/keying/SyntheticVehicle.h"
#include "pipeline/KeySpill.h"
#include "ui/commands/KeyingChoice.h"
#include "pipeline/PipelineTestSupport.h"
#include "support/FakeView.h"

namespace velkor {
namespace {

using testing::Bgra;

// The working image of `pixels` (memory order, `width` a row) keyed by `rule`.
std::unique_ptr<cAlphaDibSection> Keyed(const std::vector<Bgra>& pixels, int32_t width, uint32_t key,
                                        KeyingRule rule) {
  testing::FakeView view;
  frmMain form(view);
  EXPECT_TRUE(form.WorkImage->Create(width, static_cast<int32_t>(pixels.size()) / width));
  std::memcpy(form.WorkImage->DIBSectionBitsPtr(), pixels.data(), 4 * pixels.size());
  form.KeyColor = key;
  SelectKeyingRule(form.Controls, rule);
  form.CreateAlphaChannel();
  return std::move(form.WorkImage);
}

TEST(CleanEdges, ExactPixels) {
  struct Case {
    uint32_t key;
    Bgra in, out;
  };
  const Case cases[] = {
      {0x00FF00, {0, 255, 0, 9}, {0, 0, 0, 0}},          // the key
      {0x00FF00, {30, 40, 200, 0}, {30, 40, 200, 255}},  // vehicle: untouched
      {0x00FF00, {90, 90, 90, 0}, {90, 90, 90, 255}},    // grey: no spill
      {0x00FF00, {64, 192, 64, 0}, {64, 64, 64, 127}},   // half grey 128 over green
      {0x00FF00, {0, 100, 0, 0}, {0, 0, 0, 155}},        // dark green: key over black
      {0xFF0000, {255, 0, 0, 0}, {0, 0, 0, 0}},          // blue key
      {0xFF0000, {191, 64, 64, 0}, {64, 64, 64, 128}},   // half grey over blue
      {0xFF00FF, {191, 64, 191, 0}, {64, 64, 64, 128}},  // two dominant channels
      {0x808080, {128, 128, 128, 0}, {0, 0, 0, 0}},      // a grey key keys by the cube
      {0x808080, {0, 128, 128, 0}, {0, 128, 128, 255}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(testing::PixelAt(*Keyed({c.in}, 1, c.key, KeyingRule::CleanEdges), 0, 0), c.out)
        << std::hex << c.key << " " << ::testing::PrintToString(c.in);
  }
  // Half red over green at the end of a red row: its spill alone would say
  // 225; the line from the key to the red inside the row says half.
  const Bgra red{24, 24, 220, 0};
  const auto edge = Keyed({red, red, red, {12, 140, 110, 0}}, 4, 0x00FF00, KeyingRule::CleanEdges);
  EXPECT_EQ(testing::PixelAt(*edge, 3, 0), (Bgra{12, 12, 110, 127}));
  EXPECT_EQ(testing::PixelAt(*edge, 2, 0), (Bgra{24, 24, 220, 255}));
}

// A small vehicle drawn with its true coverage, keyed by both rules in the
// alpha stage: the clean rule must cut the alpha error to a third and the
// spill to a tenth, for grey, dark and red bodies and a blue key.
TEST(CleanEdges, ScoresAgainstTheTrueCoverage) {
  struct Case {
    const char* name;
    uint32_t body, key;
  };
  const Case cases[] = {{"grey", 0x808080, 0x00FF00},
                        {"dark", 0x302828, 0x00FF00},
                        {"red", 0x1818DC, 0x00FF00},
                        {"grey-on-blue", 0x808080, 0xFF0000}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    constexpr int kEdge = 40;
    const edges::Frame f =
        edges::RenderFrame(kEdge, 33.0f, edges::FromBgrWord(c.body), edges::FromBgrWord(c.key));
    std::vector<Bgra> pixels, truth;
    for (int y = kEdge - 1; y >= 0; --y) {  // memory rows run bottom-up
      for (int x = 0; x < kEdge; ++x) {
        const size_t at = static_cast<size_t>(y) * kEdge + x;
        pixels.push_back({f.rgb[3 * at + 2], f.rgb[3 * at + 1], f.rgb[3 * at], 0});
        truth.push_back({f.alpha[at], 0, 0, 0});
      }
    }
    const auto graded = Keyed(pixels, kEdge, c.key, KeyingRule::Graded);
    const auto clean = Keyed(pixels, kEdge, c.key, KeyingRule::CleanEdges);
    const auto score = [&](const cAlphaDibSection& r) {
      return edges::ScoreEdges(r.DIBSectionBitsPtr(), truth.front().data(), kEdge, kEdge, c.key);
    };
    const edges::EdgeScores g = score(*graded), k = score(*clean);
    // Interior (true alpha 255 all around) untouched and opaque; pure key clear.
    const KeyModel model = ModelOfKey(c.key);
    for (int32_t y = 1; y + 1 < kEdge; ++y) {
      for (int32_t x = 1; x + 1 < kEdge; ++x) {
        const size_t at = static_cast<size_t>(y) * kEdge + x;
        bool interior = true;
        for (int32_t j = -1; j <= 1; ++j)
          for (int32_t i = -1; i <= 1; ++i) interior &= truth[at + j * kEdge + i][0] == 255;
        const Bgra in = pixels[at], out = testing::PixelAt(*clean, x, kEdge - 1 - y);
        if (interior || BgrAt(in.data()) == model.key) {
          EXPECT_EQ(out, (interior ? Bgra{in[0], in[1], in[2], 255} : Bgra{})) << x << "," << y;
        }
      }
    }
    EXPECT_LE(k.alphaError, g.alphaError / 3) << g.alphaError;
    EXPECT_LE(k.spill, g.spill / 10) << g.spill;
    const auto view = [](const cAlphaDibSection& r) {
      return edges::KeyedView{r.DIBSectionBitsPtr(), kEdge, kEdge, 0, 0, kEdge, kEdge};
    };
    EXPECT_TRUE(edges::SaveSideBySide({view(*graded), view(*clean)}, 8,
                                      testing::TestOutputDir() + "/clean-edges-" + c.name + ".png"));
  }
}

}  // namespace
}  // namespace velkor
