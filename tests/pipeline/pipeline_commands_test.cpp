// The pipeline's buttons: Do All on the bundled sample vehicle, version
// normalisation, the chain after failures, Make SRF and Load Image.
#include <FreeImage.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "common/Paths.h"
#include "pipeline/PipelineTestSupport.h"
#include "platform/Files.h"
#include "platform/Gdi.h"
#include "support/FakeView.h"
#include "ui/commands/frmMain.h"

namespace velkor {
namespace {

using testing::FakeView;
using testing::kKeyPixel;
using testing::PixelAt;
using testing::ScratchDir;

// Saves the working image as a PNG with straight alpha into the test output
// folder, for a person to look at.
void SaveForViewing(const cAlphaDibSection& image, const std::string& name) {
  FIBITMAP* dib = FreeImage_Allocate(image.Width(), image.Height(), 32);
  ASSERT_NE(dib, nullptr);
  for (int32_t row = 0; row < image.Height(); ++row) {  // both bottom-up
    const uint8_t* from = image.DIBSectionBitsPtr() + row * image.BytesPerScanLine();
    BYTE* to = FreeImage_GetScanLine(dib, row);
    for (int32_t x = 0; x < image.Width(); ++x, from += 4, to += 4) {
      const int a = from[3];
      for (int c = 0; c < 3; ++c) {
        to[c == 0 ? FI_RGBA_BLUE : (c == 1 ? FI_RGBA_GREEN : FI_RGBA_RED)] =
            static_cast<BYTE>(a == 0 ? 0 : std::min(255, (from[c] * 255 + a / 2) / a));
      }
      to[FI_RGBA_ALPHA] = static_cast<BYTE>(a);
    }
  }
  const std::string path = testing::TestOutputDir() + "/" + name;
  EXPECT_TRUE(FreeImage_Save(FIF_PNG, dib, path.c_str(), 0)) << path;
  FreeImage_Unload(dib);
}

struct Fixture {
  ScratchDir dir;
  FakeView view;
  frmMain form{view};
};

TEST(DoAll, StaticSampleVehicleAsVersion220) {
  Fixture f;
  ASSERT_TRUE(platform::FileExists(frmMain::DefaultRotationFolder() + "/car0000.bmp"))
      << "the sample vehicle is generated into the build folder";
  const std::string out = f.dir / "sample.srf";
  f.view.dialogAnswers.push_back(out);
  f.form.cmdSave_Click();
  EXPECT_EQ(f.view.statuses,
            (std::vector<std::string>{
                "Status: Creating green screen...", "Status: Importing and Stitching 3D Images...",
                "Status: Importing and Stitching 2D Images...", "Status: Copying to Picture Box...",
                "Status: Idle", "Status: Resampling to 2880x150...", "Status: Done...",
                "Status: Creating Alpha Channel...", "Status: Alpha Channel Done...",
                "Status: Applying Unsharp Mask....", "Status: Done....", "Status: Writing SRF...",
                "Status: Calculating Checksum...", "Status: SRF version #2.20 file written...."}));
  EXPECT_EQ(f.form.LastImport, ImportOutcome::Complete);
  EXPECT_TRUE(f.form.ImportWarnings.empty());
  EXPECT_EQ(platform::FileLength(out), 1220608);
  const cAlphaDibSection& image = *f.form.WorkImage;
  ASSERT_EQ(image.Width(), 2880);
  ASSERT_EQ(image.Height(), 150);
  // The background of the first 3D and 2D cells is keyed away; the car in
  // their middles is opaque.
  EXPECT_EQ(PixelAt(image, 2, 2), (testing::Bgra{0, 0, 0, 0}));
  EXPECT_EQ(PixelAt(image, 2, 82), (testing::Bgra{0, 0, 0, 0}));
  EXPECT_EQ(PixelAt(image, 40, 40)[3], 255);
  EXPECT_EQ(PixelAt(image, 35, 115)[3], 255);
  SaveForViewing(image, "do_all_static_2.20.png");
}

TEST(DoAll, AnimatedSampleVehicle) {
  Fixture f;
  const std::string out = f.dir / "animated.srf";
  f.view.dialogAnswers.push_back(out);
  f.form.mnuAnimatedSRF_Click();
  // The sample's animated rotation set (450 and 400 pixels), as the user
  // would pick it; the animation boxes start on the animation set.
  const std::string rotation = GetFolderName(frmMain::DefaultAnimationFolder()) + "/Rotation";
  f.form.Controls.txtWorkDir[1].Text = rotation;
  f.form.Controls.txt2DWorkDir[1].Text = rotation + "/Top";
  f.form.cmdSave_Click();
  EXPECT_EQ(
      f.view.statuses,
      (std::vector<std::string>{
          "Status: Creating green screen...", "Status: Importing and Stitching 3D Images...",
          "Status: Importing and Stitching 2D Images...",
          "Status: Importing and Stitching 3D Anim. Images...",
          "Status: Importing and Stitching 2D Anim. Images...", "Status: Copying to Picture Box...",
          "Status: Idle", "Status: Resampling to 3242x340...", "Status: Done...",
          "Status: Creating Alpha Channel...", "Status: Alpha Channel Done...", "Status: Writing ASRF...",
          "Status: Calculating Checksum...", "Status: ASRF version #1.00 file written...."}));
  EXPECT_EQ(f.form.LastImport, ImportOutcome::Complete);
  EXPECT_EQ(platform::FileLength(out), 3134432);
  const cAlphaDibSection& image = *f.form.WorkImage;
  ASSERT_EQ(image.Width(), 3242);
  ASSERT_EQ(image.Height(), 340);
  // Each band's first cell: keyed corner, opaque car in the middle.
  for (const int32_t top : {0, 90, 170, 260}) {
    SCOPED_TRACE(top);
    EXPECT_EQ(PixelAt(image, 2, top + 2), (testing::Bgra{0, 0, 0, 0}));
    EXPECT_EQ(PixelAt(image, 40, top + 40)[3], 255);
  }
  // The frames fill their cells: no opaque seam where a cell ends.
  for (int32_t row = 0; row < 340; ++row) EXPECT_EQ(PixelAt(image, 0, row)[3], 0) << "row " << row;
  SaveForViewing(image, "do_all_animated.png");
}

TEST(PipelineCommands, BuildImageNormalisesTheVersionBox) {
  const struct {
    const char* text;
    int32_t stripHeight;
  } cases[] = {{" 2.10 ", 750}, {"3.00", 750}, {"", 750}, {"1.00", 800}, {" 2.00", 800}, {"2.2", 750}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("'") + c.text + "'");
    Fixture f;
    testing::UseFrameFolder(f.form, f.dir.path());  // no frames: the strip is made, then the import stops
    f.form.Controls.cmbVersion.Text = c.text;
    f.form.cmdGo_Click();
    ASSERT_FALSE(f.form.WorkImage->Empty());
    EXPECT_EQ(f.form.WorkImage->Width(), 14400);
    EXPECT_EQ(f.form.WorkImage->Height(), c.stripHeight);
  }
}

TEST(PipelineCommands, AlphaAndUnsharpMaskBeforeAnyImageDoNothing) {
  FakeView view;
  frmMain form(view);
  form.cmdAddAlpha_Click();
  form.cmdUnsharpMask_Click();
  EXPECT_TRUE(view.statuses.empty());
  EXPECT_TRUE(form.WorkImage->Empty());
  EXPECT_FALSE(form.ImageLoaded);
}

TEST(PipelineCommands, UnsharpMaskReplacesTheWorkingImage) {
  FakeView view;
  frmMain form(view);
  ASSERT_TRUE(form.WorkImage->Create(3, 3));
  std::memset(form.WorkImage->DIBSectionBitsPtr(), 100, 36);
  form.cmdUnsharpMask_Click();
  EXPECT_EQ(view.statuses,
            (std::vector<std::string>{"Status: Applying Unsharp Mask....", "Status: Done...."}));
  EXPECT_EQ(view.statusRepaints, (std::vector<bool>{false, true}));
  EXPECT_EQ(form.WorkImage->DIBSectionBitsPtr()[4 * 4], 106);  // the centre
  EXPECT_EQ(form.WorkImage->DIBSectionBitsPtr()[0], 112);      // a corner
}

TEST(DoAll, AnImportThatStoppedEndsTheCommandBeforeTheSaveDialog) {
  Fixture f;
  testing::UseFrameFolder(f.form, f.dir.path());  // no frames at all
  f.form.cmdSave_Click();
  EXPECT_EQ(f.form.LastImport, ImportOutcome::FileMissing);
  EXPECT_EQ(f.view.LastStatus(), "Status: ERROR: 3D Rotation File Not Found...");
  EXPECT_EQ(f.view.messages.size(), 1u);
  EXPECT_TRUE(f.view.dialogs.empty());
  EXPECT_EQ(f.form.WorkImage->Width(), 14400);
}

// A view that makes the drawing layer refuse the next DIB section once a
// chosen moment of the command has come.
struct RefusingView : FakeView {
  int refuseAtDoEvents = 0;  // at this DoEvents call (1, 2, ...)
  bool refuseAtProgressHidden = false;
  std::string refuseAtStatus;  // when this status is set
  void StatusChanged(const std::string& text, bool repaint) override {
    FakeView::StatusChanged(text, repaint);
    if (text == refuseAtStatus) gdi::testing::FailNextDibSections(1);
  }
  void DoEvents() override {
    FakeView::DoEvents();
    if (doEvents == refuseAtDoEvents) gdi::testing::FailNextDibSections(1);
  }
  void ProgressVisible(bool visible) override {
    FakeView::ProgressVisible(visible);
    if (!visible && refuseAtProgressHidden) gdi::testing::FailNextDibSections(1);
  }
  ~RefusingView() override { gdi::testing::FailNextDibSections(0); }
};

TEST(DoAll, AResampleThatCannotMakeItsRasterEndsTheCommand) {
  ScratchDir dir;
  RefusingView view;
  view.refuseAtStatus = "Status: Idle";  // the import is done; the next raster is the resample's
  frmMain form(view);
  testing::WriteAllSets(dir.path());
  testing::UseFrameFolder(form, dir.path());
  form.cmdSave_Click();
  EXPECT_EQ(view.LastStatus(), "Status: Error resampling image!");
  EXPECT_TRUE(view.dialogs.empty());
  EXPECT_EQ(form.WorkImage->Width(), 14400);  // the strip, as the import left it
  EXPECT_EQ(PixelAt(*form.WorkImage, 5, 5), kKeyPixel);
}

TEST(DoAll, AnUnsharpMaskThatCannotMakeItsRasterEndsTheCommand) {
  ScratchDir dir;
  RefusingView view;
  view.refuseAtProgressHidden = true;  // the end of the alpha stage
  frmMain form(view);
  testing::WriteAllSets(dir.path());
  testing::UseFrameFolder(form, dir.path());
  form.cmdSave_Click();
  EXPECT_TRUE(view.StatusesInOrder({"Status: Alpha Channel Done...", "Status: Applying Unsharp Mask....",
                                    "Status: Error applying unsharp mask!"}));
  EXPECT_EQ(view.LastStatus(), "Status: Error applying unsharp mask!");
  EXPECT_TRUE(view.dialogs.empty());
  ASSERT_EQ(form.WorkImage->Width(), 2880);  // keyed, not sharpened
  EXPECT_EQ(PixelAt(*form.WorkImage, 100, 100), (testing::Bgra{0, 0, 0, 0}));
}

TEST(MakeSRF, StaticUsesTheNormalisedVersionAndAnimatedAlways100) {
  {
    Fixture f;
    ASSERT_TRUE(f.form.WorkImage->Create(2880, 150));
    f.form.ImageLoaded = true;
    f.form.Controls.cmbVersion.Text = " 2.10 ";
    f.view.dialogAnswers.push_back(f.dir / "static.srf");
    f.form.cmdMakeSRF_Click();
    EXPECT_EQ(f.view.LastStatus(), "Status: SRF version #2.10 file written....");
    EXPECT_EQ(platform::FileLength(f.dir / "static.srf"), 1220608);
  }
  {
    Fixture f;
    ASSERT_TRUE(f.form.WorkImage->Create(3242, 340));
    f.form.ImageLoaded = true;
    f.form.mnuAnimatedSRF_Click();
    f.form.Controls.cmbVersion.Text = "2.20";
    f.view.dialogAnswers.push_back(f.dir / "animated.srf");
    f.form.cmdMakeSRF_Click();
    EXPECT_EQ(f.view.LastStatus(), "Status: ASRF version #1.00 file written....");
    EXPECT_EQ(platform::FileLength(f.dir / "animated.srf"), 3134432);
  }
}

TEST(LoadImage, TheDialogAndACancel) {
  Fixture f;
  f.view.dialogAnswers.push_back(std::nullopt);
  f.form.cmdLoadImage_Click();
  ASSERT_EQ(f.view.dialogs.size(), 1u);
  EXPECT_FALSE(f.view.dialogs[0].save);
  EXPECT_EQ(f.view.dialogs[0].filter, "Bitmap Files|*.bmp");
  EXPECT_EQ(f.view.dialogs[0].flags, 0x82000u);
  EXPECT_EQ(f.view.previewCleared, 0);
  EXPECT_FALSE(f.form.ImageLoaded);
}

TEST(LoadImage, AMissingFileIsRefusedByName) {
  Fixture f;
  f.view.dialogAnswers.push_back(f.dir / "none.bmp");
  f.form.cmdLoadImage_Click();
  ASSERT_EQ(f.view.messages.size(), 1u);
  EXPECT_NE(f.view.messages[0].find(f.dir / "none.bmp"), std::string::npos);
  EXPECT_FALSE(f.form.ImageLoaded);
  EXPECT_TRUE(f.form.WorkImage->Empty());
}

TEST(LoadImage, ASmallBitmapIntoANewStripLeavesTheRestKey) {
  Fixture f;
  ASSERT_TRUE(testing::WriteTestBmp(f.dir / "small.bmp", 3, 2, 24, [](int x, int y) {
    return static_cast<uint32_t>(0x102030 + x + 16 * y);
  }));
  f.view.dialogAnswers.push_back(f.dir / "small.bmp");
  f.form.cmdLoadImage_Click();
  EXPECT_TRUE(f.form.ImageLoaded);
  const cAlphaDibSection& image = *f.form.WorkImage;
  ASSERT_EQ(image.Width(), 14400);
  ASSERT_EQ(image.Height(), 750);
  EXPECT_EQ(PixelAt(image, 0, 0), (testing::Bgra{0x30, 0x20, 0x10, 0}));
  EXPECT_EQ(PixelAt(image, 2, 1), (testing::Bgra{0x30 + 2 + 16, 0x20, 0x10, 0}));
  EXPECT_EQ(PixelAt(image, 3, 1), kKeyPixel);
  EXPECT_EQ(PixelAt(image, 14399, 749), kKeyPixel);
  EXPECT_EQ(PixelAt(image, 3, 0), kKeyPixel);  // the fill covers row 0 too
}

TEST(LoadImage, AWorkingImageOfAnotherSizeBecomesTheStrip) {
  Fixture f;
  ASSERT_TRUE(f.form.WorkImage->Create(4, 3));
  f.form.ImageLoaded = true;
  ASSERT_TRUE(testing::WriteTestBmp(f.dir / "large.bmp", 6, 5, 24,
                                    [](int x, int y) { return static_cast<uint32_t>(10 * x + y); }));
  f.view.dialogAnswers.push_back(f.dir / "large.bmp");
  f.form.cmdLoadImage_Click();
  const cAlphaDibSection& image = *f.form.WorkImage;
  ASSERT_EQ(image.Width(), 14400);
  ASSERT_EQ(image.Height(), 750);
  EXPECT_EQ(PixelAt(image, 5, 4), (testing::Bgra{54, 0, 0, 0}));
  EXPECT_EQ(PixelAt(image, 6, 0), kKeyPixel);
}

TEST(LoadImage, AnUnreadableFileIsRefusedByNameAndNothingIsLoaded) {
  Fixture f;
  testing::WriteFileBytes(f.dir / "bad.bmp", {'B', 'M', 1, 2, 3});
  f.view.dialogAnswers.push_back(f.dir / "bad.bmp");
  f.form.cmdLoadImage_Click();
  ASSERT_EQ(f.view.messages.size(), 1u);
  EXPECT_NE(f.view.messages[0].find(f.dir / "bad.bmp"), std::string::npos);
  EXPECT_FALSE(f.form.ImageLoaded);
  EXPECT_TRUE(f.form.WorkImage->Empty());
}

}  // namespace
}  // namespace velkor
