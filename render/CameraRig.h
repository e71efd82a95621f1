#pragma once
// The turntable camera: where each of the 36 frames of a set looks from.
//
// The model's own axes name its up and its front (glTF's +Y up, +Z front by
// default); its right is front × up. Frame k shows the vehicle turned to
// heading 10·k degrees, clockwise seen from above. The 2D set looks straight
// down with heading 0's front up the picture; the 3D set looks from the south
// (behind a heading-0 vehicle), `elevation` degrees above the horizon. Both
// are orthographic: the centre of the model's bounding box lands on the cell
// centre, and the vertex farthest from that centre at `fill` × N/2 pixels, the
// same scale for every frame of the set.
#include <array>
#include <string>

#include "render/Axes.h"
#include "render/Scene.h"

namespace velkor::render {

enum class SetView { Top2D, Oblique3D };

struct RigOptions {
  Axis up = Axis::PosY;
  Axis front = Axis::PosZ;
  double elevationDegrees = 30;
  double fill = 0.9;
};

using Mat3 = std::array<std::array<double, 3>, 3>;

// One frame's mapping of model points: view = rows · (p − centre), with view
// x to the right, y up the picture and z toward the camera. Pixel centres are
// at half-integers: pixel x = cell/2 + scale·x, pixel y = cell/2 − scale·y.
struct FrameView {
  Mat3 rows{};
  std::array<double, 3> centre{};
  double scale = 1;
  double half = 0;  // cell / 2
};

// The parts of the rig that depend on the model only.
struct ModelFrame {
  Mat3 vehicleFromModel{};  // rows: right, up, front
  std::array<double, 3> centre{};
  double radius = 0;
};

// False with a reason when up and front are not perpendicular or the model
// has no extent.
bool MakeModelFrame(const Scene& scene, const RigOptions& options, ModelFrame& frame, std::string& error);

FrameView ViewForFrame(const ModelFrame& model, const RigOptions& options, SetView view, int cell, int frame);

}  // namespace velkor::render
