// The alpha stage under its three rules: exact pixels, the graded and binary
// rules byte for byte on a fixed image, clean edges scored against the true
// coverage of small anti-aliased frames, and the progress bar.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
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
      {Rule::Graded, 0x00FF00, 10, {1, 254, 1, 9}, {0, 25, 0, 26}},
      {Rule::Graded, 0x00FF00, 10, {100, 200, 50, 0}, {100, 200, 50, 255}},
      {Rule::Graded, 0x00FF00, 0, {0, 255, 0, 255}, {0, 0, 0, 0}},
      {Rule::Graded, 0x00FF00, 0, {0, 254, 0, 0}, {0, 254, 0, 255}},
      {Rule::Graded, 0x0B0D0F, 0, {0x0B, 0x0D, 0x0F, 0}, {0, 0, 0, 0}},  // every bit of every key channel counts
      {Rule::Graded, 0x0B0D0F, 0, {0x0B, 0x0D, 0x0E, 0}, {0x0B, 0x0D, 0x0E, 255}},
      {Rule::Graded, 0x63C731, 10, {100, 200, 50, 0}, {10, 20, 5, 26}},  // 1 off each: 100 * 26 / 255 truncated
      {Rule::Graded, 0x00FF00, 255, {0, 0, 0, 0}, {0, 0, 0, 85}},
      {Rule::Graded, 0x00FF00, 255, {200, 100, 100, 0}, {119, 59, 59, 152}},  // mean distance 151.67
      {Rule::Binary, 0xFF0000, 0, {255, 0, 0, 0}, {0, 0, 0, 0}},
      {Rule::Binary, 0xFF0000, 0, {0, 0, 255, 0}, {0, 0, 255, 255}},
      {Rule::Binary, 0x00FF00, 255, {200, 100, 100, 0}, {0, 0, 0, 0}},
      {Rule::CleanEdges, 0x00FF00, 0, {0, 255, 0, 9}, {0, 0, 0, 0}},
      {Rule::CleanEdges, 0x00FF00, 0, {30, 40, 200, 0}, {30, 40, 200, 255}},  // no key in it: untouched
      {Rule::CleanEdges, 0x00FF00, 0, {90, 90, 90, 0}, {90, 90, 90, 255}},
      {Rule::CleanEdges, 0x00FF00, 0, {64, 192, 64, 0}, {64, 64, 64, 127}},  // half grey 128 over green
      {Rule::CleanEdges, 0x00FF00, 0, {0, 100, 0, 0}, {0, 0, 0, 155}},       // key over black
      {Rule::CleanEdges, 0xFF0000, 0, {255, 0, 0, 0}, {0, 0, 0, 0}},
      {Rule::CleanEdges, 0xFF0000, 0, {191, 64, 64, 0}, {64, 64, 64, 128}},
      {Rule::CleanEdges, 0xFF00FF, 0, {191, 64, 191, 0}, {64, 64, 64, 128}},  // two dominant channels
      {Rule::CleanEdges, 0x808080, 0, {128, 128, 128, 0}, {0, 0, 0, 0}},      // a grey key keys by the cube
      {Rule::CleanEdges, 0x808080, 0, {0, 128, 128, 0}, {0, 128, 128, 255}},
      {Rule::CleanEdges, 0x808080, 0, {128, 128, 200, 0}, {73, 73, 145, 145}},  // red alone leaves the cube
      {Rule::CleanEdges, 0x808080, 0, {128, 128, 129, 0}, {1, 1, 2, 2}},        // one step out of the key
      // Key (120, 255, 50): only green is dominant; spill 80 of 135 leaves alpha 0.41.
      {Rule::CleanEdges, 0x78FF32, 0, {100, 180, 60, 0}, {29, 29, 30, 104}},
      {Rule::CleanEdges, 0x78FF32, 0, {150, 150, 40, 0}, {150, 150, 40, 255}},
      {Rule::CleanEdges, 0x78FF32, 0, {110, 230, 50, 0}, {3, 3, 6, 28}},
      {Rule::CleanEdges, 0x96FF28, 0, {140, 200, 60, 0}, {31, 15, 31, 70}},  // (150, 255, 40): blue is dominant too
  };
  // Each pixel beside the pure key, so that clean edges takes it for the
  // boundary; the other rules key each pixel on its own.
  for (const auto& c : cases) {
    const Bgra key{uint8_t(c.key >> 16), uint8_t(c.key >> 8), uint8_t(c.key), 0};
    EXPECT_EQ(testing::GetBgra(*Keyed({key, c.in}, 2, c.key, c.tolerance, c.rule), 1, 0), c.out)
        << static_cast<int>(c.rule) << " " << std::hex << c.key << " " << ::testing::PrintToString(c.in);
  }
  // Half red over green at the end of a red row: its spill alone would say
  // 225; the line from the key to the red inside the row says half.
  // Pixels next to the background are not read as vehicle colours: in the
  // second row the red beside the key does not explain the edge pixel, and
  // the blue ones do not either. The red two pixels from the key does.
  // Three fifths red has no spill left, yet beside the key it is an edge.
  // Over a black key, the line to the inside says more than the cube (127, not
  // 120): only rows inside the picture are neighbours, so nothing past the
  // top row (black, i.e. key) keeps the row's first pixels from being inside.
  const Bgra red{24, 24, 220, 0}, blue{200, 40, 30, 0}, half{12, 140, 110, 0}, cyan{255, 200, 0, 0},
      green{0, 255, 0, 0};
  const struct {
    std::vector<Bgra> row;
    uint32_t key;
    Bgra third, fourth;  // pixels 2 and 3 keyed
  } rows[] = {{{red, red, red, half, green}, 0x00FF00, {24, 24, 220, 255}, {12, 12, 110, 127}},
              {{blue, blue, half, red, green}, 0x00FF00, {12, 110, 110, 225}, {24, 24, 220, 255}},
              {{blue, blue, red, half, green}, 0x00FF00, {24, 24, 220, 255}, {12, 12, 110, 127}},
              {{red, red, red, {14, 116, 132, 0}, green}, 0x00FF00, {24, 24, 220, 255}, {14, 14, 132, 153}},
              {{cyan, cyan, cyan, {120, 108, 0, 0}, {}}, 0x000000, {255, 200, 0, 255}, {120, 108, 0, 127}}};
  for (const auto& r : rows) {
    const auto keyed = Keyed(r.row, static_cast<int32_t>(r.row.size()), r.key, 0, Rule::CleanEdges);
    EXPECT_EQ(std::pair(testing::GetBgra(*keyed, 2, 0), testing::GetBgra(*keyed, 3, 0)), std::pair(r.third, r.fourth));
  }
}

