#include "ui/Controls.h"

namespace velkor {

namespace {
Label MakeLabel(const char* caption, int l, int t, int w, int h) { return Label{caption, {l, t, w, h}}; }
TextBox MakeText(std::string text, int l, int t, int w, int h, bool enabled = true) {
  return TextBox{std::move(text), enabled, true, {l, t, w, h}};
}
CommandButton MakeButton(const char* caption, int l, int t, int w, int h, bool enabled = true) {
  return CommandButton{caption, enabled, true, {l, t, w, h}};
}
}  // namespace

FormControls InitialControls(const std::string& folder3D, const std::string& folder2D, const std::string& animFolder3D,
                             const std::string& animFolder2D, const std::string& prefix) {
  FormControls c;
  c.Label18 = MakeLabel("Rotation Files", 21, 0, 90, 13);
  c.Label1 = MakeLabel("3D Directory:", 4, 15, 80, 19);
  c.txtWorkDir[1] = MakeText(folder3D, 89, 14, 436, 19);
  c.cmdChangeDir[1] = MakeButton("Change", 532, 15, 52, 17);
  c.Label4 = MakeLabel("2D Directory:", 4, 33, 80, 19);
  c.txt2DWorkDir[1] = MakeText(folder2D, 89, 32, 438, 19);
  c.cmdChange2DDir[1] = MakeButton("Change", 532, 33, 52, 17);
  c.Label2 = MakeLabel("3D Prefix:", 21, 51, 63, 19);
  c.txt3DPrefix[1] = MakeText(prefix, 89, 49, 88, 18);
  c.Label3 = MakeLabel("2D Prefix:", 21, 68, 63, 16);
  c.txt2DPrefix[1] = MakeText(prefix, 89, 66, 87, 18);
  c.Label17 = MakeLabel("Animation Files", 22, 82, 90, 13);
  c.Label14 = MakeLabel("3D Directory:", 3, 97, 80, 19);
  c.txtWorkDir[2] = MakeText(animFolder3D, 88, 96, 436, 19, false);
  c.cmdChangeDir[2] = MakeButton("Change", 531, 97, 52, 17, false);
  c.Label13 = MakeLabel("2D Directory:", 3, 115, 80, 19);
  c.txt2DWorkDir[2] = MakeText(animFolder2D, 88, 114, 438, 19, false);
  c.cmdChange2DDir[2] = MakeButton("Change", 531, 115, 52, 17, false);
  c.Label16 = MakeLabel("3D Prefix:", 19, 134, 63, 19);
  c.txt3DPrefix[2] = MakeText(prefix, 87, 132, 88, 18, false);
  c.Label15 = MakeLabel("2D Prefix:", 19, 151, 63, 15);
  c.txt2DPrefix[2] = MakeText(prefix, 87, 149, 87, 18, false);
  c.Label9 = MakeLabel("File #s:", 443, 65, 44, 16);
  c.cmbNumbers = ComboBox{"0000-0035",
                          {"1-36", "01-36", "001-036", "0001-0036", "0-35", "00-35", "000-035", "0000-0035",
                           "0-360 (10s)", "000-360 (10s)"},
                          true,
                          {489, 62, 94, 22}};
  c.cmdLoadImage = MakeButton("Load Image", 598, 27, 97, 20);
  c.Label10 = MakeLabel("- or -", 618, 46, 44, 16);
  c.cmdGo = MakeButton("Build Image", 598, 61, 97, 20);
  c.cmdAddAlpha = MakeButton("Alpha+Resize", 598, 105, 97, 21);
  c.cmdUnsharpMask = MakeButton("Unsharp Mask", 598, 133, 97, 21);
  c.Command2 = MakeButton("Save to PNG", 598, 163, 97, 21);
  c.cmdMakeSRF = MakeButton("Make SRF", 598, 191, 97, 21);
  c.cmdSave = MakeButton("Do All", 598, 221, 97, 30);
  c.Label5 = MakeLabel("Alpha Color:", 8, 178, 75, 19);
  c.shpAColor = Shape{0x00FF00, {90, 177, 58, 16}};
  c.Label11 = MakeLabel("(Shift-Left-click to pick below)", 151, 177, 94, 29);
  const uint32_t swatches[5] = {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF, 0x404040};
  for (int i = 0; i < 5; ++i) c.shpRGB[i] = Shape{swatches[i], {90 + 12 * i, 195, 10, 10}};
  c.txtAColor = TextBox{"0", true, false, {164, 304, 10, 19}};
  c.Label6 = MakeLabel("Tolerance:", 298, 180, 63, 19);
  c.txtTolerance = MakeText("0", 367, 178, 28, 19);  // wide enough for "255"
  c.txtTolerance.Enabled = false;                    // the tolerance is the graded and binary rules', not clean edges'

  c.Label7 = MakeLabel("0", 397, 180, 16, 19);
  c.sldTol = Slider{0, 255, 0, 1, 10, true, {416, 179, 144, 18}, false};
  c.Label8 = MakeLabel("255", 562, 180, 24, 19);
  c.chkResize = CheckBox{"Resize to work with Garmin", true, true, true, {5, 216, 226, 16}};
  c.chkImagesNotAntiAliased = CheckBox{"Images not anti-aliased to back", false, true, false, {33, 228, 210, 16}};
  c.chkStepSample = CheckBox{"Step-Sample (Longer, but better):", false, true, true, {5, 231, 210, 16}};
  c.optSteps[0] = OptionButton{"1 Step", true, true, {214, 232, 60, 14}};
  c.optSteps[1] = OptionButton{"2 Steps", false, true, {273, 232, 65, 14}};
  c.optSteps[2] = OptionButton{"3 Steps", false, true, {341, 232, 74, 14}};
  c.Label12 = MakeLabel("File Version:", 454, 224, 73, 16);
  c.cmbVersion = ComboBox{"2.20", {"1.00", "2.00", "2.10", "2.20"}, true, {529, 221, 55, 22}};
  c.optZoom[0] = OptionButton{"All", false, true, {547, 254, 44, 17}};
  c.optZoom[1] = OptionButton{"Zoom", false, true, {596, 254, 44, 17}};
  c.optZoom[2] = OptionButton{"Real", false, true, {646, 254, 44, 17}};
  c.lblStatus = MakeLabel("Status: Idle", 5, 255, 484, 19);
  c.ProgressBar1 = ProgressBar{0, 100, 0, false, {252, 255, 285, 14}};
  c.Plotter = Geometry{5, 275, 693, 403};
  c.sldStrength = Slider{0, 50, 10, 1, 5, false, {5, 680, 150, 0}};
  c.sldWeight = Slider{0, 50, 10, 1, 5, false, {160, 680, 150, 0}};
  c.mnuMode = MenuItem{"&Mode"};
  c.mnuStaticSRF = MenuItem{"Static SRF", true};
  c.mnuAnimatedSRF = MenuItem{"Animated SRF"};
  c.mnuFileConvert = MenuItem{"&File Convert"};
  c.mnuSRFtoPNG = MenuItem{"SRF to PNG"};
  c.mnuPNGtoSRF = MenuItem{"PNG to SRF"};
  c.mnuLine = MenuItem{"-"};
  c.mnuASRFtoPNG = MenuItem{"Animated SRF to PNG"};
  c.mnuPNGtoASRF = MenuItem{"PNG to Animated SRF"};
  c.mnuSRFViewer = MenuItem{"SRF Viewer"};
  c.mnuKeying = MenuItem{"&Keying"};
  c.mnuKeyGraded = MenuItem{"Graded"};
  c.mnuKeyBinary = MenuItem{"Binary (not anti-aliased)"};
  c.mnuKeyClean = MenuItem{"Clean edges", true};  // no key-coloured outline: see docs/keying.md
  return c;
}

}  // namespace velkor
