#include <gtest/gtest.h>

#include <FreeImage.h>

#include <cerrno>
#include <filesystem>

#include "platform/Files.h"
#include "platform/Gdi.h"
#include "platform/SystemError.h"
#include "support/FormFixture.h"
#include "support/PngBytes.h"

namespace velkor {
namespace {

using namespace testing;

using Conversions = FormTest;

TEST_F(Conversions, SaveToPngWithoutAPictureDoesNothing) {
  form.Command2_Click();
  EXPECT_TRUE(view.dialogs.empty());
  EXPECT_TRUE(view.statuses.empty());
}

TEST_F(Conversions, SaveToPngWritesBmpAndPngWithThePixels) {
  LoadPattern(7, 5);
  const std::string bmp = dir / "car.blue.bmp";
  view.dialogAnswers.push_back(bmp);
  form.Command2_Click();
  ASSERT_EQ(view.dialogs.size(), 1u);
  EXPECT_TRUE(view.dialogs[0].save);
  EXPECT_EQ(view.dialogs[0].filter, "Bitmap Files|*.bmp");
  EXPECT_EQ(view.dialogs[0].flags, 0x82002u);
  EXPECT_EQ(view.dialogs[0].fileName, platform::ProgramFolder() + "/Temp.bmp");
  EXPECT_EQ(form.LastImageFile, bmp);
  EXPECT_EQ(view.statuses, (std::vector<std::string>{"Status: Writing 32-bit BMP...",
                                                     "Status: Converting 32-bit BMP to PNG...", "Status: Idle..."}));
  EXPECT_TRUE(view.messages.empty());
  EXPECT_EQ(form.LastOutcome.kind, CommandOutcome::Kind::Completed);
  EXPECT_TRUE(PathExists(bmp));
  EXPECT_FALSE(PathExists(dir / "car.blue.png"));

  FIBITMAP* png = FreeImage_Load(FIF_PNG, (dir / "car.png").c_str(), 0);
  ASSERT_NE(png, nullptr);
  ASSERT_EQ(FreeImage_GetBPP(png), 32u);
  ASSERT_EQ(FreeImage_GetWidth(png), 7u);
  ASSERT_EQ(FreeImage_GetHeight(png), 5u);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) {
      const BYTE* p = FreeImage_GetScanLine(png, 4 - y) + 4 * x;
      const Bgra c = PatternPixel(x, y);
      ASSERT_EQ(p[0], c.b);
      ASSERT_EQ(p[1], c.g);
      ASSERT_EQ(p[2], c.r);
      ASSERT_EQ(p[3], c.a) << x << "," << y;
    }
  FreeImage_Unload(png);

