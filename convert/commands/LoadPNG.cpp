// LoadPNG: the pixels of a chosen PNG become the working image, copied as they
// are (nothing premultiplied or keyed). Both FreeImage and the raster keep
// their rows bottom-up, so rows copy straight across.
#include <cstring>
#include <optional>

#include "common/VbError.h"
#include "convert/MFreeImage.h"
#include "platform/Files.h"
#include "ui/commands/FileDialogs.h"
#include "ui/commands/frmMain.h"

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

// A PNG's header may claim any size, but its pixels must come from the file:
// deflate packs at most about 1032 bytes into one, so a picture whose rows
// need far more than that many times the file's length cannot be in it. Such
// a file is refused from its header, before FreeImage allocates anything.
constexpr uint64_t kMaxInflation = 1032;
constexpr uint64_t kSlackBytes = 65536;

std::optional<std::string> ImplausibleSize(const std::string& name) {
  const std::optional<int64_t> length = platform::FileLength(name);
  if (!length || FreeImage_GetFIFFromFilename(name.c_str()) != FIF_PNG) return std::nullopt;
  LoadedBitmap header(FreeImage_Load(FIF_PNG, name.c_str(), FIF_LOAD_NOPIXELS));
  if (!header.get()) return std::nullopt;  // the full load reports it
  const uint64_t width = FreeImage_GetWidth(header.get()), height = FreeImage_GetHeight(header.get());
  const uint64_t rowBytes = 1 + (width * FreeImage_GetBPP(header.get()) + 7) / 8;  // with the filter byte
  const uint64_t budget = kMaxInflation * static_cast<uint64_t>(*length) + kSlackBytes;
  if (height == 0 || rowBytes <= budget / height) return std::nullopt;  // divided: the product may not fit
  return "its header claims " + std::to_string(width) + " x " + std::to_string(height) + " pixels, far more than its " +
         std::to_string(*length) + " bytes can hold";
}

bool RefuseLoad(frmMain& form, const std::string& message) {
  form.ReportError(message);
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

  if (const std::optional<std::string> problem = ImplausibleSize(name)) {
    return RefuseLoad(*this, "Cannot read " + name + ": " + *problem);
  }

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
  Completed();
  return true;
}

}  // namespace velkor
