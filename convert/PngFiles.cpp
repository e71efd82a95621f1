// Both FreeImage and the raster keep their rows bottom-up, so rows copy
// straight across.
#include "convert/PngFiles.h"

#include <cstring>
#include <optional>

#include "common/VbError.h"
#include "convert/MFreeImage.h"
#include "convert/PngWriter.h"
#include "platform/Files.h"
#include "platform/FreeImageBitmap.h"
#include "platform/SystemError.h"

namespace velkor {

namespace {

using platform::FreeImageBitmap;

bool Is32BitBitmap(FIBITMAP* bitmap) {
  return FreeImage_GetImageType(bitmap) == FIT_BITMAP && FreeImage_GetBPP(bitmap) == 32;
}

// PNGs without an alpha channel (palette, grey, RGB) or with 16 bits per
// channel become 32-bit B, G, R, A, opaque where they had no alpha. None when
// FreeImage cannot convert them.
FIBITMAP* ConvertTo32Bits(FIBITMAP* bitmap) {
  if (FIBITMAP* converted = FreeImage_ConvertTo32Bits(bitmap)) return converted;
  // 16-bit grey goes through 8 bits first, keeping each value's high byte.
  const FreeImageBitmap grey(FreeImage_ConvertTo8Bits(bitmap));
  return grey ? FreeImage_ConvertTo32Bits(grey.get()) : nullptr;
}

// A PNG's header may claim any size, but its pixels must come from the file:
// deflate packs at most about 1032 bytes into one, so a picture whose rows
// need far more than that many times the file's length cannot be in it. Such
// a file is refused from its header, before FreeImage allocates anything.
constexpr uint64_t kMaxInflation = 1032;
constexpr uint64_t kSlackBytes = 65536;

std::optional<std::string> ImplausibleSize(const std::string& name) {
  const std::optional<int64_t> length = platform::FileLength(name);
  if (!length || FreeImage_GetFIFFromFilename(name.c_str()) != FIF_PNG) return std::nullopt;
  const FreeImageBitmap header(FreeImage_Load(FIF_PNG, name.c_str(), FIF_LOAD_NOPIXELS));
  if (!header) return std::nullopt;  // the full load reports it
  const uint64_t width = FreeImage_GetWidth(header.get()), height = FreeImage_GetHeight(header.get());
  const uint64_t rowBytes = 1 + (width * FreeImage_GetBPP(header.get()) + 7) / 8;  // with the filter byte
  const uint64_t budget = kMaxInflation * static_cast<uint64_t>(*length) + kSlackBytes;
  if (height == 0 || rowBytes <= budget / height) return std::nullopt;  // divided: the product may not fit
  return "its header claims " + std::to_string(width) + " x " + std::to_string(height) + " pixels, far more than its " +
         std::to_string(*length) + " bytes can hold";
}

void CopyPixels(const MFreeImage::PixelArray& pixels, cAlphaDibSection& image) {
  const size_t rowBytes = static_cast<size_t>(pixels.Width()) * 4;
  for (int32_t y = 0; y < pixels.Height(); ++y) std::memcpy(image.MemoryRow(y), pixels.Row(y), rowBytes);
}

}  // namespace

std::unique_ptr<cAlphaDibSection> ReadPngFile(const std::string& name, std::string& problem) {
  if (!platform::FileExists(name)) {
    problem = "the file does not exist";
    return nullptr;
  }
  if (const std::optional<std::string> implausible = ImplausibleSize(name)) {
    problem = *implausible;
    return nullptr;
  }
  int32_t format = MFreeImage::kFormatUnknown;
  FreeImageBitmap bitmap;
  try {
    bitmap.reset(MFreeImage::LoadImageFile(name, 0, format));
  } catch (const VbError&) {
    problem = "it is not a picture FreeImage can read";
    return nullptr;
  }
  if (!Is32BitBitmap(bitmap.get())) bitmap.reset(ConvertTo32Bits(bitmap.get()));
  const MFreeImage::PixelArray pixels = MFreeImage::GetPixelArray(bitmap.get());
  if (pixels.Empty()) {
    problem = "its pixels cannot be converted to 32 bits";
    return nullptr;
  }
  auto image = std::make_unique<cAlphaDibSection>();
  if (!image->Create(pixels.Width(), pixels.Height())) {
    problem = "a " + std::to_string(pixels.Width()) + " x " + std::to_string(pixels.Height()) +
              " picture cannot be created";
    return nullptr;
  }
  CopyPixels(pixels, *image);
  return image;
}

BmpToPng ConvertBmpToPng(const std::string& bmpFile, const std::string& pngFile) {
  const FreeImageBitmap bitmap(FreeImage_Load(FIF_BMP, bmpFile.c_str(), 0));
  if (!bitmap) return BmpToPng::BmpUnreadable;
  platform::SetLastError(0);
  const bool saved = MFreeImage::SaveImageFile(MFreeImage::kFormatPng, bitmap.get(), pngFile, 0);
  return saved ? BmpToPng::Written : BmpToPng::PngNotWritten;
}

BmpToPng ConvertRasterToPng(const cAlphaDibSection& image, const std::string& pngFile) {
  const std::vector<uint8_t> png = EncodePng(image);
  if (png.empty()) return BmpToPng::BmpUnreadable;
  platform::SetLastError(0);
  platform::SafeFileWriter file;
  const bool saved = file.Open(pngFile) && file.Write(png.data(), png.size()) && file.Commit();
  return saved ? BmpToPng::Written : BmpToPng::PngNotWritten;
}

}  // namespace velkor
