// The image codec of the desktop build: FreeImage. A BMP keeps the file's
// depth and colour table in its section; FreeImage hands rows bottom-up
// whatever the file's order, and that is how sections and rasters store them.
#include <FreeImage.h>

#include <algorithm>
#include <cstring>

#include "platform/FreeImageBitmap.h"
#include "platform/Gdi.h"
#include "platform/GdiObjects.h"
#include "platform/ImageCodec.h"

namespace velkor::platform {

namespace {

using gdi::HBITMAP;

FreeImageBitmap LoadBmp(const ImageSource& source, int flags) {
  if (!source.data) return FreeImageBitmap(LoadFromStream(FIF_BMP, source.stream, flags));
  const FreeImageMemory memory(FreeImage_OpenMemory(const_cast<BYTE*>(source.data), static_cast<DWORD>(source.size)));
  if (!memory) return nullptr;
  return FreeImageBitmap(FreeImage_LoadFromMemory(FIF_BMP, memory.get(), flags));
}

ImageHeader HeaderOf(FIBITMAP* bitmap) {
  return {FreeImage_GetWidth(bitmap), FreeImage_GetHeight(bitmap), FreeImage_GetBPP(bitmap)};
}

HBITMAP SectionFrom(FIBITMAP* dib) {
  const unsigned bpp = FreeImage_GetBPP(dib);
  const unsigned width = FreeImage_GetWidth(dib);
  const unsigned height = FreeImage_GetHeight(dib);
  if (FreeImage_GetImageType(dib) != FIT_BITMAP || width == 0 || height == 0 || width > INT32_MAX ||
      height > INT32_MAX) {
    return nullptr;
  }
  std::vector<gdi::RGBQUAD> colors;
  if (bpp <= 8) {
    const ::RGBQUAD* palette = FreeImage_GetPalette(dib);
    const unsigned n = FreeImage_GetColorsUsed(dib);
    for (unsigned i = 0; palette && i < n && i < (1u << bpp); ++i) {
      colors.push_back(gdi::RGBQUAD{palette[i].rgbBlue, palette[i].rgbGreen, palette[i].rgbRed, 0});
    }
  }
  gdi::BITMAPINFOHEADER header;
  header.biWidth = static_cast<int32_t>(width);
  header.biHeight = static_cast<int32_t>(height);
  header.biBitCount = static_cast<uint16_t>(bpp);
  void* bits = nullptr;
  HBITMAP section = gdi::CreateDIBSection(nullptr, header, colors, gdi::DIB_RGB_COLORS, &bits, nullptr, 0);
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
    std::memcpy(section->bits() + static_cast<size_t>(y) * section->stride(), FreeImage_GetScanLine(dib, y), rowBytes);
  }
  return section;
}

bool Is32BitBitmap(FIBITMAP* bitmap) {
  return FreeImage_GetImageType(bitmap) == FIT_BITMAP && FreeImage_GetBPP(bitmap) == 32;
}

// Pictures without an alpha channel (palette, grey, RGB) or with 16 bits per
// channel become 32-bit B, G, R, A, opaque where they had no alpha. None when
// FreeImage cannot convert them.
FIBITMAP* ConvertTo32Bits(FIBITMAP* bitmap) {
  if (FIBITMAP* converted = FreeImage_ConvertTo32Bits(bitmap)) return converted;
  // 16-bit grey goes through 8 bits first, keeping each value's high byte.
  const FreeImageBitmap grey(FreeImage_ConvertTo8Bits(bitmap));
  return grey ? FreeImage_ConvertTo32Bits(grey.get()) : nullptr;
}

}  // namespace

bool IsBmp(const ImageSource& source) {
  if (!source.data) return StreamFormat(source.stream) == FIF_BMP;
  const FreeImageMemory memory(FreeImage_OpenMemory(const_cast<BYTE*>(source.data), static_cast<DWORD>(source.size)));
  return memory && FreeImage_GetFileTypeFromMemory(memory.get(), 0) == FIF_BMP;
}

std::optional<ImageHeader> ReadBmpHeader(const ImageSource& source) {
  const FreeImageBitmap header = LoadBmp(source, FIF_LOAD_NOPIXELS);
  if (!header) return std::nullopt;
  return HeaderOf(header.get());
}

