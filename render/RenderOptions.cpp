#include "render/RenderOptions.h"

#include <cmath>

#include "pipeline/NumberingScheme.h"
#include "srf/SrfVersion.h"

namespace velkor::render {

namespace {

// A prefix is the start of a file name: a separator or ".." would put the
// frames in another folder than the one chosen.
bool FileNamePrefix(const std::string& prefix) {
  return prefix.find_first_of("/\\") == std::string::npos && prefix.find("..") == std::string::npos;
}

bool Within(double value, double lo, double hi) { return std::isfinite(value) && value >= lo && value <= hi; }

}  // namespace

std::string RenderOptionsProblem(const RenderOptions& o) {
  if (o.model.empty()) return "no model file is chosen";
  if (o.outDir.empty()) return "no folder for the frames is chosen";
  if (o.outDir[0] != '/') return "the folder for the frames must be a full path: " + o.outDir;
  if (!FileNamePrefix(o.prefix))
    return "the prefix must be part of a file name, without \"/\", \"\\\" or \"..\": " + o.prefix;
  if (!NamesScheme(o.numbers)) return "not a numbering scheme: " + o.numbers;
  if (!o.animated && !o.version) return "no SRF version is chosen";
  if (o.up && o.front && !Perpendicular(*o.up, *o.front)) return "the up and front axes must be perpendicular";
  if (!Within(o.elevation, kMinElevation, kMaxElevation)) return "the elevation must be 0 to 90 degrees";
  if (!Within(o.fill, kMinFill, kMaxFill)) return "the fill must be 0.05 to 1";
  if (o.keyRgb > 0xFFFFFF) return "the key colour is not an RGB colour";
  return {};
}

uint32_t RgbFromBgr(uint32_t bgr) { return ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF); }

}  // namespace velkor::render