  // The second save proposes the name chosen the first time.
  view.dialogAnswers.push_back(std::nullopt);
  form.Command2_Click();
  EXPECT_EQ(view.dialogs.at(1).fileName, bmp);
  EXPECT_EQ(view.LastStatus(), "Status: Idle...");
}

TEST_F(Conversions, CancellingTheBmpDialogChangesNothing) {
  LoadPattern(2, 2);
  form.LastImageFile = dir / "keep.bmp";
  view.dialogAnswers.push_back(std::nullopt);
  EXPECT_TRUE(form.SaveAsPNG());
  EXPECT_EQ(form.LastImageFile, dir / "keep.bmp");
  EXPECT_TRUE(view.statuses.empty());
  EXPECT_EQ(form.LastOutcome.kind, CommandOutcome::Kind::Cancelled);
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST_F(Conversions, UnwritableBmpOrPngIsReportedNotAnnouncedAsDone) {
  LoadPattern(2, 2);
  std::filesystem::create_directory(dir / "taken.png");
  struct Case {
    std::string bmp, message, status;
  };
  const Case cases[] = {
      {dir / "missing/out.bmp",
       "Cannot write the BMP file " + dir / "missing/out.bmp" + ": " + platform::ApiErrorText(ENOENT),
       "Status: Error writing BMP file!"},
      {dir / "taken.bmp", "Cannot write the PNG file " + dir / "taken.png" + ": " + platform::ApiErrorText(EISDIR),
       "Status: Error writing PNG file!"},
  };
  for (const Case& c : cases) {
    view.messages.clear();
    view.dialogAnswers.push_back(c.bmp);
    EXPECT_FALSE(form.SaveAsPNG());
    EXPECT_EQ(view.messages, std::vector<std::string>{c.message});
    EXPECT_EQ(view.LastStatus(), c.status);
    EXPECT_EQ(form.LastOutcome.kind, CommandOutcome::Kind::Failed);
    EXPECT_EQ(form.LastOutcome.message, c.message);
  }
  EXPECT_TRUE(std::filesystem::is_directory(dir / "taken.png"));
}

TEST_F(Conversions, SrfToPngFailingToWriteDoesNotSayDone) {
  LoadPattern(2880, 150);
  view.dialogAnswers = {dir / "a.srf"};
  form.SaveSRF("2.20");
  std::filesystem::create_directory(dir / "a.png");
  view.statuses.clear();
  view.dialogAnswers = {dir / "a.srf", dir / "a.bmp"};
  form.mnuSRFtoPNG_Click();
  EXPECT_EQ(view.LastStatus(), "Status: Error writing PNG file!");
  EXPECT_EQ(view.messages.size(), 1u);
}

// Every depth and colour type of PNG is read by tests/robustness; here the
// command around the reader: its dialog, the pixels copied as they are.
TEST_F(Conversions, LoadPngCopiesPixelsBottomUp) {
  // Bottom-left opaque red, the rest a transparent shade (R, G, B, A in the file).
  WriteFileBytes(dir / "p.png", PngWithHeader(2, 2, 8, 6, Rows({{30, 20, 10, 40, 30, 20, 10, 40},
                                                               {255, 0, 0, 255, 30, 20, 10, 40}})));
  form.Controls.CommonDialog1.FileName = "/last/chosen.srf";
  view.dialogAnswers.push_back(dir / "p.png");
  ASSERT_TRUE(form.LoadPNG());
  ASSERT_EQ(view.dialogs.size(), 1u);
  EXPECT_FALSE(view.dialogs[0].save);
  EXPECT_EQ(view.dialogs[0].filter, "PNG Files|*.png");
  EXPECT_EQ(view.dialogs[0].flags, 0x82000u);
  EXPECT_EQ(view.dialogs[0].fileName, "/last/chosen.srf");  // the open dialog keeps the last name
  EXPECT_TRUE(form.ImageLoaded);
  const uint8_t* scan0 = form.WorkImage->DIBSectionBitsPtr();
  EXPECT_EQ(std::vector<uint8_t>(scan0, scan0 + 8), (std::vector<uint8_t>{0, 0, 255, 255, 10, 20, 30, 40}));
  EXPECT_TRUE(view.messages.empty());
  EXPECT_EQ(form.LastOutcome.kind, CommandOutcome::Kind::Completed);
  EXPECT_EQ(view.previewChanged, 1);
  EXPECT_EQ(gdi::GetPixel(form.Plotter().hDC(), 0, 1), 0x0000FFu) << "the pane shows the picture";
}

TEST_F(Conversions, UnreadablePngIsReportedAndNothingIsSaved) {
  WriteFileBytes(dir / "fake.png", {'x', 'y', 'z'});
  struct Case {
    std::string path, problem;
  };
  const Case cases[] = {{dir / "fake.png", "it is not a picture FreeImage can read"},
                        {dir / "missing.png", "the file does not exist"}};
  for (const Case& c : cases) {
    LoadPattern(4, 4);
    const cAlphaDibSection* before = form.WorkImage.get();
    view.messages.clear();
    view.dialogs.clear();
    view.dialogAnswers = {c.path, dir / "out.srf"};
    form.mnuPNGtoSRF_Click();
    EXPECT_EQ(view.messages, std::vector<std::string>{"Cannot read " + c.path + ": " + c.problem});
    EXPECT_EQ(view.dialogs.size(), 1u);  // no save dialog follows
    EXPECT_EQ(form.WorkImage.get(), before);
    EXPECT_TRUE(form.ImageLoaded);
    EXPECT_FALSE(PathExists(dir / "out.srf"));
  }
}

TEST_F(Conversions, LoadPngRefusesWhenItsRasterCannotBeCreated) {
  WriteFileBytes(dir / "p.png", PngWithHeader(3, 2, 8, 2, Rows({std::vector<uint8_t>(9, 7), std::vector<uint8_t>(9, 7)})));
  LoadPattern(4, 4);
  const cAlphaDibSection* before = form.WorkImage.get();
  view.dialogAnswers = {dir / "p.png"};
  gdi::testing::FailNextDibSections(1);
  EXPECT_FALSE(form.LoadPNG());
  gdi::testing::FailNextDibSections(0);
  EXPECT_EQ(view.messages, std::vector<std::string>{"Cannot read " + dir / "p.png" + ": a 3 x 2 picture cannot be created"});
  EXPECT_EQ(view.LastStatus(), "Status: Error reading PNG file!");
  EXPECT_EQ(form.LastOutcome.kind, CommandOutcome::Kind::Failed);
  EXPECT_EQ(form.WorkImage.get(), before);
  EXPECT_EQ(form.WorkImage->Width(), 4);
}

TEST_F(Conversions, CancellingThePngDialogEndsTheCommand) {
  view.dialogAnswers.push_back(std::nullopt);
  form.mnuPNGtoASRF_Click();
  EXPECT_EQ(view.dialogs.size(), 1u);
  EXPECT_TRUE(view.statuses.empty());
}

// SRF -> PNG -> SRF through the window's menus gives the first file back, for
// both kinds (the command line's round trips are pinned by tests/golden).
TEST_F(Conversions, SrfToPngToSrfGivesTheSameBytes) {
  struct Kind {
    bool animated;
    int width, height;
    size_t size;
    void (frmMain::*toPng)();
    void (frmMain::*toSrf)();
    std::string written;
  };
  const Kind kinds[] = {
      {false, 2880, 150, 1220608, &frmMain::mnuSRFtoPNG_Click, &frmMain::mnuPNGtoSRF_Click,
       "Status: SRF version #2.20 file written...."},
      {true, 3242, 340, 3134432, &frmMain::mnuASRFtoPNG_Click, &frmMain::mnuPNGtoASRF_Click,
       "Status: ASRF version #1.00 file written...."}};
  for (const Kind& k : kinds) {
    SCOPED_TRACE(k.animated ? "animated" : "static");
    const std::string stem = dir / (k.animated ? "anim" : "strip");
    LoadPattern(k.width, k.height);
    const std::string srf = k.animated ? "a1.srf" : "s1.srf";
    const std::vector<uint8_t> first = k.animated ? SaveAnimatedSrf(srf) : SaveSrf("2.20", srf);
    ASSERT_EQ(first.size(), k.size);
    view.statuses.clear();
    view.dialogs.clear();
    view.dialogAnswers = {dir / srf, stem + ".bmp"};
    (form.*k.toPng)();
    ASSERT_EQ(view.dialogs.size(), 2u);
    EXPECT_EQ(view.dialogs[0].filter, "SRF Files|*.srf");
    EXPECT_EQ(view.dialogs[0].flags, 0x82000u);
    EXPECT_FALSE(view.dialogs[0].save);
    EXPECT_EQ(view.LastStatus(), "Status: Done...");
    ASSERT_TRUE(PathExists(stem + ".bmp"));
    ASSERT_TRUE(PathExists(stem + ".png"));
    if (!k.animated) {
      EXPECT_TRUE(view.StatusesInOrder({"Status: Reading SRF...", "Status: Done...", "Status: Saving to tBMP...",
                                        "Status: Writing 32-bit BMP...", "Status: Idle...", "Status: Done..."}));
    }
    form.WorkImage->Create(1, 1);
    view.dialogAnswers = {stem + ".png", dir / "second.srf"};
    (form.*k.toSrf)();
    EXPECT_EQ(view.LastStatus(), k.written);
    EXPECT_EQ(view.dialogs.back().fileName, stem + ".srf");  // named after the last BMP
    EXPECT_EQ(ReadFileBytes(dir / "second.srf"), first);
    EXPECT_TRUE(view.messages.empty());
  }
}

}  // namespace
}  // namespace velkor
