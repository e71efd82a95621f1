// Placeholders until the conversion commands land; this file goes when they do.
#include "ui/frmMain.h"

namespace velkor {
void frmMain::Command2_Click() {}
void frmMain::mnuSRFtoPNG_Click() {}
void frmMain::mnuPNGtoSRF_Click() {}
void frmMain::mnuASRFtoPNG_Click() {}
void frmMain::mnuPNGtoASRF_Click() {}
void frmMain::SaveAsPNG() {}
bool frmMain::LoadPNG() { return false; }
}  // namespace velkor
