#include "render/BmpOutput.h"

#include <FreeImage.h>

#include <cstring>
#include <memory>

#include "platform/Files.h"

namespace velkor::render {

namespace {

struct BitmapDeleter {
  void operator()(FIBITMAP* b) const { FreeImage_Unload(b); }
};
struct MemoryDeleter {
  void operator()(FIMEMORY* m) const { FreeImage_CloseMemory(m); }
};

std::unique_ptr<FIBITMAP, BitmapDeleter> ToBitmap(const FrameImage& frame) {
  std::unique_ptr<FIBITMAP, BitmapDeleter> bmp(FreeImage_Allocate(frame.size, frame.size, 24));
  if (!bmp) return bmp;
  for (int y = 0; y < frame.size; ++y) {
    BYTE* row = FreeImage_GetScanLine(bmp.get(), frame.size - 1 - y);
    const uint8_t* src = &frame.rgb[static_cast<size_t>(y) * frame.size * 3];
    for (int x = 0; x < frame.size; ++x) {
      row[3 * x + FI_RGBA_RED] = src[3 * x];
      row[3 * x + FI_RGBA_GREEN] = src[3 * x + 1];
      row[3 * x + FI_RGBA_BLUE] = src[3 * x + 2];
    }
  }
  return bmp;
}

}  // namespace

bool WriteFrameBmp(const FrameImage& frame, const std::string& path, std::string& error) {
  const auto bmp = ToBitmap(frame);
  std::unique_ptr<FIMEMORY, MemoryDeleter> memory(FreeImage_OpenMemory());
  BYTE* data = nullptr;
  DWORD size = 0;
  if (!bmp || !memory || !FreeImage_SaveToMemory(FIF_BMP, bmp.get(), memory.get(), BMP_DEFAULT) ||
      !FreeImage_AcquireMemory(memory.get(), &data, &size)) {
    error = "cannot encode frame " + path + " as a BMP";
    return false;
  }
  platform::SafeFileWriter writer;
  if (!writer.Open(path) || !writer.Write(data, size) || !writer.Commit()) {
    error = "cannot write frame " + path + ": " + std::strerror(writer.Error());
    return false;
  }
  return true;
}

}  // namespace velkor::render
