#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "platform/FillRectangle.h"
#include "platform/Files.h"
#include "platform/Gdi.h"
#include "raster/cDib.h"
#include "support/FakeView.h"
#include "support/TestFiles.h"
#include "ui/commands/frmMain.h"

namespace velkor {
namespace {

constexpr int kEscape = 27, kLeftKey = 37, kUpKey = 38, kRightKey = 39, kDownKey = 40;

constexpr uint32_t kPatchCorner = 0x0000AA;

// Frame n of the fake icon strip is opaque in the colour n + 1 (red channel).
uint32_t FrameColor(int n) { return static_cast<uint32_t>(n + 1); }

class SrfViewer : public ::testing::Test {
 protected:
  testing::FakeView view;
  frmMain form{view};
  void SetUp() override { form.Form_Load(); }

  // The state the viewer command leaves: a canvas, a back patch and the 36
  // frames of an icon, each a flat opaque colour.
  void OpenFakeViewer() {
    ASSERT_TRUE(form.WorkImage->Create(14400, 750));
    FillRectangle(form.WorkImage->hDC(), 0, 0, 14400, 750, 0xFFFFFF);
    form.ImageLoaded = true;
    ASSERT_TRUE(form.ViewerBackPatch->Create(80, 80));
    FillRectangle(form.ViewerBackPatch->hDC(), 0, 0, 80, 80, 0x00C000);
    gdi::SetPixel(form.ViewerBackPatch->hDC(), 0, 0, kPatchCorner);  // the patch is put back from (0, 0)
    ASSERT_TRUE(form.ViewerImage->Create(2880, 80));
    uint8_t* bits = form.ViewerImage->DIBSectionBitsPtr();
    for (int y = 0; y < 80; ++y) {
      for (int x = 0; x < 2880; ++x) {
        uint8_t* p = bits + (static_cast<size_t>(y) * 2880 + x) * 4;
        p[0] = 0;
        p[1] = 0;
        p[2] = static_cast<uint8_t>(FrameColor(x / 80));
        p[3] = 255;
      }
    }
    // A transparent pixel in every frame shows the back patch through it.
    for (int n = 0; n < 36; ++n) {
      uint8_t* p = bits + (static_cast<size_t>(79) * 2880 + 80 * n) * 4;  // picture (0, 0) of frame n
      p[0] = p[1] = p[2] = p[3] = 0;
    }
    form.ViewerShowing = true;
  }
  uint32_t Canvas(int x, int y) { return gdi::GetPixel(form.WorkImage->hDC(), x, y); }
  uint32_t Pane(int x, int y) { return gdi::GetPixel(form.Plotter().hDC(), x, y); }
};

TEST_F(SrfViewer, RightArrowStepsThroughThe36HeadingsAndWraps) {
  OpenFakeViewer();
  for (int press = 1; press <= 36; ++press) {
    form.Form_KeyDown(kRightKey, 0);
    const int expected = (80 * press) % 2880;
    ASSERT_EQ(form.ViewerFrameLeft, expected) << press;
    ASSERT_EQ(Canvas(300, 220), FrameColor(expected / 80)) << press;
  }
  EXPECT_EQ(form.ViewerFrameLeft, 0) << "36 presses come back to frame 0";
  // The cell's corner is transparent: the back patch shows there, so the
  // previous frame was erased before the new one was blended.
  EXPECT_EQ(Canvas(291, 207), kPatchCorner);
  EXPECT_EQ(Canvas(292, 207), FrameColor(0));
  // The canvas went to the pane (one pixel per pixel: nothing selected).
  EXPECT_EQ(Pane(300, 220), FrameColor(0));
}

// Keys and timer ticks in order, each with the frame shown and the timer
// after it (the view is told at once). Escape and the arrows stop the
// rotation where it is; Up and Down pace it by 50 ms between 50 and 1000.
TEST_F(SrfViewer, KeysAndTicksTurnAndPaceTheIcon) {
  OpenFakeViewer();
  constexpr int kTick = -1;
  struct Step {
    int key, presses;
    int frameLeft;
    bool timer;
    int interval;
  };
  const Step steps[] = {
      {kUpKey, 1, 0, true, 950},       {kUpKey, 18, 0, true, 50},       {kUpKey, 1, 0, true, 50},
      {kDownKey, 19, 0, true, 1000},   {kDownKey, 1, 0, true, 1000},    {kTick, 2, 160, true, 1000},
      {kEscape, 1, 160, false, 1000},  {kUpKey, 1, 160, true, 950},     {kRightKey, 1, 240, false, 950},
      {kUpKey, 1, 240, true, 900},     {kLeftKey, 1, 160, false, 900},  {'A', 1, 160, false, 900},
      {13, 1, 160, false, 900},        {kLeftKey, 3, 2800, false, 900}, {kLeftKey, 1, 2720, false, 900},
  };
  form.DrawViewerFrame();  // frame 0, as the viewer command leaves it
  for (const Step& s : steps) {
    SCOPED_TRACE("key " + std::to_string(s.key) + " x" + std::to_string(s.presses));
    for (int i = 0; i < s.presses; ++i) {
      if (s.key == kTick) {
        form.Timer1_Timer();
      } else {
        form.Form_KeyDown(s.key, 0);
      }
    }
    EXPECT_EQ(form.ViewerFrameLeft, s.frameLeft);
    EXPECT_EQ(Canvas(300, 220), FrameColor(s.frameLeft / 80));
    EXPECT_EQ(form.Controls.Timer1.Enabled, s.timer);
    EXPECT_EQ(form.Controls.Timer1.Interval, s.interval);
    EXPECT_EQ(view.timerEnabled, s.timer);
    EXPECT_EQ(view.timerInterval, s.interval);
  }
}

TEST_F(SrfViewer, TimerTickWrapsAfterTheLastFrame) {
  OpenFakeViewer();
  form.ViewerFrameLeft = 2800;
  form.Timer1_Timer();
  EXPECT_EQ(form.ViewerFrameLeft, 0);
  EXPECT_EQ(Canvas(300, 220), FrameColor(0));
}

TEST_F(SrfViewer, KeysBeforeAnyViewerAreNotTheViewers) {
  EXPECT_FALSE(form.Form_KeyDown(kRightKey, 0));
  EXPECT_EQ(form.ViewerFrameLeft, 0);
  EXPECT_EQ(view.previewChanged, 0);
}

TEST_F(SrfViewer, CancelledOrEmptyDialogChangesNothing) {
  form.Form_KeyDown(kRightKey, 0);
  const int cleared = view.previewCleared;
  view.dialogAnswers = {std::nullopt, std::string()};
  form.mnuSRFViewer_Click();
  form.mnuSRFViewer_Click();
  ASSERT_EQ(view.dialogs.size(), 2u);
  EXPECT_FALSE(view.dialogs[0].save);
  EXPECT_EQ(view.dialogs[0].filter, "SRF Files|*.srf");
  EXPECT_EQ(view.dialogs[0].flags, 0x82000u);
  EXPECT_EQ(view.previewCleared, cleared);
  EXPECT_TRUE(form.WorkImage->Empty());
  EXPECT_FALSE(form.ImageLoaded);
}

TEST_F(SrfViewer, MissingFileOnlyClearsThePane) {
  testing::ScratchDir dir;
  ASSERT_TRUE(form.WorkImage->Create(10, 10));
  form.ImageLoaded = true;
  view.dialogAnswers = {dir / "none.srf"};
  form.mnuSRFViewer_Click();
  EXPECT_EQ(view.previewCleared, 1);
  EXPECT_EQ(form.WorkImage->Width(), 10) << "the working image is kept";
  EXPECT_TRUE(view.messages.empty());
}

TEST_F(SrfViewer, UnreadableSrfLeavesAWhiteCanvasAndSaysWhy) {
  testing::ScratchDir dir;
  const std::string bad = dir / "bad.srf";
  testing::WriteFileBytes(bad, {1, 2, 3});
  ASSERT_TRUE(form.ViewerBackPatch->Create(80, 80));
  FillRectangle(form.ViewerBackPatch->hDC(), 0, 0, 80, 80, 0x123456);
  form.ViewerFrameLeft = 400;
  view.dialogAnswers = {bad};
  form.mnuSRFViewer_Click();
  EXPECT_TRUE(form.ImageLoaded);
  ASSERT_EQ(form.WorkImage->Width(), 14400);
  ASSERT_EQ(form.WorkImage->Height(), 750);
  EXPECT_EQ(Canvas(0, 0), 0xFFFFFFu);
  EXPECT_EQ(Canvas(300, 220), 0xFFFFFFu) << "no background was copied in";
  EXPECT_EQ(Canvas(14399, 749), 0xFFFFFFu);
  EXPECT_EQ(gdi::GetPixel(form.ViewerBackPatch->hDC(), 5, 5), 0x123456u) << "the old patch is kept";
  EXPECT_EQ(Pane(300, 220), 0xFFFFFFu) << "the pane stays cleared";
  EXPECT_EQ(view.previewChanged, 0);
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_NE(view.messages[0].find(bad), std::string::npos) << view.messages[0];
  EXPECT_EQ(form.ViewerFrameLeft, 400);
}

TEST_F(SrfViewer, OpensAnSrfOverTheDeviceScreenAtTheLastHeading) {
  // An SRF of 36 frames, frame n a flat opaque colour, written by the window.
  testing::ScratchDir dir;
  const std::string srf = dir / "icon.srf";
  ASSERT_TRUE(form.WorkImage->Create(2880, 150));
  for (int n = 0; n < 36; ++n) {
    FillRectangle(form.WorkImage->hDC(), 80 * n, 0, 80 * n + 80, 150, 0x0000F8u + (static_cast<uint32_t>(n) << 11));
  }
  for (int y = 0; y < 150; ++y)
    for (int x = 0; x < 2880; ++x) form.WorkImage->DIBSectionBitsPtr()[(y * 2880 + x) * 4 + 3] = 255;
  form.ImageLoaded = true;
  ASSERT_TRUE(form.WriteSRFFile(srf, "2.20"));

  form.ViewerFrameLeft = 160;  // where an earlier viewer was left
  view.dialogAnswers = {srf};
  form.mnuSRFViewer_Click();
  ASSERT_TRUE(view.messages.empty()) << view.messages.front();
  EXPECT_TRUE(form.ImageLoaded);
  ASSERT_EQ(form.WorkImage->Width(), 14400);
  ASSERT_EQ(form.WorkImage->Height(), 750);
  ASSERT_EQ(form.ViewerImage->Width(), 2880);
  EXPECT_EQ(form.ViewerFrameLeft, 160) << "not reset by the command";

  cDib screen;
  ASSERT_GT(screen.CreateFromBitmapFile(platform::ProgramFolder() + "/Garmin760.bmp"), 0);
  for (auto [x, y] : {std::pair{0, 0}, std::pair{479, 271}, std::pair{290, 206}, std::pair{100, 150}}) {
    EXPECT_EQ(Canvas(x, y), gdi::GetPixel(screen.hDIBDC(), x, y)) << x << "," << y;
  }
  EXPECT_EQ(Canvas(480, 10), 0xFFFFFFu) << "white beyond the background picture";
  EXPECT_EQ(Canvas(14399, 749), 0xFFFFFFu);
  // The cell shows frame 2 (from x = 160) as the loader decoded it.
  const uint32_t frame2 = gdi::GetPixel(form.ViewerImage->hDC(), 170, 10);
  EXPECT_NE(frame2, gdi::GetPixel(form.ViewerImage->hDC(), 10, 10));
  EXPECT_EQ(Canvas(301, 217), frame2);
  EXPECT_EQ(Pane(301, 217), frame2) << "and the pane shows the canvas";
  // The back patch is the screen's square under the cell (which runs past
  // the screen's bottom row, 271).
  for (auto [x, y] : {std::pair{0, 0}, std::pair{79, 64}}) {
    EXPECT_EQ(gdi::GetPixel(form.ViewerBackPatch->hDC(), x, y), gdi::GetPixel(screen.hDIBDC(), 291 + x, 207 + y));
  }
  EXPECT_EQ(gdi::GetPixel(form.ViewerBackPatch->hDC(), 79, 79), 0xFFFFFFu) << "below the screen: the canvas's white";

}

// Run only in a copy of this program (see below), with the device screen
// picture of the copy's folder: the message expected, or none.
TEST_F(SrfViewer, DISABLED_DeviceScreenOfTheProgramsFolder) {
  const char* expected = std::getenv("VELKOR_EXPECTED_MESSAGE");
  ASSERT_NE(expected, nullptr);
  testing::ScratchDir dir;
  ASSERT_TRUE(form.WorkImage->Create(2880, 150));
  FillRectangle(form.WorkImage->hDC(), 0, 0, 2880, 150, 0x0000F8);
  for (size_t i = 3; i < size_t{2880} * 150 * 4; i += 4) form.WorkImage->DIBSectionBitsPtr()[i] = 255;
  ASSERT_TRUE(form.WriteSRFFile(dir / "icon.srf", "2.20"));
  view.dialogAnswers = {dir / "icon.srf"};
  form.mnuSRFViewer_Click();
  if (*expected) {
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].rfind(expected, 0), 0u) << view.messages[0];
    EXPECT_EQ(view.previewChanged, 0) << "nothing was drawn";
    return;
  }
  // A screen smaller than the icon cell: the canvas, and the patch that puts
  // it back, are white where the picture does not reach.
  ASSERT_TRUE(view.messages.empty()) << view.messages[0];
  for (auto [x, y] : {std::pair{0, 0}, std::pair{40, 0}, std::pair{79, 79}}) {
    EXPECT_EQ(gdi::GetPixel(form.ViewerBackPatch->hDC(), x, y), 0xFFFFFFu) << x << "," << y;
  }
  EXPECT_EQ(Canvas(150, 100), 0xFFFFFFu);
  EXPECT_EQ(Canvas(5, 5), 0x123456u) << "the small screen itself";
}

