#include "ui/commands/frmMain.h"

#include <algorithm>

#include "common/Paths.h"
#include "jobs/SampleFolders.h"
#include "srf/SrfVersion.h"
#include "ui/KeyCodes.h"
#include "ui/commands/FileDialogs.h"

namespace velkor {

std::string frmMain::DefaultRotationFolder() { return SampleRotationFolder(false); }
std::string frmMain::DefaultAnimationFolder() { return SampleAnimationFolder(); }
std::string frmMain::DefaultPrefix() { return kSamplePrefix; }

frmMain::frmMain(FormView& view)
    : Controls(InitialControls(DefaultRotationFolder(), JoinPath(DefaultRotationFolder(), "Top"),
                               DefaultAnimationFolder(), JoinPath(DefaultAnimationFolder(), "Top"), DefaultPrefix())),
      WorkImage(std::make_unique<cAlphaDibSection>()),
      view_(view),
      pane_(view, Controls.optZoom),
      viewer_(view, pane_) {}

frmMain::~frmMain() = default;

void frmMain::Form_Load() {
  KeyColor = 65280;
  Controls.shpAColor.FillColor = 65280;
  pane_.SetZoomFactor(PreviewPane::kInitialZoom);
  ImageLoaded = false;
  AnimatedMode = false;
  Controls.mnuStaticSRF.Checked = true;
  view_.ControlsChanged();
}

void frmMain::Form_QueryUnload(bool& cancel) {
  EndViewer();
  WorkImage->Destroy();
  viewer_.Release();
  ImageLoaded = false;
  cancel = false;
}

namespace {
void SetAnimationControlsEnabled(FormControls& c, bool enabled) {
  c.txtWorkDir[2].Enabled = enabled;
  c.txt2DWorkDir[2].Enabled = enabled;
  c.txt3DPrefix[2].Enabled = enabled;
  c.txt2DPrefix[2].Enabled = enabled;
  c.cmdChangeDir[2].Enabled = enabled;
  c.cmdChange2DDir[2].Enabled = enabled;
}

// The rotation boxes follow the mode while they still name a sample: frames
// of the other mode's sizes would not fill its strip's cells.
void SwapSampleRotation(FormControls& c, const std::string& from, const std::string& to) {
  if (c.txtWorkDir[1].Text == from) c.txtWorkDir[1].Text = to;
  if (c.txt2DWorkDir[1].Text == JoinPath(from, "Top")) c.txt2DWorkDir[1].Text = JoinPath(to, "Top");
}
}  // namespace

void frmMain::mnuStaticSRF_Click() { SetMode(false); }

void frmMain::mnuAnimatedSRF_Click() { SetMode(true); }

// The mode decides the animation row, the rotation sample and the version:
// an animated SRF is always 1.00.
void frmMain::SetMode(bool animated) {
  AnimatedMode = animated;
  Controls.mnuStaticSRF.Checked = !animated;
  Controls.mnuAnimatedSRF.Checked = animated;
  SetAnimationControlsEnabled(Controls, animated);
  if (animated) {
    SwapSampleRotation(Controls, DefaultRotationFolder(), SampleRotationFolder(true));
  } else {
    SwapSampleRotation(Controls, SampleRotationFolder(true), DefaultRotationFolder());
  }
  Controls.cmbVersion.Enabled = !animated;
  Controls.cmbVersion.Text = (animated ? AnimatedSrfVersion() : NewestStaticSrfVersion()).text;
  view_.ControlsChanged();
  FollowRenderedModel();
}

void frmMain::sldTol_Scroll() {
  Controls.txtTolerance.Text = std::to_string(Controls.sldTol.Value);
  view_.ControlsChanged();
}

void frmMain::txtTolerance_Change() {
  const std::string text = Trim(Controls.txtTolerance.Text);
  if (text.empty() || text.size() > 4 || text.find_first_not_of("0123456789") != std::string::npos) return;
  Controls.sldTol.Value = std::clamp(std::stoi(text), Controls.sldTol.Min, Controls.sldTol.Max);
  view_.ControlsChanged();
}

void frmMain::chkResize_Click() {
  Controls.cmdAddAlpha.Caption = Controls.chkResize.Value ? "Alpha+Resize" : "Add Alpha";
  view_.ControlsChanged();
}

void frmMain::SetKeyColor(uint32_t color) {
  KeyColor = color;
  Controls.txtAColor.Text = std::to_string(color);
  Controls.shpAColor.FillColor = color;
  view_.ControlsChanged();
}

std::unique_ptr<cAlphaDibSection> frmMain::ReplaceWorkImage(std::unique_ptr<cAlphaDibSection> image,
                                                            const std::string& source) {
  EndViewer();
  std::swap(WorkImage, image);
  ImageLoaded = true;
  // A source without a folder would propose a file in the root.
  LastImageFile = GetFolderName(source).empty() ? std::string() : PathWithExtension(source, ".bmp");
  DrawPreview(*WorkImage);
  return image;
}

void frmMain::RestoreWorkImage(std::unique_ptr<cAlphaDibSection> image, bool loaded, const std::string& name) {
  WorkImage = std::move(image);
  ImageLoaded = loaded;
  LastImageFile = name;
  RedrawPreview();
}

void frmMain::ReportError(const std::string& message) {
  view_.MessageBox(message);
  Failed(message);
}

void frmMain::SetStatus(const std::string& text, bool repaint) {
  Controls.lblStatus.Caption = text;
  view_.StatusChanged(text, repaint);
}

void frmMain::SetProgress(float percent) {
  Controls.ProgressBar1.Value = percent;
  view_.ProgressValue(percent);
}

std::string frmMain::NormalisedVersion() const { return StaticSrfVersion(Trim(Controls.cmbVersion.Text)).text; }

// --- The preview pane

void frmMain::DrawPreview(const cAlphaDibSection& picture) { pane_.DrawPreview(picture); }

const cAlphaDibSection& frmMain::ShownPicture() const { return viewer_.Showing() ? viewer_.Canvas() : *WorkImage; }

void frmMain::RedrawPreview() { pane_.DrawPreview(ShownPicture()); }

void frmMain::ClearPreview() { pane_.ClearPreview(); }

void frmMain::optZoom_Click(int index) {
  if (!ImageLoaded && !viewer_.Showing()) return;
  pane_.OptionChosen(index);
  RedrawPreview();
}

void frmMain::Plotter_MouseDown(int button, int shift, float x, float y) {
  if (PreviewPane::PicksColor(shift)) return SetKeyColor(pane_.ColorAt(x, y));
  // A drag shows the "Zoom" view; its handler runs only when the selection changes.
  if (pane_.Press(button, x, y) && pane_.SelectZoom()) optZoom_Click(PreviewPane::kViewZoom);
}

void frmMain::Plotter_MouseMove(int button, int shift, float x, float y) {
  (void)shift;
  pane_.Move(button, x, y, ShownPicture());
}

void frmMain::Plotter_MouseUp(int button, int shift, float x, float y) {
  (void)button;
  (void)shift;
  pane_.Release(x, y, ShownPicture());
}

void frmMain::Form_MouseDown(int button, int shift, float x, float y) {
  (void)button;
  (void)shift;
  if (const std::optional<uint32_t> color = PreviewPane::SwatchColor(Controls.shpRGB, x, y)) SetKeyColor(*color);
}

// --- The SRF viewer

void frmMain::mnuSRFViewer_Click() {
  EndViewer();
  const std::optional<std::string> chosen = ShowCommonDialog(*this, false, "SRF Files|*.srf", kOpenDialogFlags);
  if (!chosen || chosen->empty()) return;
  ShowSRFInViewer(*chosen);
}

void frmMain::ShowSRFInViewer(const std::string& srfFile) {
  ViewerPictures pictures = ReadViewerPictures(srfFile);
  if (!pictures.refusal.empty()) {
    return ReportError("The SRF file " + srfFile + " cannot be shown: " + pictures.refusal);
  }
  EndViewer();  // a viewer already showing gives back the view options it took
  viewer_.Show(std::move(pictures));
  Completed();
}

void frmMain::EndViewer() {
  if (viewer_.End()) RedrawPreview();
}

void frmMain::Timer1_Timer() { viewer_.Tick(); }

bool frmMain::Form_KeyDown(int keyCode, int shift) {
  (void)shift;
  const bool taken = viewer_.KeyDown(keyCode);
  if (taken && keyCode == kKeyEscape) EndViewer();
  return taken;
}

}  // namespace velkor
