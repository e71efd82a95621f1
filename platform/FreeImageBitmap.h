#pragma once
// The one owner of a FreeImage bitmap and of a FreeImage memory stream:
// released however their holder's scope ends. And the one way a bitmap is
// encoded into bytes in memory (files are then written beside their target
// and renamed, never half-written in place).
#include <FreeImage.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace velkor::platform {

struct FreeImageUnload {
  void operator()(FIBITMAP* bitmap) const { FreeImage_Unload(bitmap); }
};
using FreeImageBitmap = std::unique_ptr<FIBITMAP, FreeImageUnload>;

struct FreeImageCloseMemory {
  void operator()(FIMEMORY* memory) const { FreeImage_CloseMemory(memory); }
};
using FreeImageMemory = std::unique_ptr<FIMEMORY, FreeImageCloseMemory>;

// `bitmap` encoded as `format`; empty when there is no bitmap or FreeImage
// cannot encode it.
inline std::vector<uint8_t> EncodeImage(FREE_IMAGE_FORMAT format, FIBITMAP* bitmap, int flags) {
  const FreeImageMemory memory(FreeImage_OpenMemory());
  BYTE* data = nullptr;
  DWORD size = 0;
  if (!bitmap || !memory || !FreeImage_SaveToMemory(format, bitmap, memory.get(), flags) ||
      !FreeImage_AcquireMemory(memory.get(), &data, &size)) {
    return {};
  }
  return std::vector<uint8_t>(data, data + size);
}

}  // namespace velkor::platform
