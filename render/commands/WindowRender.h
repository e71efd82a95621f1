#pragma once
// What a model render takes from the window's controls (mode, version, key
// colour, prefix, numbering) and gives back to them (the folder and prefix
// boxes), shared by the window's menu command and `velkor-cli do-all --model`.
#include <string>

#include "render/ModelRender.h"
#include "ui/commands/frmMain.h"

namespace velkor::render {

ModelRenderRequest RequestFromWindow(const frmMain& form, const std::string& model, const std::string& outDir);
void ShowRenderedFolders(frmMain& form, const ModelRenderRequest& request);

}  // namespace velkor::render
