#pragma once
// Shared by the renderer's tests: a test vehicle whose faces show exact
// colours, frames read back from BMP files, and velkor-cli runs.
#include <FreeImage.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "render/FrameImage.h"
#include "render/MeshBuilder.h"
#include "render/Scene.h"

namespace velkor::testing {

// Unlit colours: a material with no base colour shows exactly its emissive.
inline uint32_t Flat(render::Scene& s, std::array<uint8_t, 3> c) {
  const uint32_t m = render::AddMaterial(s, {0, 0, 0}, {c[0] / 255.0f, c[1] / 255.0f, c[2] / 255.0f});
  return m;
}

inline constexpr std::array<uint8_t, 3> kFront{255, 0, 0}, kRear{0, 0, 255}, kRight{255, 255, 0},
    kOther{128, 128, 128};

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

// Whether (x, y) lies in the triangle, edges included, either winding.
inline bool Inside(const std::array<std::array<double, 2>, 3>& t, double x, double y) {
  if (x < std::min({t[0][0], t[1][0], t[2][0]}) || x > std::max({t[0][0], t[1][0], t[2][0]}) ||
      y < std::min({t[0][1], t[1][1], t[2][1]}) || y > std::max({t[0][1], t[1][1], t[2][1]})) {
    return false;
  }
  auto edge = [&](int a, int b) {
    return (t[b][0] - t[a][0]) * (y - t[a][1]) - (t[b][1] - t[a][1]) * (x - t[a][0]);
  };
  const double e0 = edge(1, 2), e1 = edge(2, 0), e2 = edge(0, 1);
  return (e0 >= 0 && e1 >= 0 && e2 >= 0) || (e0 <= 0 && e1 <= 0 && e2 <= 0);
}

inline render::FrameImage ReadFrame(const std::string& path) {
  render::FrameImage f;
  FIBITMAP* bmp = FreeImage_Load(FIF_BMP, path.c_str(), 0);
  if (!bmp) return f;
  f.size = static_cast<int>(FreeImage_GetWidth(bmp));
  for (int y = 0; y < f.size; ++y) {
    for (int x = 0; x < f.size; ++x) {
      RGBQUAD q;
      FreeImage_GetPixelColor(bmp, x, f.size - 1 - y, &q);
      f.rgb.insert(f.rgb.end(), {q.rgbRed, q.rgbGreen, q.rgbBlue});
    }
  }
  FreeImage_Unload(bmp);
  return f;
}

struct CliResult {
  int exitCode = -1;
  std::string err;
};

// Runs velkor-cli of the build tree (the tests' working folder) in `scratch`.
inline CliResult RunCli(const std::string& args, const std::string& scratch) {
  const std::string errFile = scratch + "/stderr.txt";
  const std::string command = "cd '" + scratch + "' && " + std::filesystem::absolute("velkor-cli").string() + " " +
                              args + " >/dev/null 2>" + errFile;
  CliResult r;
  const int status = std::system(command.c_str());
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream in(errFile);
  r.err.assign(std::istreambuf_iterator<char>(in), {});
  std::filesystem::remove(errFile);
  return r;
}

inline size_t FilesUnder(const std::string& dir) {
  size_t n = 0;
  std::error_code ec;
  for (auto it = std::filesystem::recursive_directory_iterator(dir, ec); !ec && it != decltype(it){}; it.increment(ec)) {
    n += it->is_regular_file();
  }
  return n;
}

}  // namespace velkor::testing
