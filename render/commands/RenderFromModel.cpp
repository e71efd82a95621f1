// "Render from Model...": renders the frame sets of a model file into a folder
// the user picks and points the folder and prefix boxes at them. Building the
// image stays the user's next step; a failure leaves the working image and
// the boxes as they were.
#include <filesystem>

#include "render/commands/WindowRender.h"
#include "ui/commands/frmMain.h"

namespace velkor {

namespace {

constexpr const char* kModelFilter =
    "3D models (*.gltf;*.glb;*.obj;*.fbx;*.dae;*.3ds;*.ply;*.stl)|"
    "*.gltf;*.glb;*.obj;*.fbx;*.dae;*.3ds;*.ply;*.stl";

}  // namespace

void frmMain::mnuRenderFromModel_Click() {
  const std::optional<std::string> model = view_.FileDialog({false, kModelFilter, 0, ""});
  if (!model || model->empty()) return;
  const std::string start = std::filesystem::path(*model).parent_path().string();
  const std::string out = view_.BrowseForFolder("Select the Folder for the Rendered Frames", start);
  if (out.empty()) return;
  const render::ModelRenderRequest request = render::RequestFromWindow(*this, *model, out);
  SetStatus("Status: Rendering " + std::filesystem::path(*model).filename().string() + "...");
  Controls.ProgressBar1.Visible = true;
  view_.ProgressVisible(true);
  std::string error;
  const bool ok = render::RenderModel(
      request,
      [this](int done, int total) {
        Controls.ProgressBar1.Value = 100.0f * static_cast<float>(done) / static_cast<float>(total);
        view_.ProgressValue(Controls.ProgressBar1.Value);
        view_.DoEvents();
      },
      error);
  Controls.ProgressBar1.Visible = false;
  view_.ProgressVisible(false);
  if (!ok) {
    view_.MessageBox(error);
    SetStatus("Status: Rendering failed");
    return;
  }
  render::ShowRenderedFolders(*this, request);
  SetStatus("Status: Frames rendered, ready to Build Image");
  view_.ControlsChanged();
}

}  // namespace velkor
