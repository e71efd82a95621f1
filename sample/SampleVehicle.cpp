#include "sample/SampleVehicle.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <numbers>
#include <system_error>

#include "sample/CarModel.h"
#include "sample/Rasterizer.h"

namespace velkor::sample {

namespace {

constexpr int kSamplesPerAxis = 4;
// The body, bumper to bumper, spans this share of the frame at its longest.
constexpr float kFill = 0.66f;
constexpr float kObliqueElevationDegrees = 45.0f;
constexpr float kAmbient = 0.50f, kDiffuse = 0.58f;

float Radians(float degrees) { return degrees * std::numbers::pi_v<float> / 180.0f; }
float Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// World frame: x east (right), y north (up the map), z up. The light sits
// high, a little left of and behind the viewer.
Vec3 LightDirection() {
  const Vec3 l{-0.45f, -0.35f, 0.82f};
  const float len = std::sqrt(Dot(l, l));
  return {l.x / len, l.y / len, l.z / len};
}

// Turns the car clockwise (seen from above) and projects it orthographically.
class Camera {
 public:
  Camera(View view, int size, int headingDegrees) {
    const float heading = Radians(static_cast<float>(((headingDegrees % 360) + 360) % 360));
    cosH_ = std::cos(heading);
    sinH_ = std::sin(heading);
    const float elevation = Radians(view == View::Top2D ? 90.0f : kObliqueElevationDegrees);
    up_ = {0, std::sin(elevation), std::cos(elevation)};
    forward_ = {0, std::cos(elevation), -std::sin(elevation)};
    pivotZ_ = view == View::Top2D ? 0.0f : kCarHeight / 2;
    scale_ = kFill * static_cast<float>(size) / kCarLength;
    centre_ = static_cast<float>(size) / 2;
  }

  Vec3 Turn(Vec3 v) const { return {v.x * cosH_ + v.y * sinH_, -v.x * sinH_ + v.y * cosH_, v.z}; }
  bool Faces(Vec3 worldNormal) const { return Dot(worldNormal, forward_) < 0; }

  ScreenPoint Project(Vec3 model) const {
    Vec3 p = Turn(model);
    p.z -= pivotZ_;
    return {centre_ + scale_ * p.x, centre_ - scale_ * Dot(p, up_), Dot(p, forward_)};
  }

