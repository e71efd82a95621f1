#pragma once
// Where the program's assets (the device screen picture, the sample vehicle)
// live: beside the executable in the build tree, or in share/velkor of the
// prefix the program is installed in.
#include <string>

namespace velkor::platform {

// `programFolder` itself when it holds `probe`; otherwise
// programFolder/../share/velkor when that holds it; otherwise `programFolder`,
// so that messages name the place a person would look first.
std::string AssetFolderFor(const std::string& programFolder, const std::string& probe);

// AssetFolderFor(ProgramFolder(), "Garmin760.bmp"): the device screen is
// always installed with the sample vehicle beside it.
std::string AssetFolder();

// A helper program the programs run (the model loader): beside
// `programFolder` in the build tree, otherwise where it is installed,
// programFolder/../libexec/velkor.
std::string HelperProgramFor(const std::string& programFolder, const std::string& name);
std::string HelperProgram(const std::string& name);  // for ProgramFolder()

}  // namespace velkor::platform
