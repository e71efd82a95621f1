#include "platform/FillRectangle.h"

#include "platform/Gdi.h"

namespace velkor {

void FillRectangle(gdi::HDC lhDC, int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t color) {
  gdi::HPEN pen = gdi::CreatePen(gdi::PS_SOLID, 1, color);
  gdi::HBRUSH brush = gdi::CreateSolidBrush(color);
  gdi::HGDIOBJ oldPen = gdi::SelectObject(lhDC, pen);
  gdi::HGDIOBJ oldBrush = gdi::SelectObject(lhDC, brush);
  gdi::Rectangle(lhDC, left, top, right, bottom);
  gdi::SelectObject(lhDC, oldPen);
  gdi::SelectObject(lhDC, oldBrush);
  gdi::DeleteObject(pen);
  gdi::DeleteObject(brush);
}

}  // namespace velkor
