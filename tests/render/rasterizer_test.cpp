// The rasterizer against brute force: every pixel holds exactly the share of
// its 16 samples that the triangles cover, whatever their shape and size.
#include <gtest/gtest.h>

#include <random>

#include "render/FrameRenderer.h"
#include "RenderTestSupport.h"

namespace velkor::render {
namespace {

constexpr int kSize = 48;

TEST(Rasterizer, CoverageMatchesTheSamplesInsideEachTriangle) {
  std::mt19937 random(7);
  std::uniform_real_distribution<float> coordinate(-4, kSize + 4);
  Scene s;
  const uint32_t m = AddMaterial(s, {0, 0, 0}, {1, 1, 1});
  std::vector<std::array<std::array<double, 2>, 3>> triangles;
  for (int i = 0; i < 12; ++i) {
    std::array<std::array<double, 2>, 3> t;
    for (auto& corner : t) {
      corner = {coordinate(random), coordinate(random)};
      Vertex v;
      v.position = {static_cast<float>(corner[0]), static_cast<float>(corner[1]), 0};
      corner = {v.position[0], v.position[1]};
      s.vertices.push_back(v);
    }
    const auto base = static_cast<uint32_t>(s.vertices.size() - 3);
    s.triangles.push_back({{base, base + 1, base + 2}, m});
    triangles.push_back(t);
  }
  FrameView pixels;  // x right, y down, in pixels
  pixels.rows = {{{1, 0, 0}, {0, -1, 0}, {0, 0, 1}}};
  const std::vector<uint8_t> rgb = FrameRenderer().RenderRgb(s, pixels, kSize, kSize, {0, 0, 0}, 1);
  int exact = 0;
  for (int py = 0; py < kSize; ++py) {
    for (int px = 0; px < kSize; ++px) {
      int covered = 0;
      for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 4; ++i) {
          bool hit = false;
          for (const auto& t : triangles) hit = hit || testing::Inside(t, px + (i + 0.5) / 4, py + (j + 0.5) / 4);
          covered += hit;
        }
      const int got = rgb[(static_cast<size_t>(py) * kSize + px) * 3], want = (255 * covered + 8) / 16;
      ASSERT_LE(std::abs(got - want), 16) << px << "," << py;
      exact += got == want;
    }
  }
  EXPECT_GE(exact, kSize * kSize - 2);
}

}  // namespace
}  // namespace velkor::render
