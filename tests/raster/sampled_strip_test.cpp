// The sampled strip against the full strip it stands for: the same fill and
// frame copies into a full cAlphaDibSection, then Resample, must give every
// byte that SampledStrip::Resample gives. Frames of each depth, clipped on
// every side, bottom-up and top-down, reductions by 5 (the strip's), by less
// than 2 (neighbouring samples share columns), enlargement, and a size large
// enough for two threads.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "platform/FillRectangle.h"
#include "platform/Gdi.h"
#include "platform/GdiObjects.h"
#include "raster/SampledStrip.h"
#include "raster/cAlphaDibSection.h"

namespace velkor {
namespace {

struct Case {
  const char* name;
  int32_t width, height, targetWidth, targetHeight;
  int bpp;                          // depth of the frames
  int32_t frameWidth, frameHeight;  // negative height: rows top-down
  std::vector<std::pair<int32_t, int32_t>> frames;  // left, top
  int32_t fill[4];                  // left, top, right, bottom
};

const std::vector<Case> kCases = {
    {"strip-like", 200, 70, 40, 14, 24, 40, 40, {{0, 0}, {40, 0}, {80, 0}, {0, 40}, {40, 40}}, {1, 1, 200, 70}},
    {"clipped-32", 97, 31, 13, 5, 32, 30, 20, {{-7, -3}, {80, 20}, {50, 5}}, {1, 1, 97, 31}},
    {"palette-8", 64, 48, 9, 7, 8, 25, 25, {{3, 3}, {40, 30}}, {0, 0, 64, 48}},
    {"top-down-24", 60, 40, 45, 30, 24, 33, -21, {{10, 5}, {30, 25}}, {5, 2, 50, 38}},
    {"reversed-fill", 50, 30, 45, 29, 16, 20, 20, {{0, 0}}, {40, 25, 2, 3}},
    {"enlarged", 10, 10, 25, 23, 24, 7, 7, {{2, 1}}, {1, 1, 10, 10}},
    {"two-threads", 1000, 300, 300, 220, 24, 400, 300, {{0, 0}, {400, 0}, {800, 0}}, {1, 1, 1000, 300}},
};

gdi::HBITMAP RandomFrame(const Case& c, std::mt19937& random) {
  gdi::BITMAPINFOHEADER header;
  header.biWidth = c.frameWidth;
  header.biHeight = c.frameHeight;
  header.biBitCount = static_cast<uint16_t>(c.bpp);
  std::vector<gdi::RGBQUAD> palette(c.bpp <= 8 ? 256 : 0);
  for (auto& entry : palette) entry = {uint8_t(random()), uint8_t(random()), uint8_t(random()), 0};
  void* bits = nullptr;
  gdi::HBITMAP frame = gdi::CreateDIBSection(nullptr, header, palette, gdi::DIB_RGB_COLORS, &bits, nullptr, 0);
  EXPECT_NE(frame, nullptr);
  auto* bytes = static_cast<uint8_t*>(bits);
  for (int64_t i = 0; i < int64_t{frame->stride()} * frame->height(); ++i) bytes[i] = static_cast<uint8_t>(random());
  return frame;
}

TEST(SampledStrip, ResamplesToTheBytesOfTheFullStrip) {
  std::mt19937 random(20261207);
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    const uint32_t key = random() & 0xFFFFFF;
    cAlphaDibSection full;
    ASSERT_TRUE(full.Create(c.width, c.height));
    SampledStrip sampled;
    ASSERT_TRUE(sampled.Create(c.width, c.height, c.targetWidth, c.targetHeight));
    FillRectangle(full.hDC(), c.fill[0], c.fill[1], c.fill[2], c.fill[3], key);
    sampled.Fill(c.fill[0], c.fill[1], c.fill[2], c.fill[3], key);
    for (const auto& [left, top] : c.frames) {
      gdi::HBITMAP frame = RandomFrame(c, random);
      gdi::HDC dc = gdi::CreateCompatibleDC(nullptr);
      gdi::HGDIOBJ old = gdi::SelectObject(dc, frame);
      gdi::BitBlt(full.hDC(), left, top, frame->width(), frame->height(), dc, 0, 0, gdi::SRCCOPY);
      sampled.Copy(*frame, left, top);
      gdi::SelectObject(dc, old);
      gdi::DeleteDC(dc);
      gdi::DeleteObject(frame);
    }
    const auto expected = full.Resample(c.targetHeight, c.targetWidth);
    const auto actual = sampled.Resample();
    ASSERT_TRUE(expected && actual);
    const size_t bytes = size_t{4} * c.targetWidth * c.targetHeight;
    EXPECT_EQ(std::vector<uint8_t>(actual->DIBSectionBitsPtr(), actual->DIBSectionBitsPtr() + bytes),
              std::vector<uint8_t>(expected->DIBSectionBitsPtr(), expected->DIBSectionBitsPtr() + bytes));
  }
}

TEST(SampledStrip, RefusesWhatIsNotAResample) {
  SampledStrip strip;
  EXPECT_FALSE(strip.Create(40, 30, 40, 30));  // the same size is a copy, not a blend
  EXPECT_FALSE(strip.Create(0, 30, 10, 10));
  EXPECT_EQ(strip.Resample(), nullptr);
}

}  // namespace
}  // namespace velkor
