// Placeholders until the preview pane, viewer and folder picker land; this file goes when they do.
#include "ui/frmMain.h"

namespace velkor {
void frmMain::DrawPreview(gdi::HDC) {}
void frmMain::optZoom_Click(int) {}
void frmMain::Plotter_MouseDown(int, int, float, float) {}
void frmMain::Plotter_MouseMove(int, int, float, float) {}
void frmMain::Plotter_MouseUp(int, int, float, float) {}
void frmMain::Form_MouseDown(int, int, float, float) {}
void frmMain::mnuSRFViewer_Click() {}
void frmMain::DrawViewerFrame() {}
void frmMain::Timer1_Timer() {}
void frmMain::Form_KeyDown(int, int) {}
void frmMain::cmdChangeDir_Click(int) {}
void frmMain::cmdChange2DDir_Click(int) {}
}  // namespace velkor
