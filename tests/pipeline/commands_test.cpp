// The pipeline's commands: resizing to the device size, where Do All stops,
// Make SRF, Load Image, and velkor-cli on
// small frame sets (its output bytes are pinned by tests/golden).
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <tuple>

#include "pipeline/DeviceSize.h"
#include "pipeline/PipelineTestSupport.h"
#include "platform/Files.h"
#include "platform/Gdi.h"
#include "support/Cli.h"
#include "support/FakeView.h"

namespace velkor {
namespace {

using namespace testing;
using Sizes = std::vector<RasterSize>;
using Strings = std::vector<std::string>;

using Fixture = FormOnDisk<>;

TEST(DeviceSize, ByModeVersionAndStepSetting) {
  for (const auto& [animated, version, size] : {std::tuple{false, "1.00", RasterSize{2880, 160}},
                                                {false, "2.00", {2880, 160}},
                                                {false, "2.10", {2880, 150}},
                                                {false, "2.20", {2880, 150}},
                                                {true, "1.00", {3242, 340}}})
    EXPECT_EQ(DeviceSizeFor(animated, version), size) << version;
}

Strings ResamplingStatuses(const Sizes& sizes, const std::string& last = "Status: Done...") {
  Strings statuses;
  for (const RasterSize& s : sizes)
    statuses.push_back("Status: Resampling to " + std::to_string(s.width) + "x" + std::to_string(s.height) + "...");
  statuses.push_back(last);
  return statuses;
}

TEST(ResizeToDeviceSize, EachStepSettingResamplesThroughItsSizes) {
  const struct {
    bool animated;
    const char* version;
    int steps;  // -1: step-sample unchecked
    Sizes expected;
  } cases[] = {
      {false, "2.20", -1, {{2880, 150}}},
      {false, "2.20", 0, {{2880, 150}}},  // checked, no step selected
      {false, "1.00", 1, {{8640, 480}, {2880, 160}}},
      {false, "2.20", 3, {{11520, 600}, {8640, 450}, {5760, 300}, {2880, 150}}},
      {true, "1.00", 2, {{12968, 1360}, {9726, 1020}, {3242, 340}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.version) + " steps " + std::to_string(c.steps));
    Fixture f;
    f.Image(40, 10);
    if (c.animated) f.form.mnuAnimatedSRF_Click();
    if (c.steps >= 0) f.StepSample(c.steps);
    f.view.statuses.clear();
    EXPECT_TRUE(f.form.ResizeToDeviceSize(c.version));
    EXPECT_EQ(f.view.statuses, ResamplingStatuses(c.expected));
    // Each resampling status shows at once; "Done..." waits for the next one.
    EXPECT_EQ(std::tuple(f.view.statusRepaints.front(), f.view.statusRepaints.back(), f.form.WorkImage->Width(),
                         f.form.WorkImage->Height()),
              std::tuple(true, false, c.expected.back().width, c.expected.back().height));
  }
}

// Unchecked, empty or failing, the working image stays the raster it was.
TEST(ResizeToDeviceSize, LeftAloneOrFailing) {
  const std::string kResampleError = "Status: Error resampling image!";
  const struct {
    int32_t width, height;  // 0: no working image
    std::function<void(Fixture&)> setup;
    bool completes;
    Strings statuses;
  } cases[] = {
      {40, 10, [](Fixture& f) { f.form.Controls.chkResize.Value = false; }, true, {}},
      {0, 0, nullptr, true, {}},
      {40, 10, [](Fixture& f) { f.StepSample(3), gdi::testing::FailNextDibSections(1); }, false,
       ResamplingStatuses({{11520, 600}, {8640, 450}, {5760, 300}, {2880, 150}}, kResampleError)},
      {1, 150, nullptr, false, ResamplingStatuses({{2880, 150}}, kResampleError)},  // nothing to blend
  };
  for (const auto& c : cases) {
    Fixture f;
    if (c.width > 0) f.Image(c.width, c.height);
    if (c.setup) c.setup(f);
    const cAlphaDibSection* before = f.form.WorkImage.get();
    EXPECT_EQ(f.form.ResizeToDeviceSize("2.20"), c.completes) << c.width;
    EXPECT_EQ(std::tuple(f.view.statuses, f.form.WorkImage.get(),
                         f.form.WorkImage->Empty() ? 90 : f.form.WorkImage->DIBSectionBitsPtr()[0]),
              std::tuple(c.statuses, before, 90));
    if (!c.completes) {
      EXPECT_EQ(f.form.LastOutcome.message, "the image cannot be resampled to 2880 x 150");
    }
  }
  Fixture same;  // already at the device size: copied
  same.Image(2880, 150);
  same.form.WorkImage->DIBSectionBitsPtr()[4 * 2879 + 3] = 7;
  EXPECT_TRUE(same.form.ResizeToDeviceSize("2.20"));
  const uint8_t* bits = same.form.WorkImage->DIBSectionBitsPtr();
  EXPECT_EQ(std::pair(bits[4 * 2879 + 3], bits[0]), std::pair(uint8_t{7}, uint8_t{90}));
}

// A view that makes the drawing layer refuse the next raster once a chosen
// status shows, or (with "progress hidden") once the alpha stage ends.
struct RefusingView : FakeView {
  std::string refuseAt;
  void StatusChanged(const std::string& text, bool repaint) override {
    FakeView::StatusChanged(text, repaint);
    if (text == refuseAt) gdi::testing::FailNextDibSections(1);
  }
  void ProgressVisible(bool visible) override {
    FakeView::ProgressVisible(visible);
    if (!visible && refuseAt == "progress hidden") gdi::testing::FailNextDibSections(1);
  }
  ~RefusingView() override { gdi::testing::FailNextDibSections(0); }
};

TEST(DoAll, EachStageThatFailsEndsTheCommandBeforeTheSaveDialog) {
  const struct {
    std::string refuseAt;  // "Status: Idle": the import is done, the next raster is the resample's
    const char* lastStatus;
    int32_t width;
    Bgra pixel;  // at (5, 5)
  } cases[] = {
      {"Status: Idle", "Status: Error resampling image!", 14400, kKeyPixel},
      {"progress hidden", "Status: Error applying unsharp mask!", 2880, Bgra{0, 0, 0, 0}},  // keyed, not sharpened
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lastStatus);
    FormOnDisk<RefusingView> f(true);
    f.view.refuseAt = c.refuseAt;
    f.form.cmdSave_Click();
    EXPECT_EQ(f.view.LastStatus(), c.lastStatus);
    EXPECT_EQ(std::pair(f.view.dialogs.size(), f.view.messages.size()), std::pair(size_t{0}, size_t{0}));
    ASSERT_EQ(f.form.WorkImage->Width(), c.width);
    EXPECT_EQ(GetBgra(*f.form.WorkImage, 5, 5), c.pixel);
  }
}

TEST(PipelineCommands, TheVersionBoxAlphaAndUnsharpMask) {
  const std::pair<const char*, int32_t> versions[] = {{" 2.10 ", 750}, {"3.00", 750},  {"", 750},
                                                      {"1.00", 800},   {" 2.00", 800}, {"2.2", 750}};
  for (const auto& [text, height] : versions) {
    Fixture f(true);
    f.form.Controls.cmbVersion.Text = text;
    f.form.cmdGo_Click();
    EXPECT_EQ(std::pair(f.form.WorkImage->Width(), f.form.WorkImage->Height()), std::pair(14400, height)) << text;
  }
  Fixture f;
  f.form.cmdAddAlpha_Click();
  f.form.cmdUnsharpMask_Click();
  EXPECT_EQ(std::pair(f.view.statuses.size(), f.form.ImageLoaded), std::pair(size_t{0}, false));
  f.Image(3, 3);
  std::memset(f.form.WorkImage->DIBSectionBitsPtr(), 100, 36);
  f.form.cmdUnsharpMask_Click();
  EXPECT_EQ(f.view.statuses, (Strings{"Status: Applying Unsharp Mask....", "Status: Done...."}));
  EXPECT_EQ(f.view.statusRepaints, (std::vector<bool>{false, true}));
  // The centre, a corner.
  EXPECT_EQ(std::pair(f.form.WorkImage->DIBSectionBitsPtr()[4 * 4], f.form.WorkImage->DIBSectionBitsPtr()[0]),
            std::pair(uint8_t{106}, uint8_t{112}));
}

TEST(MakeSRF, StaticUsesTheNormalisedVersionAndAnimatedAlways100) {
  for (const bool animated : {false, true}) {
    Fixture f;
    f.Image(animated ? 3242 : 2880, animated ? 340 : 150);
    if (animated) f.form.mnuAnimatedSRF_Click();
    f.form.Controls.cmbVersion.Text = animated ? "2.20" : " 2.10 ";
    f.view.dialogAnswers.push_back(f.dir / "x.srf");
    f.form.cmdMakeSRF_Click();
    EXPECT_EQ(f.view.LastStatus(),
              animated ? "Status: ASRF version #1.00 file written...." : "Status: SRF version #2.10 file written....");
    EXPECT_EQ(platform::FileLength(f.dir / "x.srf"), animated ? 3134432 : 1220608);
  }
}

TEST(LoadImage, ACancelAMissingFileAndAnUnreadableOne) {
  Fixture f;
  f.view.dialogAnswers.push_back(std::nullopt);
  f.form.cmdLoadImage_Click();
  ASSERT_EQ(f.view.dialogs.size(), 1u);
  const auto& dialog = f.view.dialogs[0];
  EXPECT_EQ(std::tuple(dialog.save, dialog.filter, dialog.flags, f.view.previewCleared),
            std::tuple(false, std::string("Bitmap Files|*.bmp"), 0x82000u, 0));
  f.view.dialogAnswers.push_back(f.dir / "none.bmp");
  f.form.cmdLoadImage_Click();
  ASSERT_EQ(f.view.messages.size(), 1u);
  EXPECT_NE(f.view.messages[0].find(f.dir / "none.bmp"), std::string::npos) << f.view.messages[0];
  EXPECT_EQ(std::pair(f.form.ImageLoaded, f.form.WorkImage->Empty()), std::pair(false, true));
}

// The bitmap goes into the top-left corner of a new strip (also when the
// working image had another size); the rest is key, row 0 included.
TEST(LoadImage, ABitmapBecomesTheTopLeftOfAKeyStrip) {
  for (const bool hadImage : {false, true}) {
    Fixture f;
    if (hadImage) f.Image(4, 3);
    ASSERT_TRUE(
        WriteTestBmp(f.dir / "small.bmp", 3, 2, 24, [](int x, int y) { return uint32_t(0x102030 + x + 16 * y); }));
    f.view.dialogAnswers.push_back(f.dir / "small.bmp");
    f.form.cmdLoadImage_Click();
    const cAlphaDibSection& image = *f.form.WorkImage;
    ASSERT_EQ(std::tuple(f.form.ImageLoaded, image.Width(), image.Height()), std::tuple(true, 14400, 750));
    for (const auto& [x, y, pixel] : {std::tuple{0, 0, Bgra{0x30, 0x20, 0x10, 0}},
                                      {2, 1, Bgra{0x42, 0x20, 0x10, 0}},
                                      {3, 1, kKeyPixel},
                                      {3, 0, kKeyPixel},
                                      {0, 2, kKeyPixel},
                                      {14399, 749, kKeyPixel}})
      EXPECT_EQ(GetBgra(image, x, y), pixel) << x << "," << y;
  }
}

// Output bytes are pinned by tests/golden; here a failing run names the frame
// and leaves the output as it was, and contradictory flags are usage errors.
TEST(CliPipeline, FailuresThatNameTheFrameAndUsageErrors) {
  ScratchDir frames, out;
  WriteAllSets(frames.path());
  const std::vector<uint8_t> kept = {1, 2, 3};
  WriteFileBytes(out / "keep.srf", kept);
  const auto run = [&](const std::string& args, int status, const std::string& errPart) {
    const CliResult r = RunCli("do-all " + args, out.path());
    EXPECT_EQ(r.status, status) << args << "\n" << r.err;
    EXPECT_NE(r.err.find(errPart), std::string::npos) << errPart << "\n" << r.err;
  };
  // Without --rotation-2d the 2D frames come from the Top subfolder.
  run("--rotation-3d " + Quoted(frames.path()) + " --prefix-3d r3d --prefix-2d r2d " + Quoted(out / "x.srf"), 1,
      "error: Status: ERROR: 2D Rotation File Not Found... (" + (frames / "Top/r2d0000.bmp") + ")");
  EXPECT_FALSE(PathExists(out / "x.srf"));
  WriteFileBytes(frames / "r2d0009.bmp", {});
  run(FrameFlags(frames.path()) + " " + Quoted(out / "keep.srf"), 1,
      "2D rotation frame " + (frames / "r2d0009.bmp") + " cannot be read");
  EXPECT_EQ(ReadFileBytes(out / "keep.srf"), kept);
  // Never written over a frame it imports (through a link too), or over the model it renders.
  const std::vector<uint8_t> frame = ReadFileBytes(frames / "a2d0035.bmp");
  std::filesystem::create_symlink(frames / "a2d0035.bmp", out / "frame.srf");
  run(FrameFlags(frames.path()) + " --animated " + Quoted(out / "frame.srf"), 1,
      "is the input file " + frames / "a2d0035.bmp");
  run("--model " + Quoted(out / "keep.srf") + " " + Quoted(out / "keep.srf"), 1, "is the input file");
  EXPECT_TRUE(ReadFileBytes(frames / "a2d0035.bmp") == frame && ReadFileBytes(out / "keep.srf") == kept);
  for (const std::string flags :
       {"--key '#00FF0'", "--key 16777216", "--key green", "--tolerance 256", "--step-sample 4", "--keying soft",
        "--keying clean --not-anti-aliased", "--not-anti-aliased --keying graded", "--tolerance 40",
        "--keying clean --tolerance 0", "--version 3.00"})
    EXPECT_EQ(RunCli("do-all " + flags + " z.srf", out.path()).status, 2) << flags;
  EXPECT_FALSE(PathExists(out / "z.srf"));
}

}  // namespace
}  // namespace velkor
