// Loading BMP files into DIB sections, through FreeImage. The bitmap keeps the
// file's depth and colour table, so callers read back the file's own bits per
// pixel; FreeImage hands rows bottom-up whatever the file's order, and that is
// how the section stores them.
#include <FreeImage.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/Gdi.h"
#include "platform/Files.h"
#include "platform/FreeImageBitmap.h"
#include "platform/GdiObjects.h"
#include "platform/SystemError.h"

namespace velkor::gdi {

namespace {
HBITMAP SectionFrom(FIBITMAP* dib) {
  const unsigned bpp = FreeImage_GetBPP(dib);
  const unsigned width = FreeImage_GetWidth(dib);
  const unsigned height = FreeImage_GetHeight(dib);
  if (FreeImage_GetImageType(dib) != FIT_BITMAP || width == 0 || height == 0 || width > INT32_MAX ||
      height > INT32_MAX) {
    return nullptr;
  }
  std::vector<RGBQUAD> colors;
  if (bpp <= 8) {
    const ::RGBQUAD* palette = FreeImage_GetPalette(dib);
    const unsigned n = FreeImage_GetColorsUsed(dib);
    for (unsigned i = 0; palette && i < n && i < (1u << bpp); ++i) {
      colors.push_back(RGBQUAD{palette[i].rgbBlue, palette[i].rgbGreen, palette[i].rgbRed, 0});
    }
  }
  BITMAPINFOHEADER header;
  header.biWidth = static_cast<int32_t>(width);
  header.biHeight = static_cast<int32_t>(height);
  header.biBitCount = static_cast<uint16_t>(bpp);
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(nullptr, header, colors, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!section) return nullptr;
  if (bpp == 16) {
    section->masks[0] = FreeImage_GetRedMask(dib);
    section->masks[1] = FreeImage_GetGreenMask(dib);
    section->masks[2] = FreeImage_GetBlueMask(dib);
  }
  const unsigned pitch = FreeImage_GetPitch(dib);
  const size_t rowBytes = std::min<size_t>(pitch, static_cast<size_t>(section->stride()));
  for (unsigned y = 0; y < height; ++y) {
    // FreeImage's scan line 0 is the picture's bottom row, as is memory row 0 here.
    std::memcpy(section->bits() + static_cast<size_t>(y) * section->stride(), FreeImage_GetScanLine(dib, y),
                rowBytes);
  }
  return section;
}
// A file's header may claim any size, but the pixels must come from the file:
// run-length encoding, the densest a BMP gets, packs at most 255 one-byte
// pixels into two bytes. A bitmap over 128 times its file is refused before
// anything is allocated for it.
bool PlausibleSize(const char* name) {
  const auto length = platform::FileLength(name);
  if (!length) return false;
  const platform::FreeImageBitmap header(FreeImage_Load(FIF_BMP, name, FIF_LOAD_NOPIXELS));
  if (!header) return false;
  const uint64_t stride =
      ((static_cast<uint64_t>(FreeImage_GetWidth(header.get())) * FreeImage_GetBPP(header.get()) + 31) / 32) * 4;
  const uint64_t bytes = stride * FreeImage_GetHeight(header.get());
  return bytes <= 128 * static_cast<uint64_t>(*length) + 65536 && bytes <= testing::DibSectionByteLimit();
}

uint32_t Le(const uint8_t* p, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | p[i];
  return v;
}

// FreeImage decodes an uncompressed file whose pixel data ends early without
// an error, with the missing rows black: a frame cut short in a copy would
// go into the icon as a black block. Such a file needs at least its pixel
// offset plus one padded row per picture row; shorter, it is unreadable.
// Compressed files have no fixed length and are left to the decoder.
bool PixelDataComplete(const char* name, uint64_t length) {
  uint8_t h[34] = {};
  FILE* file = std::fopen(name, "rb");
  if (!file) return false;
  const size_t read = std::fread(h, 1, sizeof h, file);
  std::fclose(file);
  if (read < 26) return true;  // too short for a header: the decoder refuses it
  const uint32_t headerSize = Le(h + 14, 4);
  uint64_t width = 0, height = 0, bpp = 0;
  uint32_t compression = 0;
  if (headerSize == 12) {  // the OS/2 header: 16-bit sizes, never compressed
    width = Le(h + 18, 2);
    height = Le(h + 20, 2);
    bpp = Le(h + 24, 2);
  } else {
    if (read < 34) return true;
    width = static_cast<uint64_t>(std::abs(static_cast<int64_t>(static_cast<int32_t>(Le(h + 18, 4)))));
    height = static_cast<uint64_t>(std::abs(static_cast<int64_t>(static_cast<int32_t>(Le(h + 22, 4)))));
    bpp = Le(h + 28, 2);
    compression = Le(h + 30, 4);
  }
  constexpr uint32_t kRgb = 0, kBitFields = 3, kAlphaBitFields = 6;
  if (compression != kRgb && compression != kBitFields && compression != kAlphaBitFields) return true;
  if (bpp == 0 || bpp > 32) return true;  // no such BMP depth: the decoder refuses it
  // An offset inside the headers is one the decoder does not trust either.
  const uint64_t offset = std::max<uint64_t>(Le(h + 10, 4), 14 + uint64_t{headerSize});
  const uint64_t stride = (width * bpp + 31) / 32 * 4;
  return length >= offset + stride * height;
}
}  // namespace

HBITMAP LoadImageA(void*, const char* name, uint32_t type, int, int, uint32_t flags) {
  if (!name || type != IMAGE_BITMAP || !(flags & LR_LOADFROMFILE)) {
    platform::SetLastError(EINVAL);
    return nullptr;
  }
  if (FreeImage_GetFileType(name, 0) != FIF_BMP) {
    platform::SetLastError(EINVAL);
    return nullptr;
  }
  if (!PlausibleSize(name)) {
    platform::SetLastError(EFBIG);
    return nullptr;
  }
  const auto length = platform::FileLength(name);
  if (!length || !PixelDataComplete(name, static_cast<uint64_t>(*length))) {
    platform::SetLastError(EINVAL);
    return nullptr;
  }
  const platform::FreeImageBitmap loaded(FreeImage_Load(FIF_BMP, name, 0));
  if (!loaded) {
    platform::SetLastError(EINVAL);
    return nullptr;
  }
  return SectionFrom(loaded.get());
}

}  // namespace velkor::gdi
