#include "cli/RenderFlags.h"

#include "platform/Files.h"
#include "render/ModelLoader.h"

namespace velkor::cli {

namespace {

std::string CheckAxis(const std::string& text) {
  return render::ParseAxis(text) ? std::string() : "not an axis (+x, -x, +y, -y, +z, -z): " + text;
}

std::optional<render::Axis> AxisOrGuess(const std::string& text) {
  return text.empty() ? std::nullopt : render::ParseAxis(text);
}

}  // namespace

void AddRenderFlags(CLI::App* command, RenderFlags& f) {
  command->add_option("--up", f.up, "Model axis pointing up: +x, -x, +y, -y, +z, -z (default: guessed)")
      ->check(CheckAxis);
  command->add_option("--front", f.front, "Model axis the vehicle's front points along (default: guessed)")
      ->check(CheckAxis);
  command->add_option("--elevation", f.elevation, "3D sets: camera degrees above the horizon, 0 to 90")
      ->capture_default_str();
  command->add_option("--fill", f.fill, "Share of half the cell the model's radius fills, 0.05 to 1")
      ->capture_default_str();
  command->add_option("--animation-model", f.animationModel,
                      "Model of the animation sets (default: the model with its emissive parts lit up)");
}

void ApplyRenderFlags(const RenderFlags& f, render::RenderOptions& o) {
  o.up = AxisOrGuess(f.up);
  o.front = AxisOrGuess(f.front);
  o.elevation = f.elevation;
  o.fill = f.fill;
  o.animationModel = f.animationModel.empty() ? std::string() : platform::AbsolutePath(f.animationModel);
}

void RequireValid(const render::RenderOptions& options) {
  if (const std::string problem = render::RenderOptionsProblem(options); !problem.empty()) {
    throw CLI::ValidationError(problem);
  }
}

std::string ModelFormatsHelp() {
  std::string text = "Model files the loader reads:";
  size_t column = text.size();
  for (const std::string& pattern : render::ModelFilePatterns()) {
    if (column + pattern.size() >= 78) text += "\n ", column = 1;
    text += " " + pattern;
    column += pattern.size() + 1;
  }
  return text + "\nAll files (*): any other file is tried too.";
}

}  // namespace velkor::cli
