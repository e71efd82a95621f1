#pragma once
// Which way a model stands. Models come in every convention (Y or Z up, the
// front along ±X or ±Z), so axes not given are guessed: what the file
// declares, else the usual +Y up, and never up along the model's longest
// extent (a vehicle is longer than it is tall); the front along the longer
// of the two horizontal extents (a vehicle is longer than it is wide),
// pointing + unless the file declares the other way.
#include <optional>
#include <string>

#include "render/Axes.h"
#include "render/Scene.h"

namespace velkor::render {

struct ModelAxes {
  Axis up = Axis::PosY;
  Axis front = Axis::PosZ;
  bool upGuessed = false, frontGuessed = false;
};

// `up` and `front` as given (they must be perpendicular when both are),
// the others guessed from the scene.
ModelAxes ChooseAxes(const Scene& scene, std::optional<Axis> up, std::optional<Axis> front);

// The front turned a quarter to the left seen from above, so that the
// vehicle turns clockwise in the top view; four turns come back.
Axis TurnedFront(Axis up, Axis front);
// The next up axis of the cycle +y, +z, -y, -z, +x, -x.
Axis NextUp(Axis up);

// "up +y, front -x", followed by " (guessed)" when both were guessed or
// " (up guessed)" / " (front guessed)" when one was.
std::string DescribeAxes(const ModelAxes& axes);

}  // namespace velkor::render
