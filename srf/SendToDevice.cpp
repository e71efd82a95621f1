#include "srf/SendToDevice.h"

#include <filesystem>

#include "common/VbError.h"
#include "platform/Files.h"
#include "platform/SystemError.h"
#include "srf/SrfFileCheck.h"

namespace velkor {

namespace {

namespace fs = std::filesystem;

SendResult Result(SendOutcome outcome, const std::string& target, const std::string& message) {
  return {outcome, target, message};
}

bool WriteCopy(const std::vector<uint8_t>& bytes, const std::string& target, std::string& error) {
  platform::SafeFileWriter file;
  if (file.Open(target) && file.Write(bytes.data(), bytes.size()) && file.Commit()) return true;
  error = platform::ApiErrorText(file.Error());
  return false;
}

}  // namespace

SendResult SendSRFToDevice(const std::string& srfFile, const std::string& device, bool replace) {
  const fs::path folder = fs::path(device) / "Garmin" / "Vehicle";
  const std::string target = (folder / fs::path(srfFile).filename()).string();
  // The bytes checked are the bytes sent: the file is read once.
  std::vector<uint8_t> bytes;
  std::string problem;
  try {
    bytes = ReadSRFBytesWithin(srfFile);
    problem = SRFBytesProblem(bytes, srfFile);
  } catch (const VbError& e) {
    problem = e.Description();
  }
  if (!problem.empty()) return Result(SendOutcome::BadFile, target, problem + "; nothing was sent.");
  if (const auto existing = platform::ReadWholeFile(target)) {
    if (*existing == bytes) return Result(SendOutcome::AlreadyThere, target, target + " is already on the device.");
    if (!replace) return Result(SendOutcome::Exists, target, "A different " + target + " is already on the device.");
  }
  std::error_code made;
  fs::create_directories(folder, made);
  if (made) return Result(SendOutcome::Failed, target, "Cannot create " + folder.string() + ": " + made.message());
  std::string error;
  if (!WriteCopy(bytes, target, error)) {
    return Result(SendOutcome::Failed, target, "Cannot write " + target + ": " + error);
  }
  return Result(SendOutcome::Copied, target, "Sent to " + target);
}

}  // namespace velkor
