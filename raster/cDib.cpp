#include "raster/cDib.h"

#include <cstring>

#include "common/Rounding.h"
#include "common/VbError.h"
#include "platform/Files.h"
#include "platform/Gdi.h"
#include "platform/GdiObjects.h"
#include "raster/BmpHeader.h"

namespace velkor {

cDib::~cDib() { Destroy(); }

void cDib::RecordGeometry(int32_t width, int32_t height, int32_t bpp) {
  const int32_t bits = MulChecked(width, bpp);
  if (bits > 0x7FFFFFE0) RaiseOverflow();
  width_ = width;
  height_ = height;
  bpp_ = bpp;
  bytesPerScanLine_ = ((bits + 31) / 32) * 4;
  size_ = MulChecked(bytesPerScanLine_, height);
}

bool cDib::Create(int32_t NewWidth, int32_t NewHeight, int32_t Newbpp) {
  Destroy();
  header_ = gdi::BITMAPINFOHEADER{};
  header_.biBitCount = static_cast<uint16_t>(Newbpp);
  header_.biWidth = NewWidth;
  header_.biHeight = -NewHeight;
  // The colour table starts black; SetPalette fills it where it matters.
  const size_t colors = Newbpp == 1 ? 2 : Newbpp == 4 ? 16 : Newbpp == 8 ? 256 : 0;
  const std::vector<gdi::RGBQUAD> table(colors);
  try {
    RecordGeometry(NewWidth, NewHeight, Newbpp);  // a size whose bytes overflow fails here
  } catch (...) {
    Destroy();
    return false;
  }
  hDC_ = gdi::CreateCompatibleDC(nullptr);
  if (!hDC_) return false;
  void* bits = nullptr;
  hDIB_ = gdi::CreateDIBSection(hDC_, header_, table, gdi::DIB_RGB_COLORS, &bits, nullptr, 0);
  if (hDIB_) {
    bits_ = static_cast<uint8_t*>(bits);
    hBmpOld_ = gdi::SelectObject(hDC_, hDIB_);
  } else {
    Destroy();
  }
  return hDIB_ != nullptr;
}

int32_t cDib::CreateFromStdPicture(const platform::StdPicture& Image, bool Force32bpp) {
  gdi::HBITMAP source = Image.Handle();
  gdi::BITMAP record;
  if (!source || gdi::GetObjectA(source, sizeof record, &record) == 0) return 0;
  const int32_t depth = Force32bpp ? 32 : record.bmBitsPixel;
  if (!Create(record.bmWidth, record.bmHeight, depth)) return 0;
  gdi::HDC temp = gdi::CreateCompatibleDC(hDC_);
  if (!temp) return 0;
  gdi::HGDIOBJ old = gdi::SelectObject(temp, source);
  if (depth <= 8 && !Force32bpp) {
    std::vector<gdi::RGBQUAD> table(size_t{1} << depth);
    const unsigned n = gdi::GetDIBColorTable(temp, 0, static_cast<unsigned>(table.size()), table.data());
    gdi::SetDIBColorTable(hDC_, 0, n, table.data());
  }
  gdi::BitBlt(hDC_, 0, 0, width_, height_, temp, 0, 0, gdi::SRCCOPY);
  gdi::SelectObject(temp, old);
  gdi::DeleteDC(temp);
  return hDC_ ? 1 : 0;
}

uint8_t cDib::CreateFromBitmapFile(const std::string& Filename) {
  const auto length = platform::FileLength(Filename);
  if (!length) RaiseFileNotFound(Filename);
  if (*length == 0) return 0;
  Destroy();
  hDC_ = gdi::CreateCompatibleDC(nullptr);
  if (!hDC_) return 0;
  hDIB_ = gdi::LoadImageA(nullptr, Filename.c_str(), gdi::IMAGE_BITMAP, 0, 0,
                          gdi::LR_LOADFROMFILE | gdi::LR_CREATEDIBSECTION);
  if (!hDIB_) {
    Destroy();
    return 0;
  }
  hBmpOld_ = gdi::SelectObject(hDC_, hDIB_);
  gdi::BITMAP record;
  gdi::GetObjectA(hDIB_, sizeof record, &record);
  RecordGeometry(record.bmWidth, record.bmHeight, record.bmBitsPixel);
  bits_ = static_cast<uint8_t*>(record.bmBits);
  return static_cast<uint8_t>(bpp_);
}

void cDib::CloneTo(cDib& oDIB) const {
  if (!oDIB.Create(width_, height_, bpp_)) return;
  if (bpp_ <= 8) {
    std::vector<uint8_t> palette;
    GetPalette(palette);
    oDIB.SetPalette(palette);
  }
  // Both bitmaps share depth and row padding but not necessarily row order.
  gdi::BitBlt(oDIB.hDIBDC(), 0, 0, width_, height_, hDC_, 0, 0, gdi::SRCCOPY);
}

void cDib::Destroy() {
  gdi::ReleaseMemoryBitmap(hDC_, hDIB_, hBmpOld_);
  bits_ = nullptr;
  width_ = height_ = bpp_ = bytesPerScanLine_ = size_ = 0;
}

int32_t cDib::LoadBlt(gdi::HDC hSrcDC, int32_t x, int32_t y, int32_t nWidth, int32_t nHeight) {
  if (!hDIB_) return 0;
  const int32_t w = nWidth < 1 ? width_ : nWidth;
  const int32_t h = nHeight < 1 ? height_ : nHeight;
  return gdi::BitBlt(hDC_, x, y, w, h, hSrcDC, x, y, gdi::SRCCOPY) ? 1 : 0;
}

int32_t cDib::Stretch(gdi::HDC hDstDC, int32_t x, int32_t y, int32_t nWidth, int32_t nHeight, int32_t xSrc,
                      int32_t ySrc, int32_t nSrcWidth, int32_t nSrcHeight, uint32_t lROP) {
  if (!hDIB_) return 0;
  const int32_t sw = nSrcWidth < 1 ? width_ : nSrcWidth;
  const int32_t sh = nSrcHeight < 1 ? height_ : nSrcHeight;
  const int previous = gdi::SetStretchBltMode(hDstDC, gdi::COLORONCOLOR);
  const bool ok = gdi::StretchBlt(hDstDC, x, y, nWidth, nHeight, hDC_, xSrc, ySrc, sw, sh, lROP);
  if (previous) gdi::SetStretchBltMode(hDstDC, previous);
  return ok ? 1 : 0;
}

void cDib::Cls(uint32_t BackColor) {
  if (!hDIB_) return;
  // System colours (high bit set) have no meaning here; plain RGB passes through.
  gdi::HBRUSH brush = gdi::CreateSolidBrush(BackColor & 0x00FFFFFF);
  gdi::FillRect(hDC_, gdi::RECT{0, 0, width_, height_}, brush);
  gdi::DeleteObject(brush);
}

void cDib::SetPalette(const std::vector<uint8_t>& Palette) {
  if (!hDIB_ || bpp_ > 8) return;
  std::vector<gdi::RGBQUAD> table(Palette.size() / 4);
  for (size_t i = 0; i < table.size(); ++i) {
    table[i] = gdi::RGBQUAD{Palette[4 * i], Palette[4 * i + 1], Palette[4 * i + 2], 0};
  }
  gdi::SetDIBColorTable(hDC_, 0, static_cast<unsigned>(table.size()), table.data());
}

void cDib::GetPalette(std::vector<uint8_t>& Palette) const {
  if (!hDIB_ || bpp_ > 8) return;
  std::vector<gdi::RGBQUAD> table(size_t{1} << bpp_);
  gdi::GetDIBColorTable(hDC_, 0, static_cast<unsigned>(table.size()), table.data());
  Palette.assign(4 * table.size(), 0);
  std::memcpy(Palette.data(), table.data(), Palette.size());
}

void cDib::Resize(int32_t NewWidth, int32_t NewHeight, bool StretchDIB) {
  if (!hDIB_) return;
  std::vector<uint8_t> palette;
  GetPalette(palette);
  cDib temp;
  if (!temp.Create(NewWidth, NewHeight, bpp_)) return;
  if (!palette.empty()) temp.SetPalette(palette);
  if (StretchDIB) {
    Stretch(temp.hDIBDC(), 0, 0, NewWidth, NewHeight);
  } else {
    gdi::BitBlt(temp.hDIBDC(), 0, 0, width_, height_, hDC_, 0, 0, gdi::SRCCOPY);
  }
  const int32_t depth = bpp_;
  if (!Create(NewWidth, NewHeight, depth)) return;
  if (!palette.empty()) SetPalette(palette);
  LoadBlt(temp.hDIBDC(), 0, 0, 0, 0);
}

void cDib::GetBestFitInfo(int32_t DstW, int32_t DstH, int32_t& bfx, int32_t& bfy, int32_t& bfW, int32_t& bfH,
                          bool StretchFit) const {
  if (!hDIB_) return;
  if (DstW < width_ || DstH < height_ || StretchFit) {
    const float rw = static_cast<float>(DstW) / static_cast<float>(width_);
    const float rh = static_cast<float>(DstH) / static_cast<float>(height_);
    if (rw >= rh) {
      bfH = DstH;
      bfW = CLng(static_cast<double>(rh) * width_);
    } else {
      bfW = DstW;
      bfH = CLng(static_cast<double>(rw) * height_);
    }
  } else {
    bfW = width_;
    bfH = height_;
  }
  bfx = (DstW - bfW) / 2;
  bfy = (DstH - bfH) / 2;
}

platform::StdPicture cDib::Image() const {
  gdi::HDC screen = gdi::GetDC(nullptr);
  gdi::HDC temp = gdi::CreateCompatibleDC(screen);
  gdi::HBITMAP bitmap = gdi::CreateCompatibleBitmap(screen, width_, height_);
  gdi::ReleaseDC(nullptr, screen);
  if (!temp || !bitmap) {
    if (temp) gdi::DeleteDC(temp);
    if (bitmap) gdi::DeleteObject(bitmap);
    return platform::StdPicture();
  }
  gdi::HGDIOBJ old = gdi::SelectObject(temp, bitmap);
  const int previous = gdi::SetStretchBltMode(temp, gdi::COLORONCOLOR);
  gdi::StretchBlt(temp, 0, 0, width_, height_, hDC_, 0, 0, width_, height_, gdi::SRCCOPY);
  gdi::SetStretchBltMode(temp, previous);
  gdi::SelectObject(temp, old);
  gdi::DeleteDC(temp);
  return platform::StdPicture(bitmap);
}

bool cDib::SaveTo24BitBitmap(const std::string& file_name) const {
  if (!hDIB_) return false;
  // Rows are written top-down (negative height) at the bitmap's own depth,
  // with its colour table so that palette bitmaps keep their colours.
  const uint32_t colors = bpp_ <= 8 ? (1u << bpp_) : 0;
  const uint32_t imageSize = static_cast<uint32_t>(size_);
  const std::vector<uint8_t> head =
      BmpHeaders({width_, -height_, static_cast<uint16_t>(bpp_), imageSize, colors, 4 * colors});
  std::vector<uint8_t> palette;
  GetPalette(palette);
  std::vector<uint8_t> rows(static_cast<size_t>(size_));
  for (int32_t y = 0; y < height_; ++y) {
    std::memcpy(rows.data() + static_cast<size_t>(y) * bytesPerScanLine_, static_cast<gdi::Bitmap*>(hDIB_)->row(y),
                static_cast<size_t>(bytesPerScanLine_));
  }
  platform::SafeFileWriter file;
  return file.Open(file_name) && file.Write(head.data(), head.size()) &&
         (palette.empty() || file.Write(palette.data(), palette.size())) && file.Write(rows.data(), rows.size()) &&
         file.Commit();
}

}  // namespace velkor
