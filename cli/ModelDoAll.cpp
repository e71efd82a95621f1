#include "cli/ModelDoAll.h"

#include <stdlib.h>

#include <filesystem>
#include <iostream>

#include "render/ModelRender.h"
#include "render/commands/WindowRender.h"

namespace velkor::cli {

TemporaryFrames::~TemporaryFrames() {
  std::error_code ec;
  if (!path_.empty()) std::filesystem::remove_all(path_, ec);
}

bool TemporaryFrames::Create(std::string& error) {
  std::error_code ec;
  std::string templ = (std::filesystem::temp_directory_path(ec) / "velkor-frames-XXXXXX").string();
  if (ec || mkdtemp(templ.data()) == nullptr) {
    error = "cannot create a temporary folder for the rendered frames";
    return false;
  }
  path_ = templ;
  removedOnInterrupt_ = platform::InterruptCleanup::RemoveFolder(path_);
  return true;
}

bool RenderModelIntoForm(const render::RenderOptions& options, frmMain& form, HeadlessView& view) {
  std::string error;
  render::ModelAxes axes;
  const bool ok = render::RenderModel(
      options, [](int done, int total) { std::cerr << "\rrendering frame " << done << "/" << total << std::flush; },
      axes, error);
  std::cerr << '\n';
  if (!ok) {
    view.Error(error);
    return false;
  }
  std::cout << "axes: " << render::DescribeAxes(axes) << '\n';
  render::ShowRenderedFolders(form, options);
  return true;
}

}  // namespace velkor::cli
