#pragma once
// Vehicle-like frames with a known truth: a body, a cabin and a roof (rotated
// rectangles and ellipses in three colours), perhaps trim and a see-through
// window, over the key colour, every pixel the exact mix of what covers it,
// found by supersampling. The coverage of the whole vehicle is the true alpha
// the keying rules are scored against, and its colour over black the true
// colour.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace velkor::edges {

struct Colour {
  float r = 0, g = 0, b = 0;
};

// A colour of the window's form, 0x00BBGGRR.
inline Colour FromBgrWord(uint32_t bgr) {
  return Colour{float(bgr & 0xFF), float(bgr >> 8 & 0xFF), float(bgr >> 16 & 0xFF)};
}

struct Part {
  bool ellipse;
  float along, across;          // centre, in units of the frame edge, from the frame centre
  float halfLength, halfWidth;  // in units of the frame edge
  Colour colour;
  bool hole = false;  // the key shows through it
};

// Body, cabin and roof of the colours given.
inline std::vector<Part> VehicleParts(Colour body, Colour cabin, Colour roof) {
  return {{false, 0.0f, 0.0f, 0.40f, 0.17f, body},
          {true, -0.04f, 0.0f, 0.19f, 0.13f, cabin},
          {true, -0.04f, 0.0f, 0.10f, 0.08f, roof}};
}

// Body, cabin (darker) and roof (lighter) of one body colour.
inline std::vector<Part> VehicleParts(Colour body) {
  const auto scale = [&body](float k, float add) {
    return Colour{std::min(255.f, body.r * k + add), std::min(255.f, body.g * k + add),
                  std::min(255.f, body.b * k + add)};
  };
  return VehicleParts(body, scale(0.45f, 0), scale(0.8f, 40));
}

// A stripe of trim along each side of the body, two to three device pixels in
// from its edge.
inline void AddTrim(std::vector<Part>& parts, Colour trim) {
  for (const float side : {-0.12f, 0.12f}) parts.insert(parts.begin() + 1, {false, 0.0f, side, 0.38f, 0.015f, trim});
}

// An opening behind the cabin through which the key is seen.
inline void AddWindow(std::vector<Part>& parts) { parts.push_back({false, 0.26f, 0.0f, 0.06f, 0.08f, {}, true}); }

// One frame: R, G, B rows top-down (as sample::RgbImage), the true alpha and
// the vehicle alone over black (its colour premultiplied by its coverage).
struct Frame {
  int edge = 0;
  std::vector<uint8_t> rgb, alpha, vehicle;
};

// The part on top at (x, y) (frame-edge units, from the centre, already turned
// into the vehicle's own axes), or -1 for the key.
inline int TopPart(const std::vector<Part>& parts, float along, float across) {
  for (int i = static_cast<int>(parts.size()) - 1; i >= 0; --i) {
    const Part& p = parts[static_cast<size_t>(i)];
    const float u = (along - p.along) / p.halfLength, v = (across - p.across) / p.halfWidth;
    if (p.ellipse ? u * u + v * v <= 1 : std::abs(u) <= 1 && std::abs(v) <= 1) return i;
  }
  return -1;
}

// The vehicle of `parts` turned by `degrees`, on `key`; pixels that the
// vehicle's edges cross are supersampled `samples` x `samples` times.
inline Frame RenderFrame(int edge, float degrees, const std::vector<Part>& parts, Colour key, int samples = 8) {
  const float turn = degrees * 3.14159265f / 180.0f, c = std::cos(turn), s = std::sin(turn);
  const auto top = [&](float px, float py) {  // px, py in pixels
    const float x = px / edge - 0.5f, y = py / edge - 0.5f;
    return TopPart(parts, c * x + s * y, -s * x + c * y);
  };
  Frame f{edge, std::vector<uint8_t>(static_cast<size_t>(edge) * edge * 3),
          std::vector<uint8_t>(static_cast<size_t>(edge) * edge),
          std::vector<uint8_t>(static_cast<size_t>(edge) * edge * 3)};
  for (int y = 0; y < edge; ++y) {
    for (int x = 0; x < edge; ++x) {
      const int corner = top(float(x), float(y));
      const bool plain = corner == top(x + 1.f, float(y)) && corner == top(float(x), y + 1.f) &&
                         corner == top(x + 1.f, y + 1.f) && corner == top(x + .5f, y + .5f);
      const int n = plain ? 1 : samples;
      Colour mix, own;  // over the key, over black
      float covered = 0;
      for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
          const int part = plain ? corner : top(x + (i + .5f) / n, y + (j + .5f) / n);
          const bool vehicle = part >= 0 && !parts[static_cast<size_t>(part)].hole;
          const Colour& col = vehicle ? parts[static_cast<size_t>(part)].colour : key;
          mix.r += col.r, mix.g += col.g, mix.b += col.b, covered += vehicle;
          if (vehicle) own.r += col.r, own.g += col.g, own.b += col.b;
        }
      }
      const size_t at = static_cast<size_t>(y) * edge + x;
      const float all = float(n * n);
      const auto put = [all, at](std::vector<uint8_t>& to, const Colour& sum) {
        to[3 * at] = static_cast<uint8_t>(std::nearbyint(sum.r / all));
        to[3 * at + 1] = static_cast<uint8_t>(std::nearbyint(sum.g / all));
        to[3 * at + 2] = static_cast<uint8_t>(std::nearbyint(sum.b / all));
      };
      put(f.rgb, mix);
      put(f.vehicle, own);
      f.alpha[at] = static_cast<uint8_t>(std::nearbyint(255 * covered / all));
    }
  }
  return f;
}

// The plain vehicle of one body colour.
inline Frame RenderFrame(int edge, float degrees, Colour body, Colour key, int samples = 8) {
  return RenderFrame(edge, degrees, VehicleParts(body), key, samples);
}

}  // namespace velkor::edges
