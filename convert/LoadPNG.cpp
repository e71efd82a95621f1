// LoadPNG: the pixels of a chosen PNG become the working image, copied as they
// are (nothing premultiplied or keyed). Both FreeImage and the raster keep
// their rows bottom-up, so rows copy straight across.
#include <cstring>

#include "common/VbError.h"
#include "convert/MFreeImage.h"
#include "platform/Files.h"
#include "srf/FileDialogs.h"
#include "ui/frmMain.h"

namespace velkor {

namespace {

// A bitmap freed however the load ends.
class LoadedBitmap {
 public:
  explicit LoadedBitmap(FIBITMAP* bitmap) : bitmap_(bitmap) {}
  ~LoadedBitmap() { Reset(nullptr); }
  LoadedBitmap(const LoadedBitmap&) = delete;
  LoadedBitmap& operator=(const LoadedBitmap&) = delete;
  FIBITMAP* get() const { return bitmap_; }
  void Reset(FIBITMAP* bitmap) {
    if (bitmap_) FreeImage_Unload(bitmap_);
    bitmap_ = bitmap;
  }

 private:
  FIBITMAP* bitmap_;
};

bool Is32BitBitmap(FIBITMAP* bitmap) {
  return FreeImage_GetImageType(bitmap) == FIT_BITMAP && FreeImage_GetBPP(bitmap) == 32;
}

// PNGs without an alpha channel (palette, grey, RGB) or with 16 bits per
// channel become 32-bit B, G, R, A, opaque where they had no alpha. None when
// FreeImage cannot convert them.
FIBITMAP* ConvertTo32Bits(FIBITMAP* bitmap) {
  if (FIBITMAP* converted = FreeImage_ConvertTo32Bits(bitmap)) return converted;
  // 16-bit grey goes through 8 bits first, keeping each value's high byte.
  LoadedBitmap grey(FreeImage_ConvertTo8Bits(bitmap));
  return grey.get() ? FreeImage_ConvertTo32Bits(grey.get()) : nullptr;
}

bool RefuseLoad(frmMain& form, const std::string& message) {
  form.View().MessageBox(message);
  form.SetStatus("Status: Error reading PNG file!");
  return false;
}

void CopyPixels(const MFreeImage::PixelArray& pixels, cAlphaDibSection& image) {
  const size_t rowBytes = static_cast<size_t>(pixels.Width()) * 4;
  for (int32_t y = 0; y < pixels.Height(); ++y) {
    std::memcpy(image.DIBSectionBitsPtr() + static_cast<int64_t>(y) * image.BytesPerScanLine(), pixels.Row(y),
                rowBytes);
  }
}

}  // namespace

bool frmMain::LoadPNG() {
  const std::optional<std::string> chosen = ShowCommonDialog(*this, false, "PNG Files|*.png", kOpenDialogFlags);
  if (!chosen || chosen->empty()) return false;
  const std::string& name = *chosen;
  if (!platform::FileExists(name)) return RefuseLoad(*this, "Cannot read " + name + ": the file does not exist");

  int32_t format = MFreeImage::kFormatUnknown;
  LoadedBitmap bitmap(nullptr);
  try {
    bitmap.Reset(MFreeImage::LoadImageFile(name, 0, format));
  } catch (const VbError&) {
    return RefuseLoad(*this, "Cannot read " + name + ": it is not a picture FreeImage can read");
  }
  if (!Is32BitBitmap(bitmap.get())) bitmap.Reset(ConvertTo32Bits(bitmap.get()));
  const MFreeImage::PixelArray pixels = MFreeImage::GetPixelArray(bitmap.get());
  if (pixels.Empty()) return RefuseLoad(*this, "Cannot read " + name + ": its pixels cannot be converted to 32 bits");

  auto image = std::make_unique<cAlphaDibSection>();
  bool created = false;
  try {
    created = image->Create(pixels.Width(), pixels.Height());
  } catch (const VbError&) {
    created = false;
  }
  if (!created) {
    return RefuseLoad(*this, "Cannot read " + name + ": a " + std::to_string(pixels.Width()) + " x " +
                                 std::to_string(pixels.Height()) + " picture cannot be created");
  }
  CopyPixels(pixels, *image);
  WorkImage = std::move(image);
  ImageLoaded = true;
  DrawPreview(WorkImage->hDC());
  return true;
}

}  // namespace velkor
