#include "jobs/DoAll.h"

#include <exception>

#include "pipeline/DeviceSize.h"

namespace velkor {

namespace {

constexpr const char* kStopped = "\nDo All stopped: no SRF file was written.";

Failure Stopped(const ImportStop& stop) {
  Failure failure = stop;
  failure.message = (stop.message.empty() ? "The frames could not be imported." : stop.message) + kStopped;
  failure.reason = stop.Reason();
  failure.quiet = false;
  return failure;
}

// The sampled strip resampled to the device size, as ResizeToDevice says it
// for its one step.
Result<Done> ResampleSampled(const SampledStrip& strip, std::unique_ptr<cAlphaDibSection>& picture, RasterSize device,
                             Progress& progress) {
  const std::string size = std::to_string(device.width) + "x" + std::to_string(device.height);
  progress.Status("Status: Resampling to " + size + "...");
  try {
    picture = strip.Resample();
  } catch (const std::exception&) {
    picture.reset();
  }
  if (!picture) {
    progress.Status("Status: Error resampling image!");
    return Failure{
        "the image cannot be resampled to " + std::to_string(device.width) + " x " + std::to_string(device.height),
        "Status: Error resampling image!", true};
  }
  progress.Status("Status: Done...", false);
  progress.Picture(*picture);
  return Done{};
}

}  // namespace

Result<DoAllOutcome> DoAll(const DoAllSettings& s, Progress& progress, std::unique_ptr<cAlphaDibSection>* lastStage) {
  const RasterSize device = DeviceSizeFor(s.import.animated, s.import.version->text);
  const bool sampled =
      !s.keepStrip && s.finish.resize && ResampleSizes(device, s.finish.stepSample, s.finish.steps).size() == 1;
  Result<ImportedStrip, ImportStop> imported =
      ImportFrames(s.import, progress, sampled ? std::optional(device) : std::nullopt);
  if (!imported) return Stopped(imported.failure());

  std::unique_ptr<cAlphaDibSection> picture = std::move(imported->strip);
  const auto fail = [&](const Failure& failure) -> Result<DoAllOutcome> {
    if (lastStage && picture) *lastStage = std::move(picture);
    return failure;
  };
  if (picture) progress.Picture(*picture);
  // A 2D frame that could not be read left an empty cell.
  if (!imported->skipped.empty()) return fail(Failure{imported->skippedProblem + kStopped});
  if (sampled) {
    std::unique_ptr<cAlphaDibSection> resampled;
    if (Result<Done> done = ResampleSampled(*imported->sampled, resampled, device, progress); !done)
      return fail(done.failure());
    picture = std::move(resampled);
    if (Result<Done> keyed = KeyPicture(*picture, s.finish.keying, progress); !keyed) return fail(keyed.failure());
  } else {
    if (Result<Done> done = ResizeAndKey(picture, device, s.finish, progress); !done) return fail(done.failure());
  }
  if (!s.import.animated) {
    if (Result<Done> done = Sharpen(picture, progress); !done) return fail(done.failure());
  }
  return DoAllOutcome{std::move(picture)};
}

}  // namespace velkor
