// "PNG to SRF" and "PNG to Animated SRF": load the PNG as the working image,
// then the save flow with the version fixed ("2.20" static, "1.00" animated).
#include "ui/commands/frmMain.h"

namespace velkor {

void frmMain::mnuPNGtoSRF_Click() {
  if (LoadPNG()) SaveSRF("2.20");
}

void frmMain::mnuPNGtoASRF_Click() {
  if (LoadPNG()) SaveASRF("1.00");
}

}  // namespace velkor
