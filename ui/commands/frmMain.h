#pragma once
// The main window's state and every one of its handlers, free of any toolkit.
// The handlers read and change the control model `Controls` and reach the
// screen only through the FormView. Their definitions live beside the
// subsystem they belong to: the SRF procedures in srf/, the pipeline in
// pipeline/, the conversions in convert/, the picker in ui/. The preview
// pane and the viewer are members with state of their own (PreviewPane,
// SrfViewer); the window's handlers for them delegate.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "jobs/Finish.h"
#include "jobs/FrameImport.h"
#include "platform/GdiTypes.h"
#include "raster/cAlphaDibSection.h"
#include "render/RenderOptions.h"
#include "srf/SrfVersion.h"
#include "ui/Controls.h"
#include "ui/FormView.h"
#include "ui/commands/PreviewPane.h"
#include "ui/commands/SrfViewer.h"

namespace velkor {

inline constexpr const char* kAppTitle = "Velkor - v051509";

// How the last command ended: callers (the command line) read this, never the
// status line. `message` says what failed, as the user was told.
struct CommandOutcome {
  enum class Kind { NotRun, Completed, Cancelled, Failed };
  Kind kind = Kind::NotRun;
  std::string message;
};

class frmMain {
 public:
  explicit frmMain(FormView& view);
  ~frmMain();
  frmMain(const frmMain&) = delete;
  frmMain& operator=(const frmMain&) = delete;

  // The sample vehicle's folders and prefix, the folder boxes' initial texts.
  static std::string DefaultRotationFolder();
  static std::string DefaultAnimationFolder();
  static std::string DefaultPrefix();

  // --- Window (ui/frmMain.cpp)
  void Form_Load();
  void Form_QueryUnload(bool& cancel);
  void mnuStaticSRF_Click();
  void mnuAnimatedSRF_Click();
  void sldTol_Scroll();
  // The tolerance typed into its box moves the slider (clamped to its range).
  void txtTolerance_Change();
  void chkResize_Click();

  // --- Keying menu (ui/commands/KeyingMenu.cpp)
  void mnuKeyGraded_Click();
  void mnuKeyBinary_Click();
  void mnuKeyClean_Click();

  // --- Preview pane (ui/commands/frmMain.cpp, over PreviewPane)
  void DrawPreview(const cAlphaDibSection& picture);
  // The picture the pane shows again: the viewer's canvas while it shows,
  // otherwise the working image.
  void RedrawPreview();
  void optZoom_Click(int index);
  void Plotter_MouseDown(int button, int shift, float x, float y);
  void Plotter_MouseMove(int button, int shift, float x, float y);
  void Plotter_MouseUp(int button, int shift, float x, float y);
  void Form_MouseDown(int button, int shift, float x, float y);  // x, y in twips

  // --- SRF viewer (ui/commands/frmMain.cpp, over SrfViewer)
  void mnuSRFViewer_Click();
  // The viewer on a file, no dialog. Everything it shows is made aside first:
  // an SRF it cannot show is refused with nothing changed.
  void ShowSRFInViewer(const std::string& srfFile);
  void Timer1_Timer();
  // True when the viewer took the key (the arrows and Escape while it shows);
  // any other key belongs to the control that has the focus.
  bool Form_KeyDown(int keyCode, int shift);
  // Stops the rotation and leaves the viewer: the pane shows the working image
  // again with the view options it had. Escape, closing and every command
  // that reads or changes the working image end it.
  void EndViewer();

  // --- Folder picker (ui/FolderPicker.cpp)
  void cmdChangeDir_Click(int index);
  void cmdChange2DDir_Click(int index);

  // --- Pipeline (pipeline/)
  void cmdLoadImage_Click();
  void cmdGo_Click();
  void cmdAddAlpha_Click();
  void cmdUnsharpMask_Click();
  void cmdMakeSRF_Click();
  void cmdSave_Click();
  // The frames of the folder and prefix boxes into a strip of `version`,
  // which becomes the working image when the import completes (the result's
  // strip is then moved there); otherwise the working image stays.
  Result<ImportedStrip, ImportStop> BuildCompositeImage(const std::string& version);
  // AddAlphaChannel, ResizeToDeviceSize and ApplyUnsharpMask return false when
  // a step could not make its raster; the working image is then the last
  // completed step's and the status says so.
  bool AddAlphaChannel(const std::string& version);
  bool ResizeToDeviceSize(const std::string& version);
  void CreateAlphaChannel();
  bool ApplyUnsharpMask();
  // The settings the boxes hold: the frames for `version` (the folders are
  // remembered as the last import's), and resize, steps and keying.
  ImportSettings FrameSettings(const std::string& version);
  FinishSettings FinishingSettings() const;

