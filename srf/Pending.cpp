// Placeholders until the SRF procedures land; this file goes when they do.
#include "ui/frmMain.h"

namespace velkor {
void frmMain::SaveSRF(const std::string&) {}
bool frmMain::WriteSRFFile(const std::string&, const std::string&) { return false; }
bool frmMain::ReadSRFFile(const std::string&) { return false; }
void frmMain::SaveASRF(const std::string&) {}
bool frmMain::WriteASRFFile(const std::string&, const std::string&) { return false; }
bool frmMain::ReadASRFFile(const std::string&) { return false; }
void cAlphaDibSection::CreateFromGarminSRF(const std::string&) {}
}  // namespace velkor
