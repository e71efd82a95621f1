#include "jobs/SrfOutputs.h"

#include "convert/AnimatedGif.h"
#include "convert/SrfThumbnail.h"
#include "sample/DeviceScreen.h"
#include "sample/SampleFrames.h"

namespace velkor {

namespace {

// An engine call that reports failure in an error string, as a Result.
template <typename F>
Result<Done> Checked(F&& call) {
  std::string error;
  if (call(error)) return Done{};
  return Failure{error};
}

}  // namespace

Result<Done> WriteGif(const std::string& srfPath, const std::string& gifPath, Progress& progress) {
  progress.Status("Status: Writing GIF...");
  Result<Done> written = Checked([&](std::string& error) { return WriteSRFAsGif(srfPath, gifPath, error); });
  if (!written) {
    Failure failure("The animated GIF was not written: " + written.failure().message, "Status: Error writing GIF!");
    failure.reason = written.failure().message;
    progress.Status(failure.status);
    return failure;
  }
  progress.Status("Status: GIF written....");
  return written;
}

Result<Done> WriteThumbnail(const std::string& srfPath, const std::string& pngPath, int size) {
  return Checked([&](std::string& error) { return WriteSRFThumbnail(srfPath, pngPath, size, error); });
}

Result<Done> MakeSampleFrames(const std::string& folder) {
  return Checked([&](std::string& error) { return sample::WriteSampleFrames(folder, error); });
}

Result<Done> MakeDeviceScreen(const std::string& bmpPath) {
  return Checked([&](std::string& error) { return sample::WriteDeviceScreen(bmpPath, error); });
}

}  // namespace velkor
