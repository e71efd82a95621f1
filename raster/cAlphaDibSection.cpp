#include "raster/cAlphaDibSection.h"

#include <chrono>
#include <random>

#include "common/Rounding.h"
#include "common/VbError.h"
#include "platform/DrawDib.h"
#include "platform/Files.h"
#include "platform/Gdi.h"
#include "platform/SystemError.h"
#include "raster/BmpHeader.h"

namespace velkor {

cAlphaDibSection::~cAlphaDibSection() { Destroy(); }

void cAlphaDibSection::UseDrawDib(bool bState) {
  if (bState) {
    if (!hDrawDib_) hDrawDib_ = gdi::DrawDibOpen();
  } else if (hDrawDib_) {
    gdi::DrawDibClose(hDrawDib_);
    hDrawDib_ = nullptr;
  }
}

bool cAlphaDibSection::CreateDIB(gdi::HDC lhDC, int32_t lWidth, int32_t lHeight, gdi::HBITMAP& hDIB) {
  header_ = gdi::BITMAPINFOHEADER{};
  header_.biWidth = lWidth;
  header_.biHeight = lHeight;
  header_.biPlanes = 1;
  header_.biBitCount = 32;
  header_.biCompression = gdi::BI_RGB;
  header_.biSizeImage = static_cast<uint32_t>(MulChecked(BytesPerScanLine(), lHeight));
  void* bits = nullptr;
  hDIB = gdi::CreateDIBSection(lhDC, header_, std::span<const gdi::RGBQUAD>(&colorEntry_, 1), gdi::DIB_RGB_COLORS,
                               &bits, nullptr, 0);
  bits_ = static_cast<uint8_t*>(bits);
  return hDIB != nullptr;
}

bool cAlphaDibSection::Create(int32_t lWidth, int32_t lHeight) {
  const bool drawDib = UseDrawDib();
  ClearUp();
  hDC_ = gdi::CreateCompatibleDC(nullptr);
  if (!hDC_) return false;
  // A size whose bytes overflow, and memory that cannot be had, both end here.
  bool created = false;
  try {
    created = CreateDIB(hDC_, lWidth, lHeight, hDIB_);
  } catch (...) {
    created = false;
  }
  if (created) {
    hBmpOld_ = gdi::SelectObject(hDC_, hDIB_);
    UseDrawDib(drawDib);
    return true;
  }
  gdi::DeleteDC(hDC_);
  hDC_ = nullptr;
  return false;
}

int32_t cAlphaDibSection::BytesPerScanLine() const { return MulChecked(header_.biWidth, 4); }

void cAlphaDibSection::CreateFromPicture(const platform::StdPicture& picThis) { CreateFromHBitmap(picThis.Handle()); }

void cAlphaDibSection::CreateFromHBitmap(gdi::HBITMAP hBmp) {
  gdi::BITMAP record;
  if (gdi::GetObjectA(hBmp, sizeof record, &record) == 0) return;
  if (!Create(record.bmWidth, record.bmHeight)) return;
  gdi::HDC screen = gdi::GetDC(gdi::GetDesktopWindow());
  if (!screen) return;
  gdi::HDC temp = gdi::CreateCompatibleDC(screen);
  gdi::ReleaseDC(gdi::GetDesktopWindow(), screen);
  if (!temp) return;
  gdi::HGDIOBJ old = gdi::SelectObject(temp, hBmp);
  LoadPictureBlt(temp, 0, 0, Width(), Height(), gdi::SRCCOPY);
  gdi::SelectObject(temp, old);
  gdi::DeleteDC(temp);
}

void cAlphaDibSection::LoadPictureBlt(gdi::HDC lhDC, int32_t lSrcLeft, int32_t lSrcTop, int32_t lSrcWidth,
                                      int32_t lSrcHeight, uint32_t eRop) {
  const int32_t w = lSrcWidth < 0 ? Width() : lSrcWidth;
  const int32_t h = lSrcHeight < 0 ? Height() : lSrcHeight;
  gdi::BitBlt(hDC_, 0, 0, w, h, lhDC, lSrcLeft, lSrcTop, eRop);
}

void cAlphaDibSection::PaintPicture(gdi::HDC lhDC, int32_t lDestLeft, int32_t lDestTop, int32_t lDestWidth,
                                    int32_t lDestHeight, int32_t lSrcLeft, int32_t lSrcTop, uint32_t eRop) {
  const int32_t w = lDestWidth < 0 ? Width() : lDestWidth;
  const int32_t h = lDestHeight < 0 ? Height() : lDestHeight;
  if (hDrawDib_) {
    gdi::DrawDibDraw(hDrawDib_, lhDC, lDestLeft, lDestTop, w, h, hDC_, lSrcLeft, lSrcTop);
  } else {
    gdi::BitBlt(lhDC, lDestLeft, lDestTop, w, h, hDC_, lSrcLeft, lSrcTop, eRop);
  }
}

void cAlphaDibSection::AlphaPaintPicture(gdi::HDC lhDC, int32_t lDestLeft, int32_t lDestTop, int32_t lDestWidth,
                                         int32_t lDestHeight, int32_t lSrcLeft, int32_t lSrcTop,
                                         uint8_t lConstantAlpha) {
  const int32_t w = lDestWidth < 0 ? Width() : lDestWidth;
  const int32_t h = lDestHeight < 0 ? Height() : lDestHeight;
  gdi::BLENDFUNCTION blend{gdi::AC_SRC_OVER, 0, lConstantAlpha, gdi::AC_SRC_ALPHA};
  // A failed blend draws nothing; painting has nobody to tell.
  gdi::AlphaBlend(lhDC, lDestLeft, lDestTop, w, h, hDC_, lSrcLeft, lSrcTop, w, h, blend);
}

bool cAlphaDibSection::SavePicture(const std::string& sFileName) { return WriteBitmapFile(sFileName); }

bool cAlphaDibSection::WriteBitmapFile(const std::string& sFileName) {
  // The pixel data starts at 58: the header, the information header and one
  // zero colour-table entry.
  const uint32_t imageSize = static_cast<uint32_t>(MulChecked(BytesPerScanLine(), Height()));
  platform::SafeFileWriter file;
  if (!file.Open(sFileName)) {
    throw VbError(kErrCannotCreate, platform::ExecutableBaseName() + ".cDIBSection",
                  platform::ApiErrorText(file.Error()));
  }
  std::vector<uint8_t> head = BmpHeaders({Width(), Height(), 32, imageSize, 0, 4});
  head.insert(head.end(), 4, 0);  // the one zero colour-table entry
  if (!file.Write(head.data(), head.size())) return false;
  if (imageSize > 0 && (!bits_ || !file.Write(bits_, imageSize))) return false;
  return file.Commit();
}

void cAlphaDibSection::RandomiseBits(bool bGray) {
  if (!bits_) return;
  std::mt19937 generator(static_cast<uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
  std::uniform_real_distribution<double> random(0.0, 1.0);
  for (int32_t y = 0; y < Height(); ++y) {
    uint8_t* row = MemoryRow(y);
    for (int32_t x = 0; x < Width(); ++x) {
      uint8_t* p = row + 4 * x;
      if (bGray) {
        const double g = RoundHalfEven(random(generator) * 255);
        const double a = RoundHalfEven(random(generator) * 255);
        p[0] = p[1] = p[2] = CByte(a * g / 255);
        p[3] = CByte(a);
      } else {
        const double a = RoundHalfEven(random(generator) * 255);
        for (int c = 0; c < 3; ++c) p[c] = CByte(RoundHalfEven(random(generator) * 255) * a / 255);
        p[3] = CByte(a);
      }
    }
  }
}

void cAlphaDibSection::ClearUp() {
  gdi::ReleaseMemoryBitmap(hDC_, hDIB_, hBmpOld_);
  bits_ = nullptr;
  if (hDrawDib_) {
    gdi::DrawDibClose(hDrawDib_);
    hDrawDib_ = nullptr;
  }
}

}  // namespace velkor