HBITMAP DecodeBmp(const ImageSource& source) {
  const FreeImageBitmap loaded = LoadBmp(source, 0);
  return loaded ? SectionFrom(loaded.get()) : nullptr;
}

std::vector<uint8_t> EncodeBmp24(const uint8_t* rgb, int32_t width, int32_t height) {
  const FreeImageBitmap bmp(FreeImage_Allocate(width, height, 24));
  if (!bmp) return {};
  for (int32_t y = 0; y < height; ++y) {
    BYTE* row = FreeImage_GetScanLine(bmp.get(), height - 1 - y);
    const uint8_t* src = rgb + static_cast<size_t>(y) * width * 3;
    for (int32_t x = 0; x < width; ++x) {
      row[3 * x + FI_RGBA_RED] = src[3 * x];
      row[3 * x + FI_RGBA_GREEN] = src[3 * x + 1];
      row[3 * x + FI_RGBA_BLUE] = src[3 * x + 2];
    }
  }
  return EncodeImage(FIF_BMP, bmp.get(), BMP_DEFAULT);
}

PictureHeader ReadPictureHeader(const std::string& name, FILE* stream) {
  using Kind = PictureHeader::Kind;
  const FREE_IMAGE_FORMAT format = FreeImage_GetFIFFromFilename(name.c_str());
  if (!stream || format == FIF_UNKNOWN || !FreeImage_FIFSupportsReading(format)) return {Kind::NotAPicture};
  if (format == FIF_PNG) return {Kind::Png};
  // Formats FreeImage cannot size without decoding are refused, not decoded blind.
  if (!FreeImage_FIFSupportsNoPixels(format)) return {Kind::SizeUnreadable};
  const FreeImageBitmap header(LoadFromStream(format, stream, FIF_LOAD_NOPIXELS));
  if (!header) return {Kind::NotAPicture};
  return {Kind::Sized, FreeImage_GetWidth(header.get()), FreeImage_GetHeight(header.get())};
}

PictureDecode DecodePicture(const std::string& name, FILE* stream,
                            const std::function<uint8_t*(int32_t width, int32_t height)>& target) {
  const FREE_IMAGE_FORMAT format = FreeImage_GetFIFFromFilename(name.c_str());
  if (format == FIF_UNKNOWN || !FreeImage_FIFSupportsReading(format)) return PictureDecode::Unreadable;
  FreeImageBitmap bitmap(LoadFromStream(format, stream, 0));
  if (!bitmap) return PictureDecode::Unreadable;
  if (!Is32BitBitmap(bitmap.get())) bitmap.reset(ConvertTo32Bits(bitmap.get()));
  if (!bitmap || !Is32BitBitmap(bitmap.get())) return PictureDecode::NotConvertible;
  const auto width = static_cast<int32_t>(FreeImage_GetWidth(bitmap.get()));
  const auto height = static_cast<int32_t>(FreeImage_GetHeight(bitmap.get()));
  uint8_t* rows = target(width, height);
  if (!rows) return PictureDecode::NoTarget;
  const size_t rowBytes = static_cast<size_t>(width) * 4;
  for (int32_t y = 0; y < height; ++y)
    std::memcpy(rows + y * rowBytes, FreeImage_GetScanLine(bitmap.get(), y), rowBytes);
  return PictureDecode::Decoded;
}

const char* ImageCodecName() { return "FreeImage"; }

std::vector<uint8_t> EncodePng(const uint8_t* bgra, int32_t width, int32_t height) {
  if (!bgra || width <= 0 || height <= 0) return {};
  const FreeImageBitmap bitmap(FreeImage_ConvertFromRawBits(const_cast<BYTE*>(bgra), width, height, width * 4, 32,
                                                            FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK,
                                                            FALSE));
  if (!bitmap) return {};
  // As loaded from our BMP files, which record no resolution.
  FreeImage_SetDotsPerMeterX(bitmap.get(), 0);
  FreeImage_SetDotsPerMeterY(bitmap.get(), 0);
  return EncodeImage(FIF_PNG, bitmap.get(), PNG_DEFAULT);
}

}  // namespace velkor::platform
