#include "platform/GdiObjects.h"

#include <sys/mman.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "platform/Gdi.h"
#include "platform/SystemError.h"

namespace velkor::gdi {

namespace {
std::atomic<int> liveObjects{0};
int failDibSections = 0;
int failDeviceContexts = 0;
size_t dibByteLimit = static_cast<size_t>(INT32_MAX);

int32_t StrideFor(int32_t width, int bpp) {
  return static_cast<int32_t>(((static_cast<int64_t>(width) * bpp + 31) / 32) * 4);
}

// A large section (the composite strip, the step-sampling rasters) is first
// touched by a fill or a copy over all of it; in 2 MiB pages that costs 512
// times fewer page faults than in 4 KiB ones. Only the whole 2 MiB blocks
// inside the allocation are marked, so nothing else shares the advice. Where
// the system has no such pages this does nothing.
void AskForHugePages(uint8_t* memory, size_t size) {
#ifdef MADV_HUGEPAGE
  constexpr size_t kHuge = size_t{2} << 20;
  if (size < 4 * kHuge) return;
  const uintptr_t first = (reinterpret_cast<uintptr_t>(memory) + kHuge - 1) & ~(kHuge - 1);
  const uintptr_t last = (reinterpret_cast<uintptr_t>(memory) + size) & ~(kHuge - 1);
  if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
  (void)memory;
  (void)size;
#endif
}

// What a new memory context holds before anything is selected into it.
Bitmap& StockBitmap() {
  static uint8_t bits[4] = {0, 0, 0, 0};
  static Bitmap bitmap(1, 1, 1, false, bits, true);
  if (bitmap.palette.empty()) bitmap.palette = {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}};
  return bitmap;
}
Pen& StockPen() {
  static Pen pen(PS_SOLID, 1, 0, true);
  return pen;
}
Brush& StockBrush() {
  static Brush brush(0xFFFFFF, false, true);
  return brush;
}
DeviceContext& ScreenContext() {
  static DeviceContext* screen = [] {
    auto* dc = new DeviceContext();
    --liveObjects;  // the screen is not the program's to release
    return dc;
  }();
  return *screen;
}

bool ValidDepth(int bpp) { return bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32; }
}  // namespace

GdiObject::GdiObject(Kind kind, bool stock) : kind_(kind), stock_(stock) {
  if (!stock_) ++liveObjects;
}
GdiObject::~GdiObject() {
  if (!stock_) --liveObjects;
}

Bitmap::Bitmap(int32_t width, int32_t height, int bpp, bool topDown, uint8_t* bits, bool stock)
    : GdiObject(Kind::Bitmap, stock),
      width_(width),
      height_(height),
      bpp_(bpp),
      topDown_(topDown),
      stride_(StrideFor(width, bpp)),
      bits_(bits) {}

Bitmap::~Bitmap() {
  if (!stock()) std::free(bits_);
}

DeviceContext::DeviceContext() : bitmap(&StockBitmap()), pen(&StockPen()), brush(&StockBrush()) { ++liveObjects; }
DeviceContext::~DeviceContext() {
  if (bitmap && bitmap->selectedInto == this) bitmap->selectedInto = nullptr;
  --liveObjects;
}

int LiveObjectCount() { return liveObjects.load(); }

HDC CreateCompatibleDC(HDC) {
  if (failDeviceContexts > 0) {
    --failDeviceContexts;
    platform::SetLastError(ENOMEM);
    return nullptr;
  }
  return new DeviceContext();
}

bool DeleteDC(HDC dc) {
  if (!dc || dc == &ScreenContext()) return false;
  delete dc;
  return true;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
  if (!dc || !object) return nullptr;
  switch (object->kind()) {
    case GdiObject::Kind::Bitmap: {
      auto* bitmap = static_cast<Bitmap*>(object);
      // A bitmap lives in one context at a time.
      if (bitmap->selectedInto && bitmap->selectedInto != dc && !bitmap->stock()) return nullptr;
      Bitmap* previous = dc->bitmap;
      if (previous && previous->selectedInto == dc) previous->selectedInto = nullptr;
      dc->bitmap = bitmap;
      if (!bitmap->stock()) bitmap->selectedInto = dc;
      return previous;
    }
    case GdiObject::Kind::Pen: {
      Pen* previous = dc->pen;
      dc->pen = static_cast<Pen*>(object);
      return previous;
    }
    case GdiObject::Kind::Brush: {
      Brush* previous = dc->brush;
      dc->brush = static_cast<Brush*>(object);
      return previous;
    }
  }
  return nullptr;
}

bool DeleteObject(HGDIOBJ object) {
  if (!object) return false;
  if (object->stock()) return true;
  if (object->kind() == GdiObject::Kind::Bitmap && static_cast<Bitmap*>(object)->selectedInto) {
    return false;
  }
  delete object;
  return true;
}

void ReleaseMemoryBitmap(HDC& dc, HBITMAP& bitmap, HGDIOBJ& previous) {
  if (dc) {
    if (bitmap) {
      SelectObject(dc, previous);
      DeleteObject(bitmap);
    }
    DeleteDC(dc);
  }
  dc = nullptr;
  bitmap = nullptr;
  previous = nullptr;
}

