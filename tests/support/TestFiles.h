#pragma once
// Scratch folders and small image files made by the tests themselves.
#include <cstdint>
#include <string>
#include <vector>

namespace velkor::testing {

// A fresh empty folder, removed with everything in it when the object goes.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// The folder where tests leave files for a person to look at (screenshots,
// PNGs of results): $VELKOR_TEST_OUTPUT, or test-output in the working folder.
std::string TestOutputDir();

// The source tree, for files committed beside the tests: $VELKOR_SOURCE_DIR,
// set by CTest (kept out of the compile so that builds of other checkouts
// share their objects), or the checkout around a build folder.
std::string SourceDir();

std::vector<uint8_t> ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);
bool PathExists(const std::string& path);
// The names in a folder, hidden ones included, sorted; with `deep`, every
// path below it.
std::vector<std::string> FolderEntries(const std::string& folder, bool deep = false);

// Writes a BMP through FreeImage at the given depth (1, 4, 8, 16, 24 or 32).
// `pixel(x, y)` gives 0x00RRGGBB (or 0xAARRGGBB for 32 bits) for picture
// row y counted from the top; for palette depths the colours are put into
// the palette in order of first use (at most 2^bpp distinct colours).
template <typename F>
bool WriteTestBmp(const std::string& path, int width, int height, int bpp, F pixel);
// A BMP file through FreeImage: its size, depth and R, G, B from the top row
// down; all zero when it cannot be read.
struct BmpRgb {
  int width = 0, height = 0, bpp = 0;
  std::vector<uint8_t> rgb;
};
BmpRgb ReadBmpRgb(const std::string& path);

bool WriteTestBmpFromPixels(const std::string& path, int width, int height, int bpp,
                            const std::vector<uint32_t>& topDownPixels);

template <typename F>
bool WriteTestBmp(const std::string& path, int width, int height, int bpp, F pixel) {
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) pixels[static_cast<size_t>(y) * width + x] = pixel(x, y);
  return WriteTestBmpFromPixels(path, width, height, bpp, pixels);
}

}  // namespace velkor::testing
