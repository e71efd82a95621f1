#include "sample/AppIcon.h"
#include "platform/FreeImageBitmap.h"

#include <FreeImage.h>

#include <algorithm>
#include <array>
#include <cmath>

namespace velkor::sample {

namespace {

constexpr int kSamples = 4;  // per axis: edges come out anti-aliased

struct Pt {
  double x, y;
};
struct Colour {
  double r, g, b;
};

// Shapes in a unit square, y down.
bool InRoundedSquare(Pt p) {
  constexpr double kInset = 0.04, kRadius = 0.2;
  const double lo = kInset + kRadius, hi = 1 - kInset - kRadius;
  const double dx = p.x - std::clamp(p.x, lo, hi), dy = p.y - std::clamp(p.y, lo, hi);
  return p.x >= kInset && p.x <= 1 - kInset && p.y >= kInset && p.y <= 1 - kInset &&
         dx * dx + dy * dy <= kRadius * kRadius;
}

bool InRing(Pt p) {
  const double r = std::hypot(p.x - 0.5, p.y - 0.52);
  return r >= 0.33 && r <= 0.385;
}

bool InArrow(Pt p) {
  static constexpr std::array<Pt, 4> kArrow = {{{0.5, 0.15}, {0.77, 0.8}, {0.5, 0.65}, {0.23, 0.8}}};
  bool inside = false;
  for (size_t i = 0, j = kArrow.size() - 1; i < kArrow.size(); j = i++) {
    const Pt a = kArrow[i], b = kArrow[j];
    if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) inside = !inside;
  }
  return inside;
}

// The colour of one sample and whether anything covers it.
bool Sample(Pt p, Colour& c) {
  if (!InRoundedSquare(p)) return false;
  c = {28 + 40 * p.y, 92 + 50 * p.y, 168 + 40 * p.y};  // darker at the top
  if (InRing(p)) c = {250, 170, 40};
  if (InArrow(p)) c = {255, 255, 255};
  return true;
}

}  // namespace

RgbaImage RenderAppIcon(int size) {
  RgbaImage icon{size, size, std::vector<uint8_t>(static_cast<size_t>(size) * size * 4)};
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      Colour sum{0, 0, 0};
      int covered = 0;
      for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
          Colour c{};
          const Pt p{(x + (sx + 0.5) / kSamples) / size, (y + (sy + 0.5) / kSamples) / size};
          if (!Sample(p, c)) continue;
          sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b};
          ++covered;
        }
      }
      uint8_t* out = &icon.rgba[(static_cast<size_t>(y) * size + x) * 4];
      if (covered == 0) continue;
      out[0] = static_cast<uint8_t>(std::lround(sum.r / covered));
      out[1] = static_cast<uint8_t>(std::lround(sum.g / covered));
      out[2] = static_cast<uint8_t>(std::lround(sum.b / covered));
      out[3] = static_cast<uint8_t>(std::lround(255.0 * covered / (kSamples * kSamples)));
    }
  }
  return icon;
}

bool WriteAppIcon(const std::string& path, int size, std::string& error) {
  const RgbaImage icon = RenderAppIcon(size);
  const platform::FreeImageBitmap owner(FreeImage_Allocate(size, size, 32));
  FIBITMAP* bitmap = owner.get();
  if (!bitmap) {
    error = "not enough memory for the icon " + path;
    return false;
  }
  for (int y = 0; y < size; ++y) {
    BYTE* row = FreeImage_GetScanLine(bitmap, size - 1 - y);
    const uint8_t* in = &icon.rgba[static_cast<size_t>(y) * size * 4];
    for (int x = 0; x < size; ++x, in += 4, row += 4) {
      row[FI_RGBA_RED] = in[0];
      row[FI_RGBA_GREEN] = in[1];
      row[FI_RGBA_BLUE] = in[2];
      row[FI_RGBA_ALPHA] = in[3];
    }
  }
  const bool saved = FreeImage_Save(FIF_PNG, bitmap, path.c_str(), PNG_DEFAULT) != 0;
  if (!saved) error = "cannot write the icon " + path;
  return saved;
}

}  // namespace velkor::sample
