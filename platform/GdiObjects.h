#pragma once
// The objects behind the drawing layer's handles. Only the layer itself looks
// inside them; the rest of the program holds handles.
#include <cstdint>
#include <vector>

#include "platform/GdiTypes.h"

namespace velkor::gdi {

class GdiObject {
 public:
  enum class Kind { Bitmap, Pen, Brush };
  explicit GdiObject(Kind kind, bool stock = false);
  virtual ~GdiObject();
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  Kind kind() const { return kind_; }
  bool stock() const { return stock_; }

 private:
  Kind kind_;
  bool stock_;
};

// A device-independent bitmap section: pixel memory the program may address
// directly. Rows are padded to 4 bytes; bottom-up unless created top-down.
class Bitmap : public GdiObject {
 public:
  Bitmap(int32_t width, int32_t height, int bpp, bool topDown, uint8_t* bits, bool stock = false);
  ~Bitmap() override;

  int32_t width() const { return width_; }
  int32_t height() const { return height_; }
  int bpp() const { return bpp_; }
  bool topDown() const { return topDown_; }
  int32_t stride() const { return stride_; }
  uint8_t* bits() const { return bits_; }
  // Picture row y (0 = top) in memory.
  uint8_t* row(int32_t y) const { return bits_ + static_cast<int64_t>(topDown_ ? y : height_ - 1 - y) * stride_; }

  std::vector<RGBQUAD> palette;                  // 2, 16 or 256 entries for depths up to 8
  uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};  // R, G, B masks of 16-bit pixels
  DeviceContext* selectedInto = nullptr;

 private:
  int32_t width_, height_;
  int bpp_;
  bool topDown_;
  int32_t stride_;
  uint8_t* bits_;
};

class Pen : public GdiObject {
 public:
  Pen(int penStyle, int penWidth, COLORREF penColor, bool stock = false)
      : GdiObject(Kind::Pen, stock), style(penStyle), width(penWidth), color(penColor) {}
  int style;
  int width;
  COLORREF color;
};

class Brush : public GdiObject {
 public:
  Brush(COLORREF brushColor, bool isHollow = false, bool stock = false)
      : GdiObject(Kind::Brush, stock), color(brushColor), hollow(isHollow) {}
  COLORREF color;
  bool hollow;
};

class DeviceContext {
 public:
  DeviceContext();
  ~DeviceContext();
  Bitmap* bitmap;
  Pen* pen;
  Brush* brush;
  int stretchMode = COLORONCOLOR;
};

// Count of live bitmaps, pens, brushes and device contexts (stock objects
// excluded), for tests that check that everything created is released.
int LiveObjectCount();

}  // namespace velkor::gdi
