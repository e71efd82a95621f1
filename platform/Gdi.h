#pragma once
// The drawing layer: memory device contexts, DIB sections, block copies,
// alpha blending, pixels, pens, brushes and rectangles, with the meaning the
// Windows graphics interface gives them for the cases this program uses.
// Coordinates are picture coordinates (origin top-left) whatever the row order
// of the bitmap. Calls report failure through their result; none throws.
#include <cstddef>
#include <span>
#include <string>

#include "platform/GdiObjects.h"
#include "platform/GdiTypes.h"

namespace velkor::gdi {

// Device contexts and objects.
HDC CreateCompatibleDC(HDC reference);
bool DeleteDC(HDC dc);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);  // returns the previous object, or null
bool DeleteObject(HGDIOBJ object);             // refused while selected into a DC
HGDIOBJ GetCurrentObject(HDC dc, int kind);    // 7 = bitmap, 1 = pen, 2 = brush
HDC GetDC(void* window);                       // the screen's context (any window)
int ReleaseDC(void* window, HDC dc);
void* GetDesktopWindow();

// Puts the context's previous bitmap back, deletes the bitmap and the
// context, and zeroes all three handles; any of them may already be null.
void ReleaseMemoryBitmap(HDC& dc, HBITMAP& bitmap, HGDIOBJ& previous);

// A DIB section of the header's size and depth (1, 4, 8, 16, 24 or 32 bits),
// rows bottom-up for a positive height, top-down for a negative one. The
// colours fill the colour table of depths up to 8 bits. Pixels start at zero.
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFOHEADER& header, std::span<const RGBQUAD> colors, uint32_t usage,
                         void** bits, void* section, uint32_t offset);
HBITMAP CreateCompatibleBitmap(HDC dc, int32_t width, int32_t height);  // 32 bits per pixel
int GetObjectA(HGDIOBJ object, int size, void* out);                    // fills a BITMAP for a bitmap
unsigned GetDIBColorTable(HDC dc, unsigned start, unsigned count, RGBQUAD* colors);
unsigned SetDIBColorTable(HDC dc, unsigned start, unsigned count, const RGBQUAD* colors);

// Block copies, clipped to both surfaces. Only SRCCOPY is supported; any other
// raster operation is refused. Between 32-bit surfaces all four bytes are
// copied; from any other depth into a 32-bit surface the fourth byte is 0.
bool BitBlt(HDC dst, int32_t x, int32_t y, int32_t width, int32_t height, HDC src, int32_t xSrc, int32_t ySrc,
            uint32_t rop);
// Nearest-pixel stretching (COLORONCOLOR, the default and only mode honoured).
bool StretchBlt(HDC dst, int32_t x, int32_t y, int32_t width, int32_t height, HDC src, int32_t xSrc, int32_t ySrc,
                int32_t srcWidth, int32_t srcHeight, uint32_t rop);
int SetStretchBltMode(HDC dc, int mode);  // returns the previous mode, 0 on failure
int GetStretchBltMode(HDC dc);
// dst = src*k + dst*(1 - srcA*k/255) with k = constant alpha / 255 and src
// premultiplied; fails when the source block leaves the source surface.
bool AlphaBlend(HDC dst, int32_t x, int32_t y, int32_t width, int32_t height, HDC src, int32_t xSrc, int32_t ySrc,
                int32_t srcWidth, int32_t srcHeight, BLENDFUNCTION blend);

// Pixels and shapes. Drawing into a 32-bit surface writes 0 into the fourth byte.
COLORREF GetPixel(HDC dc, int32_t x, int32_t y);                  // CLR_INVALID outside the bitmap
COLORREF SetPixel(HDC dc, int32_t x, int32_t y, COLORREF color);  // CLR_INVALID outside
HPEN CreatePen(int style, int width, COLORREF color);
HBRUSH CreateSolidBrush(COLORREF color);
// Outline with the pen, inside with the brush; right and bottom edges exclusive.
bool Rectangle(HDC dc, int32_t left, int32_t top, int32_t right, int32_t bottom);
int FillRect(HDC dc, const RECT& rect, HBRUSH brush);  // right and bottom exclusive

// Bitmap files: LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0,
// LR_LOADFROMFILE | LR_CREATEDIBSECTION) loads a BMP file of any depth as a DIB
// section of the file's own depth; null when the file is no readable BMP.
HBITMAP LoadImageA(void* instance, const char* name, uint32_t type, int cx, int cy, uint32_t flags);

// Fault injection for tests: the next n DIB sections (or device contexts)
// are refused; DIB sections larger than the limit are always refused.
namespace testing {
void FailNextDibSections(int count);
void FailNextDeviceContexts(int count);
void SetDibSectionByteLimit(size_t bytes);
size_t DibSectionByteLimit();
}  // namespace testing

}  // namespace velkor::gdi
