// The alpha stage: both rules, premultiplied colours, the progress bar.
#include <gtest/gtest.h>

#include <cstring>

#include "pipeline/KeyColourAlpha.h"
#include "pipeline/PipelineTestSupport.h"
#include "support/FakeView.h"
#include "ui/commands/frmMain.h"

namespace velkor {
namespace {

using testing::Bgra;
using testing::FakeView;

struct AlphaCase {
  int dB, dG, dR, tolerance;
  bool binary;
  int alpha;
};

TEST(KeyAlpha, BothRules) {
  const AlphaCase cases[] = {
      // Graded rule.
      {0, 0, 0, 0, false, 0},
      {0, 1, 0, 0, false, 255},
      {1, 1, 1, 10, false, 26},      // m = 1: 25.5 rounds to 26
      {3, 3, 3, 10, false, 76},      // m = 3: 76.5 ties to 76
      {10, 10, 10, 10, false, 255},  // the mean reaches T
      {11, 0, 0, 10, false, 255},    // one channel beyond T
      {0, 0, 11, 10, false, 255},
      {1, 2, 2, 10, false, 51},  // m = round(1.67) = 2
      {0, 0, 1, 10, false, 0},   // m = round(0.33) = 0
      {0, 1, 2, 10, false, 26},  // m = 1
      {255, 255, 255, 255, false, 255},
      {100, 0, 50, 255, false, 50},  // T = 255: alpha is the rounded mean
      {7, 8, 8, 255, false, 8},      // m = round(7.67)
      // Binary rule.
      {10, 10, 10, 10, true, 0},
      {11, 0, 0, 10, true, 255},
      {0, 0, 0, 0, true, 0},
      {255, 255, 255, 255, true, 0},  // T = 255: everything is transparent
  };
  for (const AlphaCase& c : cases) {
    EXPECT_EQ(KeyAlpha(c.dB, c.dG, c.dR, c.tolerance, c.binary), c.alpha)
        << c.dB << "," << c.dG << "," << c.dR << " T " << c.tolerance << (c.binary ? " binary" : " graded");
  }
}

struct Fixture {
  FakeView view;
  frmMain form{view};
  // A working image of one memory row per entry.
  void Image(const std::vector<std::vector<Bgra>>& rows) {
    ASSERT_TRUE(
        form.WorkImage->Create(static_cast<int32_t>(rows[0].size()), static_cast<int32_t>(rows.size())));
    for (size_t r = 0; r < rows.size(); ++r)
      for (size_t x = 0; x < rows[r].size(); ++x)
        std::memcpy(testing::PixelPtr(*form.WorkImage, static_cast<int32_t>(x), static_cast<int32_t>(r)),
                    rows[r][x].data(), 4);
    form.ImageLoaded = true;
  }
  Bgra At(int32_t x, int32_t memoryRow) {
    Bgra p;
    std::memcpy(p.data(), testing::PixelPtr(*form.WorkImage, x, memoryRow), 4);
    return p;
  }
};

TEST(CreateAlphaChannel, GreenKeyPremultipliesWhatIsLeft) {
  Fixture f;
  // B, G, R, and an old alpha that is neither read nor kept.
  f.Image({{Bgra{0, 255, 0, 77}, Bgra{0, 254, 0, 0}, Bgra{1, 254, 1, 9}, Bgra{100, 200, 50, 0}}});
  f.form.Controls.sldTol.Value = 10;
  f.form.CreateAlphaChannel();
  EXPECT_EQ(f.At(0, 0), (Bgra{0, 0, 0, 0}));
  EXPECT_EQ(f.At(1, 0), (Bgra{0, 0, 0, 0}));  // distances (0, 1, 0): m = round(0.33) = 0
  EXPECT_EQ(f.At(2, 0), (Bgra{0, 25, 0, 26}));
  EXPECT_EQ(f.At(3, 0), (Bgra{100, 200, 50, 255}));
}

TEST(CreateAlphaChannel, ZeroToleranceClearsOnlyTheExactKey) {
  Fixture f;
  f.Image({{Bgra{0, 255, 0, 255}, Bgra{0, 254, 0, 0}}});
  f.form.CreateAlphaChannel();
  EXPECT_EQ(f.At(0, 0), (Bgra{0, 0, 0, 0}));
  EXPECT_EQ(f.At(1, 0), (Bgra{0, 254, 0, 255}));
  Fixture odd;  // every bit of every key channel counts
  odd.form.KeyColor = 0x0B0D0F;
  odd.Image({{Bgra{0x0B, 0x0D, 0x0F, 0}, Bgra{0x0B, 0x0D, 0x0E, 0}}});
  odd.form.CreateAlphaChannel();
  EXPECT_EQ(odd.At(0, 0), (Bgra{0, 0, 0, 0}));
  EXPECT_EQ(odd.At(1, 0), (Bgra{0x0B, 0x0D, 0x0E, 255}));
}

TEST(CreateAlphaChannel, ColoursAreMultipliedByAlphaAndTruncated) {
  Fixture f;
  // Key (B 99, G 199, R 49): the pixel (100, 200, 50) is 1 off in each
  // channel, so with T = 10 its alpha is 26: 100 * 26 / 255 = 10.2 -> 10.
  f.form.KeyColor = 49 | 199 << 8 | 99 << 16;
  f.form.Controls.sldTol.Value = 10;
  f.Image({{Bgra{100, 200, 50, 0}}});
  f.form.CreateAlphaChannel();
  EXPECT_EQ(f.At(0, 0), (Bgra{10, 20, 5, 26}));
}

TEST(CreateAlphaChannel, BinaryRuleWithABlueKey) {
  Fixture f;
  f.form.KeyColor = 0xFF0000;  // Bk = 255
  f.form.Controls.chkImagesNotAntiAliased.Value = true;
  f.Image({{Bgra{255, 0, 0, 0}, Bgra{0, 0, 255, 0}}});
  f.form.CreateAlphaChannel();
  EXPECT_EQ(f.At(0, 0), (Bgra{0, 0, 0, 0}));
  EXPECT_EQ(f.At(1, 0), (Bgra{0, 0, 255, 255}));
}

TEST(CreateAlphaChannel, Tolerance255UnderBothRules) {
  for (const bool binary : {true, false}) {
    SCOPED_TRACE(binary ? "binary" : "graded");
    Fixture f;
    f.form.Controls.sldTol.Value = 255;
    f.form.Controls.chkImagesNotAntiAliased.Value = binary;
    // Distances to green (B, G, R): (0, 255, 0) -> m 85; (200, 155, 100) -> m 152.
    f.Image({{Bgra{0, 0, 0, 0}, Bgra{200, 100, 100, 0}}});
    f.form.CreateAlphaChannel();
    if (binary) {
      EXPECT_EQ(f.At(0, 0), (Bgra{0, 0, 0, 0}));
      EXPECT_EQ(f.At(1, 0), (Bgra{0, 0, 0, 0}));
    } else {
      EXPECT_EQ(f.At(0, 0), (Bgra{0, 0, 0, 85}));
      EXPECT_EQ(f.At(1, 0), (Bgra{200 * 152 / 255, 100 * 152 / 255, 100 * 152 / 255, 152}));
    }
  }
}

TEST(CreateAlphaChannel, ProgressRunsFrom0To100ByRowAndStatusesFrame) {
  Fixture clean;  // the clean-edges rule reports its rows the same way
  clean.form.mnuKeyClean_Click();
  clean.Image({{Bgra{}}, {Bgra{}}, {Bgra{}}, {Bgra{}}, {Bgra{}}});
  clean.form.CreateAlphaChannel();
  EXPECT_EQ(clean.view.progressValues, (std::vector<float>{0, 25, 50, 75, 100}));

  Fixture f;
  f.Image({{Bgra{}}, {Bgra{}}, {Bgra{}}, {Bgra{}}, {Bgra{}}});
  f.form.CreateAlphaChannel();
  EXPECT_EQ(f.view.progressValues, (std::vector<float>{0, 25, 50, 75, 100}));
  EXPECT_EQ(f.view.progressShown, 1);
  EXPECT_EQ(f.view.progressHidden, 1);
  EXPECT_FALSE(f.form.Controls.ProgressBar1.Visible);
  EXPECT_EQ(f.view.statuses,
            (std::vector<std::string>{"Status: Creating Alpha Channel...", "Status: Alpha Channel Done..."}));

  // A raster of one row is done after that row.
  Fixture one;
  one.Image({{Bgra{}, Bgra{}}});
  one.form.CreateAlphaChannel();
  EXPECT_EQ(one.view.progressValues, (std::vector<float>{100}));
}

TEST(CreateAlphaChannel, AnEmptyWorkingImageIsLeftAlone) {
  Fixture f;
  f.form.CreateAlphaChannel();
  EXPECT_TRUE(f.view.statuses.empty());
  EXPECT_EQ(f.view.progressShown, 0);
  EXPECT_TRUE(f.form.WorkImage->Empty());
}

}  // namespace
}  // namespace velkor
