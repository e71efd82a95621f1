#include "cli/ModelDoAll.h"

#include <stdlib.h>

#include <filesystem>
#include <iostream>

#include "platform/Files.h"
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

bool RenderModelIntoForm(const std::string& model, frmMain& form, HeadlessView& view, TemporaryFrames& frames) {
  std::string error;
  if (!frames.Create(error)) {
    view.Error(error);
    return false;
  }
  const render::ModelRenderRequest request =
      render::RequestFromWindow(form, platform::AbsolutePath(model), frames.Path());
  const bool ok = render::RenderModel(
      request, [](int done, int total) { std::cerr << "\rrendering frame " << done << "/" << total << std::flush; },
      error);
  std::cerr << '\n';
  if (!ok) {
    view.Error(error);
    return false;
  }
  render::ShowRenderedFolders(form, request);
  return true;
}

}  // namespace velkor::cli
