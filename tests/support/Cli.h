#pragma once
// velkor-cli run as a program (it sits beside the test programs), and the
// flags that point it at the frame sets of WriteAllSets.
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/Files.h"
#include "support/TestFiles.h"

namespace velkor::testing {

struct CliResult {
  int status = -1;
  std::string out, err;
};

inline std::string Quoted(const std::string& path) { return "'" + path + "'"; }

// Runs velkor-cli with `args` (quoted already) in `folder`, keeping both
// output streams.
inline CliResult RunCli(const std::string& args, const std::string& folder) {
  const std::string errFile = folder + "/.cli-stderr";
  const std::string command = "cd " + Quoted(folder) + " && " + Quoted(platform::ProgramFolder() + "/velkor-cli") +
                              " " + args + " 2>" + Quoted(errFile);
  CliResult result;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    std::array<char, 4096> buffer;
    for (size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) result.out.append(buffer.data(), n);
    const int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  const std::vector<uint8_t> err = ReadFileBytes(errFile);
  result.err.assign(err.begin(), err.end());
  std::filesystem::remove(errFile);
  return result;
}

// All four folders at `frames` with the prefixes r3d, r2d, a3d and a2d.
inline std::string FrameFlags(const std::string& frames) {
  const std::string d = Quoted(frames);
  return "--rotation-3d " + d + " --rotation-2d " + d + " --animation-3d " + d + " --animation-2d " + d +
         " --prefix-3d r3d --prefix-2d r2d --anim-prefix-3d a3d --anim-prefix-2d a2d";
}

}  // namespace velkor::testing
