// The frame import: strip geometry, the numbering schemes, file names on a
// case-sensitive disk, and every way the import can stop.
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "pipeline/GuessPrefix.h"
#include "pipeline/NumberingScheme.h"
#include "pipeline/PipelineTestSupport.h"
#include "platform/Gdi.h"
#include "support/FakeView.h"
#include "ui/commands/frmMain.h"

namespace velkor {
namespace {

using testing::FakeView;
using testing::FrameBgra;
using testing::kKeyPixel;
using testing::PixelAt;
using testing::ScratchDir;

const testing::Bgra kWhite{255, 255, 255, 0};
const testing::Bgra kUntouched{0, 0, 0, 0};  // the new raster's own content

struct Fixture {
  ScratchDir dir;
  FakeView view;
  frmMain form{view};
  Fixture() { testing::UseFrameFolder(form, dir.path()); }
};

// Frame i of a set lands with its top-left pixel at the cell's corner and its
// bottom-right (white) pixel one down and right; the pixel after it is key.
void ExpectFrameAt(const cAlphaDibSection& strip, int set, int frame, int32_t left, int32_t top) {
  SCOPED_TRACE("set " + std::to_string(set) + " frame " + std::to_string(frame));
  EXPECT_EQ(PixelAt(strip, left, top), FrameBgra(set, frame));
  EXPECT_EQ(PixelAt(strip, left + 1, top), FrameBgra(set, frame));
  EXPECT_EQ(PixelAt(strip, left + 1, top + 1), kWhite);
  EXPECT_EQ(PixelAt(strip, left + 2, top + 1), kKeyPixel);
  EXPECT_EQ(PixelAt(strip, left + 1, top + 2), kKeyPixel);
}

const std::vector<std::string> kStaticStatuses = {
    "Status: Creating green screen...", "Status: Importing and Stitching 3D Images...",
    "Status: Importing and Stitching 2D Images...", "Status: Copying to Picture Box...", "Status: Idle"};

TEST(CompositeStrip, Static220Is14400By750WithThe2DBandAtRow400) {
  Fixture f;
  testing::WriteAllSets(f.dir.path());
  f.form.BuildCompositeImage("2.20");
  EXPECT_EQ(f.form.LastImport, ImportOutcome::Complete);
  EXPECT_TRUE(f.form.ImportWarnings.empty());
  EXPECT_TRUE(f.form.ImageLoaded);
  const cAlphaDibSection& strip = *f.form.WorkImage;
  ASSERT_EQ(strip.Width(), 14400);
  ASSERT_EQ(strip.Height(), 750);
  // Frame 7 of the 2D set (file r2d0007.bmp) at column 7 * 350.
  ExpectFrameAt(strip, 1, 7, 2450, 400);
  for (int i : {0, 1, 35}) {
    ExpectFrameAt(strip, 0, i, 400 * i, 0);
    ExpectFrameAt(strip, 1, i, 350 * i, 400);
  }
  // Past the 36 2D cells the band stays key colour.
  EXPECT_EQ(PixelAt(strip, 12600, 400), kKeyPixel);
  EXPECT_EQ(PixelAt(strip, 14399, 749), kKeyPixel);
  // The key fill covers column 0 and the top row too.
  EXPECT_EQ(PixelAt(strip, 5, 0), kKeyPixel);
  EXPECT_EQ(PixelAt(strip, 5, 1), kKeyPixel);
  EXPECT_EQ(PixelAt(strip, 0, 5), kKeyPixel);
  EXPECT_EQ(PixelAt(strip, 0, 405), kKeyPixel);
  EXPECT_EQ(f.view.statuses, kStaticStatuses);
  EXPECT_EQ(f.view.doEvents, 2);
  // The pane is drawn again once the frames are in (one pixel per pixel:
  // no view is selected), not left with the key colour of the empty strip.
  EXPECT_EQ(f.view.previewChanged, 2);
  const testing::Bgra corner = FrameBgra(0, 0);
  EXPECT_EQ(gdi::GetPixel(f.form.Plotter().hDC(), 1, 0),
            static_cast<uint32_t>(corner[2] | corner[1] << 8 | corner[0] << 16));
}

TEST(CompositeStrip, Static100Is14400By800With400PixelCellsInThe2DBand) {
  Fixture f;
  testing::WriteAllSets(f.dir.path());
  f.form.BuildCompositeImage("1.00");
  ASSERT_EQ(f.form.LastImport, ImportOutcome::Complete);
  const cAlphaDibSection& strip = *f.form.WorkImage;
  ASSERT_EQ(strip.Width(), 14400);
  ASSERT_EQ(strip.Height(), 800);
  for (int i : {0, 7, 35}) ExpectFrameAt(strip, 1, i, 400 * i, 400);
}

TEST(CompositeStrip, AnimatedIs16210By1700WithFourBands) {
  Fixture f;
  testing::WriteAllSets(f.dir.path());
  f.form.mnuAnimatedSRF_Click();
  f.form.BuildCompositeImage("1.00");
  ASSERT_EQ(f.form.LastImport, ImportOutcome::Complete);
  const cAlphaDibSection& strip = *f.form.WorkImage;
  ASSERT_EQ(strip.Width(), 16210);
  ASSERT_EQ(strip.Height(), 1700);
  for (int i : {0, 7, 35}) {
    ExpectFrameAt(strip, 0, i, 450 * i, 0);
    ExpectFrameAt(strip, 1, i, 400 * i, 450);
    ExpectFrameAt(strip, 2, i, 450 * i, 850);   // the 2D animation prefix of item 2
    ExpectFrameAt(strip, 3, i, 400 * i, 1300);  // read with the prefix of item 2
  }
  // The ten columns past the last 3D cell are never covered.
  EXPECT_EQ(PixelAt(strip, 16205, 10), kKeyPixel);
  EXPECT_EQ(PixelAt(strip, 16209, 1699), kKeyPixel);
  EXPECT_TRUE(f.view.StatusesInOrder({"Status: Importing and Stitching 2D Images...",
                                      "Status: Importing and Stitching 3D Anim. Images...",
                                      "Status: Importing and Stitching 2D Anim. Images...", "Status: Idle"}));
}

TEST(CompositeStrip, FoldersAreTakenTrimmedFromTheBoxes) {
  Fixture f;
  f.form.Controls.txtWorkDir[1].Text = "  " + f.dir.path() + " ";
  f.form.Controls.txt2DWorkDir[1].Text = " /rot/top";
  f.form.Controls.txtWorkDir[2].Text = "/anim ";
  f.form.Controls.txt2DWorkDir[2].Text = " /nowhere/top ";
  f.form.BuildCompositeImage("2.20");
  EXPECT_EQ(f.form.RotationDir3D, f.dir.path());
  EXPECT_EQ(f.form.RotationDir2D, "/rot/top");
  EXPECT_EQ(f.form.AnimationDir3D, "/anim");
  EXPECT_EQ(f.form.AnimationDir2D, "/nowhere/top");
}

TEST(CompositeStrip, EachImportStartsWithNoWarnings) {
  Fixture f;
  testing::WriteAllSets(f.dir.path());
  testing::WriteFileBytes(f.dir / "r2d0006.bmp", {});
  f.form.BuildCompositeImage("2.20");
  ASSERT_EQ(f.form.ImportWarnings.size(), 1u);
  testing::WriteFrameSet(f.dir.path(), "r2d", "0000-0035", 1, 2);
  f.form.BuildCompositeImage("2.20");
  EXPECT_TRUE(f.form.ImportWarnings.empty());
}

struct SchemeCase {
  std::string text;
  std::string first, last;
};

TEST(NumberingScheme, FirstAndLastFileNameOfEveryScheme) {
  const std::vector<SchemeCase> cases = {
      {"1-36", "car1.bmp", "car36.bmp"},
      {"01-36", "car01.bmp", "car36.bmp"},
      {"001-036", "car001.bmp", "car036.bmp"},
      {"0001-0036", "car0001.bmp", "car0036.bmp"},
      {"0-35", "car0.bmp", "car35.bmp"},
      {"00-35", "car00.bmp", "car35.bmp"},
      {"000-035", "car000.bmp", "car035.bmp"},
      {"0000-0035", "car0000.bmp", "car0035.bmp"},
      {"0-360 (10s)", "car0.bmp", "car350.bmp"},
      {"000-360 (10s)", "car000.bmp", "car350.bmp"},
      {"  01-36 ", "car01.bmp", "car36.bmp"},         // trimmed
      {"", "car0000.bmp", "car0035.bmp"},             // empty: the default
      {"1-360", "car0000.bmp", "car0035.bmp"},        // not in the list
      {"0-360 (10S)", "car0000.bmp", "car0035.bmp"},  // compared with case
  };
  for (const SchemeCase& c : cases) {
    SCOPED_TRACE("'" + c.text + "'");
    const NumberingScheme scheme = SchemeFromText(c.text);
    EXPECT_EQ(FrameFileName("/cars/sedan", "car", scheme, 0), "/cars/sedan/" + c.first);
    EXPECT_EQ(FrameFileName("/cars/sedan", "car", scheme, 35), "/cars/sedan/" + c.last);
  }
  EXPECT_EQ(FrameNumber(SchemeFromText("0-360 (10s)"), 7), "70");
  EXPECT_EQ(FrameNumber(SchemeFromText("000-360 (10s)"), 1), "010");
}

TEST(CompositeStrip, TheNumberingBoxChoosesTheFileNamesRead) {
  for (const std::string scheme : {"0-360 (10s)", "1-36"}) {
    SCOPED_TRACE(scheme);
    Fixture f;
    testing::WriteAllSets(f.dir.path(), 2, scheme);
    f.form.Controls.cmbNumbers.Text = scheme;
    f.form.BuildCompositeImage("2.20");
    EXPECT_EQ(f.form.LastImport, ImportOutcome::Complete);
    ExpectFrameAt(*f.form.WorkImage, 0, 35, 400 * 35, 0);
  }
}

TEST(CompositeStrip, AFrameWhoseNameDiffersOnlyInCaseIsRead) {
  Fixture f;
  testing::WriteFrameSet(f.dir.path(), "r3d", "0000-0035", 0, 2, ".BMP");
  testing::WriteFrameSet(f.dir.path(), "R2D", "0000-0035", 1, 2);
  f.form.BuildCompositeImage("2.20");
  EXPECT_EQ(f.form.LastImport, ImportOutcome::Complete);
  ExpectFrameAt(*f.form.WorkImage, 0, 3, 1200, 0);
  ExpectFrameAt(*f.form.WorkImage, 1, 3, 1050, 400);
}

struct MissingCase {
  int set;
  int frame;
  const char* status;
};

TEST(CompositeStrip, AMissingFrameStopsTheImportWithItsSetsStatus) {
  const MissingCase cases[] = {
      {0, 0, "Status: ERROR: 3D Rotation File Not Found..."},
      {0, 20, "Status: ERROR: 3D Rotation File Not Found..."},
      {1, 5, "Status: ERROR: 2D Rotation File Not Found..."},
      {2, 35, "Status: ERROR: 3D Animation File Not Found..."},
      {3, 0, "Status: ERROR: 2D Animation File Not Found..."},
  };
  const char* prefixes[4] = {"r3d", "r2d", "a3d", "a2d"};
  for (const MissingCase& c : cases) {
    SCOPED_TRACE(c.status + std::string(" frame ") + std::to_string(c.frame));
    Fixture f;
    testing::WriteAllSets(f.dir.path());
    const std::string missing = f.dir / (prefixes[c.set] + FrameNumber(NumberingScheme{}, c.frame) + ".bmp");
    std::filesystem::remove(missing);
    f.form.mnuAnimatedSRF_Click();
    f.form.BuildCompositeImage("1.00");
    EXPECT_EQ(f.view.LastStatus(), c.status);
    EXPECT_EQ(f.form.LastImport, ImportOutcome::FileMissing);
    ASSERT_FALSE(f.form.ImportWarnings.empty());
    EXPECT_EQ(f.form.ImportWarnings.back(), missing);
    EXPECT_TRUE(f.form.ImageLoaded);
    const cAlphaDibSection& strip = *f.form.WorkImage;
    ASSERT_EQ(strip.Width(), 16210);
    const int32_t cell = c.set % 2 == 0 ? 450 : 400;
    const int32_t tops[4] = {0, 450, 850, 1300};
    // The frames before the missing one are in; its cell and the rest are key.
    if (c.frame > 0) ExpectFrameAt(strip, c.set, c.frame - 1, cell * (c.frame - 1), tops[c.set]);
    EXPECT_EQ(PixelAt(strip, cell * c.frame + 1, tops[c.set] + 1), kKeyPixel);
  }
}

TEST(CompositeStrip, TheFirst3DFileMissingLeavesAnAllKeyStrip) {
  Fixture f;
  f.form.BuildCompositeImage("2.20");
  EXPECT_EQ(f.view.statuses, (std::vector<std::string>{"Status: Creating green screen...",
                                                       "Status: Importing and Stitching 3D Images...",
                                                       "Status: ERROR: 3D Rotation File Not Found..."}));
  EXPECT_TRUE(f.form.ImageLoaded);
  ASSERT_EQ(f.form.WorkImage->Width(), 14400);
  EXPECT_EQ(PixelAt(*f.form.WorkImage, 1, 1), kKeyPixel);
  EXPECT_EQ(PixelAt(*f.form.WorkImage, 14399, 749), kKeyPixel);
}

TEST(CompositeStrip, AnUnreadable3DFrameStopsTheImportWithAnErrorStatus) {
  Fixture f;
  testing::WriteAllSets(f.dir.path());
  testing::WriteFileBytes(f.dir / "r3d0004.bmp", {'n', 'o', 't', ' ', 'a', ' ', 'b', 'm', 'p'});
  f.form.BuildCompositeImage("2.20");
  EXPECT_EQ(f.form.LastImport, ImportOutcome::FileUnreadable);
  EXPECT_EQ(f.form.ImportWarnings, std::vector<std::string>{f.dir / "r3d0004.bmp"});
  EXPECT_EQ(f.view.LastStatus(), "Status: ERROR: 3D Rotation File Unreadable...");
  ExpectFrameAt(*f.form.WorkImage, 0, 3, 1200, 0);
  EXPECT_EQ(PixelAt(*f.form.WorkImage, 1601, 1), kKeyPixel);
}

TEST(CompositeStrip, AnUnreadable2DFrameLeavesItsCellKeyAndTheImportGoesOn) {
  Fixture f;
  testing::WriteAllSets(f.dir.path());
  testing::WriteFileBytes(f.dir / "r2d0006.bmp", {});
  f.form.BuildCompositeImage("2.20");
  EXPECT_EQ(f.form.LastImport, ImportOutcome::Complete);
  EXPECT_EQ(f.form.ImportWarnings, std::vector<std::string>{f.dir / "r2d0006.bmp"});
  EXPECT_EQ(f.view.statuses, kStaticStatuses);
  EXPECT_EQ(PixelAt(*f.form.WorkImage, 2100, 400), kKeyPixel);
  ExpectFrameAt(*f.form.WorkImage, 1, 7, 2450, 400);
}

// Whatever goes wrong inside the import (here the view fails while the 2D
// set begins) is reported, not passed on.
TEST(CompositeStrip, AnErrorDuringTheImportIsReportedAndEndsIt) {
  struct FailingView : FakeView {
    void StatusChanged(const std::string& text, bool repaint) override {
      FakeView::StatusChanged(text, repaint);
      if (text == "Status: Importing and Stitching 2D Images...") throw std::runtime_error("view gone");
    }
  } view;
  ScratchDir dir;
  frmMain form{view};
  testing::UseFrameFolder(form, dir.path());
  testing::WriteAllSets(dir.path());
  EXPECT_NO_THROW(form.BuildCompositeImage("2.20"));
  EXPECT_EQ(view.messages, std::vector<std::string>{"An error occured while importing files"});
  EXPECT_EQ(view.LastStatus(), "Status: Error occured while importing files!");
  EXPECT_EQ(form.LastImport, ImportOutcome::Error);
  EXPECT_EQ(form.LastOutcome.kind, CommandOutcome::Kind::Failed);
}

TEST(CompositeStrip, AStripThatCannotBeCreatedLeavesImageLoadedAlone) {
  Fixture f;
  gdi::testing::FailNextDibSections(1);
  f.form.BuildCompositeImage("2.20");
  EXPECT_EQ(f.view.LastStatus(), "Status: Error Creating Composite Image!!");
  EXPECT_EQ(f.form.LastImport, ImportOutcome::StripNotCreated);
  EXPECT_FALSE(f.form.ImageLoaded);
}

TEST(CompositeStrip, AnimatedModeMakesNoStripForAnotherVersion) {
  Fixture f;
  ASSERT_TRUE(f.form.WorkImage->Create(3, 3));
  f.form.mnuAnimatedSRF_Click();
  f.form.BuildCompositeImage("2.20");
  EXPECT_EQ(f.view.statuses, (std::vector<std::string>{"Status: Creating green screen...",
                                                       "Status: Error Creating Composite Image!!"}));
  EXPECT_EQ(f.form.WorkImage->Width(), 3);  // the previous image stays
  EXPECT_FALSE(f.form.WorkImage->Empty());
}

TEST(GuessPrefix, ThePrefixOfTheFirstBmpFile) {
  const struct {
    const char* file;  // the only file in the folder, or none
    const char* prefix;
  } cases[] = {{"car0000.bmp", "car"},   {"view.5.bmp", "view"}, {"0001.bmp", ""},
               {"Sedan12.BMP", "Sedan"}, {"notes.txt", ""},      {nullptr, ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file ? c.file : "(empty folder)");
    ScratchDir dir;
    if (c.file) testing::WriteFileBytes(dir / c.file, {1});
    EXPECT_EQ(GuessPrefix(dir.path()), c.prefix);
  }
  EXPECT_EQ(GuessPrefix("/no/such/folder"), "");
  EXPECT_EQ(GuessPrefix(frmMain::DefaultRotationFolder()), "car");
}

}  // namespace
}  // namespace velkor
