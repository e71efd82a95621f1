// The bundled assets: the sample vehicle (a model and its rendered frames)
// and the device screen behind the SRF viewer, both made by our own code.
#include <iostream>

#include "cli/Commands.h"
#include "jobs/SrfOutputs.h"
#include "platform/Files.h"

namespace velkor::cli {

void AddAssetCommands(CLI::App& app, CliContext& context) {
  auto* frames = app.add_subcommand("sample-frames", "Render the sample vehicle's frame sets into DIR");
  static std::string framesDir;
  frames->add_option("DIR", framesDir, "Folder to create the frame sets in")->required();
  frames->callback([&context] {
    if (const Result<Done> made = MakeSampleFrames(platform::AbsolutePath(framesDir)); !made) {
      std::cerr << "error: " << made.failure().message << '\n';
      context.exitCode = 1;
      return;
    }
    std::cout << "sample frames: " << platform::AbsolutePath(framesDir) << '\n';
  });

  auto* screen = app.add_subcommand("device-screen", "Draw the viewer's device screen picture as a BMP");
  static std::string screenPath;
  screen->add_option("OUT.bmp", screenPath, "BMP file to write")->required();
  screen->callback([&context] {
    if (const Result<Done> made = MakeDeviceScreen(platform::AbsolutePath(screenPath)); !made) {
      std::cerr << "error: " << made.failure().message << '\n';
      context.exitCode = 1;
      return;
    }
    std::cout << "device screen: " << platform::AbsolutePath(screenPath) << '\n';
  });
}

}  // namespace velkor::cli
