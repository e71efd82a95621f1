// The frame import: strip geometry, the numbering schemes, file names on a
// case-sensitive disk, every way the import can stop, and the loader that
// reads the frames ahead.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <tuple>

#include "pipeline/DeviceSize.h"
#include "pipeline/FrameLoader.h"
#include "pipeline/GuessPrefix.h"
#include "pipeline/PipelineTestSupport.h"
#include "platform/Gdi.h"
#include "raster/SampledStrip.h"
#include "support/FakeView.h"
#include "ui/commands/FormProgress.h"

namespace velkor {
namespace {

using testing::FakeView;
using testing::FrameBgra;
using testing::GetBgra;
using testing::kKeyPixel;
using testing::ScratchDir;

using Fixture = testing::FormOnDisk<>;
using Imported = Result<ImportedStrip, ImportStop>;

ImportOutcome Outcome(const Imported& imported) {
  return imported ? ImportOutcome::Complete : imported.failure().outcome;
}

// Frame i of a set lands with its top-left pixel at the cell's corner and its
// bottom-right (white) pixel one down and right; the pixels after it are key.
void ExpectFrameAt(const cAlphaDibSection& strip, int set, int frame, int32_t left, int32_t top) {
  SCOPED_TRACE("set " + std::to_string(set) + " frame " + std::to_string(frame));
  EXPECT_EQ((std::vector{GetBgra(strip, left, top), GetBgra(strip, left + 1, top), GetBgra(strip, left + 1, top + 1),
                         GetBgra(strip, left + 2, top + 1), GetBgra(strip, left + 1, top + 2)}),
            (std::vector{FrameBgra(set, frame), FrameBgra(set, frame), testing::Bgra{255, 255, 255, 0}, kKeyPixel,
                         kKeyPixel}));
}

const std::vector<std::string> kStatuses = {"Status: Creating green screen...",
                                            "Status: Importing and Stitching 3D Images...",
                                            "Status: Importing and Stitching 2D Images...",
                                            "Status: Importing and Stitching 3D Anim. Images...",
                                            "Status: Importing and Stitching 2D Anim. Images...",
                                            "Status: Copying to Picture Box...",
                                            "Status: Idle"};
const std::vector<std::string> kStaticStatuses = {kStatuses[0], kStatuses[1], kStatuses[2], kStatuses[5], kStatuses[6]};

struct Layout {
  const char* version;
  bool animated;
  int32_t width, height, cell[4], top[4];
  std::vector<std::pair<int32_t, int32_t>> key;  // pixels no frame covers
};
const Layout kStatic220{
    "2.20", false, 14400, 750, {400, 350}, {0, 400}, {{12600, 400}, {14399, 749}, {5, 0}, {5, 1}, {0, 5}, {0, 405}}};
const Layout kAnimated{
    "1.00", true, 16210, 1700, {450, 400, 450, 400}, {0, 450, 850, 1300}, {{16205, 10}, {16209, 1699}}};

TEST(CompositeStrip, EachLayoutPutsEveryFrameInItsCell) {
  for (const Layout& l :
       {kStatic220, Layout{"1.00", false, 14400, 800, {400, 400}, {0, 400}, {{14399, 799}, {0, 405}}}, kAnimated}) {
    SCOPED_TRACE(std::string(l.version) + (l.animated ? " animated" : ""));
    Fixture f(true, l.animated);
    const Imported imported = f.form.BuildCompositeImage(l.version);
    ASSERT_TRUE(imported);
    EXPECT_EQ(std::tuple(f.form.LastOutcome.kind, imported->skipped.size(), f.form.ImageLoaded),
              std::tuple(CommandOutcome::Kind::Completed, size_t{0}, true));
    const cAlphaDibSection& strip = *f.form.WorkImage;
    ASSERT_EQ(std::pair(strip.Width(), strip.Height()), std::pair(l.width, l.height));
    for (int set = 0; set < (l.animated ? 4 : 2); ++set)
      for (int i : {0, 1, 7, 35}) ExpectFrameAt(strip, set, i, l.cell[set] * i, l.top[set]);
    for (const auto& [x, y] : l.key) EXPECT_EQ(GetBgra(strip, x, y), kKeyPixel) << x << "," << y;
    EXPECT_EQ(f.view.statuses, l.animated ? kStatuses : kStaticStatuses);
    // The pane is drawn again once the frames are in (one pixel per pixel:
    // no view is selected), not left with the key colour of the empty strip.
    EXPECT_EQ(std::pair(f.view.doEvents, f.view.previewChanged), std::pair(2, 2));
    EXPECT_EQ(gdi::GetPixel(f.form.Plotter().hDC(), 1, 0), gdi::RGB(10, 0, 100));  // FrameBgra(0, 0)
    // Made for a resample only, the strip keeps what the resample reads: the
    // same bytes as the full strip resampled, the same statuses, no preview.
    Fixture sampled(true, l.animated);
    const RasterSize device = DeviceSizeFor(l.animated, l.version);
    FormProgress progress(sampled.form);
    const Imported small = ImportFrames(sampled.form.FrameSettings(l.version), progress, device);
    ASSERT_TRUE(small && small->sampled && !small->strip);
    EXPECT_EQ(std::pair(sampled.view.statuses, sampled.view.previewChanged), std::pair(f.view.statuses, 0));
    const auto expected = strip.Resample(device.height, device.width), actual = small->sampled->Resample();
    ASSERT_TRUE(expected && actual);
    EXPECT_EQ(testing::PixelBytes(*actual), testing::PixelBytes(*expected));
  }
}

TEST(CompositeStrip, FoldersAreTakenTrimmedFromTheBoxes) {
  Fixture f(false);
  f.form.Controls.txtWorkDir[1].Text = "  " + f.dir.path() + " ";
  f.form.Controls.txt2DWorkDir[1].Text = " /rot/top";
  f.form.Controls.txtWorkDir[2].Text = "/anim ";
  f.form.Controls.txt2DWorkDir[2].Text = " /nowhere/top ";
  f.form.BuildCompositeImage("2.20");
  EXPECT_EQ((std::vector<std::string>{f.form.RotationDir3D, f.form.RotationDir2D, f.form.AnimationDir3D,
                                      f.form.AnimationDir2D}),
            (std::vector<std::string>{f.dir.path(), "/rot/top", "/anim", "/nowhere/top"}));
}

TEST(NumberingScheme, FirstAndLastFileNameOfEveryScheme) {
  const struct {
    std::string text, first, last;
  } cases[] = {
      {"1-36", "1", "36"},
      {"01-36", "01", "36"},
      {"001-036", "001", "036"},
      {"0001-0036", "0001", "0036"},
      {"0-35", "0", "35"},
      {"00-35", "00", "35"},
      {"000-035", "000", "035"},
      {"0000-0035", "0000", "0035"},
      {"0-360 (10s)", "0", "350"},
      {"000-360 (10s)", "000", "350"},
      {"  01-36 ", "01", "36"},  // trimmed
      {"", "0000", "0035"},
      {"1-360", "0000", "0035"},
      {"0-360 (10S)", "0000", "0035"},  // the default
  };
  for (const auto& c : cases) {
    const NumberingScheme scheme = SchemeFromText(c.text);
    EXPECT_EQ(FrameFileName("/cars/sedan", "car", scheme, 0), "/cars/sedan/car" + c.first + ".bmp") << c.text;
    EXPECT_EQ(FrameFileName("/cars/sedan", "car", scheme, 35), "/cars/sedan/car" + c.last + ".bmp") << c.text;
  }
  EXPECT_EQ(FrameNumber(SchemeFromText("0-360 (10s)"), 7), "70");
  EXPECT_EQ(FrameNumber(SchemeFromText("000-360 (10s)"), 1), "010");
}

TEST(CompositeStrip, TheNumberingBoxAndFileNamesThatDifferOnlyInCase) {
  for (const std::string scheme : {"0-360 (10s)", "1-36"}) {
    Fixture f(false);
    testing::WriteAllSets(f.dir.path(), 2, scheme);
    f.form.Controls.cmbNumbers.Text = scheme;
    EXPECT_TRUE(f.form.BuildCompositeImage("2.20")) << scheme;
    ExpectFrameAt(*f.form.WorkImage, 0, 35, 400 * 35, 0);
  }
  Fixture f(false);
  testing::WriteFrameSet(f.dir.path(), "r3d", "0000-0035", 0, 2, ".BMP");
  testing::WriteFrameSet(f.dir.path(), "R2D", "0000-0035", 1, 2);
  EXPECT_TRUE(f.form.BuildCompositeImage("2.20"));
  ExpectFrameAt(*f.form.WorkImage, 0, 3, 1200, 0);
  ExpectFrameAt(*f.form.WorkImage, 1, 3, 1050, 400);
}

// A missing frame stops the import with its set's status, an unreadable 3D
// frame too, leaving the working image as it was; an unreadable 2D frame
// leaves its cell key and the import goes on. The next import starts with
// no warnings.
TEST(CompositeStrip, AMissingOrUnreadableFrame) {
  const struct {
    int set, frame;
    std::optional<std::vector<uint8_t>> damage;  // none: the file is removed
    ImportOutcome outcome;
  } cases[] = {
      {0, 0, {}, ImportOutcome::FileMissing},
      {0, 20, {}, ImportOutcome::FileMissing},
      {1, 5, {}, ImportOutcome::FileMissing},
      {2, 35, {}, ImportOutcome::FileMissing},
      {3, 0, {}, ImportOutcome::FileMissing},
      {0, 4, std::vector<uint8_t>{'n', 'o', 't'}, ImportOutcome::FileUnreadable},
      {2, 4, std::vector<uint8_t>{}, ImportOutcome::FileUnreadable},
      {1, 6, std::vector<uint8_t>{}, ImportOutcome::Complete},
      {3, 35, std::vector<uint8_t>{'B', 'M'}, ImportOutcome::Complete},
  };
  const std::string kSets[4] = {"3D Rotation", "2D Rotation", "3D Animation", "2D Animation"};
  for (const auto& c : cases) {
    SCOPED_TRACE(kSets[c.set] + " frame " + std::to_string(c.frame));
    Fixture f(true, true);
    const std::string file = f.dir / (testing::kSetPrefixes[c.set] + FrameNumber(NumberingScheme{}, c.frame) + ".bmp");
    c.damage ? testing::WriteFileBytes(file, *c.damage) : void(std::filesystem::remove(file));
    const cAlphaDibSection* before = f.form.WorkImage.get();
    const Imported imported = f.form.BuildCompositeImage("1.00");
    const bool complete = c.outcome == ImportOutcome::Complete, missing = c.outcome == ImportOutcome::FileMissing;
    EXPECT_EQ(f.view.LastStatus(),
              complete ? "Status: Idle"
                       : "Status: ERROR: " + kSets[c.set] + (missing ? " File Not Found..." : " File Unreadable..."));
    std::string set = kSets[c.set];
    set[3] += 'a' - 'A';  // "3D rotation"
    const std::string problem =
        c.set == 0 && c.frame == 0
            ? "There are no frames to import: the first 3D rotation frame " + file +
                  " does not exist. Choose the folder and prefix of your frames."
            : "The " + set + " frame " + file + (missing ? " does not exist." : " cannot be read as a BMP file");
    EXPECT_EQ(
        std::tuple(Outcome(imported), f.form.LastOutcome.kind, f.form.ImageLoaded),
        std::tuple(c.outcome, complete ? CommandOutcome::Kind::Completed : CommandOutcome::Kind::Failed, complete));
    if (complete) {
      EXPECT_EQ(imported->skipped, std::vector<std::string>{file});
    }
    EXPECT_EQ((complete ? imported->skippedProblem : imported.failure().message).substr(0, problem.size()), problem);
    EXPECT_NE(f.form.LastOutcome.message.find(complete ? "" : file), std::string::npos);
    const cAlphaDibSection& strip = *f.form.WorkImage;
    EXPECT_EQ(&strip == before, !complete);
    if (complete) {
      ASSERT_EQ(strip.Width(), kAnimated.width);
      const int32_t cell = kAnimated.cell[c.set], top = kAnimated.top[c.set];
      ExpectFrameAt(strip, c.set, c.frame - 1, cell * (c.frame - 1), top);
      EXPECT_EQ(GetBgra(strip, cell * c.frame + 1, top + 1), kKeyPixel);
      if (c.frame < 35) ExpectFrameAt(strip, c.set, c.frame + 1, cell * (c.frame + 1), top);
      EXPECT_EQ(f.view.statuses, kStatuses);
    }
    testing::WriteAllSets(f.dir.path());
    const Imported again = f.form.BuildCompositeImage("1.00");
    EXPECT_TRUE(again && again->skipped.empty());
  }
}

TEST(CompositeStrip, AnErrorDuringTheImportIsReportedAndEndsIt) {
  struct FailingView : FakeView {
    void StatusChanged(const std::string& text, bool repaint) override {
      FakeView::StatusChanged(text, repaint);
      if (text == "Status: Importing and Stitching 2D Images...") throw std::runtime_error("view gone");
    }
  };
  testing::FormOnDisk<FailingView> f(true);
  std::optional<Imported> imported;
  EXPECT_NO_THROW(imported.emplace(f.form.BuildCompositeImage("2.20")));
  EXPECT_EQ(std::tuple(f.view.messages, f.view.LastStatus(), Outcome(*imported), f.form.LastOutcome.kind),
            std::tuple(std::vector<std::string>{"An error occured while importing files"},
                       std::string("Status: Error occured while importing files!"), ImportOutcome::Error,
                       CommandOutcome::Kind::Failed));
}

TEST(CompositeStrip, NoStripRefusedOrForAnAnimatedVersionOtherThan100) {
  Fixture refused(false);
  gdi::testing::FailNextDibSections(1);
  EXPECT_EQ(std::pair(Outcome(refused.form.BuildCompositeImage("2.20")), refused.form.ImageLoaded),
            std::pair(ImportOutcome::StripNotCreated, false));
  Fixture f(false, true);
  ASSERT_TRUE(f.form.WorkImage->Create(3, 3));
  EXPECT_EQ(Outcome(f.form.BuildCompositeImage("2.20")), ImportOutcome::StripNotCreated);
  EXPECT_EQ(f.view.statuses, (std::vector<std::string>{kStatuses[0], "Status: Error Creating Composite Image!!"}));
  EXPECT_EQ(f.form.WorkImage->Width(), 3);  // the previous image stays
}

TEST(GuessPrefix, ThePrefixOfTheFirstBmpFile) {
  for (const auto& [file, prefix] : std::vector<std::pair<std::string, std::string>>{{"car0000.bmp", "car"},
                                                                                     {"view.5.bmp", "view"},
                                                                                     {"0001.bmp", ""},
                                                                                     {"Sedan12.BMP", "Sedan"},
                                                                                     {"notes.txt", ""},
                                                                                     {"", ""}}) {
    ScratchDir dir;
    if (!file.empty()) testing::WriteFileBytes(dir / file, {1});
    EXPECT_EQ(GuessPrefix(dir.path()), prefix) << file;
  }
  EXPECT_EQ(GuessPrefix("/no/such/folder"), "");
  EXPECT_EQ(GuessPrefix(frmMain::DefaultRotationFolder()), "car");
}

// Frame i is i + 1 pixels wide, so that each frame shows which file it came
// from. Several rounds, as the workers' timing differs from one to the next;
// stopping after any frame must end the workers.
TEST(FrameLoader, HandsOverEveryFrameInOrderWithItsOwnOutcome) {
  ScratchDir dir;
  std::vector<std::string> frames;
  for (int i = 0; i < 9; ++i) {
    frames.push_back(dir / ("f" + std::to_string(i) + ".bmp"));
    ASSERT_TRUE(testing::WriteTestBmp(frames.back(), i + 1, 2, 24, [](int, int) { return 0x123456u; }));
  }
  ASSERT_TRUE(testing::WriteTestBmp(dir / "upper.BMP", 3, 3, 24, [](int, int) { return 0u; }));
  testing::WriteFileBytes(dir / "garbage.bmp", {'B', 'M', 1, 2, 3});
  const struct {
    std::string name, file;  // as asked for, as resolved
    bool exists, readable;
    int32_t width;
  } expected[] = {{frames[0], frames[0], true, true, 1},
                  {dir / "missing.bmp", dir / "missing.bmp", false, false, 0},
                  {frames[1], frames[1], true, true, 2},
                  {dir / "upper.bmp", dir / "upper.BMP", true, true, 3},
                  {dir / "garbage.bmp", dir / "garbage.bmp", true, false, 0},
                  {frames[2], frames[2], true, true, 3},
                  {frames[8], frames[8], true, true, 9}};
  std::vector<std::string> names;
  for (const auto& e : expected) names.push_back(e.name);
  for (int round = 0; round < 20; ++round) {
    FrameLoader loader(names);
    for (const auto& e : expected) {
      const LoadedFrame frame = loader.Next();
      EXPECT_EQ(std::tuple(frame.file, frame.exists, frame.readable, frame.readable ? frame.dib->Width() : 0),
                std::tuple(e.file, e.exists, e.readable, e.width))
          << e.name;
    }
    EXPECT_THROW(loader.Next(), std::out_of_range);
  }
  for (size_t taken = 0; taken <= frames.size(); ++taken) {
    FrameLoader loader(frames);
    for (size_t i = 0; i < taken; ++i) EXPECT_EQ(loader.Next().dib->Width(), static_cast<int32_t>(i + 1));
  }
}

}  // namespace
}  // namespace velkor
