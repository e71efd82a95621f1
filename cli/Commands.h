#pragma once
// Each group of commands registers its subcommands on the application. A
// command's callback sets `exitCode`: 0 success, 1 failure.
#include <CLI/CLI.hpp>

#include <iostream>
#include <string>
#include <vector>

#include "platform/Files.h"

namespace velkor::cli {

struct CliContext {
  int exitCode = 0;
};

// An output named on the command line never replaces one of the command's
// inputs (the same file, after links). False after saying which.
inline bool OutputsLeaveInputs(const std::vector<std::string>& outputs, const std::vector<std::string>& inputs) {
  for (const std::string& output : outputs) {
    if (const std::string problem = platform::OverwritesInput(output, inputs); !problem.empty()) {
      std::cerr << "error: " << problem << '\n';
      return false;
    }
  }
  return true;
}

void AddAssetCommands(CLI::App& app, CliContext& context);      // sample-frames, device-screen
void AddConvertCommands(CLI::App& app, CliContext& context);    // srf2png, asrf2png, png2srf, png2asrf, info
void AddPipelineCommands(CLI::App& app, CliContext& context);   // do-all, build-strip
void AddThumbnailCommand(CLI::App& app, CliContext& context);
void AddSendToDeviceCommand(CLI::App& app, CliContext& context);
void AddGifCommand(CLI::App& app, CliContext& context);
void AddRenderCommands(CLI::App& app, CliContext& context);     // render

}  // namespace velkor::cli
