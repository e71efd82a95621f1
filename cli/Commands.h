#pragma once
// Each group of commands registers its subcommands on the application. A
// command's callback sets `exitCode`: 0 success, 1 failure.
#include <CLI/CLI.hpp>

#include <iostream>
#include <string>
#include <vector>

#include "common/Paths.h"
#include "platform/Files.h"
#include "srf/SrfVersion.h"

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

// --version: one of the static versions, checked where it is parsed; any
// other text is a usage error, the same on every command.
inline CLI::Option* AddVersionOption(CLI::App* command, std::string& text, const std::string& what) {
  text = NewestStaticSrfVersion().text;
  return command->add_option("--version", text, what + ": " + StaticSrfVersionsText() + " (default " + text + ")")
      ->check([](const std::string& value) {
        return IsStaticSrfVersionText(Trim(value))
                   ? std::string()
                   : "not an SRF version: " + value + " (" + StaticSrfVersionsText() + ")";
      });
}

void AddAssetCommands(CLI::App& app, CliContext& context);     // sample-frames, device-screen
void AddConvertCommands(CLI::App& app, CliContext& context);   // srf2png, asrf2png, png2srf, png2asrf, info
void AddPipelineCommands(CLI::App& app, CliContext& context);  // do-all, build-strip
void AddThumbnailCommand(CLI::App& app, CliContext& context);
void AddSendToDeviceCommand(CLI::App& app, CliContext& context);
void AddGifCommand(CLI::App& app, CliContext& context);
void AddRenderCommands(CLI::App& app, CliContext& context);  // render

}  // namespace velkor::cli
