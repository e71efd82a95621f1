// The window never writes what the user did not make or choose, and never
// reports a failure as success: the viewer's canvas, a stopped import, the
// strip's fill and size, the device size an SRF needs, the PNG beside a BMP.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "common/Paths.h"
#include "pipeline/PipelineTestSupport.h"
#include "platform/FillRectangle.h"
#include "platform/Files.h"
#include "raster/cDib.h"
#include "support/FakeView.h"
#include "ui/KeyCodes.h"

namespace velkor {
namespace {

using testing::kKeyPixel;
using testing::PixelAt;
using testing::ReadFileBytes;
using testing::ScratchDir;

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

struct Window {
  testing::FakeView view;
  frmMain form{view};
  ScratchDir dir;
  Window() { form.Form_Load(); }

  // An opaque icon of the given size written by the window as an SRF file.
  std::string WriteIcon(int32_t width, int32_t height, bool animated = false) {
    const std::string path = dir / (animated ? "anim.srf" : "icon.srf");
    EXPECT_TRUE(form.WorkImage->Create(width, height));
    FillRectangle(form.WorkImage->hDC(), 0, 0, width, height, 0x3050F0);
    for (int32_t y = 0; y < height; ++y)
      for (int32_t x = 0; x < width; ++x) testing::PixelPtr(*form.WorkImage, x, y)[3] = 255;
    form.ImageLoaded = true;
    EXPECT_TRUE(animated ? form.WriteASRFFile(path, "1.00") : form.WriteSRFFile(path, "2.20"));
    return path;
  }
};

TEST(WindowViewer, AnAnimatedSrfIsRefusedWithTheReason) {
  Window w;
  const std::string srf = w.WriteIcon(3242, 340, true);
  w.form.ShowSRFInViewer(srf);
  ASSERT_EQ(w.view.messages.size(), 1u);
  EXPECT_TRUE(Contains(w.view.messages[0], srf) && Contains(w.view.messages[0], "Animated")) << w.view.messages[0];
  EXPECT_FALSE(w.form.ViewerShowing);
}

// Viewer open, Up, Build Image, ticks, Alpha+Resize, Unsharp Mask, Make SRF:
// the SRF is the one velkor-cli do-all makes from the same frames.
TEST(WindowViewer, ViewerTicksLeaveTheBuiltIconAsTheCommandLineMakesIt) {
  Window w;
  testing::WriteAllSets(w.dir.path());
  const std::string srf = w.WriteIcon(2880, 150);
  w.form.ShowSRFInViewer(srf);
  EXPECT_TRUE(w.form.Controls.optZoom[2].Value) << "the device screen at its own size";
  EXPECT_TRUE(w.form.Form_KeyDown(kKeyUp, 0));
  testing::UseFrameFolder(w.form, w.dir.path());
  w.form.cmdGo_Click();
  EXPECT_FALSE(w.view.timerEnabled);
  EXPECT_FALSE(w.form.Form_KeyDown(kKeyRight, 0)) << "the key is the focused control's";
  w.form.Timer1_Timer();
  w.form.Timer1_Timer();
  w.form.cmdAddAlpha_Click();
  w.form.Timer1_Timer();
  w.form.cmdUnsharpMask_Click();
  w.view.dialogAnswers = {w.dir / "window.srf"};
  w.form.cmdMakeSRF_Click();
  ASSERT_EQ(w.form.LastOutcome.kind, CommandOutcome::Kind::Completed) << w.form.LastOutcome.message;

  const std::string d = "'" + w.dir.path() + "'";
  const std::string command = "'" + platform::ProgramFolder() + "/velkor-cli' do-all '" + (w.dir / "cli.srf") +
                              "' --rotation-3d " + d + " --rotation-2d " + d +
                              " --prefix-3d r3d --prefix-2d r2d >/dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0);
  EXPECT_EQ(ReadFileBytes(w.dir / "window.srf"), ReadFileBytes(w.dir / "cli.srf"));
}

TEST(WindowDoAll, AFrameNotImportedEndsTheCommandBeforeAnyDialog) {
  struct Case {
    const char* file;
    bool truncate;  // else removed
    const char* set;
    const char* status;
  } cases[] = {
      {"r2d0017.bmp", false, "2D rotation", "Status: ERROR: 2D Rotation File Not Found..."},
      // Pixel data one row short: FreeImage would load it with a black row.
      {"r3d0003.bmp", true, "3D rotation", "Status: ERROR: 3D Rotation File Unreadable..."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    Window w;
    testing::WriteAllSets(w.dir.path());
    testing::UseFrameFolder(w.form, w.dir.path());
    const std::string frame = w.dir / c.file;
    if (c.truncate) {
      std::filesystem::resize_file(frame, platform::FileLength(frame).value() - 8);
    } else {
      std::filesystem::remove(frame);
    }
    w.view.dialogAnswers = {w.dir / "out.srf"};
    w.form.cmdSave_Click();
    EXPECT_TRUE(w.view.dialogs.empty());
    EXPECT_FALSE(testing::PathExists(w.dir / "out.srf"));
    EXPECT_EQ(w.view.messages.size(), 1u);
    const std::string message = w.view.messages.empty() ? "" : w.view.messages[0];
    EXPECT_TRUE(Contains(message, frame) && Contains(message, c.set)) << message;
    EXPECT_EQ(w.view.LastStatus(), c.status);
    EXPECT_EQ(w.form.LastOutcome.kind, CommandOutcome::Kind::Failed);
  }
}

TEST(WindowDoAll, AFolderWithoutFramesSaysSo) {
  Window w;
  testing::UseFrameFolder(w.form, w.dir.path());
  w.form.cmdGo_Click();
  ASSERT_EQ(w.view.messages.size(), 1u);
  EXPECT_TRUE(Contains(w.view.messages[0], "no frames")) << w.view.messages[0];
}

TEST(WindowStrip, TheKeyColourCoversRowZeroAndColumnZero) {
  Window w;
  testing::WriteAllSets(w.dir.path());  // 2 x 2 frames leave the cells' rest to the fill
  testing::UseFrameFolder(w.form, w.dir.path());
  w.form.cmdGo_Click();
  ASSERT_EQ(w.form.LastImport, ImportOutcome::Complete);
  EXPECT_EQ(PixelAt(*w.form.WorkImage, 5, 0), kKeyPixel);
  EXPECT_EQ(PixelAt(*w.form.WorkImage, 0, 5), kKeyPixel);
}

TEST(WindowLoadImage, MakesTheStripOfTheModeAndVersionOnTheKeyColour) {
  const struct {
    bool animated;
    const char* version;
    int32_t width, height;
  } cases[] = {{false, "2.20", 14400, 750}, {false, "1.00", 14400, 800}, {true, "1.00", 16210, 1700}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.version);
    Window w;
    if (c.animated) w.form.mnuAnimatedSRF_Click();
    w.form.Controls.cmbVersion.Text = c.version;
    ASSERT_TRUE(testing::WriteTestBmp(w.dir / "small.bmp", 2, 2, 24, [](int, int) { return 0x123456u; }));
    w.view.dialogAnswers = {w.dir / "small.bmp"};
    w.form.cmdLoadImage_Click();
    ASSERT_EQ(w.form.WorkImage->Width(), c.width);
    EXPECT_EQ(w.form.WorkImage->Height(), c.height);
    EXPECT_EQ(PixelAt(*w.form.WorkImage, 1, 1), (testing::Bgra{0x56, 0x34, 0x12, 0}));
    EXPECT_EQ(PixelAt(*w.form.WorkImage, 5, 0), kKeyPixel);
    EXPECT_EQ(PixelAt(*w.form.WorkImage, 0, 5), kKeyPixel);
    EXPECT_TRUE(Contains(w.view.LastStatus(), w.dir / "small.bmp")) << w.view.LastStatus();
  }
}

TEST(WindowMakeSrf, AnImageNotOfTheDeviceSizeIsRefused) {
  Window w;
  ASSERT_TRUE(w.form.WorkImage->Create(14400, 750));
  w.form.ImageLoaded = true;
  w.form.cmdMakeSRF_Click();
  EXPECT_TRUE(w.view.dialogs.empty());
  ASSERT_EQ(w.view.messages.size(), 1u);
  for (const char* part : {"14400 x 750", "2880 x 150", "Alpha+Resize"}) {
    EXPECT_TRUE(Contains(w.view.messages[0], part)) << w.view.messages[0];
  }
}

TEST(WindowMakeSrf, PngToSrfSaysWhyASmallPngCannotBeWritten) {
  Window w;
  ASSERT_TRUE(w.form.WorkImage->Create(100, 40));
  w.form.ImageLoaded = true;
  w.view.dialogAnswers = {w.dir / "small.bmp", w.dir / "small.png", w.dir / "small.srf"};
  ASSERT_TRUE(w.form.SaveAsPNG());
  w.form.mnuPNGtoSRF_Click();
  ASSERT_EQ(w.view.messages.size(), 1u);
  EXPECT_EQ(w.view.messages[0], "An error occured while writing the SRF file!\nThe picture is 100 x 40 pixels; "
                                "an SRF version 2.20 needs at least 2880 x 150 (the device size).");
}

TEST(WindowSaveToPng, AnExistingPngIsReplacedOnlyWhenTheUserSaysSo) {
  for (const bool replace : {false, true}) {
    Window w;
    ASSERT_TRUE(w.form.WorkImage->Create(4, 4));
    w.form.ImageLoaded = true;
    testing::WriteFileBytes(w.dir / "icon.png", {'o', 'l', 'd'});
    w.view.dialogAnswers = {w.dir / "icon.bmp"};
    w.view.questionAnswers = {replace};
    w.form.Command2_Click();
    ASSERT_EQ(w.view.questions.size(), 1u);
    EXPECT_TRUE(Contains(w.view.questions[0], w.dir / "icon.png"));
    EXPECT_EQ(ReadFileBytes(w.dir / "icon.png") == std::vector<uint8_t>({'o', 'l', 'd'}), !replace);
    EXPECT_EQ(testing::PathExists(w.dir / "icon.bmp"), replace) << "a cancelled save writes nothing";
  }
}

TEST(WindowSaveToPng, TheCommandLineStillReplacesTheOutputItNames) {
  Window w;
  const std::string srf = w.WriteIcon(2880, 150);
  testing::WriteFileBytes(w.dir / "out.png", {'o', 'l', 'd'});
  const std::string command = "'" + platform::ProgramFolder() + "/velkor-cli' srf2png '" + srf + "' '" +
                              (w.dir / "out.png") + "' >/dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0);
  EXPECT_GT(ReadFileBytes(w.dir / "out.png").size(), 3u);
}

TEST(WindowStatus, ACancelledSaveRestoresTheStatusAndProposesNoRoot) {
  Window w;
  ASSERT_TRUE(w.form.WorkImage->Create(2880, 150));
  w.form.ImageLoaded = true;
  w.form.SetStatus("Status: Done....");
  w.form.cmdMakeSRF_Click();  // the dialog is cancelled
  EXPECT_EQ(w.view.LastStatus(), "Status: Done....");
  ASSERT_EQ(w.view.dialogs.size(), 1u);
  EXPECT_EQ(w.view.dialogs[0].fileName, platform::HomeFolder() + "/Temp.srf");
}

TEST(WindowStatus, ATypedToleranceMovesTheSlider) {
  Window w;
  for (const auto& [text, value] : {std::pair{"128", 128}, {"999", 255}, {"x", 255}}) {
    w.form.Controls.txtTolerance.Text = text;
    w.form.txtTolerance_Change();
    EXPECT_EQ(w.form.Controls.sldTol.Value, value) << text;
  }
}

TEST(WindowModes, TheRotationBoxesFollowTheModeWhileTheyNameTheSample) {
  Window w;
  const std::string animated = JoinPath(GetFolderName(frmMain::DefaultAnimationFolder()), "Rotation");
  w.form.mnuAnimatedSRF_Click();
  EXPECT_EQ(w.form.Controls.txtWorkDir[1].Text, animated);
  EXPECT_EQ(w.form.Controls.txt2DWorkDir[1].Text, JoinPath(animated, "Top"));
  w.form.BuildCompositeImage("1.00");
  EXPECT_EQ(w.form.LastImport, ImportOutcome::Complete) << w.form.ImportFailure;
  w.form.mnuStaticSRF_Click();
  EXPECT_EQ(w.form.Controls.txtWorkDir[1].Text, frmMain::DefaultRotationFolder());
  w.form.Controls.txtWorkDir[1].Text = w.dir.path();
  w.form.mnuAnimatedSRF_Click();
  EXPECT_EQ(w.form.Controls.txtWorkDir[1].Text, w.dir.path()) << "a folder of the user's stays";
}

}  // namespace
}  // namespace velkor
