#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "srf/SrfPreviewLoader.h"
#include "support/FormFixture.h"

namespace velkor {
namespace {

using namespace testing;
namespace fs = std::filesystem;

using SrfFile_ = FormTest;
const Sizes kStatic220 = {{2880, 80}, {2520, 70}}, kStatic100 = {{2880, 80}, {2880, 80}};
const Sizes kAnimated = {{3242, 90}, {2882, 80}, {3242, 90}, {2882, 80}};

// Each version's file and the animated one, whole: from a raster of the exact
// size, from the bottom rows of a larger one, and over a larger file there.
// The window's readers and the viewer's loader decode every pixel of it;
// right of a narrower record the picture is opaque white.
TEST_F(SrfFile_, EachVersionGivesItsFileByteForByteAndReadsBack) {
  const struct {
    std::string version, stored;
    const Sizes& sizes;
    size_t trailer;
    int w, h;
    bool over;
  } cases[] = {{"2.20", "2.20", kStatic220, 56, 2880, 150, false},  {"2.20", "2.20", kStatic220, 56, 2880, 160, false},
               {"2.20", "2.20", kStatic220, 56, 2880, 150, true},   {"1.00", "1.00", kStatic100, 136, 2880, 160, false},
               {"2.00", "2.00", kStatic100, 136, 2880, 160, false}, {"2.10", "2.10", kStatic220, 56, 2880, 150, false},
               {"3.00", "2.20", kStatic220, 56, 2880, 150, false},  {"", "1.00", kAnimated, 160, 3242, 340, false},
               {"", "1.00", kAnimated, 160, 3300, 400, false},      {"", "1.00", kAnimated, 160, 3242, 340, true}};
  for (const auto& c : cases) {
    const bool animated = c.version.empty();
    const std::string name = c.stored + std::to_string(c.w * c.h) + (c.over ? "o" : "") + ".srf", file = dir / name;
    const std::string kind = animated ? "ASRF" : "SRF";
    SCOPED_TRACE(name);
    if (c.over) WriteFileBytes(file, Bytes(4000000, 0xAB));
    view.statuses.clear();
    LoadPattern(c.w, c.h);
    const Bytes bytes = animated ? SaveAnimatedSrf(name) : SaveSrf(c.version, name);
    const int height = Rows(c.sizes), top = c.h - height;
    EXPECT_TRUE(bytes == SrfFile(c.stored, c.sizes, c.trailer, top));
    EXPECT_EQ(
        std::tuple(view.LastStatus(), view.messages.size(), view.dialogs.back().filter, view.dialogs.back().flags),
        std::tuple("Status: " + kind + " version #" + c.stored + " file written....", size_t{0},
                   "Garmin SRF Files|*.srf", 0x82002u));

    form.WorkImage->Create(5, 5);
    form.ImageLoaded = false;
    view.statuses.clear();
    form.LastOutcome = {};
    ASSERT_TRUE(animated ? form.ReadASRFFile(file) : form.ReadSRFFile(file));
    EXPECT_EQ(view.statuses.front() + view.statuses.back() + std::to_string(form.ImageLoaded) +
                  std::to_string(int(form.LastOutcome.kind)),
              "Status: Reading " + kind + "...Status: Done...1" + std::to_string(int(CommandOutcome::Kind::Completed)));
    const cAlphaDibSection& image = *form.WorkImage;
    const int width = c.sizes[0].first;
    ASSERT_EQ(image.Width() * 1000 + image.Height(), width * 1000 + height);
    for (int y = 0; y < height; y += 3)
      for (int x : {0, 1, 2519, 2520, 2879, std::min(2881, width - 1), std::min(2882, width - 1), width - 1, 7 * y})
        ASSERT_EQ(GetBgra(image, x, y), RecordPixel(c.sizes, x, y, top)) << x << "," << y;
    if (animated) continue;
    cAlphaDibSection viewer;
    CreateFromGarminSRF(viewer, file);
    ASSERT_EQ(viewer.Height(), height);
    EXPECT_EQ(PixelBytes(viewer), PixelBytes(image));
  }
  EXPECT_GE(view.previewCleared, 1);
  EXPECT_GE(view.previewChanged, 1);
}

TEST_F(SrfFile_, SaveProposesANameAndFailuresKeepTheExistingFile) {
  form.RotationDir3D = "/frames/rot";
  form.SaveSRF("2.20");  // without a picture nothing happens but the failure recorded; a file not read is no read
  EXPECT_TRUE(view.statuses.empty() && form.LastOutcome.kind == CommandOutcome::Kind::Failed);
  EXPECT_FALSE(form.ReadSRFFile(dir / "missing.srf") || form.ReadASRFFile(dir / "missing.srf"));
  view.messages.clear();
  // A picture whose records are written all transparent is refused before the dialog: alpha 1 is, a pixel
  // outside the records does not count, alpha 2 in the 2D record's last pixel is enough.
  for (const auto& [alpha, x, y, refused] :
       {std::tuple{1, 0, 10, true}, {255, 2520, 149, true}, {2, 2519, 149, false}}) {
    LoadPattern(2880, 150, [&](int px, int py) { return Bgra{9, 9, 9, uint8_t(px == x && py == y ? alpha : 0)}; });
    view.messages.clear();
    form.SaveSRF("2.20");
    EXPECT_EQ(std::make_pair(view.messages.size(), view.dialogs.size()),
              std::make_pair(size_t{refused}, size_t{!refused}));
    if (refused) {
      EXPECT_EQ(view.messages[0] + view.LastStatus(),
                "The picture has no vehicle in it: every pixel is transparent.Status: Nothing written...");
    }
  }
  view.dialogs.clear();
  LoadPattern(2880, 150);
  view.dialogAnswers = {std::nullopt, std::nullopt};
  form.SaveSRF("2.20");
  form.LastImageFile = "/out/car.blue.bmp";
  form.SaveSRF("2.20");
  ASSERT_EQ(view.dialogs.size(), 2u);
  EXPECT_EQ(std::tuple(view.dialogs[0].save, view.dialogs[0].fileName, view.dialogs[1].fileName),
            std::tuple(true, "/frames/rot/Temp.srf", "/out/car.srf"));
  EXPECT_TRUE(fs::is_empty(dir.path()));  // a cancel writes nothing

  const Bytes old = {1, 2, 3};
  WriteFileBytes(dir / "keep.srf", old);
  const std::string srf = "an SRF version 2.20 needs at least 2880 x 150",
                    asrf = "an animated SRF needs at least 3242 x 340";
  for (const auto& [w, h, needs] :
       {std::tuple{2879, 150, srf}, {2880, 149, srf}, {3241, 340, asrf}, {3242, 339, asrf}}) {
    view.messages.clear();
    LoadPattern(w, h);
    view.dialogAnswers = {dir / "keep.srf"};
    w > 2880 ? form.SaveASRF("1.00") : form.SaveSRF("2.20");
    EXPECT_EQ(view.messages, std::vector<std::string>{"An error occured while writing the SRF file!\nThe picture is " +
                                                      std::to_string(w) + " x " + std::to_string(h) + " pixels; " +
                                                      needs + " (the device size)."});
    EXPECT_EQ(view.LastStatus(), "Status: Error writing SRF FILE!");
  }
  EXPECT_EQ(ReadFileBytes(dir / "keep.srf"), old);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);  // no temporary left
}

// Group 2 records narrower than the raster leave white, transparent in its
// first record and opaque in its second; wider ones are cut to the raster.
TEST_F(SrfFile_, AnimatedRecordsOfOtherWidths) {
  const auto blue = [](int, int) { return Bgra{255, 0, 0, 0}; };
  WriteFileBytes(dir / "narrow.srf", SrfFile("1.00", {{10, 3}, {8, 2}, {4, 3}, {6, 2}, {1, 1}}, 160, 0, blue));
  ASSERT_TRUE(form.ReadASRFFile(dir / "narrow.srf"));  // the fifth record is never read
  ASSERT_EQ(form.WorkImage->Width() * 100 + form.WorkImage->Height(), 1010);
  // Per record: B decoded blue, W white transparent, O white opaque.
  const std::pair<int, std::string> records[] = {
      {3, "BBBBBBBBBB"}, {2, "BBBBBBBBOO"}, {3, "BBBBWWWWWW"}, {2, "BBBBBBOOOO"}};
  for (int y = 0; const auto& [rows, pixels] : records)
    for (int end = y + rows; y < end; ++y)
      for (int x = 0; x < 10; ++x)
        EXPECT_EQ(GetBgra(*form.WorkImage, x, y),
                  (pixels[x] == 'B' ? Bgra{248, 0, 0, 0} : Bgra{255, 255, 255, uint8_t(pixels[x] == 'O' ? 255 : 0)}))
            << x << "," << y;
  WriteFileBytes(dir / "wide.srf", SrfFile("1.00", {{4, 1}, {4, 1}, {9, 1}, {7, 1}}, 0, 0, blue));
  ASSERT_TRUE(form.ReadASRFFile(dir / "wide.srf"));
  EXPECT_EQ(form.WorkImage->Width(), 4);
  EXPECT_EQ(GetBgra(*form.WorkImage, 3, 2), (Bgra{248, 0, 0, 0}));
}

}  // namespace
}  // namespace velkor
