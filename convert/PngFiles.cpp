// Both FreeImage and the raster keep their rows bottom-up, so rows copy
// straight across.
#include "convert/PngFiles.h"

#include <cstdio>
#include <cstring>
#include <optional>

#include "common/VbError.h"
#include "convert/MFreeImage.h"
#include "convert/PngHeader.h"
#include "convert/PngWriter.h"
#include "platform/Files.h"
#include "platform/FreeImageBitmap.h"
#include "platform/PictureLimits.h"
#include "platform/SystemError.h"

namespace velkor {

namespace {

using platform::FreeImageBitmap;

constexpr const char* kNotAPicture = "it is not a picture FreeImage can read";

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

// A picture's declared size, checked before FreeImage allocates anything
// for it: a PNG's from its own header (PngSizeProblem), any other format's
// from the header FreeImage reads alone. A format whose header FreeImage
// cannot read alone is refused rather than decoded blind.
std::string DeclaredSizeProblem(platform::InputFile& file, const std::string& name) {
  const FREE_IMAGE_FORMAT format = FreeImage_GetFIFFromFilename(name.c_str());
  if (!file.Stream()) return kNotAPicture;
  if (format == FIF_PNG) {
    uint8_t head[kPngHeaderBytes];
    const size_t got = std::fread(head, 1, sizeof head, file.Stream());
    const std::optional<PngHeader> header = ParsePngHeader(head, got);
    return header ? PngSizeProblem(*header, static_cast<uint64_t>(file.Size())) : kNotAPicture;
  }
  if (format == FIF_UNKNOWN || !FreeImage_FIFSupportsReading(format)) return {};  // refused by the load
  if (!FreeImage_FIFSupportsNoPixels(format)) return "its picture size cannot be read before decoding it";
  const FreeImageBitmap header(platform::LoadFromStream(format, file.Stream(), FIF_LOAD_NOPIXELS));
  if (!header) return kNotAPicture;
  return platform::PictureSizeProblem(FreeImage_GetWidth(header.get()), FreeImage_GetHeight(header.get()));
}

void CopyPixels(const MFreeImage::PixelArray& pixels, cAlphaDibSection& image) {
  const size_t rowBytes = static_cast<size_t>(pixels.Width()) * 4;
  for (int32_t y = 0; y < pixels.Height(); ++y) std::memcpy(image.MemoryRow(y), pixels.Row(y), rowBytes);
}

}  // namespace

std::unique_ptr<cAlphaDibSection> ReadPngFile(const std::string& name, std::string& problem) {
  {
    platform::InputFile file(name);
    problem = file.IsOpen() ? DeclaredSizeProblem(file, name) : file.Problem();
    if (!problem.empty()) return nullptr;
  }
  int32_t format = MFreeImage::kFormatUnknown;
  FreeImageBitmap bitmap;
  try {
    bitmap.reset(MFreeImage::LoadImageFile(name, 0, format));
  } catch (const VbError&) {
    problem = kNotAPicture;
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
