#include "render/commands/RenderDialogModel.h"

#include <filesystem>

#include "render/AxisGuess.h"
#include "render/ModelLoader.h"

namespace velkor::render {

namespace fs = std::filesystem;

RenderDialogModel::RenderDialogModel(FormView& view, RenderOptions start) : options(std::move(start)), view_(view) {}

bool RenderDialogModel::SetModel(const std::string& path) {
  Scene scene;
  std::string error;
  if (!LoadModel(path, scene, error)) {
    view_.MessageBox(error);
    return false;
  }
  scene_ = std::move(scene);
  loaded_ = true;
  const ModelAxes axes = ChooseAxes(scene_, std::nullopt, std::nullopt);
  options.model = path;
  options.up = axes.up;
  options.front = axes.front;
  options.outDir = ProposedFolder(path);
  return true;
}

bool RenderDialogModel::Reload() {
  std::string error;
  loaded_ = !options.model.empty() && LoadModel(options.model, scene_, error);
  if (loaded_ && !(options.up && options.front)) {
    const ModelAxes axes = ChooseAxes(scene_, options.up, options.front);
    options.up = axes.up;
    options.front = axes.front;
  }
  return loaded_;
}

void RenderDialogModel::SetUp(Axis up) {
  options.up = up;
  if (!options.front || !Perpendicular(up, *options.front)) options.front = ChooseAxes(scene_, up, std::nullopt).front;
}

void RenderDialogModel::SetFront(Axis front) {
  options.front = front;
  if (!options.up || !Perpendicular(*options.up, front)) options.up = ChooseAxes(scene_, std::nullopt, front).up;
}

void RenderDialogModel::TurnFront() {
  const ModelAxes axes = ChooseAxes(scene_, options.up, options.front);
  options.front = TurnedFront(axes.up, axes.front);
}

void RenderDialogModel::FlipUp() {
  const Axis up = NextUp(options.up.value_or(Axis::PosY));
  options.up = up;
  options.front = ChooseAxes(scene_, up, std::nullopt).front;
}

std::string RenderDialogModel::Problem() const {
  if (!loaded_) return "Choose a model file.";
  return RenderOptionsProblem(options);
}

bool RenderDialogModel::Preview(int size, PreviewImages& images, std::string& error) const {
  if (!loaded_) return (error = "no model is loaded", false);
  const ModelAxes axes = ChooseAxes(scene_, options.up, options.front);
  if (!Perpendicular(axes.up, axes.front)) return (error = "the up and front axes must be perpendicular", false);
  return RenderPreview(scene_, {axes.up, axes.front, options.elevation, options.fill}, size, options.keyRgb, images,
                       error);
}

std::string RenderDialogModel::ModeText() const {
  return options.animated ? "Animated SRF, version 1.00" : "Static SRF, version " + std::string(options.version->text);
}

FileDialogRequest RenderDialogModel::ModelFileRequest(const std::string& current) {
  std::string patterns;
  for (const std::string& p : ModelFilePatterns()) patterns += (patterns.empty() ? "" : ";") + p;
  return {false, "3D models|" + patterns + "|All files|*", 0, current};
}

std::string ProposedFolder(const std::string& model) {
  const fs::path path(model);
  const std::string base = (path.parent_path() / (path.stem().string() + " frames")).string();
  std::string folder = base;
  std::error_code ec;
  for (int n = 2; fs::exists(folder, ec) && n < 1000; ++n) folder = base + " " + std::to_string(n);
  return folder;
}

}  // namespace velkor::render
