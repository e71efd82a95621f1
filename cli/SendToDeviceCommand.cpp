// `send-to-device FILE.srf [--device DIR] [--force]`: the SRF file into the
// Garmin/Vehicle folder of the one Garmin device mounted. With no device or
// several, it says so and sends nothing; a different file of the same name
// on the device is only replaced with --force.
#include <iostream>
#include <memory>

#include "cli/Commands.h"
#include "jobs/SendToDevice.h"
#include "platform/Files.h"
#include "platform/GarminDevices.h"

namespace velkor::cli {

namespace {

struct SendArgs {
  std::string file, device;
  bool force = false;
};

// The device to send to, or "" after an error message.
std::string ChooseDevice(const std::string& named) {
  if (!named.empty()) {
    if (platform::IsGarminDevice(named)) return named;
    std::cerr << "error: " << named << " is not a Garmin device (it has no Garmin/GarminDevice.xml)\n";
    return {};
  }
  const std::vector<std::string> roots = platform::DefaultMountRoots();
  const std::vector<std::string> devices = platform::FindGarminDevices(roots);
  if (devices.size() == 1) return devices.front();
  if (devices.empty()) {
    std::cerr << "error: no Garmin device found in";
    for (const std::string& root : roots) std::cerr << ' ' << root;
    std::cerr << "; connect one or name its folder with --device DIR\n";
  } else {
    std::cerr << "error: several Garmin devices found; choose one with --device DIR:\n";
    for (const std::string& device : devices) std::cerr << "  " << device << '\n';
  }
  return {};
}

int Send(const SendArgs& args) {
  const std::string device = ChooseDevice(args.device);
  if (device.empty()) return 1;
  const auto sent = SendToDevice({platform::AbsolutePath(args.file), device, args.force});
  if (sent) {
    std::cout << sent->message << '\n';
    return 0;
  }
  std::cerr << "error: " << sent.failure().message
            << (sent.failure().exists ? " It was kept; --force replaces it." : "") << '\n';
  return 1;
}

}  // namespace

void AddSendToDeviceCommand(CLI::App& app, CliContext& context) {
  auto args = std::make_shared<SendArgs>();
  auto* sub = app.add_subcommand("send-to-device",
                                 "Copy a checked SRF file into the Garmin/Vehicle folder of a mounted Garmin device");
  sub->add_option("FILE.srf", args->file, "SRF file to send")->required();
  sub->add_option("--device", args->device, "The device's folder (holding Garmin/), when not found by itself");
  sub->add_flag("--force", args->force, "Replace a different file of the same name on the device");
  sub->callback([&context, args] { context.exitCode = Send(*args); });
}

}  // namespace velkor::cli
