#include "render/commands/WindowRender.h"

#include "common/Paths.h"
#include "render/ModelRender.h"

namespace velkor::render {

RenderOptions OptionsFromWindow(const frmMain& form) {
  RenderOptions r;
  r.animated = form.AnimatedMode;
  r.version = &StaticSrfVersion(form.NormalisedVersion());
  r.keyRgb = RgbFromBgr(form.KeyColor);
  const std::string prefix = Trim(form.Controls.txt3DPrefix[1].Text);
  r.prefix = prefix.empty() ? frmMain::DefaultPrefix() : prefix;
  r.numbers = Trim(form.Controls.cmbNumbers.Text);
  return r;
}

void ShowRenderedFolders(frmMain& form, const RenderOptions& r) {
  const FrameFolders f = render::FoldersFor(r.outDir, r.animated);
  form.ShowFrameFolders(1, f.rotation3D, f.rotation2D, r.prefix, r.prefix);
  if (r.animated) form.ShowFrameFolders(2, f.animation3D, f.animation2D, r.prefix, r.prefix);
  if (RgbFromBgr(form.KeyColor) != r.keyRgb) form.SetKeyColor(RgbFromBgr(r.keyRgb));  // the swap is its own inverse
}

bool BoxesShowRender(const frmMain& form, const RenderOptions& r) {
  const FrameFolders f = render::FoldersFor(r.outDir, false);
  const FormControls& c = form.Controls;
  return Trim(c.txtWorkDir[1].Text) == f.rotation3D && Trim(c.txt2DWorkDir[1].Text) == f.rotation2D &&
         Trim(c.txt3DPrefix[1].Text) == r.prefix && Trim(c.txt2DPrefix[1].Text) == r.prefix;
}

}  // namespace velkor::render
