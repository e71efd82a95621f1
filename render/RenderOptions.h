#pragma once
// Everything one render of a model takes: the window's render dialog, the
// command line's `render` and `do-all --model` fill this one set and check it
// with the one validation below before anything is loaded or written.
#include <cstdint>
#include <optional>
#include <string>

#include "render/Axes.h"
#include "srf/SrfVersion.h"

namespace velkor::render {

struct RenderOptions {
  std::string model;
  std::string animationModel;  // empty: the model with its lights on
  std::string outDir;          // absolute; the 3D rotation set, the others in its subfolders
  std::string prefix = "car";
  std::string numbers = "0000-0035";
  std::optional<Axis> up, front;  // none: guessed from the model
  double elevation = 30;          // degrees above the horizon, 3D sets
  double fill = 0.9;              // share of half the cell the model's radius fills
  uint32_t keyRgb = 0x00FF00;     // 0xRRGGBB
  bool animated = false;
  // Static only (an animated render is always the animated file): parsed
  // from text where the user chose it, so a version here is one of the table.
  const SrfVersion* version = &NewestStaticSrfVersion();
};

inline constexpr double kMinElevation = 0, kMaxElevation = 90, kMinFill = 0.05, kMaxFill = 1;

// What is wrong with the options, naming the option; empty when they can be
// rendered. Files are not looked at: loading the model says what is wrong
// with it.
std::string RenderOptionsProblem(const RenderOptions& options);

// The window keeps colours as 0x00BBGGRR.
uint32_t RgbFromBgr(uint32_t bgr);

}  // namespace velkor::render
