// Resizing to the device size: the sizes of each step setting, the statuses,
// and a step that cannot make its raster.
#include <gtest/gtest.h>

#include <cstring>

#include "pipeline/DeviceSize.h"
#include "platform/Gdi.h"
#include "support/FakeView.h"
#include "ui/commands/frmMain.h"

namespace velkor {
namespace {

using testing::FakeView;
using Sizes = std::vector<RasterSize>;

TEST(DeviceSize, ByModeAndVersion) {
  EXPECT_EQ(DeviceSizeFor(false, "1.00"), (RasterSize{2880, 160}));
  EXPECT_EQ(DeviceSizeFor(false, "2.00"), (RasterSize{2880, 160}));
  EXPECT_EQ(DeviceSizeFor(false, "2.10"), (RasterSize{2880, 150}));
  EXPECT_EQ(DeviceSizeFor(false, "2.20"), (RasterSize{2880, 150}));
  EXPECT_EQ(DeviceSizeFor(true, "1.00"), (RasterSize{3242, 340}));
}

TEST(DeviceSize, ResamplingSequenceOfEveryStepSetting) {
  const RasterSize d{2880, 150};
  const struct {
    bool stepSample;
    int steps;
    Sizes expected;
  } cases[] = {
      {false, 0, {d}},
      {false, 3, {d}},
      {true, 0, {d}},
      {true, 1, {{8640, 450}, d}},
      {true, 2, {{11520, 600}, {8640, 450}, d}},
      {true, 3, {{11520, 600}, {8640, 450}, {5760, 300}, d}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ResampleSizes(d, c.stepSample, c.steps), c.expected)
        << (c.stepSample ? "step-sample, " : "no step-sample, ") << c.steps << " steps";
  }
}

struct Fixture {
  FakeView view;
  frmMain form{view};
  explicit Fixture(int32_t width = 40, int32_t height = 10) {
    EXPECT_TRUE(form.WorkImage->Create(width, height));
    std::memset(form.WorkImage->DIBSectionBitsPtr(), 90, static_cast<size_t>(width) * height * 4);
    form.ImageLoaded = true;
  }
  void StepSample(int steps) {
    form.Controls.chkStepSample.Value = true;
    for (int i = 0; i < 3; ++i) form.Controls.optSteps[static_cast<size_t>(i)].Value = i + 1 == steps;
  }
};

std::vector<std::string> ResamplingStatuses(const Sizes& sizes) {
  std::vector<std::string> statuses;
  for (const RasterSize& s : sizes)
    statuses.push_back("Status: Resampling to " + std::to_string(s.width) + "x" + std::to_string(s.height) +
                       "...");
  statuses.push_back("Status: Done...");
  return statuses;
}

TEST(ResizeToDeviceSize, EachStepSettingResamplesThroughItsSizes) {
  const struct {
    const char* name;
    bool animated;
    const char* version;
    int steps;  // 0: step-sample unchecked
    Sizes expected;
  } cases[] = {
      {"defaults, 2.20", false, "2.20", 0, {{2880, 150}}},
      {"1 step, 1.00", false, "1.00", 1, {{8640, 480}, {2880, 160}}},
      {"3 steps, 2.20", false, "2.20", 3, {{11520, 600}, {8640, 450}, {5760, 300}, {2880, 150}}},
      {"2 steps, animated", true, "1.00", 2, {{12968, 1360}, {9726, 1020}, {3242, 340}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Fixture f;
    if (c.animated) f.form.mnuAnimatedSRF_Click();
    if (c.steps > 0) f.StepSample(c.steps);
    f.view.statuses.clear();
    EXPECT_TRUE(f.form.ResizeToDeviceSize(c.version));
    EXPECT_EQ(f.view.statuses, ResamplingStatuses(c.expected));
    // Each resampling status shows at once; "Done..." waits for the next one.
    EXPECT_TRUE(f.view.statusRepaints.front());
    EXPECT_FALSE(f.view.statusRepaints.back());
    EXPECT_EQ(f.form.WorkImage->Width(), c.expected.back().width);
    EXPECT_EQ(f.form.WorkImage->Height(), c.expected.back().height);
  }
}

TEST(ResizeToDeviceSize, StepSampleWithNoStepSelectedResamplesOnce) {
  Fixture f;
  f.StepSample(0);
  EXPECT_TRUE(f.form.ResizeToDeviceSize("2.20"));
  EXPECT_EQ(f.view.statuses, ResamplingStatuses({{2880, 150}}));
}

TEST(ResizeToDeviceSize, UncheckedResizeKeepsTheRaster) {
  Fixture f;
  f.form.Controls.chkResize.Value = false;
  const cAlphaDibSection* before = f.form.WorkImage.get();
  EXPECT_TRUE(f.form.ResizeToDeviceSize("2.20"));
  EXPECT_TRUE(f.view.statuses.empty());
  EXPECT_EQ(f.form.WorkImage.get(), before);
  EXPECT_EQ(f.form.WorkImage->Width(), 40);
}

TEST(ResizeToDeviceSize, ARasterAlreadyAtTheDeviceSizeIsCopied) {
  Fixture f(2880, 150);
  f.form.WorkImage->DIBSectionBitsPtr()[4 * 2879 + 3] = 7;
  EXPECT_TRUE(f.form.ResizeToDeviceSize("2.20"));
  EXPECT_EQ(f.form.WorkImage->Width(), 2880);
  EXPECT_EQ(f.form.WorkImage->DIBSectionBitsPtr()[4 * 2879 + 3], 7);
  EXPECT_EQ(f.form.WorkImage->DIBSectionBitsPtr()[0], 90);
}

TEST(ResizeToDeviceSize, StepsThatCannotMakeTheirRasterLeaveTheImage) {
  Fixture f;
  f.StepSample(3);
  const cAlphaDibSection* before = f.form.WorkImage.get();
  gdi::testing::FailNextDibSections(1);
  EXPECT_FALSE(f.form.ResizeToDeviceSize("2.20"));
  EXPECT_EQ(f.view.statuses,
            (std::vector<std::string>{"Status: Resampling to 11520x600...", "Status: Resampling to 8640x450...",
                                      "Status: Resampling to 5760x300...", "Status: Resampling to 2880x150...",
                                      "Status: Error resampling image!"}));
  EXPECT_EQ(f.form.WorkImage.get(), before);
  EXPECT_EQ(f.form.WorkImage->Width(), 40);
  EXPECT_EQ(f.form.WorkImage->DIBSectionBitsPtr()[0], 90);
}

TEST(ResizeToDeviceSize, APictureOnePixelAcrossCannotBeResampled) {
  FakeView view;
  frmMain form(view);
  ASSERT_TRUE(form.WorkImage->Create(1, 150));
  const cAlphaDibSection* before = form.WorkImage.get();
  EXPECT_FALSE(form.ResizeToDeviceSize("2.20"));
  EXPECT_EQ(view.LastStatus(), "Status: Error resampling image!");
  EXPECT_EQ(form.LastOutcome.kind, CommandOutcome::Kind::Failed);
  EXPECT_EQ(form.LastOutcome.message, "the image cannot be resampled to 2880 x 150");
  EXPECT_EQ(form.WorkImage.get(), before);
}

TEST(ResizeToDeviceSize, AnEmptyWorkingImageIsLeftAlone) {
  FakeView view;
  frmMain form(view);
  EXPECT_TRUE(form.ResizeToDeviceSize("2.20"));
  EXPECT_TRUE(view.statuses.empty());
  EXPECT_TRUE(form.WorkImage->Empty());
}

}  // namespace
}  // namespace velkor
