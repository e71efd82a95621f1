#pragma once
// Our software rasterizer: deterministic, no GPU, the same bytes for the same
// input on any machine with IEEE floats. Every pixel holds a 4×4 ordered grid
// of samples, each with its own depth and the triangle it shows. Once all
// triangles are drawn, each pixel is shaded once per distinct triangle among
// its samples and the results averaged (a box filter), so an edge blends with
// whatever lies behind it, key colour included, and a pixel covered by one
// triangle comes out as exactly that triangle's colour.
//
// One renderer keeps its buffers between frames; use one per thread.
#include <array>
#include <cstdint>
#include <vector>

#include "render/CameraRig.h"
#include "render/FrameImage.h"
#include "render/Scene.h"

namespace velkor::render {

inline constexpr int kSamplesPerAxis = 4;

class FrameRenderer {
 public:
  FrameImage Render(const Scene& scene, const FrameView& view, int cell, std::array<uint8_t, 3> key,
                    float emissiveBoost);
  // Any width × height picture (rows top-down, R,G,B), e.g. flat shapes in
  // painter's order: larger view z is nearer and wins.
  std::vector<uint8_t> RenderRgb(const Scene& scene, const FrameView& view, int width, int height,
                                 std::array<uint8_t, 3> background, float emissiveBoost);

 private:
  struct Region {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // in pixels, exclusive ends
  };
  void Project(const Scene& scene, const FrameView& view);
  Region Bounds(int width, int height) const;
  // Where sample (sx, sy) of the picture lies in the region's buffers.
  size_t SampleIndex(int sx, int sy) const {
    return static_cast<size_t>(sy - region_.y0 * kSamplesPerAxis) * stride_ + (sx - region_.x0 * kSamplesPerAxis);
  }
  void DrawTriangle(uint32_t index, const Triangle& t, bool cullBackFace);
  void ResolvePixel(const Scene& scene, int px, int py, std::array<uint8_t, 3> key, float boost, uint8_t* out) const;

  std::vector<float> x_, y_, z_;         // per vertex: sample units, view depth (larger is nearer)
  std::vector<std::array<float, 3>> n_;  // per vertex: view-space normal
  Region region_;
  int stride_ = 0;  // samples per row of the region
  std::vector<float> depth_;
  std::vector<uint32_t> id_;  // triangle index + 1, 0 for none
};

}  // namespace velkor::render
