#pragma once
// Pictures of keyed edges for a person to judge: parts of keyed rasters laid
// side by side over a map-like background, each pixel enlarged to a block.
#include <FreeImage.h>

#include <cstdint>
#include <string>
#include <vector>

namespace velkor::edges {

// A region of a B, G, R, A raster (premultiplied, rows bottom-up in memory).
struct KeyedView {
  const uint8_t* bits;
  int32_t width, height;
  int32_t left, top, cropWidth, cropHeight;  // picture coordinates, top row 0
};

// Pale land, a road with a darker verge and a strip of water: the colours a
// vehicle icon is drawn over on a device.
inline void MapColour(int32_t x, int32_t y, uint8_t rgb[3]) {
  const int32_t road = (x + 2 * y) % 40;
  const bool water = (3 * x + y) % 97 < 14;
  const uint8_t land[3] = {238, 234, 222}, verge[3] = {180, 180, 176}, tarmac[3] = {255, 255, 255},
                sea[3] = {160, 200, 240};
  const uint8_t* c = water ? sea : road < 2 || (road > 10 && road < 13) ? verge : road < 11 ? tarmac : land;
  for (int i = 0; i < 3; ++i) rgb[i] = c[i];
}

// Writes the views side by side (a gap between them) as a PNG, every pixel a
// `zoom` x `zoom` block, each keyed pixel painted over the map.
inline bool SaveSideBySide(const std::vector<KeyedView>& views, int zoom, const std::string& path) {
  constexpr int kGap = 4;
  int width = 0, height = 0;
  for (const KeyedView& v : views) width += v.cropWidth * zoom + kGap, height = std::max(height, v.cropHeight * zoom);
  FIBITMAP* bitmap = FreeImage_Allocate(width, height, 24);
  if (!bitmap) return false;
  int offset = 0;
  for (const KeyedView& v : views) {
    for (int y = 0; y < v.cropHeight * zoom; ++y) {
      BYTE* line = FreeImage_GetScanLine(bitmap, height - 1 - y) + 3 * offset;
      for (int x = 0; x < v.cropWidth * zoom; ++x, line += 3) {
        const int32_t px = v.left + x / zoom, memoryRow = v.height - 1 - (v.top + y / zoom);
        const uint8_t* p = v.bits + 4 * (static_cast<int64_t>(memoryRow) * v.width + px);
        uint8_t map[3];
        MapColour(x / zoom, y / zoom, map);
        const auto over = [&](int channel, int mapChannel) {
          return static_cast<BYTE>(std::min(255, p[channel] + (255 - p[3]) * map[mapChannel] / 255));
        };
        line[FI_RGBA_RED] = over(2, 0), line[FI_RGBA_GREEN] = over(1, 1), line[FI_RGBA_BLUE] = over(0, 2);
      }
    }
    offset += v.cropWidth * zoom + kGap;
  }
  const bool saved = FreeImage_Save(FIF_PNG, bitmap, path.c_str(), 0) != 0;
  FreeImage_Unload(bitmap);
  return saved;
}

}  // namespace velkor::edges
