#include "convert/MFreeImage.h"

#include "common/VbError.h"
#include "platform/Files.h"
#include "platform/FreeImageBitmap.h"

namespace velkor::MFreeImage {

FIBITMAP* LoadImageFile(const std::string& fileName, int32_t flags, int32_t& format) {
  format = FreeImage_GetFIFFromFilename(fileName.c_str());
  if (format == kFormatUnknown || !FormatSupportsReading(format)) RaiseInvalidPicture(fileName);
  // Opened as every input is (a regular file only), then read through its stream.
  platform::InputFile file(fileName);
  FIBITMAP* bitmap = platform::LoadFromStream(static_cast<FREE_IMAGE_FORMAT>(format), file.Stream(), flags);
  if (!bitmap) RaiseInvalidPicture(fileName);
  return bitmap;
}

bool SaveImageFile(int32_t format, FIBITMAP* bitmap, const std::string& fileName, int32_t flags) {
  // The encoded file is made in memory first so that a failed save never
  // leaves a half-written file in place of the user's.
  const std::vector<uint8_t> bytes = platform::EncodeImage(static_cast<FREE_IMAGE_FORMAT>(format), bitmap, flags);
  if (bytes.empty()) return false;
  platform::SafeFileWriter file;
  return file.Open(fileName) && file.Write(bytes.data(), bytes.size()) && file.Commit();
}

bool FormatSupportsReading(int32_t format) {
  return FreeImage_FIFSupportsReading(static_cast<FREE_IMAGE_FORMAT>(format)) == 1;
}

PixelArray GetPixelArray(FIBITMAP* bitmap) {
  if (!bitmap || FreeImage_GetBPP(bitmap) != 32) return {};
  return PixelArray(reinterpret_cast<uint32_t*>(FreeImage_GetBits(bitmap)),
                    static_cast<int32_t>(FreeImage_GetWidth(bitmap)),
                    static_cast<int32_t>(FreeImage_GetHeight(bitmap)));
}

}  // namespace velkor::MFreeImage
