#pragma once
// What a model render takes from the window's controls (mode, version, key
// colour, prefix, numbering) and gives back to them (the folder and prefix
// boxes, the key colour), shared by the window's render commands and
// `velkor-cli do-all --model`.
#include <string>

#include "render/RenderOptions.h"
#include "ui/commands/frmMain.h"

namespace velkor::render {

RenderOptions OptionsFromWindow(const frmMain& form);
void ShowRenderedFolders(frmMain& form, const RenderOptions& options);
// Whether the rotation boxes still name the sets of `options`.
bool BoxesShowRender(const frmMain& form, const RenderOptions& options);

}  // namespace velkor::render
