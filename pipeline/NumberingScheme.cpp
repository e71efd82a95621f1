#include "pipeline/NumberingScheme.h"

#include <algorithm>
#include <array>

#include "common/Paths.h"

namespace velkor {

namespace {
struct NamedScheme {
  const char* name;
  NumberingScheme scheme;
};

// The ten entries of the numbering box's list. The "(10s)" schemes count the
// turn in tens of degrees: 0, 10, ..., 350.
constexpr std::array<NamedScheme, 10> kSchemes{{
    {"1-36", {1, 1, 1}},
    {"01-36", {2, 1, 1}},
    {"001-036", {3, 1, 1}},
    {"0001-0036", {4, 1, 1}},
    {"0-35", {1, 1, 0}},
    {"00-35", {2, 1, 0}},
    {"000-035", {3, 1, 0}},
    {"0000-0035", {4, 1, 0}},
    {"0-360 (10s)", {1, 10, 0}},
    {"000-360 (10s)", {3, 10, 0}},
}};
}  // namespace

NumberingScheme SchemeFromText(const std::string& text) {
  const std::string trimmed = Trim(text);
  for (const NamedScheme& entry : kSchemes) {
    if (trimmed == entry.name) return entry.scheme;
  }
  return NumberingScheme{4, 1, 0};
}

bool NamesScheme(const std::string& text) {
  const std::string trimmed = Trim(text);
  return trimmed.empty() ||
         std::any_of(kSchemes.begin(), kSchemes.end(), [&](const NamedScheme& e) { return trimmed == e.name; });
}

std::string FrameNumber(const NumberingScheme& scheme, int frame) {
  std::string number = std::to_string(frame * scheme.step + scheme.first);
  if (static_cast<int>(number.size()) < scheme.digits) {
    number.insert(0, static_cast<size_t>(scheme.digits) - number.size(), '0');
  }
  return number;
}

std::string FrameFileName(const std::string& folder, const std::string& prefix, const NumberingScheme& scheme,
                          int frame) {
  return JoinPath(folder, prefix + FrameNumber(scheme, frame) + ".bmp");
}

std::string IconNameForFrames(const std::string& folder, const std::string& prefix) {
  return JoinPath(folder, prefix.empty() ? "Temp" : prefix);
}

}  // namespace velkor
