// Placeholders until the pipeline lands; this file goes when it does.
#include "ui/frmMain.h"

namespace velkor {
void frmMain::cmdLoadImage_Click() {}
void frmMain::cmdGo_Click() {}
void frmMain::cmdAddAlpha_Click() {}
void frmMain::cmdUnsharpMask_Click() {}
void frmMain::cmdMakeSRF_Click() {}
void frmMain::cmdSave_Click() {}
void frmMain::BuildCompositeImage(const std::string&) {}
void frmMain::AddAlphaChannel(const std::string&) {}
void frmMain::ResizeToDeviceSize(const std::string&) {}
void frmMain::CreateAlphaChannel() {}
void frmMain::ApplyUnsharpMask() {}
}  // namespace velkor
