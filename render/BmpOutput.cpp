#include "render/BmpOutput.h"

#include <FreeImage.h>

#include <cstring>
#include "platform/Files.h"
#include "platform/FreeImageBitmap.h"

namespace velkor::render {

namespace {

platform::FreeImageBitmap ToBitmap(const FrameImage& frame) {
  platform::FreeImageBitmap bmp(FreeImage_Allocate(frame.size, frame.size, 24));
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
  const std::vector<uint8_t> bytes = platform::EncodeImage(FIF_BMP, ToBitmap(frame).get(), BMP_DEFAULT);
  if (bytes.empty()) {
    error = "cannot encode frame " + path + " as a BMP";
    return false;
  }
  if (const int failure = platform::WriteWholeFile(path, bytes.data(), bytes.size()); failure != 0) {
    error = "cannot write frame " + path + ": " + std::strerror(failure);
    return false;
  }
  return true;
}

}  // namespace velkor::render
