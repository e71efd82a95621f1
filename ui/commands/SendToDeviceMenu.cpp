#include "ui/commands/SendToDeviceMenu.h"

#include <optional>

#include "jobs/SendToDevice.h"
#include "platform/GarminDevices.h"
#include "ui/commands/FileDialogs.h"
#include "ui/commands/frmMain.h"

namespace velkor {

namespace {

constexpr const char* kChooseFolder = "Choose folder...";

std::string Joined(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items) text += (text.empty() ? "" : ", ") + item;
  return text;
}

// A device by its model and folder, as the list shows it.
std::string DeviceLabel(const std::string& device) {
  const std::string model = platform::GarminDeviceModel(device);
  return (model.empty() ? std::string("Garmin device") : model) + " (" + device + ")";
}

// The devices found, and "Choose folder..." for one mounted elsewhere.
std::optional<std::string> PickDevice(frmMain& form, const std::vector<std::string>& mountRoots) {
  const std::vector<std::string> devices = platform::FindGarminDevices(mountRoots);
  std::vector<std::string> choices;
  for (const std::string& device : devices) choices.push_back(DeviceLabel(device));
  choices.push_back(kChooseFolder);
  const std::optional<size_t> picked = form.View().ChooseOne(
      devices.empty() ? "No Garmin device found in " + Joined(mountRoots) +
                            ".\nConnect it over USB so that it shows as a drive, or choose its folder."
                      : "Send to which device?",
      choices);
  if (!picked || *picked > devices.size()) return std::nullopt;
  if (*picked < devices.size()) return devices[*picked];
  const std::string folder = form.View().BrowseForFolder("Choose the Garmin device's folder",
                                                         mountRoots.empty() ? std::string() : mountRoots.front());
  if (folder.empty()) return std::nullopt;
  const std::optional<std::string> device = platform::GarminDeviceRoot(folder);
  if (!device) {
    form.View().MessageBox(folder + " is not a Garmin device: it holds no Garmin/GarminDevice.xml.");
    form.SetStatus("Status: Not sent...");
  }
  return device;
}

}  // namespace

void SendToDeviceFlow(frmMain& form, const std::vector<std::string>& mountRoots) {
  const std::optional<std::string> srf = ShowCommonDialog(form, false, "SRF Files|*.srf", kOpenDialogFlags);
  if (!srf || srf->empty()) return;
  const std::optional<std::string> device = PickDevice(form, mountRoots);
  if (!device) return;
  auto sent = SendToDevice({*srf, *device, false});
  if (!sent && sent.failure().exists) {
    if (!form.View().AskYesNo(sent.failure().message + "\n\nReplace it with " + *srf + "?")) {
      form.SetStatus("Status: Kept the file on the device...");
      return;
    }
    sent = SendToDevice({*srf, *device, true});
  }
  if (sent) {
    form.SetStatus("Status: " + sent->message);
  } else {
    form.View().MessageBox(sent.failure().message);
    form.SetStatus("Status: Not sent...");
  }
}

void frmMain::mnuSendToDevice_Click() { SendToDeviceFlow(*this, platform::DefaultMountRoots()); }

}  // namespace velkor
