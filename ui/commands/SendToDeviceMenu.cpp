#include "ui/commands/SendToDeviceMenu.h"

#include <optional>

#include "platform/GarminDevices.h"
#include "ui/commands/FileDialogs.h"
#include "srf/SendToDevice.h"
#include "ui/commands/frmMain.h"

namespace velkor {

namespace {

std::string Joined(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items) text += (text.empty() ? "" : ", ") + item;
  return text;
}

std::optional<std::string> PickDevice(frmMain& form, const std::vector<std::string>& mountRoots) {
  const std::vector<std::string> devices = platform::FindGarminDevices(mountRoots);
  if (devices.empty()) {
    form.View().MessageBox("No Garmin device found. Connect it over USB so that it shows as a drive (a folder "
                           "with Garmin/GarminDevice.xml in " + Joined(mountRoots) + ") and try again.");
    return std::nullopt;
  }
  if (devices.size() == 1) return devices.front();
  const std::optional<size_t> picked = form.View().ChooseOne("Send to which device?", devices);
  if (!picked || *picked >= devices.size()) return std::nullopt;
  return devices[*picked];
}

}  // namespace

void SendToDeviceFlow(frmMain& form, const std::vector<std::string>& mountRoots) {
  const std::optional<std::string> srf = ShowCommonDialog(form, false, "SRF Files|*.srf", kOpenDialogFlags);
  if (!srf || srf->empty()) return;
  const std::optional<std::string> device = PickDevice(form, mountRoots);
  if (!device) return;
  SendResult result = SendSRFToDevice(*srf, *device, false);
  if (result.outcome == SendOutcome::Exists) {
    if (!form.View().AskYesNo(result.message + "\n\nReplace it with " + *srf + "?")) {
      form.SetStatus("Status: Kept the file on the device...");
      return;
    }
    result = SendSRFToDevice(*srf, *device, true);
  }
  if (result.outcome == SendOutcome::Copied || result.outcome == SendOutcome::AlreadyThere) {
    form.SetStatus("Status: " + result.message);
  } else {
    form.View().MessageBox(result.message);
    form.SetStatus("Status: Not sent...");
  }
}

void frmMain::mnuSendToDevice_Click() { SendToDeviceFlow(*this, platform::DefaultMountRoots()); }

}  // namespace velkor
