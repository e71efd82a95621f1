#include "render/CameraRig.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace velkor::render {

namespace {

using Vec = std::array<double, 3>;

Vec AxisVector(Axis a) {
  switch (a) {
    case Axis::PosX: return {1, 0, 0};
    case Axis::NegX: return {-1, 0, 0};
    case Axis::PosY: return {0, 1, 0};
    case Axis::NegY: return {0, -1, 0};
    case Axis::PosZ: return {0, 0, 1};
    case Axis::NegZ: return {0, 0, -1};
  }
  return {};
}

Vec Cross(const Vec& a, const Vec& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

Mat3 Multiply(const Mat3& a, const Mat3& b) {
  Mat3 m{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      for (int k = 0; k < 3; ++k) m[i][j] += a[i][k] * b[k][j];
  return m;
}

double Radians(double degrees) { return degrees * std::numbers::pi / 180.0; }

// Vehicle (right, up, front) to world (east, north, up) at a clockwise heading.
// Headings are multiples of 10°, so exact quarter turns give exact zeros.
Mat3 Turntable(int frame) {
  const int degrees = (frame * 10) % 360;
  double c = std::cos(Radians(degrees)), s = std::sin(Radians(degrees));
  if (degrees % 90 == 0) {
    c = std::round(c);
    s = std::round(s);
  }
  return {{{c, 0, s}, {-s, 0, c}, {0, 1, 0}}};
}

// World (east, north, up) to view (right, up the picture, toward the camera).
Mat3 Camera(SetView view, double elevationDegrees) {
  if (view == SetView::Top2D) return {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
  const double e = Radians(elevationDegrees), s = std::sin(e), c = std::cos(e);
  return {{{1, 0, 0}, {0, s, c}, {0, -c, s}}};
}

}  // namespace

bool MakeModelFrame(const Scene& scene, const RigOptions& options, ModelFrame& frame, std::string& error) {
  const Vec up = AxisVector(options.up), front = AxisVector(options.front);
  const Vec right = Cross(front, up);
  if (right == Vec{0, 0, 0}) return (error = "the up and front axes must be perpendicular", false);
  frame.vehicleFromModel = {right, up, front};
  Vec lo{INFINITY, INFINITY, INFINITY}, hi{-INFINITY, -INFINITY, -INFINITY};
  for (const Vertex& v : scene.vertices) {
    for (int i = 0; i < 3; ++i) {
      lo[i] = std::min(lo[i], double{v.position[i]});
      hi[i] = std::max(hi[i], double{v.position[i]});
    }
  }
  for (int i = 0; i < 3; ++i) frame.centre[i] = (lo[i] + hi[i]) / 2;
  double r2 = 0;
  for (const Vertex& v : scene.vertices) {
    double d2 = 0;
    for (int i = 0; i < 3; ++i) d2 += (v.position[i] - frame.centre[i]) * (v.position[i] - frame.centre[i]);
    r2 = std::max(r2, d2);
  }
  frame.radius = std::sqrt(r2);
  if (!(frame.radius > 0) || !std::isfinite(frame.radius)) return (error = "the model has no extent", false);
  return true;
}

FrameView ViewForFrame(const ModelFrame& model, const RigOptions& options, SetView view, int cell, int frame) {
  FrameView v;
  v.rows = Multiply(Camera(view, options.elevationDegrees), Multiply(Turntable(frame), model.vehicleFromModel));
  v.centre = model.centre;
  v.half = cell / 2.0;
  v.scale = options.fill * v.half / model.radius;
  return v;
}

}  // namespace velkor::render
