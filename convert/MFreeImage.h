#pragma once
// The program's door to image files other than its own BMP writer and the SRF
// formats: a thin layer over FreeImage. Every bitmap handle it returns belongs
// to the caller, who holds it in a platform::FreeImageBitmap.
#include <FreeImage.h>

#include <cstdint>
#include <string>

namespace velkor::MFreeImage {

inline constexpr int32_t kFormatUnknown = FIF_UNKNOWN;  // -1
inline constexpr int32_t kFormatBmp = FIF_BMP;          // 0
inline constexpr int32_t kFormatPng = FIF_PNG;          // 13

// The format comes from the name's extension alone and is stored in `format`
// before anything else happens. An unknown or unreadable format and a failed
// load all raise 481 (description: the file name and "Invalid picture").
FIBITMAP* LoadImageFile(const std::string& fileName, int32_t flags, int32_t& format);

// True only when FreeImage reports success. The file is written beside its
// target and replaces it only when complete.
bool SaveImageFile(int32_t format, FIBITMAP* bitmap, const std::string& fileName, int32_t flags);

bool FormatSupportsReading(int32_t format);

// A view of a 32-bit bitmap's pixels, aliasing its memory: element (x, y) is
// the 32-bit word B, G, R, A at byte (y * width + x) * 4, y = 0 being the
// bottom row of the picture. Valid only while the bitmap is loaded.
class PixelArray {
 public:
  PixelArray() = default;
  PixelArray(uint32_t* pixels, int32_t width, int32_t height) : pixels_(pixels), width_(width), height_(height) {}
  bool Empty() const { return pixels_ == nullptr; }
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  uint32_t& operator()(int32_t x, int32_t y) const { return pixels_[static_cast<int64_t>(y) * width_ + x]; }
  // The four bytes of row y, in memory order.
  const uint8_t* Row(int32_t y) const {
    return reinterpret_cast<const uint8_t*>(pixels_ + static_cast<int64_t>(y) * width_);
  }

 private:
  uint32_t* pixels_ = nullptr;
  int32_t width_ = 0;
  int32_t height_ = 0;
};

// Empty for a null handle or a depth other than 32 bits per pixel.
PixelArray GetPixelArray(FIBITMAP* bitmap);

}  // namespace velkor::MFreeImage
