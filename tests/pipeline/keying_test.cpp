// The alpha stage under its three rules: exact pixels, the graded and binary
// rules byte for byte on a fixed image, clean edges scored against the true
// coverage of small anti-aliased frames, and the progress bar.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <tuple>

#include "bench/keying/EdgeScore.h"
#include "bench/keying/SyntheticVehicle.h"
#include "pipeline/KeyColourAlpha.h"
#include "pipeline/KeySpill.h"
#include "pipeline/PipelineTestSupport.h"
#include "support/FakeView.h"
#include "ui/commands/KeyingChoice.h"

namespace velkor {
namespace {

using testing::Bgra;
using Rule = KeyingRule;

// The working image of `pixels` (memory order, `width` a row) keyed as the
// window keys it.
std::unique_ptr<cAlphaDibSection> Keyed(const std::vector<Bgra>& pixels, int32_t width, uint32_t key, int tolerance,
                                        Rule rule) {
  testing::FakeView view;
  frmMain form(view);
  EXPECT_TRUE(form.WorkImage->Create(width, static_cast<int32_t>(pixels.size()) / width));
  std::memcpy(form.WorkImage->DIBSectionBitsPtr(), pixels.data(), 4 * pixels.size());
  form.KeyColor = key;
  form.Controls.sldTol.Value = tolerance;
  SelectKeyingRule(form.Controls, rule);
  form.CreateAlphaChannel();
  return std::move(form.WorkImage);
}

// Each pixel keyed alone; the old alpha is neither read nor kept.
TEST(CreateAlphaChannel, ExactPixels) {
  const struct {
    Rule rule;
    uint32_t key;  // 0x00BBGGRR
    int tolerance;
    Bgra in, out;
  } cases[] = {
      {Rule::Graded, 0x00FF00, 10, {0, 255, 0, 77}, {0, 0, 0, 0}},
      {Rule::Graded, 0x00FF00, 10, {0, 254, 0, 0}, {0, 0, 0, 0}},  // mean distance 0.33 -> 0
      {Rule::Graded, 0x00FF00, 10, {1, 254, 1, 9}, {0, 25, 0, 26}}, {Rule::Graded, 0x00FF00, 10, {100, 200, 50, 0}, {100, 200, 50, 255}},
      {Rule::Graded, 0x00FF00, 0, {0, 255, 0, 255}, {0, 0, 0, 0}}, {Rule::Graded, 0x00FF00, 0, {0, 254, 0, 0}, {0, 254, 0, 255}},
      {Rule::Graded, 0x0B0D0F, 0, {0x0B, 0x0D, 0x0F, 0}, {0, 0, 0, 0}},  // every bit of every key channel counts
      {Rule::Graded, 0x0B0D0F, 0, {0x0B, 0x0D, 0x0E, 0}, {0x0B, 0x0D, 0x0E, 255}},
      {Rule::Graded, 0x63C731, 10, {100, 200, 50, 0}, {10, 20, 5, 26}},  // 1 off each: 100 * 26 / 255 truncated
      {Rule::Graded, 0x00FF00, 255, {0, 0, 0, 0}, {0, 0, 0, 85}},
      {Rule::Graded, 0x00FF00, 255, {200, 100, 100, 0}, {119, 59, 59, 152}},  // mean distance 151.67
      {Rule::Binary, 0xFF0000, 0, {255, 0, 0, 0}, {0, 0, 0, 0}}, {Rule::Binary, 0xFF0000, 0, {0, 0, 255, 0}, {0, 0, 255, 255}},
      {Rule::Binary, 0x00FF00, 255, {200, 100, 100, 0}, {0, 0, 0, 0}}, {Rule::CleanEdges, 0x00FF00, 0, {0, 255, 0, 9}, {0, 0, 0, 0}},
      {Rule::CleanEdges, 0x00FF00, 0, {30, 40, 200, 0}, {30, 40, 200, 255}},  // no key in it: untouched
      {Rule::CleanEdges, 0x00FF00, 0, {90, 90, 90, 0}, {90, 90, 90, 255}},
      {Rule::CleanEdges, 0x00FF00, 0, {64, 192, 64, 0}, {64, 64, 64, 127}},  // half grey 128 over green
      {Rule::CleanEdges, 0x00FF00, 0, {0, 100, 0, 0}, {0, 0, 0, 155}},       // key over black
      {Rule::CleanEdges, 0xFF0000, 0, {255, 0, 0, 0}, {0, 0, 0, 0}}, {Rule::CleanEdges, 0xFF0000, 0, {191, 64, 64, 0}, {64, 64, 64, 128}},
      {Rule::CleanEdges, 0xFF00FF, 0, {191, 64, 191, 0}, {64, 64, 64, 128}},  // two dominant channels
      {Rule::CleanEdges, 0x808080, 0, {128, 128, 128, 0}, {0, 0, 0, 0}},      // a grey key keys by the cube
      {Rule::CleanEdges, 0x808080, 0, {0, 128, 128, 0}, {0, 128, 128, 255}},
      {Rule::CleanEdges, 0x808080, 0, {128, 128, 200, 0}, {73, 73, 145, 145}},  // red alone leaves the cube
      {Rule::CleanEdges, 0x808080, 0, {128, 128, 129, 0}, {1, 1, 2, 2}},  // one step out of the key
      // Key (120, 255, 50): only green is dominant; spill 80 of 135 leaves alpha 0.41.
      {Rule::CleanEdges, 0x78FF32, 0, {100, 180, 60, 0}, {29, 29, 30, 104}},
      {Rule::CleanEdges, 0x78FF32, 0, {150, 150, 40, 0}, {150, 150, 40, 255}},
      {Rule::CleanEdges, 0x78FF32, 0, {110, 230, 50, 0}, {3, 3, 6, 28}},
      {Rule::CleanEdges, 0x96FF28, 0, {140, 200, 60, 0}, {31, 15, 31, 70}},  // (150, 255, 40): blue is dominant too
  };
  for (const auto& c : cases) {
    EXPECT_EQ(testing::GetBgra(*Keyed({c.in}, 1, c.key, c.tolerance, c.rule), 0, 0), c.out)
        << static_cast<int>(c.rule) << " " << std::hex << c.key << " " << ::testing::PrintToString(c.in);
  }
  // Half red over green at the end of a red row: its spill alone would say
  // 225; the line from the key to the red inside the row says half.
  // Only pixels with no key beside them count as inside: in the second row the
  // red beside the edge pixel does not, and the blue ones do not explain it.
  // Three fifths red has no spill left, yet beside the key it is an edge.
  // Over a black key, the line to the inside says more than the cube (127, not
  // 120): only rows inside the picture are neighbours, so nothing past the
  // top row (black, i.e. key) keeps the row's first pixels from being inside.
  const Bgra red{24, 24, 220, 0}, blue{200, 40, 30, 0}, half{12, 140, 110, 0}, cyan{255, 200, 0, 0};
  const struct {
    std::vector<Bgra> row;
    uint32_t key;
    Bgra third, fourth;  // pixels 2 and 3 keyed
  } rows[] = {{{red, red, red, half}, 0x00FF00, {24, 24, 220, 255}, {12, 12, 110, 127}},
              {{blue, blue, red, half}, 0x00FF00, {24, 24, 220, 255}, {12, 110, 110, 225}},
              {{red, red, red, {14, 116, 132, 0}, {0, 255, 0, 0}}, 0x00FF00, {24, 24, 220, 255}, {14, 14, 132, 153}},
              {{cyan, cyan, cyan, {120, 108, 0, 0}}, 0x000000, {255, 200, 0, 255}, {120, 108, 0, 127}}};
  for (const auto& r : rows) {
    const auto keyed = Keyed(r.row, static_cast<int32_t>(r.row.size()), r.key, 0, Rule::CleanEdges);
    EXPECT_EQ(std::pair(testing::GetBgra(*keyed, 2, 0), testing::GetBgra(*keyed, 3, 0)), std::pair(r.third, r.fourth));
  }
}

// A small vehicle drawn with its true coverage: the clean rule cuts the alpha
// error to a third and the spill to a tenth of the graded rule's, keeps the
// inside untouched and opaque and clears the pure key; and its bytes stay
// those it gives now.
TEST(CreateAlphaChannel, CleanEdgesAgainstTheTrueCoverage) {
  const struct {
    uint32_t body, key;
    uint64_t fingerprint;  // of the clean rule's bytes
  } cases[] = {{0x808080, 0x00FF00, 0xebb037487be4affdull}, {0x302828, 0x00FF00, 0x4805a0111c0dddccull},
               {0x1818DC, 0x00FF00, 0x20f798300d68f290ull}, {0x808080, 0xFF0000, 0x659948855abac5ddull},
               {0x28C8F0, 0xFF0000, 0xa760f4727e7d157cull}, {0x20A040, 0xFF00FF, 0x779cf488494d4b6bull}};
  constexpr int kEdge = 40;
  for (const auto& [body, key, fingerprint] : cases) {
    SCOPED_TRACE(::testing::Message() << std::hex << body << " on " << key);
    const edges::Frame f = edges::RenderFrame(kEdge, 33.0f, edges::FromBgrWord(body), edges::FromBgrWord(key));
    std::vector<Bgra> pixels, truth;
    for (int y = kEdge - 1; y >= 0; --y)  // memory rows run bottom-up
      for (int x = 0; x < kEdge; ++x) {
        const size_t at = static_cast<size_t>(y) * kEdge + x;
        pixels.push_back({f.rgb[3 * at + 2], f.rgb[3 * at + 1], f.rgb[3 * at], 0});
        truth.push_back({f.alpha[at], 0, 0, 0});
      }
    const auto graded = Keyed(pixels, kEdge, key, 0, Rule::Graded);
    const auto clean = Keyed(pixels, kEdge, key, 0, Rule::CleanEdges);
    for (int32_t y = 1; y + 1 < kEdge; ++y)
      for (int32_t x = 1; x + 1 < kEdge; ++x) {
        const size_t at = static_cast<size_t>(y) * kEdge + x;
        bool inside = true;
        for (int32_t j = -1; j <= 1; ++j)
          for (int32_t i = -1; i <= 1; ++i) inside &= truth[at + j * kEdge + i].b == 255;
        const Bgra in = pixels[at], out = testing::GetBgra(*clean, x, kEdge - 1 - y);
        if (inside || BgrAt(&in.b) == ModelOfKey(key).key) {
          EXPECT_EQ(out, (inside ? Bgra{in.b, in.g, in.r, 255} : Bgra{})) << x << "," << y;
        }
      }
    const auto score = [&, key = key](const cAlphaDibSection& r) {
      return edges::ScoreEdges(r.DIBSectionBitsPtr(), &truth.front().b, kEdge, kEdge, key);
    };
    const edges::EdgeScores g = score(*graded), k = score(*clean);
    EXPECT_LE(k.alphaError, g.alphaError / 3) << g.alphaError;
    EXPECT_LE(k.spill, g.spill / 10) << g.spill;
    uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (size_t i = 0; i < 4 * kEdge * kEdge; ++i) hash = (hash ^ clean->DIBSectionBitsPtr()[i]) * 1099511628211ull;
    EXPECT_EQ(hash, fingerprint);
  }
}

TEST(CreateAlphaChannel, ProgressRunsFrom0To100ByRowAndStatusesFrame) {
  for (const Rule rule : {Rule::Graded, Rule::CleanEdges}) {
    for (const int32_t height : {5, 1}) {
      testing::FakeView view;
      frmMain form(view);
      ASSERT_TRUE(form.WorkImage->Create(2, height));
      SelectKeyingRule(form.Controls, rule);
      form.CreateAlphaChannel();
      EXPECT_EQ(view.progressValues, (height == 1 ? std::vector<float>{100} : std::vector<float>{0, 25, 50, 75, 100}));
      EXPECT_EQ(std::tuple(view.progressShown, view.progressHidden, form.Controls.ProgressBar1.Visible),
                std::tuple(1, 1, false));
      EXPECT_EQ(view.statuses,
                (std::vector<std::string>{"Status: Creating Alpha Channel...", "Status: Alpha Channel Done..."}));
    }
  }
  testing::FakeView view;  // an empty working image is left alone
  frmMain form(view);
  form.CreateAlphaChannel();
  EXPECT_EQ(std::tuple(view.statuses.size(), view.progressShown, form.WorkImage->Empty()),
            std::tuple(size_t{0}, 0, true));
}

}  // namespace
}  // namespace velkor
