#include "render/commands/WindowRender.h"

#include "common/Paths.h"
#include "pipeline/NumberingScheme.h"

namespace velkor::render {

namespace {

// The window stores colours as 0x00BBGGRR.
uint32_t RgbFromWindowColour(uint32_t bgr) {
  return ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
}

}  // namespace

ModelRenderRequest RequestFromWindow(const frmMain& form, const std::string& model, const std::string& out) {
  ModelRenderRequest r;
  r.model = model;
  r.outDir = out;
  r.animated = form.AnimatedMode;
  r.version = form.NormalisedVersion();
  r.settings.keyRgb = RgbFromWindowColour(form.KeyColor);
  const std::string prefix = Trim(form.Controls.txt3DPrefix[1].Text);
  r.settings.prefix = prefix.empty() ? frmMain::DefaultPrefix() : prefix;
  r.settings.numbering = SchemeFromText(form.Controls.cmbNumbers.Text);
  return r;
}

void ShowRenderedFolders(frmMain& form, const ModelRenderRequest& r) {
  const FrameFolders f = render::FoldersFor(r.outDir, r.animated);
  FormControls& c = form.Controls;
  c.txtWorkDir[1].Text = form.RotationDir3D = f.rotation3D;
  c.txt2DWorkDir[1].Text = form.RotationDir2D = f.rotation2D;
  c.txt3DPrefix[1].Text = c.txt2DPrefix[1].Text = r.settings.prefix;
  if (r.animated) {
    c.txtWorkDir[2].Text = form.AnimationDir3D = f.animation3D;
    c.txt2DWorkDir[2].Text = form.AnimationDir2D = f.animation2D;
    c.txt3DPrefix[2].Text = c.txt2DPrefix[2].Text = r.settings.prefix;
  }
}

}  // namespace velkor::render
