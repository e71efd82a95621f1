#include "convert/PngWriter.h"

#include <FreeImage.h>

#include "platform/FreeImageBitmap.h"

namespace velkor {

std::vector<uint8_t> EncodePng(const cAlphaDibSection& image) {
  if (image.Empty()) return {};
  const platform::FreeImageBitmap bitmap(FreeImage_ConvertFromRawBits(
      image.DIBSectionBitsPtr(), image.Width(), image.Height(), image.BytesPerScanLine(), 32, FI_RGBA_RED_MASK,
      FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK, FALSE));
  if (!bitmap) return {};
  // As loaded from our BMP files, which record no resolution.
  FreeImage_SetDotsPerMeterX(bitmap.get(), 0);
  FreeImage_SetDotsPerMeterY(bitmap.get(), 0);
  return platform::EncodeImage(FIF_PNG, bitmap.get(), PNG_DEFAULT);
}

}  // namespace velkor
