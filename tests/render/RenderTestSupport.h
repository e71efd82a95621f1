#pragma once
// Shared by the renderer's tests: a test vehicle whose faces show exact
// colours, the brute-force coverage a picture must match.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "render/CameraRig.h"
#include "render/FrameImage.h"
#include "render/FrameRenderer.h"
#include "render/MeshBuilder.h"
#include "render/Scene.h"

namespace velkor::testing {

using Rgb = std::array<uint8_t, 3>;
inline constexpr Rgb kFront{255, 0, 0}, kRear{0, 0, 255}, kRight{255, 255, 0}, kOther{128, 128, 128}, kKey{0, 255, 0};

// Unlit: a material with no base colour shows exactly its emissive.
inline uint32_t Flat(render::Scene& s, Rgb c) {
  return render::AddMaterial(s, {0, 0, 0}, {c[0] / 255.0f, c[1] / 255.0f, c[2] / 255.0f});
}

// A box in glTF axes (+Y up, +Z front, right −X), 2.3 long, 1.1 wide, 0.7
// high, off-centre so the rig's centring matters. Front face and the front
// of the roof red, rear blue, right side yellow, the rest grey.
inline render::Scene TestVehicle() {
  render::Scene s;
  const uint32_t front = Flat(s, kFront), rear = Flat(s, kRear), right = Flat(s, kRight), other = Flat(s, kOther);
  const float x0 = -0.41f, x1 = 0.69f, y0 = 0.13f, y1 = 0.83f, z0 = -1.07f, z1 = 1.23f, zb = 0.61f;
  render::AddFace(s, {{x0, y0, z1}, {x1, y0, z1}, {x1, y1, z1}, {x0, y1, z1}}, front);
  render::AddFace(s, {{x0, y0, z0}, {x0, y1, z0}, {x1, y1, z0}, {x1, y0, z0}}, rear);
  render::AddFace(s, {{x0, y0, z0}, {x0, y0, z1}, {x0, y1, z1}, {x0, y1, z0}}, right);
  render::AddFace(s, {{x1, y0, z0}, {x1, y1, z0}, {x1, y1, z1}, {x1, y0, z1}}, other);
  render::AddFace(s, {{x0, y1, zb}, {x0, y1, z1}, {x1, y1, z1}, {x1, y1, zb}}, front);
  render::AddFace(s, {{x0, y1, z0}, {x0, y1, zb}, {x1, y1, zb}, {x1, y1, z0}}, other);
  render::AddFace(s, {{x0, y0, z0}, {x1, y0, z0}, {x1, y0, z1}, {x0, y0, z1}}, other);
  return s;
}

// The vehicle with every shading input in use: lit grey sides and a sloping
// lit windscreen, a textured and single-sided rear, vertex colours and
// texture coordinates.
inline render::Scene Textured() {
  render::Scene s = TestVehicle();
  render::AddFace(s, {{-0.41f, 0.83f, 0.3f}, {0.69f, 0.83f, 0.3f}, {0.69f, 1.1f, 0.1f}, {-0.41f, 1.1f, 0.1f}}, 3);
  s.materials[3].baseColour = {0.6f, 0.5f, 0.4f, 1};
  s.materials[3].emissive = {0.05f, 0.02f, 0};  // faint, so that light shows even with the lights on
  s.materials[1].baseColour = {1, 1, 1, 1}, s.materials[1].texture = 0, s.materials[1].doubleSided = false;
  s.textures.push_back({2, 1, {255, 0, 0, 255, 20, 200, 90, 255}});
  for (size_t i = 0; i < s.vertices.size(); ++i) {
    s.vertices[i].colour = {1, 0.25f + (i % 4) * 0.25f, 1, 1};
    s.vertices[i].uv = {(i % 4) * 0.5f, -0.5f * (i % 3)};
  }
  return s;
}

// The scene stored another way: its +Y (up) along `up`, its +Z (front) along
// `front`, and its right (−X) along front × up.
inline render::Scene Turned(const render::Scene& s, render::Axis up, render::Axis front) {
  const std::array<float, 3> kAxis[] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
  const auto &u = kAxis[int(up)], &f = kAxis[int(front)];
  const std::array<float, 3> r = {u[1] * f[2] - u[2] * f[1], u[2] * f[0] - u[0] * f[2], u[0] * f[1] - u[1] * f[0]};
  render::Scene turned = s;
  for (render::Vertex& v : turned.vertices) {
    for (auto* p : {&v.position, &v.normal}) {
      const std::array<float, 3> q = *p;
      for (int i = 0; i < 3; ++i) (*p)[i] = q[0] * r[i] + q[1] * u[i] + q[2] * f[i];
    }
  }
  return turned;
}

// Frame `k` of a set, `cell` pixels square, over `key`.
inline render::FrameImage RenderFrame(const render::Scene& s, render::SetView view, int k, int cell,
                                      const render::RigOptions& rig = {}, float boost = 1, Rgb key = kKey) {
  render::ModelFrame model;
  std::string error;
  EXPECT_TRUE(render::MakeModelFrame(s, rig, model, error)) << error;
  return render::FrameRenderer().Render(s, render::ViewForFrame(model, rig, view, cell, k), cell, key, boost);
}

// Mean offset from the picture's centre of the pixels of one colour: dx, dy, count.
inline std::array<double, 3> Find(const render::FrameImage& f, Rgb c) {
  std::array<double, 3> r{};
  for (int i = 0; i < f.size * f.size; ++i) {
    if (!std::equal(c.begin(), c.end(), &f.rgb[size_t(i) * 3])) continue;
    r[0] += i % f.size + 0.5 - f.size / 2.0, r[1] += i / f.size + 0.5 - f.size / 2.0, ++r[2];
  }
  return {r[0] / std::max(1.0, r[2]), r[1] / std::max(1.0, r[2]), r[2]};
}

// Width and height of what is not key colour.
inline std::array<int, 2> Extent(const render::FrameImage& f, Rgb key = kKey) {
  int x0 = f.size, y0 = f.size, x1 = -1, y1 = -1;
  for (int i = 0; i < f.size * f.size; ++i) {
    if (std::equal(key.begin(), key.end(), &f.rgb[size_t(i) * 3])) continue;
    x0 = std::min(x0, i % f.size), x1 = std::max(x1, i % f.size), y0 = std::min(y0, i / f.size),
    y1 = std::max(y1, i / f.size);
  }
  return {x1 - x0 + 1, y1 - y0 + 1};
}

using Triangle2 = std::array<std::array<double, 2>, 3>;

// Whether (x, y) lies in the triangle, edges included, either winding.
inline bool Inside(const Triangle2& t, double x, double y) {
  for (int i = 0; i < 2; ++i)
    if ((i ? y : x) < std::min({t[0][i], t[1][i], t[2][i]}) || (i ? y : x) > std::max({t[0][i], t[1][i], t[2][i]}))
      return false;
  auto edge = [&](int a, int b) { return (t[b][0] - t[a][0]) * (y - t[a][1]) - (t[b][1] - t[a][1]) * (x - t[a][0]); };
  const double e0 = edge(1, 2), e1 = edge(2, 0), e2 = edge(0, 1);
  return (e0 >= 0 && e1 >= 0 && e2 >= 0) || (e0 <= 0 && e1 <= 0 && e2 <= 0);
}

// Each pixel of a w × h picture (R, G, B, rows top-down) must hold `colour`
// over `key` in the share of its 4 × 4 samples that the triangles cover. A
// sample exactly on an edge may fall either way: one sample's worth, in at
// most `loose` pixels.
inline void ExpectCoverage(const std::vector<uint8_t>& rgb, int w, int h, const std::vector<Triangle2>& triangles,
                           Rgb colour, Rgb key, int loose) {
  ASSERT_EQ(rgb.size(), size_t(w) * h * 3);
  int inexact = 0;
  for (int py = 0; py < h; ++py) {
    for (int px = 0; px < w; ++px) {
      int covered = 0;
      for (int i = 0; i < 16; ++i) {
        covered += std::any_of(triangles.begin(), triangles.end(), [&](const Triangle2& t) {
          return Inside(t, px + (i % 4 + 0.5) / 4, py + (i / 4 + 0.5) / 4);
        });
      }
      bool exact = true;
      for (int c = 0; c < 3; ++c) {
        const int want = (colour[c] * covered + key[c] * (16 - covered) + 8) / 16;
        const int got = rgb[(size_t(py) * w + px) * 3 + c];
        ASSERT_LE(std::abs(got - want), 16) << "pixel " << px << "," << py;
        exact = exact && got == want;
      }
      inexact += !exact;
    }
  }
  EXPECT_LE(inexact, loose);
}

}  // namespace velkor::testing
