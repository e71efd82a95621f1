// The window's commands end to end on the bundled sample vehicle: Do All from
// the BMP folders to the SRF on disk, and the SRF <-> PNG conversions.
#include "bench/BenchSupport.h"
#include "platform/Files.h"

namespace velkor::bench {

namespace {

double FileMegabytes(const std::string& path) {
  return static_cast<double>(platform::FileLength(path).value_or(0)) / 1e6;
}

bool Written(const Window& w, const char* prefix) {
  return w.form.Controls.lblStatus.Caption.rfind(prefix, 0) == 0 && !w.view.Failed();
}

// Do All, static 2.20 with the window's defaults; arg = step-sampling steps
// (0: off, the default).
void BM_DoAllStatic(benchmark::State& state) {
  Window w;
  const int steps = static_cast<int>(state.range(0));
  w.UseSteps(steps);
  const std::string path = OutputPath("doall-static-" + std::to_string(steps) + ".srf");
  double stripPixels = 0;
  for (auto _ : state) {
    w.view.AnswerDialogs({path});
    w.form.cmdSave_Click();
    Require(state, Written(w, "Status: SRF version #"), "Do All wrote no SRF");
    stripPixels = 14400.0 * 750 / 1e6;
  }
  RatePerIteration(state, "strip_MP/s", stripPixels);
  RatePerIteration(state, "srf_MB/s", FileMegabytes(path));
}
BENCHMARK(BM_DoAllStatic)->Arg(0)->Arg(1)->Arg(2)->Arg(3)->ArgName("steps")->Unit(benchmark::kMillisecond);

void BM_DoAllAnimated(benchmark::State& state) {
  Window w(true);
  const std::string path = OutputPath("doall-animated.srf");
  for (auto _ : state) {
    w.view.AnswerDialogs({path});
    w.form.cmdSave_Click();
    Require(state, Written(w, "Status: ASRF version #"), "Do All wrote no animated SRF");
  }
  RatePerIteration(state, "strip_MP/s", Megapixels(16210, 1700));
  RatePerIteration(state, "srf_MB/s", FileMegabytes(path));
}
BENCHMARK(BM_DoAllAnimated)->Unit(benchmark::kMillisecond);

// An SRF made by Do All once, as the conversions' input.
const std::string& StaticSRF() {
  static const std::string path = [] {
    const std::string p = OutputPath("convert-input.srf");
    Window w;
    w.view.AnswerDialogs({p});
    w.form.cmdSave_Click();
    return p;
  }();
  return path;
}

void BM_SRFToPNG(benchmark::State& state) {
  Window w;
  const std::string bmp = OutputPath("srf2png.bmp");
  w.view.answerQuestion = [](const std::string&) { return true; };  // the pair written by the last round
  for (auto _ : state) {
    w.view.AnswerDialogs({StaticSRF(), bmp});
    w.form.mnuSRFtoPNG_Click();
    Require(state, w.form.Controls.lblStatus.Caption == "Status: Done..." && !w.view.Failed(), "SRF to PNG failed");
  }
  RatePerIteration(state, "srf_MB/s", FileMegabytes(StaticSRF()));
  RatePerIteration(state, "MP/s", Megapixels(*w.form.WorkImage));
}
BENCHMARK(BM_SRFToPNG)->Unit(benchmark::kMillisecond);

void BM_PNGToSRF(benchmark::State& state) {
  Window w;
  const std::string png = OutputPath("srf2png.png");
  const std::string srf = OutputPath("png2srf.srf");
  {
    Window convert;
    convert.view.answerQuestion = [](const std::string&) { return true; };
    convert.view.AnswerDialogs({StaticSRF(), OutputPath("srf2png.bmp")});
    convert.form.mnuSRFtoPNG_Click();
  }
  for (auto _ : state) {
    w.view.AnswerDialogs({png, srf});
    w.form.mnuPNGtoSRF_Click();
    Require(state, Written(w, "Status: SRF version #"), "PNG to SRF failed");
  }
  RatePerIteration(state, "png_MB/s", FileMegabytes(png));
  RatePerIteration(state, "MP/s", Megapixels(*w.form.WorkImage));
}
BENCHMARK(BM_PNGToSRF)->Unit(benchmark::kMillisecond);

}  // namespace

}  // namespace velkor::bench
