#pragma once
// A model's six axis directions, as the command line and the render dialog
// name them ("+x", "-x", ... "-z").
#include <optional>
#include <string>

namespace velkor::render {

// In this order: the axis index is value / 2, the sign negative for odd values.
enum class Axis { PosX, NegX, PosY, NegY, PosZ, NegZ };
inline constexpr Axis kAllAxes[] = {Axis::PosX, Axis::NegX, Axis::PosY, Axis::NegY, Axis::PosZ, Axis::NegZ};

// "+x", "-x", ... "-z" (also without the sign for +, any letter case).
std::optional<Axis> ParseAxis(const std::string& text);
std::string AxisName(Axis axis);  // "+x" ...

inline int AxisIndex(Axis a) { return static_cast<int>(a) / 2; }  // 0 x, 1 y, 2 z
inline bool Perpendicular(Axis a, Axis b) { return AxisIndex(a) != AxisIndex(b); }

}  // namespace velkor::render
