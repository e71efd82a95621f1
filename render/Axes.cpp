#include "render/Axes.h"

#include <cctype>

namespace velkor::render {

std::optional<Axis> ParseAxis(const std::string& text) {
  std::string t;
  for (char ch : text) t += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  if (t.size() == 1) t = "+" + t;
  for (Axis axis : kAllAxes) {
    if (t == AxisName(axis)) return axis;
  }
  return std::nullopt;
}

std::string AxisName(Axis axis) {
  const int value = static_cast<int>(axis);
  return std::string(value % 2 ? "-" : "+") + "xyz"[value / 2];
}

}  // namespace velkor::render