// Clean edges unmixes only the band: pixels within two of the key, across or
// diagonally, whether the key is outside the vehicle or seen through it. A
// half grey over green in red paint is unmixed there and kept, opaque, beyond.
TEST(CreateAlphaChannel, CleanEdgesUnmixOnlyTheBandAroundTheKey) {
  const struct {
    int key, mixed;  // x + 9 y in a 9 x 9 picture
    bool unmixed;
  } cases[] = {{0, 2, true},   {0, 3, false},   {0, 2 + 9 * 2, true},  {0, 3 + 9 * 2, false},    // outline
               {40, 42, true}, {40, 43, false}, {40, 2 + 9 * 6, true}, {40, 1 + 9 * 1, false}};  // window
  for (const auto& c : cases) {
    std::vector<Bgra> pixels(81, Bgra{24, 24, 220, 0});
    pixels[static_cast<size_t>(c.key)] = Bgra{0, 255, 0, 0};
    pixels[static_cast<size_t>(c.mixed)] = Bgra{64, 192, 64, 0};
    const auto keyed = Keyed(pixels, 9, 0x00FF00, 0, Rule::CleanEdges);
    EXPECT_EQ(reinterpret_cast<const Bgra*>(keyed->DIBSectionBitsPtr())[c.mixed],
              (c.unmixed ? Bgra{64, 64, 64, 127} : Bgra{64, 192, 64, 255}))
        << c.key << " " << c.mixed;
  }
}

// Frame pixels (rows top-down, `pixel` of the index) at five times `edge`,
// resized to edge x edge as Do All resizes; in memory order.
std::vector<Bgra> Resized(int32_t edge, const std::function<Bgra(size_t)>& pixel) {
  cAlphaDibSection frame;
  EXPECT_TRUE(frame.Create(5 * edge, 5 * edge));
  testing::FillRaster(frame, [&](int x, int y) { return pixel(static_cast<size_t>(y) * 5 * edge + x); });
  const auto resized = frame.Resample(edge, edge);
  const Bgra* bits = reinterpret_cast<const Bgra*>(resized->DIBSectionBitsPtr());
  return std::vector<Bgra>(bits, bits + edge * edge);
}

