#include "render/AxisGuess.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace velkor::render {

namespace {

std::array<double, 3> Extents(const Scene& scene) {
  std::array<double, 3> lo{INFINITY, INFINITY, INFINITY}, hi{-INFINITY, -INFINITY, -INFINITY};
  for (const Vertex& v : scene.vertices) {
    for (int i = 0; i < 3; ++i) {
      lo[i] = std::min(lo[i], double{v.position[i]});
      hi[i] = std::max(hi[i], double{v.position[i]});
    }
  }
  std::array<double, 3> size{};
  for (int i = 0; i < 3; ++i) size[i] = scene.vertices.empty() ? 0 : hi[i] - lo[i];
  return size;
}

Axis Positive(int index) { return static_cast<Axis>(2 * index); }

bool Longest(const std::array<double, 3>& size, Axis a) {
  const int i = AxisIndex(a);
  return size[i] > size[(i + 1) % 3] && size[i] > size[(i + 2) % 3];
}

Axis GuessUp(const Scene& scene, const std::array<double, 3>& size, std::optional<Axis> front) {
  const std::optional<Axis> candidates[] = {scene.declaredUp, Axis::PosY, Axis::PosZ, Axis::PosX};
  for (const std::optional<Axis>& up : candidates) {
    if (up && !Longest(size, *up) && (!front || Perpendicular(*up, *front))) return *up;
  }
  // Not reached: of two axes at most one is the longest.
  return Axis::PosY;
}

// Ties go to the later axis: +Z before +X when +Y is up, as in glTF.
Axis GuessFront(const Scene& scene, const std::array<double, 3>& size, Axis up) {
  const int u = AxisIndex(up), a = std::min((u + 1) % 3, (u + 2) % 3), b = std::max((u + 1) % 3, (u + 2) % 3);
  const int along = size[a] > size[b] ? a : b;
  const std::optional<Axis> declared = scene.declaredFront;
  return declared && AxisIndex(*declared) == along ? *declared : Positive(along);
}

}  // namespace

ModelAxes ChooseAxes(const Scene& scene, std::optional<Axis> up, std::optional<Axis> front) {
  const std::array<double, 3> size = Extents(scene);
  ModelAxes axes;
  axes.upGuessed = !up;
  axes.frontGuessed = !front;
  axes.up = up ? *up : GuessUp(scene, size, front);
  axes.front = front ? *front : GuessFront(scene, size, axes.up);
  return axes;
}

Axis TurnedFront(Axis up, Axis front) {
  // left = up × front; along the axes, a cross product only permutes and signs.
  const int u = AxisIndex(up), f = AxisIndex(front), l = 3 - u - f;
  const bool cyclic = (f - u + 3) % 3 == 1;  // x×y = z, y×z = x, z×x = y
  const bool negative = (static_cast<int>(up) % 2) != (static_cast<int>(front) % 2);
  return static_cast<Axis>(2 * l + (cyclic == negative));
}

Axis NextUp(Axis up) {
  constexpr Axis kCycle[] = {Axis::PosY, Axis::PosZ, Axis::NegY, Axis::NegZ, Axis::PosX, Axis::NegX};
  const auto at = std::find(std::begin(kCycle), std::end(kCycle), up);
  return at + 1 == std::end(kCycle) ? kCycle[0] : *(at + 1);
}

std::string DescribeAxes(const ModelAxes& axes) {
  std::string text = "up " + AxisName(axes.up) + ", front " + AxisName(axes.front);
  if (axes.upGuessed && axes.frontGuessed) return text + " (guessed)";
  if (axes.upGuessed || axes.frontGuessed) return text + (axes.upGuessed ? " (up guessed)" : " (front guessed)");
  return text;
}

}  // namespace velkor::render
