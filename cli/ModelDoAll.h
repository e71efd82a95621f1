#pragma once
// do-all --model: the model's frames are rendered into memory as the window's
// "Render from Model..." would render them, and the import takes them there.
#include <string>

#include "cli/CliProgress.h"
#include "cli/RenderFlags.h"
#include "jobs/FrameImport.h"
#include "jobs/Render.h"

namespace velkor::cli {

// Renders `model` for the import's mode, version, key colour, prefix and
// `numbers`, with the render flags, checked as `render` checks them, into
// `frames`, which the import then reads. False after the error is printed.
bool RenderModelFirst(const std::string& model, const RenderFlags& flags, const std::string& numbers,
                      ImportSettings& import, RenderedFrames& frames, CliProgress& progress);

}  // namespace velkor::cli
