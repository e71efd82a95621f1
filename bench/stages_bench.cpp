// One benchmark per pipeline stage on the bundled sample vehicle, each starting
// from what the stage before it leaves in the working image.
#include <vector>

#include "bench/BenchSupport.h"
#include "pipeline/DeviceSize.h"
#include "platform/Files.h"
#include "ui/commands/KeyingChoice.h"

namespace velkor::bench {

namespace {

// The static 2.20 strip (14400 x 750), imported once.
const cAlphaDibSection& StaticStrip() {
  static const std::unique_ptr<cAlphaDibSection> strip = [] {
    Window w;
    w.form.BuildCompositeImage("2.20");
    return std::move(w.form.WorkImage);
  }();
  return *strip;
}

// The strip resized to 2880 x 150 and keyed with the default tolerance.
const cAlphaDibSection& KeyedImage() {
  static const std::unique_ptr<cAlphaDibSection> keyed = [] {
    Window w;
    w.form.WorkImage = CopyOf(StaticStrip());
    w.form.ImageLoaded = true;
    w.form.AddAlphaChannel("2.20");
    return std::move(w.form.WorkImage);
  }();
  return *keyed;
}

// The finished image of Do All: keyed and sharpened.
const cAlphaDibSection& SharpenedImage() {
  static const std::unique_ptr<cAlphaDibSection> sharpened = KeyedImage().UnsharpMask();
  return *sharpened;
}

double FileMegabytes(const std::string& path) {
  return static_cast<double>(platform::FileLength(path).value_or(0)) / 1e6;
}

void BM_FrameImport(benchmark::State& state) {
  Window w;
  for (auto _ : state) {
    Require(state, static_cast<bool>(w.form.BuildCompositeImage("2.20")), "the sample frames were not imported");
  }
  double bmpBytes = 0;
  for (const std::string& folder : {SampleFolder("Rotation"), SampleFolder("Rotation/Top")}) {
    for (const std::string& name : platform::ListFiles(folder, ".bmp")) {
      bmpBytes += FileMegabytes(JoinPath(folder, name));
    }
  }
  RatePerIteration(state, "strip_MP/s", Megapixels(*w.form.WorkImage));
  RatePerIteration(state, "bmp_MB/s", bmpBytes);
}
BENCHMARK(BM_FrameImport)->Unit(benchmark::kMillisecond);

// The resampling sequence ResizeToDeviceSize runs for 2.20: step-sampling off
// (arg 0, one pass) or on with 1, 2 or 3 steps (2, 3 or 4 passes).
void BM_Resample(benchmark::State& state) {
  const cAlphaDibSection& strip = StaticStrip();
  const int steps = static_cast<int>(state.range(0));
  const std::vector<RasterSize> sizes = ResampleSizes(DeviceSizeFor(false, "2.20"), steps > 0, steps);
  double sourcePixels = 0;
  for (auto _ : state) {
    std::unique_ptr<cAlphaDibSection> current;
    const cAlphaDibSection* source = &strip;
    sourcePixels = 0;
    for (const RasterSize& size : sizes) {
      sourcePixels += Megapixels(*source);
      current = source->Resample(size.height, size.width);
      source = current.get();
    }
    benchmark::DoNotOptimize(current->DIBSectionBitsPtr());
  }
  RatePerIteration(state, "source_MP/s", sourcePixels);
  state.SetLabel(std::to_string(sizes.size()) + " pass(es)");
}
BENCHMARK(BM_Resample)->Arg(0)->Arg(1)->Arg(2)->Arg(3)->ArgName("steps")->Unit(benchmark::kMillisecond);

// Arg: the keying rule (0 graded, 1 binary, 2 clean edges).
void BM_CreateAlphaChannel(benchmark::State& state) {
  Window w;
  SelectKeyingRule(w.form.Controls, static_cast<KeyingRule>(state.range(0)));
  Window resized;
  resized.form.WorkImage = CopyOf(StaticStrip());
  resized.form.ImageLoaded = true;
  resized.form.ResizeToDeviceSize("2.20");
  const cAlphaDibSection& source = *resized.form.WorkImage;
  w.form.ImageLoaded = true;
  for (auto _ : state) {
    state.PauseTiming();
    w.form.WorkImage = CopyOf(source);
    state.ResumeTiming();
    w.form.CreateAlphaChannel();
  }
  RatePerIteration(state, "MP/s", Megapixels(source));
}
BENCHMARK(BM_CreateAlphaChannel)->Arg(0)->Arg(2)->ArgName("rule")->Unit(benchmark::kMillisecond);

void BM_UnsharpMask(benchmark::State& state) {
  const cAlphaDibSection& keyed = KeyedImage();
  for (auto _ : state) {
    std::unique_ptr<cAlphaDibSection> sharpened = keyed.UnsharpMask();
    benchmark::DoNotOptimize(sharpened->DIBSectionBitsPtr());
  }
  RatePerIteration(state, "MP/s", Megapixels(keyed));
}
BENCHMARK(BM_UnsharpMask)->Unit(benchmark::kMillisecond);

// WriteSRFFile: encoding, the file with its checksum byte, and the commit.
void BM_WriteSRFFile(benchmark::State& state) {
  Window w;
  w.form.WorkImage = CopyOf(SharpenedImage());
  w.form.ImageLoaded = true;
  const std::string path = OutputPath("write.srf");
  for (auto _ : state) Require(state, w.form.WriteSRFFile(path, "2.20"), "WriteSRFFile failed");
  RatePerIteration(state, "MB/s", FileMegabytes(path));
}
BENCHMARK(BM_WriteSRFFile)->Unit(benchmark::kMillisecond);

void BM_ReadSRFFile(benchmark::State& state) {
  Window w;
  w.form.WorkImage = CopyOf(SharpenedImage());
  w.form.ImageLoaded = true;
  const std::string path = OutputPath("read.srf");
  w.form.WriteSRFFile(path, "2.20");
  for (auto _ : state) Require(state, w.form.ReadSRFFile(path), "ReadSRFFile failed");
  RatePerIteration(state, "MB/s", FileMegabytes(path));
  RatePerIteration(state, "MP/s", Megapixels(*w.form.WorkImage));
}
BENCHMARK(BM_ReadSRFFile)->Unit(benchmark::kMillisecond);

}  // namespace

}  // namespace velkor::bench
