// The camera rig: which way the vehicle points in each frame, and that the
// silhouette is exactly the rig's orthographic projection.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "render/CameraRig.h"
#include "render/FrameRenderer.h"
#include "RenderTestSupport.h"

namespace velkor::render {
namespace {

using testing::kFront;
using testing::kRear;
using testing::kRight;
constexpr std::array<uint8_t, 3> kKey{0, 255, 0};
constexpr int kCell = 24;

FrameImage Render(const Scene& s, SetView view, int frame, int cell = kCell) {
  ModelFrame model;
  std::string error;
  EXPECT_TRUE(MakeModelFrame(s, {}, model, error)) << error;
  return FrameRenderer().Render(s, ViewForFrame(model, {}, view, cell, frame), cell, kKey, 1.0f);
}

struct Centroid {
  double dx = 0, dy = 0;
  int count = 0;
};

Centroid Find(const FrameImage& f, std::array<uint8_t, 3> c) {
  Centroid r;
  for (int y = 0; y < f.size; ++y)
    for (int x = 0; x < f.size; ++x) {
      const uint8_t* p = &f.rgb[(static_cast<size_t>(y) * f.size + x) * 3];
      if (p[0] != c[0] || p[1] != c[1] || p[2] != c[2]) continue;
      r.dx += x + 0.5 - f.size / 2.0;
      r.dy += y + 0.5 - f.size / 2.0;
      ++r.count;
    }
  if (r.count) r.dx /= r.count, r.dy /= r.count;
  return r;
}

TEST(CameraRig, FrontUpInTopFrameZeroRightInFrameNineRearTowardTheCameraIn3D) {
  const Scene s = testing::TestVehicle();
  const Centroid top0 = Find(Render(s, SetView::Top2D, 0, 40), kFront);
  const Centroid top9 = Find(Render(s, SetView::Top2D, 9, 40), kFront);
  ASSERT_GT(top0.count, 20);
  EXPECT_LT(top0.dy, -5);
  EXPECT_NEAR(top0.dx, 0, 2);
  EXPECT_GT(top9.dx, 5);
  EXPECT_NEAR(top9.dy, 0, 2);
  const FrameImage oblique0 = Render(s, SetView::Oblique3D, 0, 40);
  const Centroid rear = Find(oblique0, kRear), roofFront = Find(oblique0, kFront);
  EXPECT_GT(rear.count, 40);
  EXPECT_GT(rear.dy, roofFront.dy) << "the rear faces the camera, the front lies beyond";
  EXPECT_GT(Find(Render(s, SetView::Oblique3D, 9, 40), kRight).count, 40) << "heading east shows the right side";
  EXPECT_EQ(Find(Render(s, SetView::Oblique3D, 27, 40), kRight).count, 0);
}

// The rig written out independently: vehicle axes from glTF's, a clockwise
// turn, then the set's orthographic camera.
std::array<double, 2> Project(const Vertex& v, const std::array<double, 3>& c, double scale, SetView view, int k) {
  const double right = -(v.position[0] - c[0]), up = v.position[1] - c[1], front = v.position[2] - c[2];
  const double h = k * 10 * std::numbers::pi / 180, e = 30 * std::numbers::pi / 180;
  const double east = right * std::cos(h) + front * std::sin(h), north = -right * std::sin(h) + front * std::cos(h);
  const double screenUp = view == SetView::Top2D ? north : north * std::sin(e) + up * std::cos(e);
  return {kCell / 2.0 + scale * east, kCell / 2.0 - scale * screenUp};
}

TEST(CameraRig, SilhouetteIsTheOrthographicProjectionInEveryFrame) {
  Scene s = testing::TestVehicle();
  for (Material& m : s.materials) m.emissive = {200 / 255.0f, 40 / 255.0f, 90 / 255.0f};
  std::array<double, 3> lo{1e9, 1e9, 1e9}, hi{-1e9, -1e9, -1e9}, c{};
  for (const Vertex& v : s.vertices)
    for (int i = 0; i < 3; ++i) lo[i] = std::min(lo[i], double{v.position[i]}), hi[i] = std::max(hi[i], double{v.position[i]});
  for (int i = 0; i < 3; ++i) c[i] = (lo[i] + hi[i]) / 2;
  double r = 0;
  for (const Vertex& v : s.vertices) r = std::max(r, std::hypot(v.position[0] - c[0], v.position[1] - c[1], v.position[2] - c[2]));
  const double scale = 0.9 * kCell / 2 / r;
  for (SetView view : {SetView::Top2D, SetView::Oblique3D}) {
    for (int k = 0; k < 36; ++k) {
      const FrameImage f = Render(s, view, k);
      std::vector<std::array<std::array<double, 2>, 3>> projected;
      for (const Triangle& t : s.triangles) {
        projected.push_back({Project(s.vertices[t.vertex[0]], c, scale, view, k),
                             Project(s.vertices[t.vertex[1]], c, scale, view, k),
                             Project(s.vertices[t.vertex[2]], c, scale, view, k)});
      }
      int exact = 0;
      for (int py = 0; py < kCell; ++py) {
        for (int px = 0; px < kCell; ++px) {
          int covered = 0;
          for (int j = 0; j < 4; ++j)
            for (int i = 0; i < 4; ++i) {
              const double x = px + (i + 0.5) / 4, y = py + (j + 0.5) / 4;
              bool hit = false;
              for (const auto& t : projected) hit = hit || testing::Inside(t, x, y);
              covered += hit;
            }
          const std::array<int, 3> colour{200, 40, 90};
          const uint8_t* got = &f.rgb[(static_cast<size_t>(py) * kCell + px) * 3];
          bool same = true;
          for (int ch = 0; ch < 3; ++ch) {
            const int want = (colour[ch] * covered + kKey[ch] * (16 - covered) + 8) / 16;
            // A sample exactly on an edge may fall either way: one sample's worth.
            ASSERT_LE(std::abs(got[ch] - want), 16) << "frame " << k << " pixel " << px << "," << py;
            same = same && got[ch] == want;
          }
          exact += same;
        }
      }
      EXPECT_GE(exact, kCell * kCell - 4) << "frame " << k;
    }
  }
}

TEST(CameraRig, AxesOptionsAndTheirRefusals) {
  EXPECT_EQ(ParseAxis("+Z"), Axis::PosZ);
  EXPECT_EQ(ParseAxis("y"), Axis::PosY);
  EXPECT_EQ(ParseAxis("-x"), Axis::NegX);
  EXPECT_FALSE(ParseAxis("up"));
  ModelFrame frame;
  std::string error;
  EXPECT_FALSE(MakeModelFrame(testing::TestVehicle(), {Axis::PosY, Axis::NegY}, frame, error));
  Scene point;
  point.vertices.resize(3);
  EXPECT_FALSE(MakeModelFrame(point, {}, frame, error));
  EXPECT_EQ(error, "the model has no extent");
}

}  // namespace
}  // namespace velkor::render