// Small vehicles drawn with their true coverage and resized, paint near the
// key's hue among them (lime with a window the key shows through, green trim,
// blue-grey glass on blue, pink on magenta): the clean rule cuts the alpha
// error to a third and the key spill to a tenth of the graded rule's and
// clears the pure key. Sharpened, every pixel with only vehicle within three
// (so beyond the band and the sharpening's reach) is the vehicle's own colour,
// opaque and sharpened, to the byte. And the bytes stay those it gives now.
TEST(CreateAlphaChannel, CleanEdgesAgainstTheTrueCoverage) {
  using edges::FromBgrWord;
  const auto paint = [](uint32_t body) { return edges::VehicleParts(FromBgrWord(body)); };
  std::vector<edges::Part> lime = paint(0x28E696), trim = paint(0x808080);
  edges::AddWindow(lime);
  edges::AddTrim(trim, FromBgrWord(0x32AA28));
  const struct {
    std::vector<edges::Part> parts;
    uint32_t key;
    uint64_t fingerprint;  // of the clean rule's bytes
  } cases[] = {{paint(0x808080), 0x00FF00, 0x4011a451d67fcfd8ull},
               {paint(0x302828), 0x00FF00, 0x083b811532e66096ull},
               {paint(0x1818DC), 0x00FF00, 0x6fedd884c30026d0ull},
               {paint(0x808080), 0xFF0000, 0x4011a451d67fcfd8ull},
               {paint(0x28C8F0), 0xFF0000, 0xb26f1738d871e58cull},
               {paint(0x20A040), 0xFF00FF, 0x89ded73f67543a54ull},
               {lime, 0x00FF00, 0x991abf57b355c41aull},
               {trim, 0x00FF00, 0xc392f16b8479b02full},
               {paint(0xC878E6), 0xFF00FF, 0x1c5babe17105a064ull},
               {edges::VehicleParts(FromBgrWord(0xDCD7D7), FromBgrWord(0xA0735F), FromBgrWord(0xC8B9B4)), 0xFF0000,
                0xf0db9a7c0a860fc5ull}};
  constexpr int32_t kEdge = 40;
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "case " << &c - cases);
    const edges::Frame f = edges::RenderFrame(5 * kEdge, 33.0f, c.parts, FromBgrWord(c.key));
    const auto colour = [](const std::vector<uint8_t>& rgb) {
      return [&rgb](size_t at) { return Bgra{rgb[3 * at + 2], rgb[3 * at + 1], rgb[3 * at], 0}; };
    };
    const std::vector<Bgra> pixels = Resized(kEdge, colour(f.rgb)), vehicle = Resized(kEdge, colour(f.vehicle)),
                            truth = Resized(kEdge, [&f](size_t at) {
                              return Bgra{f.alpha[at], 0, 0, 0};
                            });
    const auto graded = Keyed(pixels, kEdge, c.key, 0, Rule::Graded),
               clean = Keyed(pixels, kEdge, c.key, 0, Rule::CleanEdges);
    // Graded at tolerance 0 keeps every colour but the key's exactly, opaque.
    const auto sharpened = clean->UnsharpMask(), reference = graded->UnsharpMask();
    const auto at = [](const cAlphaDibSection& r, size_t i) {
      return reinterpret_cast<const Bgra*>(r.DIBSectionBitsPtr())[i];
    };
    size_t deep = 0;
    for (int32_t y = 3; y + 3 < kEdge; ++y)
      for (int32_t x = 3; x + 3 < kEdge; ++x) {
        const size_t i = static_cast<size_t>(y) * kEdge + x;
        if (BgrAt(&pixels[i].b) == ModelOfKey(c.key).key) {
          EXPECT_EQ(at(*clean, i), Bgra{}) << x << "," << y;
        }
        bool covered = true;
        for (int32_t j = -3; j <= 3; ++j)
          for (int32_t k = -3; k <= 3; ++k) covered &= truth[i + j * kEdge + k].b == 255;
        deep += covered;
        if (covered) {
          EXPECT_EQ(at(*sharpened, i), at(*reference, i)) << x << "," << y;
        }
      }
    EXPECT_GE(deep, 72u);
    const auto score = [&](const cAlphaDibSection& r) {
      return edges::ScoreEdges(r.DIBSectionBitsPtr(), &truth.front().b, kEdge, kEdge, c.key, &vehicle.front().b);
    };
    const edges::EdgeScores g = score(*graded), k = score(*clean);
    EXPECT_LE(k.alphaError, g.alphaError / 3) << g.alphaError;
    EXPECT_LE(k.spill, g.spill / 10) << g.spill;
    uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (size_t i = 0; i < 4 * kEdge * kEdge; ++i) hash = (hash ^ clean->DIBSectionBitsPtr()[i]) * 1099511628211ull;
    EXPECT_EQ(hash, c.fingerprint) << std::hex << hash;
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
