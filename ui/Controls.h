#pragma once
// A plain model of the window's controls: what the commands read and write.
// The Qt window mirrors it; tests and the command line drive it directly.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace velkor {

struct Geometry {
  int left = 0, top = 0, width = 0, height = 0;
};

struct Label {
  std::string Caption;
  Geometry Position;
};

struct TextBox {
  std::string Text;
  bool Enabled = true;
  bool Visible = true;
  Geometry Position;
};

struct CommandButton {
  std::string Caption;
  bool Enabled = true;
  bool Visible = true;
  Geometry Position;
};

struct CheckBox {
  std::string Caption;
  bool Value = false;  // checked
  bool Enabled = true;
  bool Visible = true;
  Geometry Position;
};

struct OptionButton {
  std::string Caption;
  bool Value = false;  // selected
  bool Enabled = true;
  Geometry Position;
};

struct ComboBox {
  std::string Text;
  std::vector<std::string> List;
  bool Enabled = true;
  Geometry Position;
};

struct Slider {
  int Min = 0, Max = 0, Value = 0, SmallChange = 1, LargeChange = 1;
  bool Visible = true;
  Geometry Position;
  bool Enabled = true;
};

struct ProgressBar {
  int Min = 0, Max = 100;
  float Value = 0;
  bool Visible = false;
  Geometry Position;
};

struct Shape {
  uint32_t FillColor = 0;  // 0x00BBGGRR
  Geometry Position;
};

struct MenuItem {
  std::string Caption;
  bool Checked = false;
  bool Enabled = true;
};

struct Timer {
  bool Enabled = false;
  int Interval = 1000;  // milliseconds
};

// The one common file dialog: its file name survives from one use to the next.
struct CommonDialog {
  std::string FileName;
  std::string Filter;
  uint32_t Flags = 0;
  bool CancelError = false;
};

// Items 1 and 2 of the control arrays; item 0 is unused.
template <typename T>
using ControlArray = std::array<T, 3>;

struct FormControls {
  Label Label18, Label1, Label4, Label2, Label3, Label17, Label14, Label13, Label16, Label15, Label9, Label10, Label5,
      Label11, Label6, Label7, Label8, Label12, lblStatus;
  ControlArray<TextBox> txtWorkDir, txt2DWorkDir, txt3DPrefix, txt2DPrefix;
  ControlArray<CommandButton> cmdChangeDir, cmdChange2DDir;
  ComboBox cmbNumbers, cmbVersion;
  CommandButton cmdLoadImage, cmdGo, cmdAddAlpha, cmdUnsharpMask, Command2, cmdMakeSRF, cmdSave;
  Shape shpAColor;
  std::array<Shape, 5> shpRGB;
  TextBox txtAColor, txtTolerance;
  Slider sldTol, sldStrength, sldWeight;
  CheckBox chkResize, chkImagesNotAntiAliased, chkStepSample;
  std::array<OptionButton, 3> optSteps, optZoom;
  ProgressBar ProgressBar1;
  Geometry Plotter;
  CommonDialog CommonDialog1;
  MenuItem mnuMode, mnuStaticSRF, mnuAnimatedSRF, mnuFileConvert, mnuSRFtoPNG, mnuPNGtoSRF, mnuLine, mnuASRFtoPNG,
      mnuPNGtoASRF, mnuSRFViewer;
  MenuItem mnuKeying, mnuKeyGraded, mnuKeyBinary, mnuKeyClean;
};

// The controls with their captions, positions and initial states.
FormControls InitialControls(const std::string& defaultFolder3D, const std::string& defaultFolder2D,
                             const std::string& defaultAnimFolder3D, const std::string& defaultAnimFolder2D,
                             const std::string& defaultPrefix);

}  // namespace velkor
