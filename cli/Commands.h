#pragma once
// Each group of commands registers its subcommands on the application. A
// command's callback sets `exitCode`: 0 success, 1 failure.
#include <CLI/CLI.hpp>

namespace velkor::cli {

struct CliContext {
  int exitCode = 0;
};

void AddAssetCommands(CLI::App& app, CliContext& context);      // sample-frames, device-screen
void AddConvertCommands(CLI::App& app, CliContext& context);    // srf2png, asrf2png, png2srf, png2asrf, info
void AddPipelineCommands(CLI::App& app, CliContext& context);   // do-all, build-strip
void AddThumbnailCommand(CLI::App& app, CliContext& context);
void AddSendToDeviceCommand(CLI::App& app, CliContext& context);
void AddGifCommand(CLI::App& app, CliContext& context);
void AddRenderCommands(CLI::App& app, CliContext& context);     // render

}  // namespace velkor::cli