HGDIOBJ GetCurrentObject(HDC dc, int kind) {
  if (!dc) return nullptr;
  switch (kind) {
    case 7: return dc->bitmap;
    case 1: return dc->pen;
    case 2: return dc->brush;
    default: return nullptr;
  }
}

HDC GetDC(void*) { return &ScreenContext(); }
int ReleaseDC(void*, HDC dc) { return dc == &ScreenContext() ? 1 : 0; }
void* GetDesktopWindow() { return &ScreenContext(); }

HBITMAP CreateDIBSection(HDC, const BITMAPINFOHEADER& header, std::span<const RGBQUAD> colors, uint32_t, void** bits,
                         void*, uint32_t) {
  if (bits) *bits = nullptr;
  const int bpp = header.biBitCount;
  const int32_t width = header.biWidth;
  const bool topDown = header.biHeight < 0;
  const int64_t height = topDown ? -static_cast<int64_t>(header.biHeight) : header.biHeight;
  if (!ValidDepth(bpp) || width <= 0 || height <= 0 || header.biCompression != BI_RGB) {
    platform::SetLastError(EINVAL);
    return nullptr;
  }
  const int64_t size = static_cast<int64_t>(StrideFor(width, bpp)) * height;
  if (failDibSections > 0 || size > static_cast<int64_t>(dibByteLimit) || size > INT32_MAX) {
    if (failDibSections > 0) --failDibSections;
    platform::SetLastError(ENOMEM);
    return nullptr;
  }
  // calloc: pages arrive zeroed without a pass over them.
  auto* memory = static_cast<uint8_t*>(std::calloc(static_cast<size_t>(size), 1));
  if (!memory) {
    platform::SetLastError(ENOMEM);
    return nullptr;
  }
  AskForHugePages(memory, static_cast<size_t>(size));
  auto* bitmap = new Bitmap(width, static_cast<int32_t>(height), bpp, topDown, memory);
  if (bpp <= 8) {
    bitmap->palette.assign(size_t{1} << bpp, RGBQUAD{});
    for (size_t i = 0; i < colors.size() && i < bitmap->palette.size(); ++i) bitmap->palette[i] = colors[i];
  }
  if (bits) *bits = memory;
  return bitmap;
}

HBITMAP CreateCompatibleBitmap(HDC dc, int32_t width, int32_t height) {
  BITMAPINFOHEADER header;
  header.biWidth = width;
  header.biHeight = height;
  header.biBitCount = 32;
  return CreateDIBSection(dc, header, {}, DIB_RGB_COLORS, nullptr, nullptr, 0);
}

int GetObjectA(HGDIOBJ object, int size, void* out) {
  if (!object || object->kind() != GdiObject::Kind::Bitmap || !out || size < static_cast<int>(sizeof(BITMAP))) {
    return 0;
  }
  const auto* bitmap = static_cast<const Bitmap*>(object);
  BITMAP record;
  record.bmType = 0;
  record.bmWidth = bitmap->width();
  record.bmHeight = bitmap->height();
  record.bmWidthBytes = bitmap->stride();
  record.bmPlanes = 1;
  record.bmBitsPixel = static_cast<uint16_t>(bitmap->bpp());
  record.bmBits = bitmap->bits();
  std::memcpy(out, &record, sizeof record);
  return sizeof record;
}

unsigned GetDIBColorTable(HDC dc, unsigned start, unsigned count, RGBQUAD* colors) {
  if (!dc || !dc->bitmap || dc->bitmap->stock() || !colors) return 0;
  const auto& palette = dc->bitmap->palette;
  unsigned n = 0;
  for (; n < count && start + n < palette.size(); ++n) colors[n] = palette[start + n];
  return n;
}

unsigned SetDIBColorTable(HDC dc, unsigned start, unsigned count, const RGBQUAD* colors) {
  if (!dc || !dc->bitmap || dc->bitmap->stock() || !colors) return 0;
  auto& palette = dc->bitmap->palette;
  unsigned n = 0;
  for (; n < count && start + n < palette.size(); ++n) palette[start + n] = colors[n];
  return n;
}

int SetStretchBltMode(HDC dc, int mode) {
  if (!dc || mode < BLACKONWHITE || mode > HALFTONE) return 0;
  const int previous = dc->stretchMode;
  dc->stretchMode = mode;
  return previous;
}

int GetStretchBltMode(HDC dc) { return dc ? dc->stretchMode : 0; }

HPEN CreatePen(int style, int width, COLORREF color) { return new Pen(style, width, color & 0xFFFFFF); }
HBRUSH CreateSolidBrush(COLORREF color) { return new Brush(color & 0xFFFFFF); }

namespace testing {
void FailNextDibSections(int count) { failDibSections = count; }
void FailNextDeviceContexts(int count) { failDeviceContexts = count; }
void SetDibSectionByteLimit(size_t bytes) { dibByteLimit = bytes; }
size_t DibSectionByteLimit() { return dibByteLimit; }
}  // namespace testing

}  // namespace velkor::gdi
