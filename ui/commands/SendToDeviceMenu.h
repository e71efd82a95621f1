#pragma once
// "Send to Device...": an SRF file chosen in the open dialog goes to the
// Garmin device the user picks from those found (by model and folder) or
// chooses as a folder, asking before replacing a different file of the
// same name.
#include <string>
#include <vector>

namespace velkor {

class frmMain;

// The menu's whole flow, looking for devices inside `mountRoots`.
void SendToDeviceFlow(frmMain& form, const std::vector<std::string>& mountRoots);

}  // namespace velkor
