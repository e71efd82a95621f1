#include "support/TestFiles.h"

#include <FreeImage.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>

#include "platform/FreeImageBitmap.h"

namespace velkor::testing {

ScratchDir::ScratchDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "velkor-test-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a scratch folder");
  path_ = pattern;
}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  // Read-only folders made by a test must be writable again to be removed.
  for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    if (it->is_directory(ec)) ::chmod(it->path().c_str(), 0755);
  }
  ::chmod(path_.c_str(), 0755);
  std::filesystem::remove_all(path_, ec);
}

std::string TestOutputDir() {
  const char* env = std::getenv("VELKOR_TEST_OUTPUT");
  std::string dir = env && *env ? env : "test-output";
  std::filesystem::create_directories(dir);
  return std::filesystem::absolute(dir).string();
}

std::string SourceDir() {
  const char* env = std::getenv("VELKOR_SOURCE_DIR");
  if (env && *env) return env;
  // Run by hand from a build folder inside the checkout.
  return std::filesystem::exists("../tests/golden") ? ".." : ".";
}

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

bool PathExists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::exists(path, ec);
}

std::vector<std::string> FolderEntries(const std::string& folder, bool deep) {
  namespace fs = std::filesystem;
  std::vector<std::string> names;
  const auto add = [&](const fs::directory_entry& e) { names.push_back(e.path().lexically_relative(folder).string()); };
  if (deep) {
    for (const auto& e : fs::recursive_directory_iterator(folder)) add(e);
  } else {
    for (const auto& e : fs::directory_iterator(folder)) add(e);
  }
  std::sort(names.begin(), names.end());
  return names;
}

BmpRgb ReadBmpRgb(const std::string& path) {
  const platform::FreeImageBitmap bitmap(FreeImage_Load(FIF_BMP, path.c_str(), 0));
  if (!bitmap) return {};
  FIBITMAP* b = bitmap.get();
  BmpRgb picture{int(FreeImage_GetWidth(b)), int(FreeImage_GetHeight(b)), int(FreeImage_GetBPP(b)), {}};
  RGBQUAD q;
  for (int y = picture.height - 1; y >= 0; --y)  // FreeImage rows are bottom-up
    for (int x = 0; x < picture.width && FreeImage_GetPixelColor(b, x, y, &q); ++x)
      picture.rgb.insert(picture.rgb.end(), {q.rgbRed, q.rgbGreen, q.rgbBlue});
  return picture;
}

bool WriteTestBmpFromPixels(const std::string& path, int width, int height, int bpp,
                            const std::vector<uint32_t>& pixels) {
  FIBITMAP* dib = bpp == 16 ? FreeImage_AllocateT(FIT_BITMAP, width, height, 16, FI16_555_RED_MASK, FI16_555_GREEN_MASK,
                                                  FI16_555_BLUE_MASK)
                            : FreeImage_Allocate(width, height, bpp);
  if (!dib) return false;
  std::map<uint32_t, unsigned> indices;
  RGBQUAD* palette = bpp <= 8 ? FreeImage_GetPalette(dib) : nullptr;
  for (int y = 0; y < height; ++y) {
    BYTE* line = FreeImage_GetScanLine(dib, height - 1 - y);  // FreeImage rows are bottom-up
    for (int x = 0; x < width; ++x) {
      const uint32_t p = pixels[static_cast<size_t>(y) * width + x];
      const BYTE r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF, a = (p >> 24) & 0xFF;
      if (bpp <= 8) {
        auto [it, added] = indices.try_emplace(p & 0xFFFFFF, static_cast<unsigned>(indices.size()));
        if (it->second >= (1u << bpp)) {
          FreeImage_Unload(dib);
          return false;
        }
        if (added) palette[it->second] = RGBQUAD{b, g, r, 0};
        BYTE index = static_cast<BYTE>(it->second);
        FreeImage_SetPixelIndex(dib, x, height - 1 - y, &index);
      } else if (bpp == 16) {
        const uint16_t v = static_cast<uint16_t>(((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3));
        line[2 * x] = static_cast<BYTE>(v);
        line[2 * x + 1] = static_cast<BYTE>(v >> 8);
      } else {
        const int step = bpp / 8;
        line[step * x + FI_RGBA_BLUE] = b;
        line[step * x + FI_RGBA_GREEN] = g;
        line[step * x + FI_RGBA_RED] = r;
        if (bpp == 32) line[step * x + FI_RGBA_ALPHA] = a;
      }
    }
  }
  const bool ok = FreeImage_Save(FIF_BMP, dib, path.c_str(), 0) != 0;
  FreeImage_Unload(dib);
  return ok;
}

}  // namespace velkor::testing