  // --- SRF files (srf/)
  void SaveSRF(const std::string& version);
  bool WriteSRFFile(const std::string& path, const std::string& version);
  bool ReadSRFFile(const std::string& path);
  void SaveASRF(const std::string& version);
  bool WriteASRFFile(const std::string& path, const std::string& version);
  bool ReadASRFFile(const std::string& path);

  // --- Conversions (convert/)
  void Command2_Click();
  void mnuSRFtoPNG_Click();
  void mnuPNGtoSRF_Click();
  void mnuASRFtoPNG_Click();
  void mnuPNGtoASRF_Click();
  bool SaveAsPNG();  // false when the BMP or PNG could not be written (already reported)
  bool LoadPNG();

  // --- Taking a finished SRF out (ui/commands/SendToDeviceMenu.cpp, AnimatedGifMenu.cpp)
  void mnuSendToDevice_Click();
  void mnuSaveAsGIF_Click();

  // --- Rendering frames from a 3D model (render/commands/)
  void mnuRenderFromModel_Click();
  // The version box was edited: frames of a remembered model are rendered
  // again when its cells change size.
  void cmbVersion_Change();

  // --- Shared services of the window
  // Ends the viewer and puts `image` in place of the working image, named
  // after `source` (the file it came from, or the frames' folder and prefix)
  // for the save dialogs; shows it and returns the picture it replaced.
  std::unique_ptr<cAlphaDibSection> ReplaceWorkImage(std::unique_ptr<cAlphaDibSection> image,
                                                     const std::string& source);
  // Restores what ReplaceWorkImage gave back, with the state it had, and shows it.
  void RestoreWorkImage(std::unique_ptr<cAlphaDibSection> image, bool loaded, const std::string& name);
  void SetStatus(const std::string& text, bool repaint = true);
  void ShowProgress(bool visible);
  void SetProgress(float percent);  // 0 to 100
  // Shows the folders and prefixes in the boxes of `item` (1 rotation, 2
  // animation) and takes the folders as the frame folders of that row.
  void ShowFrameFolders(int item, const std::string& folder3D, const std::string& folder2D, const std::string& prefix3D,
                        const std::string& prefix2D);
  void SetRenderedModel(const render::RenderOptions& options) { RenderedModel = options; }
  // The key colour (0x00BBGGRR) with the hidden box and the swatch that show it.
  void SetKeyColor(uint32_t color);
  // Record how the running command ended; ReportError also shows the message.
  void Completed() { LastOutcome = {CommandOutcome::Kind::Completed, {}}; }
  void Cancelled() { LastOutcome = {CommandOutcome::Kind::Cancelled, {}}; }
  void Failed(const std::string& message) { LastOutcome = {CommandOutcome::Kind::Failed, message}; }
  void ReportError(const std::string& message);
  // A job's failure as the user is told it: a message box unless the status
  // alone says it (the job has set the status already).
  void ReportFailure(const Failure& failure);
  // The version box's trimmed text, or the newest version when it is none of the four.
  std::string NormalisedVersion() const;
  // The preview pane's back buffer (693 x 403, white when cleared).
  cAlphaDibSection& Plotter() { return pane_.BackBuffer(); }
  void ClearPreview();
  FormView& View() { return view_; }
  // The preview pane's zoom, pan and drag, and the viewer's pictures, heading
  // and timer.
  PreviewPane& Pane() { return pane_; }
  SrfViewer& Viewer() { return viewer_; }

  // --- State
  FormControls Controls;
  std::unique_ptr<cAlphaDibSection> WorkImage;
  bool ImageLoaded = false;
  uint32_t KeyColor = 65280;
  bool AnimatedMode = false;
  // The BMP name "Save to PNG" proposes (the SRF save proposes its name with
  // ".srf"): beside the file the working image came from, or the one chosen
  // last for it.
  std::string LastImageFile;
  std::string RotationDir3D, RotationDir2D, AnimationDir3D, AnimationDir2D;

  CommandOutcome LastOutcome;

 private:
  void SetMode(bool animated);  // the Static / Animated SRF menus
  // While the rotation boxes still show the remembered model's sets, renders
  // them again for the mode and version when the cells differ, so that the
  // boxes always hold frames of one vehicle at the sizes the strip takes.
  void FollowRenderedModel();
  // True unless the sets Do All would read mix the remembered model's with
  // others and the user, asked, declines.
  bool FramesFromOneRender();
  // The viewer's canvas while it shows, otherwise the working image.
  const cAlphaDibSection& ShownPicture() const;

  // The model whose sets the window rendered last, with the axes and
  // settings used; none before a render, or once the boxes moved on.
  std::optional<render::RenderOptions> RenderedModel;

  FormView& view_;
  PreviewPane pane_;
  SrfViewer viewer_;
};

}  // namespace velkor