// The device screen comes from the program's folder, so a copy of this
// program beside an empty Garmin760.bmp, beside none, and beside one smaller
// than the icon cell shows what the viewer does with each.
TEST(SrfViewerScreen, EmptyMissingAndSmallDeviceScreens) {
  enum Screen { kEmpty, kMissing, kSmall };
  const struct {
    Screen screen;
    std::string message;
  } cases[] = {{kEmpty, "The device screen picture "},
               {kMissing, "The device screen picture cannot be loaded: "},
               {kSmall, ""}};
  for (const auto& c : cases) {
    testing::ScratchDir dir;
    std::filesystem::copy_file("/proc/self/exe", dir / "viewer_tests");
    if (c.screen == kEmpty) testing::WriteFileBytes(dir / "Garmin760.bmp", {});
    if (c.screen == kSmall) {
      ASSERT_TRUE(testing::WriteTestBmp(dir / "Garmin760.bmp", 120, 90, 24, [](int, int) { return 0x563412u; }));
    }
    const std::string expected =
        c.screen == kEmpty ? c.message + dir / "Garmin760.bmp" + " cannot be read as a BMP file." : c.message;
    const std::string command = "VELKOR_EXPECTED_MESSAGE='" + expected + "' '" + dir / "viewer_tests" +
                                "' --gtest_also_run_disabled_tests --gtest_filter=SrfViewer.DISABLED_* >'" +
                                dir / "log.txt" + "' 2>&1";
    const int status = std::system(command.c_str());
    const std::vector<uint8_t> log = testing::ReadFileBytes(dir / "log.txt");
    const std::string text(log.begin(), log.end());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << text;
    EXPECT_NE(text.find("[  PASSED  ] 1 test."), std::string::npos) << text;
  }
}

// The canvas is a raster of its own: no drawing mode of the image before
// carries over.
TEST_F(SrfViewer, TheCanvasStartsAfresh) {
  testing::ScratchDir dir;
  ASSERT_TRUE(form.WorkImage->Create(2880, 150));
  for (size_t i = 3; i < size_t{2880} * 150 * 4; i += 4) form.WorkImage->DIBSectionBitsPtr()[i] = 255;
  ASSERT_TRUE(form.WriteSRFFile(dir / "icon.srf", "2.20"));
  form.WorkImage->UseDrawDib(true);
  view.dialogAnswers = {dir / "icon.srf"};
  form.mnuSRFViewer_Click();
  ASSERT_EQ(form.WorkImage->Width(), 14400);
  EXPECT_FALSE(form.WorkImage->UseDrawDib());
}

}  // namespace
}  // namespace velkor
