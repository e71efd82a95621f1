// velkor-edge-scores: how well each keying rule recovers the true alpha at the
// vehicle's edges, through the whole Do All, and whether it leaves the
// vehicle's inside alone. Frames with a known coverage are drawn for several
// paints and keys, paint near the key's hue among them; the colour frames, the
// truth frames (their coverage as grey) and the vehicle alone over black go
// through the window's own import and resize, the colour strip on through
// keying and sharpening, and the result is scored against the resized truth at
// device size.
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

#include "bench/HeadlessView.h"
#include "bench/keying/EdgePicture.h"
#include "bench/keying/EdgeScore.h"
#include "bench/keying/SyntheticVehicle.h"
#include "pipeline/NumberingScheme.h"
#include "pipeline/StripLayout.h"
#include "sample/RgbImage.h"
#include "ui/commands/KeyingChoice.h"
#include "ui/commands/frmMain.h"

namespace velkor::edges {
namespace {

constexpr const char* kVersion = "2.20";
// Step-sampling steps for every resize (1..3), 0 for the window's default
// single step; the second argument of the command.
int gSteps = 0;

struct Case {
  const char* name;
  std::vector<Part> parts;
  uint32_t key;  // 0x00BBGGRR
};

struct Window {
  std::ostringstream sink;
  bench::HeadlessView view{sink, true};
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

// The 36 + 36 colour frames ("c3d", "c2d"), truth frames ("t3d", "t2d") and
// vehicle frames ("v3d", "v2d").
void WriteFrames(const std::string& folder, const Case& c) {
  const StripLayout layout = *StripLayoutFor(false, kVersion);
  const NumberingScheme scheme = SchemeFromText("0000-0035");
  std::string error;
  for (const auto& [set, edge] : {std::pair{"3d", layout.cell3D}, std::pair{"2d", layout.cell2D}}) {
    for (int i = 0; i < kFramesPerSet; ++i) {
      const Frame f = RenderFrame(edge, 10.0f * i + 3.0f, c.parts, FromBgrWord(c.key));
      sample::RgbImage colour{edge, edge, f.rgb}, truth{edge, edge, {}}, vehicle{edge, edge, f.vehicle};
      for (uint8_t a : f.alpha) truth.rgb.insert(truth.rgb.end(), {a, a, a});
      const std::string number = FrameNumber(scheme, i);
      sample::SaveBmp24(colour, folder + "/c" + set + number + ".bmp", error);
      sample::SaveBmp24(truth, folder + "/t" + set + number + ".bmp", error);
      sample::SaveBmp24(vehicle, folder + "/v" + set + number + ".bmp", error);
    }
  }
}

enum class Order { DoAll, KeyBeforeResize, KeyAfterResize };

struct KeyedStrip {
  std::unique_ptr<cAlphaDibSection> unsharpened, sharpened;
};

// The strip keyed under `rule`, in the window's Do All or in one order of
// its stages, and then sharpened as Do All does.
KeyedStrip Keyed(const cAlphaDibSection& strip, const std::string& folder, uint32_t key, KeyingRule rule, int tolerance,
                 Order order) {
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
  KeyedStrip result{CopyOf(*w.form.WorkImage), nullptr};
  w.form.ApplyUnsharpMask();
  result.sharpened = std::move(w.form.WorkImage);
  return result;
}

// The third heading of both bands at device size (3D above, 2D below).
KeyedView CellView(const cAlphaDibSection& r) {
  return KeyedView{r.DIBSectionBitsPtr(), r.Width(), r.Height(), 2 * 80, 0, 80, r.Height()};
}

// The vehicle's inside: pixels with only fully covered pixels within two,
// coverage read from byte `byte` of each pixel of `coverage`. How many of them
// `keyed` has otherwise than `graded` (graded at tolerance 0 keeps every
// colour but the key's as it is, opaque), out of how many.
std::pair<size_t, size_t> InsideChanged(const cAlphaDibSection& coverage, int byte, const cAlphaDibSection& graded,
                                        const cAlphaDibSection& keyed) {
  const int32_t w = graded.Width(), h = graded.Height();
  const uint8_t *a = coverage.DIBSectionBitsPtr(), *g = graded.DIBSectionBitsPtr(), *k = keyed.DIBSectionBitsPtr();
  size_t inside = 0, changed = 0;
  for (int32_t y = 2; y + 2 < h; ++y) {
    for (int32_t x = 2; x + 2 < w; ++x) {
      bool covered = true;
      for (int32_t j = -2; j <= 2; ++j)
        for (int32_t i = -2; i <= 2; ++i) covered &= a[4 * ((y + j) * static_cast<size_t>(w) + x + i) + byte] == 255;
      const size_t at = 4 * (static_cast<size_t>(y) * w + x);
      inside += covered;
      changed += covered && !std::equal(g + at, g + at + 4, k + at);
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
    bench::HeadlessView view{sink, true};
    frmMain form{view};
    form.Form_Load();
    SelectKeyingRule(form.Controls, rule);
    form.BuildCompositeImage(kVersion);
    form.AddAlphaChannel(kVersion);
    keyed.push_back(CopyOf(*form.WorkImage));
    form.ApplyUnsharpMask();
    results.push_back(std::move(form.WorkImage));
  }
  const auto [changed, inside] = InsideChanged(*keyed[0], 3, *keyed[0], *keyed[1]);
  std::printf("sample vehicle: %zu of %zu inside pixels differ between graded and clean\n", changed, inside);
  SaveSideBySide({CellView(*results[0]), CellView(*results[1])}, 8, outFolder + "/edges-sample.png");
}

struct Variant {
  const char* name;
  KeyingRule rule;
  int tolerance;
  Order order;
};

const Variant kVariants[] = {{"graded T=0 (Do All)", KeyingRule::Graded, 0, Order::DoAll},
                             {"clean (Do All)", KeyingRule::CleanEdges, 0, Order::DoAll},
                             {"graded T=60 (Do All)", KeyingRule::Graded, 60, Order::DoAll},
                             {"clean, keyed before resize", KeyingRule::CleanEdges, 0, Order::KeyBeforeResize},
                             {"clean, keyed after resize", KeyingRule::CleanEdges, 0, Order::KeyAfterResize}};

// One table block: every variant on one case's frames, each scored against
// the truth, with its ratio to graded T=0, and the share of the inside it
// changes. Writes the graded/clean picture.
void ScoreCase(const Case& c, const std::string& outFolder, const std::string& pictureName) {
  const std::string folder = outFolder + "/frames";
  std::filesystem::create_directories(folder);
  WriteFrames(folder, c);
  // The truth and vehicle strips' fill (a column no frame covers) is black:
  // alpha 0, no colour.
  Window colour(folder, "c", c.key), truth(folder, "t", 0), vehicle(folder, "v", 0);
  colour.form.BuildCompositeImage(kVersion);
  for (Window* w : {&truth, &vehicle}) {
    w->form.BuildCompositeImage(kVersion);
    w->form.ResizeToDeviceSize(kVersion);
  }
  const cAlphaDibSection& t = *truth.form.WorkImage;
  const auto score = [&](const cAlphaDibSection& keyed) {
    return ScoreEdges(keyed.DIBSectionBitsPtr(), t.DIBSectionBitsPtr(), t.Width(), t.Height(), c.key,
                      vehicle.form.WorkImage->DIBSectionBitsPtr());
  };
  std::vector<KeyedStrip> results;
  EdgeScores graded;
  for (const Variant& v : kVariants) {
    results.push_back(Keyed(*colour.form.WorkImage, folder, c.key, v.rule, v.tolerance, v.order));
    const EdgeScores s = score(*results.back().sharpened), u = score(*results.back().unsharpened);
    if (results.size() == 1) graded = s;
    const auto [changed, inside] = InsideChanged(t, 0, *results[0].unsharpened, *results.back().unsharpened);
    std::printf("%-26s %-26s %7.2f %6.3f %7.2f %6.3f %7.2f %%   (%.2f, %.2f)\n", c.name, v.name, s.alphaError,
                s.alphaError / graded.alphaError, s.spill, graded.spill > 0 ? s.spill / graded.spill : 0.0,
                100.0 * static_cast<double>(changed) / static_cast<double>(inside), u.alphaError, u.spill);
  }
  // Keying could do no better than the true alpha and colour: sharpening
  // them alone sets the floor of both scores.
  std::unique_ptr<cAlphaDibSection> exact = CopyOf(*vehicle.form.WorkImage);
  for (size_t i = 0; i < static_cast<size_t>(t.Width()) * t.Height(); ++i)
    exact->DIBSectionBitsPtr()[4 * i + 3] = t.DIBSectionBitsPtr()[4 * i];
  const EdgeScores floor = score(*exact->UnsharpMask());
  std::printf("%-26s %-26s %7.2f %6.3f %7.2f %6.3f %9s   (0.00, 0.00)\n", c.name, "true alpha, sharpened",
              floor.alphaError, floor.alphaError / graded.alphaError, floor.spill,
              graded.spill > 0 ? floor.spill / graded.spill : 0.0, "");
  SaveSideBySide({CellView(*results[0].sharpened), CellView(*results[1].sharpened)}, 8, outFolder + "/" + pictureName);
}

int Run(const std::string& outFolder) {
  const auto paint = [](uint32_t body) { return VehicleParts(FromBgrWord(body)); };
  std::vector<Part> lime = paint(0x28E696), trimmed = paint(0x808080);
  AddWindow(lime);
  AddTrim(trimmed, FromBgrWord(0x32AA28));
  const std::vector<Part> glass = VehicleParts(FromBgrWord(0xDCD7D7), FromBgrWord(0xA0735F), FromBgrWord(0xC8B9B4));
  const std::vector<Case> cases = {
      {"grey body, green key", paint(0x808080), 0x00FF00},  {"dark body, green key", paint(0x302828), 0x00FF00},
      {"red body, green key", paint(0x1818DC), 0x00FF00},   {"grey body, blue key", paint(0x808080), 0xFF0000},
      {"lime + window, green key", lime, 0x00FF00},         {"teal body, green key", paint(0x829600), 0x00FF00},
      {"green trim, green key", trimmed, 0x00FF00},         {"blue-grey glass, blue key", glass, 0xFF0000},
      {"pink body, magenta key", paint(0xC878E6), 0xFF00FF}};
  std::printf("%-26s %-26s %7s %6s %7s %6s %9s   %s\n", "frames", "rule", "alpha", "ratio", "spill", "ratio", "inside",
              "(before sharpening: alpha, spill)");
  for (size_t i = 0; i < cases.size(); ++i) ScoreCase(cases[i], outFolder, "edges-" + std::to_string(i) + ".png");
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
