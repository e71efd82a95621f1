// velkor-edge-scores: how well each keying rule recovers the true alpha at the
// vehicle's edges, through the whole Do All. Frames with a known coverage are
// drawn for several body colours and keys; the colour frames and the truth
// frames (their coverage as grey) go through the window's own import and
// resize, the colour strip on through keying and sharpening, and the edge
// band of the result is scored against the resized truth at device size.
//
//   velkor-edge-scores [OUTPUT-FOLDER [STEPS]]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "bench/keying/EdgePicture.h"
#include "bench/keying/EdgeScore.h"
#include "bench/keying/SyntheticVehicle.h"
#include "cli/HeadlessView.h"
#include "ui/commands/KeyingChoice.h"
#include "pipeline/NumberingScheme.h"
#include "pipeline/StripLayout.h"
#include "sample/RgbImage.h"
#include "ui/commands/frmMain.h"

namespace velkor::edges {
namespace {

constexpr const char* kVersion = "2.20";
// Step-sampling steps for every resize (1..3), 0 for the window's default
// single step; the second argument of the command.
int gSteps = 0;

struct Case {
  const char* name;
  uint32_t body, key;  // 0x00BBGGRR
};

struct Window {
  std::ostringstream sink;
  cli::HeadlessView view{sink, true};
  frmMain form{view};
  Window(const std::string& folder, const std::string& prefix, uint32_t key) {
    form.Form_Load();
    for (int item = 1; item <= 2; ++item) {
      form.Controls.txtWorkDir[item].Text = form.Controls.txt2DWorkDir[item].Text = folder;
      form.Controls.txt3DPrefix[item].Text = prefix + "3d";
      form.Controls.txt2DPrefix[item].Text = prefix + "2d";
    }
    form.KeyColor = key;
    form.Controls.chkStepSample.Value = gSteps > 0;
    for (size_t i = 0; i < 3; ++i) form.Controls.optSteps[i].Value = static_cast<int>(i) + 1 == gSteps;
  }
};

std::unique_ptr<cAlphaDibSection> CopyOf(const cAlphaDibSection& raster) {
  auto copy = std::make_unique<cAlphaDibSection>();
  copy->Create(raster.Width(), raster.Height());
  std::copy_n(raster.DIBSectionBitsPtr(), static_cast<size_t>(raster.BytesPerScanLine()) * raster.Height(),
              copy->DIBSectionBitsPtr());
  return copy;
}

// The 36 + 36 colour frames ("c3d", "c2d") and truth frames ("t3d", "t2d").
void WriteFrames(const std::string& folder, const Case& c) {
  const StripLayout layout = *StripLayoutFor(false, kVersion);
  const NumberingScheme scheme = SchemeFromText("0000-0035");
  std::string error;
  for (const auto& [set, edge] : {std::pair{"3d", layout.cell3D}, std::pair{"2d", layout.cell2D}}) {
    for (int i = 0; i < kFramesPerSet; ++i) {
      const Frame f = RenderFrame(edge, 10.0f * i + 3.0f, FromBgrWord(c.body), FromBgrWord(c.key));
      sample::RgbImage colour{edge, edge, f.rgb}, truth{edge, edge, {}};
      for (uint8_t a : f.alpha) truth.rgb.insert(truth.rgb.end(), {a, a, a});
      const std::string number = FrameNumber(scheme, i);
      sample::SaveBmp24(colour, folder + "/c" + set + number + ".bmp", error);
      sample::SaveBmp24(truth, folder + "/t" + set + number + ".bmp", error);
    }
  }
}

enum class Order { DoAll, KeyBeforeResize, KeyAfterResize };

// The strip keyed under `rule`, in the window's Do All or in one order of
// its stages, then sharpened as Do All does. `unsharpened` gets the scores
// of the keyed image before sharpening.
std::unique_ptr<cAlphaDibSection> Keyed(const cAlphaDibSection& strip, const cAlphaDibSection& truth,
                                        const std::string& folder, uint32_t key, KeyingRule rule,
                                        int tolerance, Order order, EdgeScores& unsharpened) {
  Window w(folder, "c", key);
  w.form.Controls.sldTol.Value = tolerance;
  w.form.WorkImage = CopyOf(strip);
  w.form.ImageLoaded = true;
  SelectKeyingRule(w.form.Controls, rule);
  if (order == Order::DoAll) {
    w.form.AddAlphaChannel(kVersion);
  } else if (order == Order::KeyBeforeResize) {
    w.form.CreateAlphaChannel();
    w.form.ResizeToDeviceSize(kVersion);
  } else {
    w.form.ResizeToDeviceSize(kVersion);
    w.form.CreateAlphaChannel();
  }
  unsharpened = ScoreEdges(w.form.WorkImage->DIBSectionBitsPtr(), truth.DIBSectionBitsPtr(), truth.Width(),
                           truth.Height(), key);
  w.form.ApplyUnsharpMask();
  return std::move(w.form.WorkImage);
}

// The third heading of both bands at device size (3D above, 2D below).
KeyedView CellView(const cAlphaDibSection& r) {
  return KeyedView{r.DIBSectionBitsPtr(), r.Width(), r.Height(), 2 * 80, 0, 80, r.Height()};
}

// How many pixels the graded rule makes opaque with only opaque pixels within
// two (the vehicle's inside: graded makes edge mixes opaque too) and the clean
// rule changes at all, out of how many.
std::pair<size_t, size_t> InsideChanged(const cAlphaDibSection& graded, const cAlphaDibSection& clean) {
  const int32_t w = graded.Width(), h = graded.Height();
  const uint8_t *g = graded.DIBSectionBitsPtr(), *c = clean.DIBSectionBitsPtr();
  size_t inside = 0, changed = 0;
  for (int32_t y = 2; y + 2 < h; ++y) {
    for (int32_t x = 2; x + 2 < w; ++x) {
      bool opaque = true;
      for (int32_t j = -2; j <= 2; ++j)
        for (int32_t i = -2; i <= 2; ++i)
          opaque &= g[4 * ((y + j) * static_cast<size_t>(w) + x + i) + 3] == 255;
      const size_t at = 4 * (static_cast<size_t>(y) * w + x);
      inside += opaque;
      changed += opaque && !std::equal(g + at, g + at + 4, c + at);
    }
  }
  return {changed, inside};
}

// The bundled sample vehicle through Do All's stages under both rules, side by
// side: real rendered frames, with no truth to score against; but the clean
// rule must leave the vehicle's inside as graded keys it.
void SaveSampleVehicle(const std::string& outFolder) {
  std::vector<std::unique_ptr<cAlphaDibSection>> keyed, results;
  for (const KeyingRule rule : {KeyingRule::Graded, KeyingRule::CleanEdges}) {
    std::ostringstream sink;
    cli::HeadlessView view{sink, true};
    frmMain form{view};
    form.Form_Load();
    SelectKeyingRule(form.Controls, rule);
    form.BuildCompositeImage(kVersion);
    form.AddAlphaChannel(kVersion);
    keyed.push_back(CopyOf(*form.WorkImage));
    form.ApplyUnsharpMask();
    results.push_back(std::move(form.WorkImage));
  }
  const auto [changed, inside] = InsideChanged(*keyed[0], *keyed[1]);
  std::printf("sample vehicle: %zu of %zu inside pixels differ between graded and clean\n", changed, inside);
  SaveSideBySide({CellView(*results[0]), CellView(*results[1])}, 8, outFolder + "/edges-sample.png");
}

struct Variant {
  const char* name;
  KeyingRule rule;
  int tolerance;
  Order order;
};

const Variant kVariants[] = {
    {"graded T=0 (Do All)", KeyingRule::Graded, 0, Order::DoAll},
    {"clean (Do All)", KeyingRule::CleanEdges, 0, Order::DoAll},
    {"graded T=60 (Do All)", KeyingRule::Graded, 60, Order::DoAll},
    {"clean, keyed before resize", KeyingRule::CleanEdges, 0, Order::KeyBeforeResize},
    {"clean, keyed after resize", KeyingRule::CleanEdges, 0, Order::KeyAfterResize}};

// One table block: every variant on one case's frames, each scored against
// the truth, with its ratio to graded T=0. Writes the graded/clean picture.
void ScoreCase(const Case& c, const std::string& outFolder, const std::string& pictureName) {
  const std::string folder = outFolder + "/frames";
  std::filesystem::create_directories(folder);
  WriteFrames(folder, c);
  // The truth strip's fill (a column no frame covers) is black: alpha 0.
  Window colour(folder, "c", c.key), truth(folder, "t", 0);
  colour.form.BuildCompositeImage(kVersion);
  truth.form.BuildCompositeImage(kVersion);
  truth.form.ResizeToDeviceSize(kVersion);
  const cAlphaDibSection& t = *truth.form.WorkImage;
  std::vector<std::unique_ptr<cAlphaDibSection>> results;
  EdgeScores graded;
  for (const Variant& v : kVariants) {
    EdgeScores u;
    results.push_back(Keyed(*colour.form.WorkImage, t, folder, c.key, v.rule, v.tolerance, v.order, u));
    const EdgeScores s =
        ScoreEdges(results.back()->DIBSectionBitsPtr(), t.DIBSectionBitsPtr(), t.Width(), t.Height(), c.key);
    if (results.size() == 1) graded = s;
    std::printf("%-22s %-28s %8.2f %6.3f %8.2f %6.3f   (%.2f, %.2f)\n", c.name, v.name, s.alphaError,
                s.alphaError / graded.alphaError, s.spill, s.spill / graded.spill, u.alphaError, u.spill);
  }
  SaveSideBySide({CellView(*results[0]), CellView(*results[1])}, 8, outFolder + "/" + pictureName);
}

int Run(const std::string& outFolder) {
  const Case cases[] = {{"grey body, green key", 0x808080, 0x00FF00},
                        {"dark body, green key", 0x302828, 0x00FF00},
                        {"red body, green key", 0x1818DC, 0x00FF00},
                        {"grey body, blue key", 0x808080, 0xFF0000}};
  std::printf("%-22s %-28s %8s %6s %8s %6s   %s\n", "frames", "rule", "alpha", "ratio", "spill", "ratio",
              "(before sharpening: alpha, spill)");
  for (const Case& c : cases) ScoreCase(c, outFolder, "edges-" + std::to_string(&c - cases) + ".png");
  SaveSampleVehicle(outFolder);
  std::printf("pictures (graded left, clean right): %s/edges-*.png\n", outFolder.c_str());
  return 0;
}

}  // namespace
}  // namespace velkor::edges

int main(int argc, char** argv) {
  const std::string out = argc > 1 ? argv[1] : "bench-out/keying";
  velkor::edges::gSteps = argc > 2 ? std::clamp(std::atoi(argv[2]), 0, 3) : 0;
  std::filesystem::create_directories(out);
  return velkor::edges::Run(out);
}
