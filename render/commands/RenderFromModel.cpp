// "Render from Model...": one dialog for the model, the folder and the axes,
// with a preview of the frames before any is written; then the frames are
// rendered, the boxes point at them and Build Image shows the strip. The
// window remembers the model: a change of mode or version renders it again
// for the new cell sizes. A failure leaves the folders, the boxes and the
// working image as they were.
#include <filesystem>
#include <optional>
#include <set>

#include "common/Paths.h"
#include "jobs/Render.h"
#include "render/ModelLoader.h"
#include "render/ModelRender.h"
#include "render/commands/RenderDialogModel.h"
#include "render/commands/WindowRender.h"
#include "ui/commands/FormProgress.h"
#include "ui/commands/frmMain.h"

namespace velkor {

namespace {

std::string FileName(const std::string& path) { return std::filesystem::path(path).filename().string(); }

// True when nothing but `ours` would be replaced, or the user agrees.
bool MayReplace(frmMain& form, const render::RenderOptions& options, const std::vector<std::string>& ours) {
  const std::set<std::string> own(ours.begin(), ours.end());
  size_t replaced = 0;
  for (const std::string& file : render::ExistingFrameFiles(options)) replaced += own.count(file) == 0;
  return replaced == 0 || form.View().AskYesNo("Rendering would replace " + std::to_string(replaced) +
                                               " frame files in " + options.outDir + ".\n\nReplace them?");
}

// Renders `options` (from `scene` when the model is loaded already) with the
// progress bar, points the boxes at the sets and builds the strip.
void RenderIntoWindow(frmMain& form, const render::RenderOptions& options, const render::Scene* scene) {
  FormView& view = form.View();
  form.SetStatus("Status: Rendering " + FileName(options.model) + "...");
  form.ShowProgress(true);
  FormProgress progress(form);
  const Result<render::ModelAxes> rendered = RenderFramesToFolder(options, progress, scene);
  form.ShowProgress(false);
  if (!rendered) {
    form.ReportError(rendered.failure().message);
    form.SetStatus("Status: Rendering failed");
    return;
  }
  render::ShowRenderedFolders(form, options);
  form.SetRenderedModel(options);
  view.ControlsChanged();
  form.cmdGo_Click();  // the strip of the new sets, at once
}

// The dialog starts from the window's settings and the model it remembers,
// with that model's axes, folder, prefix and camera.
render::RenderOptions StartingOptions(const frmMain& form, const std::optional<render::RenderOptions>& remembered) {
  const render::RenderOptions window = render::OptionsFromWindow(form);
  if (!remembered) return window;
  render::RenderOptions start = *remembered;
  start.animated = window.animated;
  start.version = window.version;
  start.keyRgb = window.keyRgb;
  start.numbers = window.numbers;
  return start;
}

}  // namespace

void frmMain::mnuRenderFromModel_Click() {
  render::RenderDialogModel dialog(view_, StartingOptions(*this, RenderedModel));
  dialog.Reload();
  // Declining to replace frames goes back to the dialog, to choose another folder.
  do {
    if (!view_.ShowRenderDialog(dialog) || !dialog.Problem().empty()) return Cancelled();
  } while (!MayReplace(*this, dialog.options, {}));
  RenderIntoWindow(*this, dialog.options, &dialog.Model());
}

void frmMain::cmbVersion_Change() { FollowRenderedModel(); }

void frmMain::FollowRenderedModel() {
  if (!RenderedModel) return;
  if (!render::BoxesShowRender(*this, *RenderedModel)) return RenderedModel.reset();  // the user moved on
  render::RenderOptions next = *RenderedModel;
  next.animated = AnimatedMode;
  next.version = &StaticSrfVersion(NormalisedVersion());
  const auto cells = [](const render::RenderOptions& o) {
    std::vector<std::pair<std::string, int>> sets;
    for (const render::FrameSetPlan& plan : render::PlanFrameSets(o)) sets.emplace_back(plan.folder, plan.cell);
    return sets;
  };
  if (cells(next) == cells(*RenderedModel)) {
    RenderedModel = next;  // 2.10 and 2.20 take the same cells
    return;
  }
  if (MayReplace(*this, next, render::FrameFiles(*RenderedModel))) RenderIntoWindow(*this, next, nullptr);
}

bool frmMain::FramesFromOneRender() {
  if (!RenderedModel) return true;
  const render::FrameFolders f = render::FoldersFor(RenderedModel->outDir, AnimatedMode);
  const FormControls& c = Controls;
  const std::tuple<const TextBox&, const TextBox&, std::string, const char*> sets[] = {
      {c.txtWorkDir[1], c.txt3DPrefix[1], f.rotation3D, "3D rotation"},
      {c.txt2DWorkDir[1], c.txt2DPrefix[1], f.rotation2D, "2D rotation"},
      {c.txtWorkDir[2], c.txt3DPrefix[2], f.animation3D, "3D animation"},
      {c.txt2DWorkDir[2], c.txt2DPrefix[2], f.animation2D, "2D animation"}};
  std::string others;
  size_t used = AnimatedMode ? 4 : 2, rendered = 0;
  for (size_t i = 0; i < used; ++i) {
    const auto& [folder, prefix, renderedFolder, name] = sets[i];
    const bool same = Trim(folder.Text) == renderedFolder && Trim(prefix.Text) == RenderedModel->prefix;
    rendered += same;
    if (!same) others += std::string(others.empty() ? "" : ", ") + name;
  }
  if (rendered == 0 || rendered == used) return true;
  if (view_.AskYesNo("The " + others + " frames are not from the render of " + FileName(RenderedModel->model) +
                     ".\n\nBuild the icon from sets of different renders?")) {
    return true;
  }
  Cancelled();
  return false;
}

}  // namespace velkor