 private:
  float cosH_ = 1, sinH_ = 0, pivotZ_ = 0, scale_ = 1, centre_ = 0;
  Vec3 up_, forward_;
};

uint8_t Scale(uint8_t c, float f) {
  return static_cast<uint8_t>(std::clamp(std::lround(c * f), 0L, 255L));
}

Rgb Shade(const Face& face, Vec3 worldNormal) {
  if (face.glows) return face.colour;
  static const Vec3 light = LightDirection();
  const float f = kAmbient + kDiffuse * std::max(0.0f, Dot(worldNormal, light));
  return {Scale(face.colour.r, f), Scale(face.colour.g, f), Scale(face.colour.b, f)};
}

// The faces the camera sees, projected and shaded, ready to rasterize.
struct ScreenFace {
  std::vector<ScreenPoint> points;
  Rgb colour;
};

std::vector<ScreenFace> ProjectModel(const Camera& camera, bool lightsOn) {
  std::vector<ScreenFace> visible;
  for (const Face& face : BuildCarModel(lightsOn)) {
    const Vec3 normal = camera.Turn(face.normal);
    if (!camera.Faces(normal)) continue;
    ScreenFace projected{{}, Shade(face, normal)};
    for (const Vec3& p : face.points) projected.points.push_back(camera.Project(p));
    visible.push_back(std::move(projected));
  }
  return visible;
}

// The whole pixels touched by the faces, one pixel of margin, within the frame.
struct PixelBox {
  int x0, y0, x1, y1;  // inclusive
};

PixelBox Bounds(const std::vector<ScreenFace>& faces, int size) {
  float lx = static_cast<float>(size), ly = lx, hx = 0, hy = 0;
  for (const ScreenFace& face : faces) {
    for (const ScreenPoint& p : face.points) {
      lx = std::min(lx, p.x);
      ly = std::min(ly, p.y);
      hx = std::max(hx, p.x);
      hy = std::max(hy, p.y);
    }
  }
  auto clampPixel = [size](float v) { return std::clamp(static_cast<int>(std::floor(v)), 0, size - 1); };
  return {clampPixel(lx - 1), clampPixel(ly - 1), clampPixel(hx + 1), clampPixel(hy + 1)};
}

// Rasterizes only the box around the car; the rest of the frame is key colour.
RgbImage Rasterize(const std::vector<ScreenFace>& faces, int size) {
  RgbImage frame = MakeImage(size, size, kKeyColour);
  if (faces.empty()) return frame;
  const PixelBox box = Bounds(faces, size);
  const float ox = static_cast<float>(box.x0), oy = static_cast<float>(box.y0);
  SampleCanvas canvas(box.x1 - box.x0 + 1, box.y1 - box.y0 + 1, kSamplesPerAxis, kKeyColour);
  for (const ScreenFace& face : faces) {
    auto local = [&](const ScreenPoint& p) { return ScreenPoint{p.x - ox, p.y - oy, p.depth}; };
    for (size_t i = 2; i < face.points.size(); ++i) {
      canvas.FillTriangle(local(face.points[0]), local(face.points[i - 1]), local(face.points[i]), face.colour);
    }
  }
  const RgbImage part = canvas.Resolve();
  for (int y = 0; y < part.height; ++y) {
    std::copy_n(part.rgb.begin() + static_cast<ptrdiff_t>(y) * part.width * 3, part.width * 3,
                frame.rgb.begin() + (static_cast<ptrdiff_t>(y + box.y0) * size + box.x0) * 3);
  }
  return frame;
}

struct FrameSet {
  const char* folder;
  View view;
  int size;
  bool lightsOn;
};

constexpr FrameSet kFrameSets[] = {
    {"Rotation", View::Oblique3D, 400, false},
    {"Rotation/Top", View::Top2D, 350, false},
    {"Animated/Rotation", View::Oblique3D, 450, false},
    {"Animated/Rotation/Top", View::Top2D, 400, false},
    {"Animated/Animation", View::Oblique3D, 450, true},
    {"Animated/Animation/Top", View::Top2D, 400, true},
};

bool MakeFolder(const std::string& path, std::string& error) {
  std::error_code ec;
  std::filesystem::create_directories(path, ec);
  if (ec || !std::filesystem::is_directory(path, ec)) {
    error = "cannot create folder " + path + (ec ? ": " + ec.message() : std::string());
    return false;
  }
  return true;
}

std::string FrameName(int index) {
  char number[16];
  std::snprintf(number, sizeof number, "%04d", index);
  return std::string(kSamplePrefix) + number + ".bmp";
}

bool WriteFrameSet(const std::string& dir, const FrameSet& set, std::string& error) {
  const std::string folder = dir + "/" + set.folder;
  if (!MakeFolder(folder, error)) return false;
  for (int i = 0; i < kSampleFrameCount; ++i) {
    const RgbImage frame = RenderVehicle(set.view, set.size, i * kSampleHeadingStep, set.lightsOn);
    if (!SaveBmp24(frame, folder + "/" + FrameName(i), error)) return false;
  }
  return true;
}

}  // namespace

RgbImage RenderVehicle(View view, int size, int headingDegrees, bool lightsOn) {
  if (size < 1) return {};
  return Rasterize(ProjectModel(Camera(view, size, headingDegrees), lightsOn), size);
}

bool WriteSampleFrames(const std::string& dir, std::string& error) {
  for (const FrameSet& set : kFrameSets) {
    if (!WriteFrameSet(dir, set, error)) return false;
  }
  return true;
}

}  // namespace velkor::sample
