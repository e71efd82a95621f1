#pragma once
// A bitmap of any depth held in a memory device context, used to load BMP
// files and copy them out with the drawing layer's block copies. Bitmaps made
// by Create store rows top-down; a loaded bitmap keeps what its file gives.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/GdiTypes.h"
#include "platform/Picture.h"

namespace velkor {

class cDib {
 public:
  cDib() = default;
  ~cDib();
  cDib(const cDib&) = delete;
  cDib& operator=(const cDib&) = delete;

  bool Create(int32_t NewWidth, int32_t NewHeight, int32_t Newbpp);
  int32_t CreateFromStdPicture(const platform::StdPicture& Image, bool Force32bpp);
  // Loads a BMP file; returns its bits per pixel, 0 when nothing was loaded.
  // A missing file raises error 53.
  uint8_t CreateFromBitmapFile(const std::string& Filename);
  void CloneTo(cDib& oDIB) const;
  void Destroy();
  int32_t LoadBlt(gdi::HDC hSrcDC, int32_t x = 0, int32_t y = 0, int32_t nWidth = 0, int32_t nHeight = 0);
  int32_t Stretch(gdi::HDC hDstDC, int32_t x, int32_t y, int32_t nWidth, int32_t nHeight, int32_t xSrc = 0,
                  int32_t ySrc = 0, int32_t nSrcWidth = 0, int32_t nSrcHeight = 0, uint32_t lROP = gdi::SRCCOPY);
  void Cls(uint32_t BackColor = 0xFFFFFF);
  void SetPalette(const std::vector<uint8_t>& Palette);
  void GetPalette(std::vector<uint8_t>& Palette) const;
  void Resize(int32_t NewWidth, int32_t NewHeight, bool StretchDIB = true);
  void GetBestFitInfo(int32_t DstW, int32_t DstH, int32_t& bfx, int32_t& bfy, int32_t& bfW, int32_t& bfH,
                      bool StretchFit = false) const;

  gdi::HDC hDIBDC() const { return hDC_; }
  gdi::HBITMAP hDIB() const { return hDIB_; }
  uint8_t* lpBits() const { return bits_; }
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  int32_t bpp() const { return bpp_; }
  int32_t BytesPerScanLine() const { return bytesPerScanLine_; }
  int32_t Size() const { return size_; }
  platform::StdPicture Image() const;
  gdi::HDC GetDIBLocation() const { return hDC_; }
  // Writes the bitmap as a BMP file at its own depth; false when it fails.
  bool SaveTo24BitBitmap(const std::string& file_name) const;

 private:
  void RecordGeometry(int32_t width, int32_t height, int32_t bpp);

  gdi::HDC hDC_ = nullptr;
  gdi::HBITMAP hDIB_ = nullptr;
  uint8_t* bits_ = nullptr;
  int32_t width_ = 0;
  int32_t height_ = 0;
  int32_t bpp_ = 0;
  int32_t bytesPerScanLine_ = 0;
  int32_t size_ = 0;
  gdi::BITMAPINFOHEADER header_{};
  gdi::HGDIOBJ hBmpOld_ = nullptr;
};

}  // namespace velkor
