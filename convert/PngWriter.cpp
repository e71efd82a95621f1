#include "convert/PngWriter.h"

#include <FreeImage.h>

#include <memory>

#include "platform/FreeImageBitmap.h"

namespace velkor {

namespace {

struct MemoryClose {
  void operator()(FIMEMORY* memory) const { FreeImage_CloseMemory(memory); }
};

}  // namespace

std::vector<uint8_t> EncodePng(const cAlphaDibSection& image) {
  if (image.Empty()) return {};
  const platform::FreeImageBitmap bitmap(FreeImage_ConvertFromRawBits(
      image.DIBSectionBitsPtr(), image.Width(), image.Height(), image.BytesPerScanLine(), 32, FI_RGBA_RED_MASK,
      FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK, FALSE));
  if (!bitmap) return {};
  // As loaded from our BMP files, which record no resolution.
  FreeImage_SetDotsPerMeterX(bitmap.get(), 0);
  FreeImage_SetDotsPerMeterY(bitmap.get(), 0);
  const std::unique_ptr<FIMEMORY, MemoryClose> stream(FreeImage_OpenMemory());
  if (!stream || !FreeImage_SaveToMemory(FIF_PNG, bitmap.get(), stream.get(), PNG_DEFAULT)) return {};
  BYTE* data = nullptr;
  DWORD size = 0;
  if (!FreeImage_AcquireMemory(stream.get(), &data, &size)) return {};
  return std::vector<uint8_t>(data, data + size);
}

}  // namespace velkor
