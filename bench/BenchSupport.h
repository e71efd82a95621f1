#pragma once
// What the benchmarks share: a window over a quiet headless view, the bundled
// sample vehicle's folders, and rasters copied for a stage to start from.
#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

#include "bench/HeadlessView.h"
#include "common/Paths.h"
#include "platform/Files.h"
#include "raster/cAlphaDibSection.h"
#include "ui/commands/frmMain.h"

namespace velkor::bench {

// Every benchmark reports the median of this many runs.
inline constexpr int kRepetitions = 9;

inline std::string SampleFolder(const std::string& relative) {
  return JoinPath(JoinPath(platform::ProgramFolder(), "sample"), relative);
}

// Where the benchmarks write their files; left behind for inspection.
inline std::string OutputPath(const std::string& name) {
  static const std::string folder = [] {
    const std::string f = JoinPath(platform::ProgramFolder(), "bench-out");
    std::filesystem::create_directories(f);
    return f;
  }();
  return JoinPath(folder, name);
}

// The window as a user finds it, its statuses recorded and not printed.
struct Window {
  std::ostringstream sink;
  bench::HeadlessView view{sink, true};
  frmMain form{view};

  explicit Window(bool animated = false) {
    form.Form_Load();
    if (animated) {
      form.mnuAnimatedSRF_Click();
      // The animated layout wants the sample's larger rotation frames.
      form.Controls.txtWorkDir[1].Text = SampleFolder("Animated/Rotation");
      form.Controls.txt2DWorkDir[1].Text = SampleFolder("Animated/Rotation/Top");
    }
  }
  // Step-sampling in `steps` steps (1..3); 0 leaves it off.
  void UseSteps(int steps) {
    form.Controls.chkStepSample.Value = steps > 0;
    for (int i = 0; i < 3; ++i) form.Controls.optSteps[static_cast<size_t>(i)].Value = i + 1 == steps;
  }
};

inline std::unique_ptr<cAlphaDibSection> CopyOf(const cAlphaDibSection& raster) {
  auto copy = std::make_unique<cAlphaDibSection>();
  copy->Create(raster.Width(), raster.Height());
  std::memcpy(copy->DIBSectionBitsPtr(), raster.DIBSectionBitsPtr(),
              static_cast<size_t>(raster.BytesPerScanLine()) * static_cast<size_t>(raster.Height()));
  return copy;
}

inline double Megapixels(double width, double height) { return width * height / 1e6; }
inline double Megapixels(const cAlphaDibSection& raster) { return Megapixels(raster.Width(), raster.Height()); }

// A rate counter: `amount` per iteration, shown per second.
inline void RatePerIteration(benchmark::State& state, const char* name, double amount) {
  state.counters[name] =
      benchmark::Counter(amount * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

inline void Require(benchmark::State& state, bool ok, const char* what) {
  if (!ok) state.SkipWithError(what);
}

}  // namespace velkor::bench
