#pragma once
// The flags of a model render that `render` and `do-all --model` share, and
// the one check of the options they fill (render/RenderOptions.h).
#include <CLI/CLI.hpp>
#include <string>

#include "render/RenderOptions.h"

namespace velkor::cli {

struct RenderFlags {
  std::string up, front, animationModel;  // empty: guessed / the model with its lights on
  double elevation = 30, fill = 0.9;
};

// --up --front --elevation --fill --animation-model.
void AddRenderFlags(CLI::App* command, RenderFlags& flags);
void ApplyRenderFlags(const RenderFlags& flags, render::RenderOptions& options);
// A usage error (exit status 2) naming what is wrong, before any work.
void RequireValid(const render::RenderOptions& options);
// The file name patterns the model loader reads, for the help texts.
std::string ModelFormatsHelp();

}  // namespace velkor::cli
