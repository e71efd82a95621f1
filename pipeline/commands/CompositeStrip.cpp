// "Build Image" and the settings the pipeline's boxes hold.
#include "common/Paths.h"
#include "pipeline/commands/StepOptions.h"
#include "ui/commands/FormProgress.h"
#include "ui/commands/KeyingChoice.h"
#include "ui/commands/frmMain.h"

namespace velkor {

ImportSettings frmMain::FrameSettings(const std::string& version) {
  ImportSettings s;
  s.animated = AnimatedMode;
  s.version = &StaticSrfVersion(version);
  s.numbering = SchemeFromText(Controls.cmbNumbers.Text);
  s.keyColour = KeyColor;
  for (int item = 1; item <= 2; ++item) {
    const size_t set = static_cast<size_t>(2 * item - 2);
    s.sets[set] = {Trim(Controls.txtWorkDir[item].Text), Trim(Controls.txt3DPrefix[item].Text)};
    s.sets[set + 1] = {Trim(Controls.txt2DWorkDir[item].Text), Trim(Controls.txt2DPrefix[item].Text)};
  }
  RotationDir3D = s.sets[0].folder;
  RotationDir2D = s.sets[1].folder;
  AnimationDir3D = s.sets[2].folder;
  AnimationDir2D = s.sets[3].folder;
  return s;
}

FinishSettings frmMain::FinishingSettings() const {
  return {Controls.chkResize.Value, Controls.chkStepSample.Value, SelectedSteps(Controls.optSteps),
          KeyingParameters{KeyColor, Controls.sldTol.Value, SelectedKeyingRule(Controls)}};
}

// The strip is made aside and replaces the working image only when the
// import completes.
Result<ImportedStrip, ImportStop> frmMain::BuildCompositeImage(const std::string& version) {
  EndViewer();
  const ImportSettings settings = FrameSettings(version);
  FormProgress progress(*this);
  Result<ImportedStrip, ImportStop> imported = ImportFrames(settings, progress);
  if (!imported) {
    if (imported.failure().outcome == ImportOutcome::Error) ReportError("An error occured while importing files");
    Failed(imported.failure().Reason());
    RedrawPreview();  // the working image as it was
    return imported;
  }
  ReplaceWorkImage(std::move(imported->strip), IconNameForFrames(settings.sets[0].folder, settings.sets[0].prefix));
  Completed();
  return imported;
}

}  // namespace velkor
