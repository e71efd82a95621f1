#include "srf/SendToDevice.h"

#include <filesystem>
#include <optional>

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

// Garmin/ and then Garmin/Vehicle of the device (each made when missing), each
// followed through its links to its real place, which must lie inside the
// device's own folder: a link that leads elsewhere would have the copy
// written outside the device. None, with why, otherwise.
std::optional<fs::path> VehicleFolder(const std::string& device, std::string& problem) {
  std::error_code ec;
  const fs::path root = fs::canonical(device, ec);
  if (ec) return (problem = "Cannot use the device folder " + device + ": " + ec.message(), std::nullopt);
  fs::path folder = root;
  for (const char* part : {"Garmin", "Vehicle"}) {
    const fs::path next = folder / part;
    if (fs::symlink_status(next, ec).type() == fs::file_type::not_found && !fs::create_directory(next, ec) && ec) {
      return (problem = "Cannot create " + next.string() + ": " + ec.message(), std::nullopt);
    }
    const fs::path real = fs::canonical(next, ec);
    const fs::path inside = ec ? fs::path() : real.lexically_relative(root);
    if (ec || inside.empty() || *inside.begin() == ".." || !fs::is_directory(real, ec)) {
      problem = "Cannot send to " + device + ": " + next.string() + " is not a folder inside the device (" +
                (ec ? ec.message() : "it leads to " + real.string()) + ")";
      return std::nullopt;
    }
    folder = real;
  }
  return folder;
}

bool WriteCopy(const std::vector<uint8_t>& bytes, const std::string& target, std::string& error) {
  platform::SafeFileWriter file;
  if (file.Open(target) && file.Write(bytes.data(), bytes.size()) && file.Commit()) return true;
  error = platform::ApiErrorText(file.Error());
  return false;
}

}  // namespace

SendResult SendSRFToDevice(const std::string& srfFile, const std::string& device, bool replace) {
  std::string target = (fs::path(device) / "Garmin" / "Vehicle" / fs::path(srfFile).filename()).string();
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
  const std::optional<fs::path> folder = VehicleFolder(device, problem);
  if (!folder) return Result(SendOutcome::Failed, target, problem + "; nothing was sent.");
  target = (*folder / fs::path(srfFile).filename()).string();
  // A link in the device's place is never followed: it is replaced, and only when asked.
  std::error_code ec;
  const bool link = fs::is_symlink(fs::symlink_status(target, ec));
  const std::optional<std::vector<uint8_t>> existing = link ? std::nullopt : platform::ReadWholeFile(target);
  if (existing && *existing == bytes) {
    return Result(SendOutcome::AlreadyThere, target, target + " is already on the device.");
  }
  if ((link || existing) && !replace) {
    return Result(SendOutcome::Exists, target, "A different " + target + " is already on the device.");
  }
  std::string error;
  if (!WriteCopy(bytes, target, error)) {
    return Result(SendOutcome::Failed, target, "Cannot write " + target + ": " + error);
  }
  return Result(SendOutcome::Copied, target, "Sent to " + target);
}

}  // namespace velkor
