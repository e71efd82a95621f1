#include "jobs/Finish.h"

#include <exception>
#include <string>

#include "pipeline/DeviceSize.h"

namespace velkor {

namespace {

// The progress after memory row `row` of `height` rows, 0 to 100. A raster
// of one row is done after its only row.
float RowProgress(int32_t row, int32_t height) {
  if (height <= 1) return 100.0f;
  return static_cast<float>(static_cast<double>(row) / (height - 1) * 100);
}

std::string Size(RasterSize size, const char* between) {
  return std::to_string(size.width) + between + std::to_string(size.height);
}

}  // namespace

Result<Done> ResizeToDevice(std::unique_ptr<cAlphaDibSection>& picture, RasterSize device,
                            const FinishSettings& settings, Progress& progress) {
  if (!settings.resize || picture->Empty()) return Done{};
  const bool completed = ResizeThrough(
      picture, ResampleSizes(device, settings.stepSample, settings.steps),
      [&progress](RasterSize size) { progress.Status("Status: Resampling to " + Size(size, "x") + "..."); });
  if (!completed) {
    progress.Status("Status: Error resampling image!");
    return Failure{"the image cannot be resampled to " + Size(device, " x "), "Status: Error resampling image!", true};
  }
  progress.Status("Status: Done...", false);
  return Done{};
}

Result<Done> KeyPicture(cAlphaDibSection& picture, const KeyingParameters& keying, Progress& progress) {
  if (picture.Empty()) return Done{};
  progress.Bar(true);
  progress.Status("Status: Creating Alpha Channel...");
  try {
    KeyImage(picture, keying,
             [&progress](int32_t row, int32_t height) { progress.Fraction(RowProgress(row, height)); });
  } catch (const std::exception&) {
    progress.Bar(false);
    progress.Status("Status: Error occured while adding alpha!");
    return Failure{"An error occured while adding alpha channel!", "Status: Error occured while adding alpha!"};
  }
  progress.Bar(false);
  progress.Picture(picture);
  progress.Status("Status: Alpha Channel Done...");
  return Done{};
}

Result<Done> ResizeAndKey(std::unique_ptr<cAlphaDibSection>& picture, RasterSize device, const FinishSettings& settings,
                          Progress& progress) {
  if (picture->Empty()) return Done{};
  if (Result<Done> resized = ResizeToDevice(picture, device, settings, progress); !resized) return resized;
  progress.Picture(*picture);
  return KeyPicture(*picture, settings.keying, progress);
}

Result<Done> Sharpen(std::unique_ptr<cAlphaDibSection>& picture, Progress& progress) {
  // An empty picture has nothing to sharpen; it is left as it is.
  if (picture->Empty()) return Done{};
  progress.Status("Status: Applying Unsharp Mask....", false);
  std::unique_ptr<cAlphaDibSection> sharpened;
  try {
    sharpened = picture->UnsharpMask();
  } catch (const std::exception&) {
    sharpened.reset();
  }
  if (!sharpened) {
    progress.Status("Status: Error applying unsharp mask!");
    return Failure{"the unsharp mask cannot be applied", "Status: Error applying unsharp mask!", true};
  }
  picture = std::move(sharpened);
  progress.Picture(*picture);
  progress.Status("Status: Done....");
  return Done{};
}

}  // namespace velkor
