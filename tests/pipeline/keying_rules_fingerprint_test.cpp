// The graded and binary rules, byte for byte: a fixed image keyed under several
// keys and tolerances must give exactly the bytes it gave before the clean
// edges rule was added beside them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "pipeline/PipelineTestSupport.h"
#include "support/FakeView.h"
#include "ui/commands/frmMain.h"

namespace velkor {
namespace {

// 64 x 64 pixels: even rows lie within 0..20 of the key in every channel (the
// graded rule's ramp), odd rows anywhere. Deterministic for every platform.
void FillFixedImage(cAlphaDibSection& image, uint32_t key) {
  ASSERT_TRUE(image.Create(64, 64));
  uint32_t state = 12345;
  const auto next = [&state] { return state = state * 1664525u + 1013904223u, state >> 24; };
  const int keyBgr[3] = {static_cast<int>(key >> 16 & 0xFF), static_cast<int>(key >> 8 & 0xFF),
                         static_cast<int>(key & 0xFF)};
  for (int32_t row = 0; row < 64; ++row) {
    uint8_t* p = testing::PixelPtr(image, 0, row);
    for (int32_t i = 0; i < 64 * 4; ++i) {
      const int c = i % 4;
      const int near = keyBgr[c < 3 ? c : 0] + static_cast<int>(next() % 41) - 20;
      p[i] = static_cast<uint8_t>(row % 2 == 0 && c < 3 ? std::clamp(near, 0, 255) : next());
    }
  }
}

uint64_t Fnv1a(const uint8_t* bytes, size_t size) {
  uint64_t hash = 14695981039346656037ull;
  for (size_t i = 0; i < size; ++i) hash = (hash ^ bytes[i]) * 1099511628211ull;
  return hash;
}

TEST(KeyingRuleFingerprint, GradedAndBinaryAreUnchanged) {
  struct Case {
    uint32_t key;
    int tolerance;
    bool binary;
    uint64_t fingerprint;
  };
  // Taken from the rules as they were before the clean edges rule existed.
  const Case cases[] = {
      {0x00FF00, 0, false, 0x099C0C03B66307F0ull},  {0x00FF00, 10, false, 0x597FFFB7AF49DE08ull},
      {0x00FF00, 40, false, 0x9046BBC657019130ull}, {0x00FF00, 255, false, 0x417E71B6C1649259ull},
      {0x00FF00, 0, true, 0x099C0C03B66307F0ull},   {0x00FF00, 10, true, 0xA3C693FDA3540ACBull},
      {0xFF0000, 12, false, 0x3D40EF2CC1ACEBE9ull}, {0xFF0000, 12, true, 0xE429E8A79D40CE66ull},
      {0x3C8AD2, 25, false, 0xEF78DCE9E86BF402ull},
  };
  for (const Case& c : cases) {
    testing::FakeView view;
    frmMain form(view);
    FillFixedImage(*form.WorkImage, c.key);
    form.KeyColor = c.key;
    form.Controls.sldTol.Value = c.tolerance;
    form.Controls.chkImagesNotAntiAliased.Value = c.binary;
    form.CreateAlphaChannel();
    const uint64_t fingerprint = Fnv1a(form.WorkImage->DIBSectionBitsPtr(), 64 * 64 * 4);
    EXPECT_EQ(fingerprint, c.fingerprint) << c.key << " T " << c.tolerance << (c.binary ? " binary" : "");
  }
}

}  // namespace
}  // namespace velkor
