#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "sample/RgbImage.h"

namespace velkor::sample {

// A point on the picture, in pixels from the top-left corner, with a depth
// (larger is farther from the viewer).
struct ScreenPoint {
  float x = 0, y = 0, depth = 0;
};

// A picture drawn at several samples per pixel in each direction, then
// averaged down: edges come out anti-aliased against whatever lay beneath.
class SampleCanvas {
 public:
  SampleCanvas(int width, int height, int samplesPerAxis, Rgb background);

  // Depth-tested: only samples nearer than what is already there are painted.
  void FillTriangle(ScreenPoint a, ScreenPoint b, ScreenPoint c, Rgb colour);
  // Painter's order: always paints over (depth is ignored).
  void PaintTriangle(ScreenPoint a, ScreenPoint b, ScreenPoint c, Rgb colour);
  // A convex polygon, fanned into triangles, painter's order.
  void PaintPolygon(std::span<const ScreenPoint> points, Rgb colour);

  // Averages each pixel's samples; a pixel whose samples all hold one colour
  // comes out as exactly that colour.
  RgbImage Resolve() const;

 private:
  void Rasterize(ScreenPoint a, ScreenPoint b, ScreenPoint c, uint32_t colour, bool depthTest);

  int width_, height_, samples_;
  int sampleWidth_, sampleHeight_;
  std::vector<uint32_t> colour_;
  std::vector<float> depth_;
};

}  // namespace velkor::sample
