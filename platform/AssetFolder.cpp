#include "platform/AssetFolder.h"

#include <filesystem>

#include "platform/Files.h"

namespace velkor::platform {

std::string AssetFolderFor(const std::string& programFolder, const std::string& probe) {
  namespace fs = std::filesystem;
  std::error_code error;
  if (fs::exists(fs::path(programFolder) / probe, error)) return programFolder;
  // ProgramFolder() is already the executable's real path, so "bin/.." is the
  // prefix even when the program is started through a symbolic link.
  const fs::path installed = (fs::path(programFolder).parent_path() / "share" / "velkor").lexically_normal();
  if (fs::exists(installed / probe, error)) return installed.string();
  return programFolder;
}

std::string AssetFolder() { return AssetFolderFor(ProgramFolder(), "Garmin760.bmp"); }

std::string HelperProgramFor(const std::string& programFolder, const std::string& name) {
  const std::filesystem::path beside = std::filesystem::path(programFolder) / name;
  if (FileExists(beside.string())) return beside.string();
  return (std::filesystem::path(programFolder).parent_path() / "libexec" / "velkor" / name).lexically_normal().string();
}

std::string HelperProgram(const std::string& name) { return HelperProgramFor(ProgramFolder(), name); }

}  // namespace velkor::platform
