#pragma once
// "Send to Device...": an SRF file chosen in the open dialog goes to the
// Garmin device plugged in, asking which one when there are several and
// before replacing a different file of the same name.
#include <string>
#include <vector>

namespace velkor {

class frmMain;

// The menu's whole flow, looking for devices inside `mountRoots`.
void SendToDeviceFlow(frmMain& form, const std::vector<std::string>& mountRoots);

}  // namespace velkor
