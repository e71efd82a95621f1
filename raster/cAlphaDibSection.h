#pragma once
// The working image: a 32-bit raster with alpha whose pixel memory the program
// addresses directly and the drawing layer draws from and into. Pixels are
// B, G, R, A; rows are Width * 4 bytes with no padding and stored bottom-up:
// memory row 0 is the picture's bottom row.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/GdiTypes.h"
#include "platform/Picture.h"

namespace velkor {

class cAlphaDibSection {
 public:
  cAlphaDibSection() = default;
  ~cAlphaDibSection();
  cAlphaDibSection(const cAlphaDibSection&) = delete;
  cAlphaDibSection& operator=(const cAlphaDibSection&) = delete;

  bool UseDrawDib() const { return hDrawDib_ != nullptr; }
  void UseDrawDib(bool bState);

  bool CreateDIB(gdi::HDC lhDC, int32_t lWidth, int32_t lHeight, gdi::HBITMAP& hDIB);
  void CreateFromPicture(const platform::StdPicture& picThis);
  void CreateFromHBitmap(gdi::HBITMAP hBmp);
  // False, leaving the raster empty, when the raster cannot be made (a size
  // whose bytes overflow, or no memory); it never throws.
  bool Create(int32_t lWidth, int32_t lHeight);
  int32_t BytesPerScanLine() const;  // Width * 4; overflow raises 6
  int32_t Width() const { return header_.biWidth; }
  int32_t Height() const { return header_.biHeight; }

  void LoadPictureBlt(gdi::HDC lhDC, int32_t lSrcLeft = 0, int32_t lSrcTop = 0, int32_t lSrcWidth = -1,
                      int32_t lSrcHeight = -1, uint32_t eRop = gdi::SRCCOPY);
  bool SavePicture(const std::string& sFileName);
  void PaintPicture(gdi::HDC lhDC, int32_t lDestLeft = 0, int32_t lDestTop = 0, int32_t lDestWidth = -1,
                    int32_t lDestHeight = -1, int32_t lSrcLeft = 0, int32_t lSrcTop = 0, uint32_t eRop = gdi::SRCCOPY);
  void AlphaPaintPicture(gdi::HDC lhDC, int32_t lDestLeft = 0, int32_t lDestTop = 0, int32_t lDestWidth = -1,
                         int32_t lDestHeight = -1, int32_t lSrcLeft = 0, int32_t lSrcTop = 0,
                         uint8_t lConstantAlpha = 255);

  gdi::HDC hDC() const { return hDC_; }
  gdi::HBITMAP hDIB() const { return hDIB_; }
  uint8_t* DIBSectionBitsPtr() const { return bits_; }
  // Rows are stored bottom-up: memory row 0 is the picture's bottom row, and
  // picture row y (counted from the top) is memory row Height - 1 - y.
  uint8_t* MemoryRow(int32_t row) const { return bits_ + static_cast<int64_t>(row) * Width() * 4; }
  uint8_t* PictureRow(int32_t y) const { return MemoryRow(Height() - 1 - y); }
  bool Empty() const { return bits_ == nullptr; }

  void RandomiseBits(bool bGray);
  void ClearUp();

  // Filters: each returns a new raster, or none when it cannot be made; the
  // source is left unchanged. Only parameters outside their range raise (9 or
  // 11), as a caller's mistake rather than a condition of the machine.
  std::unique_ptr<cAlphaDibSection> Resample(int32_t lNewHeight, int32_t lNewWidth) const;
  std::unique_ptr<cAlphaDibSection> Blur(float CenterWeight, float Strength) const;
  std::unique_ptr<cAlphaDibSection> UnsharpMask() const;

  void Destroy() { ClearUp(); }

  // The 40-byte information header as CreateDIB last filled it.
  const gdi::BITMAPINFOHEADER& InfoHeader() const { return header_; }

 private:
  bool WriteBitmapFile(const std::string& sFileName);
  void ResampleBilinear(cAlphaDibSection& destination) const;
  void BlurInto(cAlphaDibSection& destination, float CenterWeight, float Strength) const;
  void UnsharpMaskInto(cAlphaDibSection& destination) const;

  gdi::HBITMAP hDIB_ = nullptr;
  gdi::HGDIOBJ hBmpOld_ = nullptr;
  gdi::HDC hDC_ = nullptr;
  void* hDrawDib_ = nullptr;
  uint8_t* bits_ = nullptr;
  gdi::BITMAPINFOHEADER header_{};
  gdi::RGBQUAD colorEntry_{};
};

}  // namespace velkor
