#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "common/VbError.h"
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
    EXPECT_EQ(std::tuple(view.LastStatus(), view.messages.size(), view.dialogs.back().filter,
                         view.dialogs.back().flags),
              std::tuple("Status: " + kind + " version #" + (animated ? c.stored : c.version) + " file written....",
                         size_t{0}, "Garmin SRF Files|*.srf", 0x82002u));

    form.WorkImage->Create(5, 5);
    form.ImageLoaded = false;
    view.statuses.clear();
    ASSERT_TRUE(animated ? form.ReadASRFFile(file) : form.ReadSRFFile(file));
    EXPECT_EQ(view.statuses.front() + view.statuses.back() + std::to_string(form.ImageLoaded),
              "Status: Reading " + kind + "...Status: Done...1");
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
    EXPECT_EQ(0, std::memcmp(viewer.DIBSectionBitsPtr(), image.DIBSectionBitsPtr(), size_t(width) * 4 * height));
  }
  EXPECT_GE(view.previewCleared, 1);
  EXPECT_GE(view.previewChanged, 1);
}

TEST_F(SrfFile_, SaveProposesANameAndFailuresKeepTheExistingFile) {
  form.RotationDir3D = "/frames/rot";
  form.SaveSRF("2.20");  // without a picture only the status is set
  EXPECT_EQ(view.LastStatus(), "Status: Writing SRF...");
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
  const std::string srf = "an SRF version 2.20 needs at least 2880 x 150", asrf = "an animated SRF needs at least 3242 x 340";
  for (const auto& [w, h, needs] : {std::tuple{2879, 150, srf}, {2880, 149, srf}, {3241, 340, asrf}, {3242, 339, asrf}}) {
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

// Records of 4 x 3 and 4 x 2 at offsets 71 and 147; every refusal names the
// file, the record and where it failed.
TEST(SrfLoader, BadFilesRaiseAnErrorNamingTheFileAndTheProblem) {
  ScratchDir dir;
  const Bytes good = SrfFile("2.20", {{4, 3}, {4, 2}}, 56);
  auto cut = [&](size_t n) { return Cut(good, n); };
  auto put = [&](size_t at, int n, int64_t v) { return Put(good, at, n, v); };
  const std::string cut1 = "record 1 is cut short at offset 71: ", cut2 = "record 2 is cut short at offset 147: ";
  const struct {
    Bytes bytes;
    int number;
    std::string problem;
  } cases[] = {
      {{}, kErrFileNotFound, "No such file or directory"},
      {cut(70), kErrSubscript, "the file is 70 bytes long, too short for the 71-byte header"},
      {cut(71 + 31), kErrSubscript, cut1 + "its head needs 32 bytes at offset 71 but only 31 are left"},
      {cut(103 + 11), kErrSubscript, cut1 + "its alpha plane needs 12 bytes at offset 103 but only 11 are left"},
      {cut(115 + 7), kErrSubscript, cut1 + "its colour tag and size needs 8 bytes at offset 115 but only 7 are left"},
      {cut(123 + 23), kErrSubscript, cut1 + "its colour plane needs 24 bytes at offset 123 but only 23 are left"},
      {cut(195 + 15), kErrSubscript, cut2 + "its colour plane needs 16 bytes at offset 195 but only 15 are left"},
      {put(71 + 14, 2, 0), kErrSubscript, "record 1 at offset 71 has a size of 0 x 3 pixels"},
      {put(71 + 12, 2, 0), kErrSubscript, "record 1 at offset 71 has a size of 4 x 0 pixels"},
      {put(147 + 12, 2, -1), kErrSubscript, "record 2 at offset 147 has a size of 4 x -1 pixels"},
      {put(71 + 12, 2, 1), kErrSubscript, "record 1 gives its alpha plane 12 bytes, but its 4 x 1 pixels need 4"},
      {put(115 + 4, 1, 23), kErrSubscript, "record 1 gives its colour plane 23 bytes, but its 4 x 3 pixels need 24"},
      {put(147 + 32 + 7, 1, 129), kErrOverflow,
       "record 2 holds the alpha code 129 at pixel (3, 1); codes above 128 are not valid"},
      {put(103, 1, 255), kErrOverflow, "record 1 holds the alpha code 255 at pixel (0, 0)"},
      {Cut(Put(put(83, 4, 0x7FFF7FFF), 99, 4, 32767 * 32767), 203),
       kErrSubscript, cut1 + "its alpha plane needs 1073676289 bytes at offset 103 but only 100 are left"},
      {SrfFile("2.20", {{3000, 1}, {1, 3000}}, 56), kErrSubscript,
       "its records of different widths would make a 3000 x 3001 picture, far larger than the pixels they hold"},
  };
  for (const auto& c : cases) {
    const std::string file = dir / "bad.srf";
    fs::remove(file);
    if (!c.bytes.empty()) WriteFileBytes(file, c.bytes);
    cAlphaDibSection raster;
    const auto [number, message] = Refusal([&] { CreateFromGarminSRF(raster, file); });
    const std::string prefix = "Cannot read " + file + ": " + c.problem;
    EXPECT_EQ(std::pair(number, message.substr(0, prefix.size())), std::pair(c.number, prefix));
  }
}

}  // namespace
}  // namespace velkor
