#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "common/VbError.h"
#include "srf/SrfPreviewLoader.h"
#include "support/FormFixture.h"

namespace velkor {
namespace {

using namespace testing;

using SrfFile_ = FormTest;
using Sizes = std::vector<std::pair<int, int>>;
const Sizes kStatic220 = {{2880, 80}, {2520, 70}}, kStatic100 = {{2880, 80}, {2880, 80}};
const Sizes kAnimated = {{3242, 90}, {2882, 80}, {3242, 90}, {2882, 80}};

// Each version's file and the animated one, whole: from a raster of the exact
// size, from the bottom rows of a larger one, and over a larger file there.
TEST_F(SrfFile_, EachVersionGivesItsFileByteForByte) {
  struct Case {
    std::string version, stored;
    const Sizes& sizes;
    size_t trailer;
    int w, h;
    bool over;
  };
  const Case cases[] = {{"2.20", "2.20", kStatic220, 56, 2880, 150, false}, {"2.20", "2.20", kStatic220, 56, 2880, 160, false},
                        {"2.20", "2.20", kStatic220, 56, 2880, 150, true},  {"1.00", "1.00", kStatic100, 136, 2880, 160, false},
                        {"2.00", "2.00", kStatic100, 136, 2880, 160, false}, {"2.10", "2.10", kStatic220, 56, 2880, 150, false},
                        {"3.00", "2.20", kStatic220, 56, 2880, 150, false}, {"", "1.00", kAnimated, 160, 3242, 340, false},
                        {"", "1.00", kAnimated, 160, 3300, 400, false},     {"", "1.00", kAnimated, 160, 3242, 340, true}};
  for (const Case& c : cases) {
    const bool animated = c.version.empty();
    const std::string name = c.stored + std::to_string(c.w * c.h) + (c.over ? "o" : "") + ".srf";
    SCOPED_TRACE(name);
    if (c.over) WriteFileBytes(dir / name, std::vector<uint8_t>(4000000, 0xAB));
    view.statuses.clear();
    LoadPattern(c.w, c.h);
    const std::vector<uint8_t> bytes = animated ? SaveAnimatedSrf(name) : SaveSrf(c.version, name);
    EXPECT_TRUE(bytes == SrfFile(c.stored, c.sizes, c.trailer, animated ? c.h - 340 : c.h - 80 - c.sizes[1].second));
    const std::string kind = animated ? "ASRF" : "SRF";
    EXPECT_EQ(view.statuses, (std::vector<std::string>{"Status: Writing " + kind + "...", "Status: Calculating Checksum...",
                                                       "Status: " + kind + " version #" + (animated ? "1.00" : c.version) +
                                                           " file written...."}));
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(view.dialogs.back().filter, "Garmin SRF Files|*.srf");
    EXPECT_EQ(view.dialogs.back().flags, 0x82002u);
  }
}

TEST_F(SrfFile_, SumEndingAtZeroWritesChecksumZero) {
  // Black transparent pixels; the blue of a few pixels tunes the sum to 0.
  LoadPattern(2880, 150, [](int, int) { return Bgra{0, 0, 0, 0}; });
  auto sum = [](const std::vector<uint8_t>& b) { return ExpectedChecksum({b.begin(), b.end() - 1}); };
  const unsigned checksum = sum(SaveSrf("2.20", "first.srf"));
  unsigned missing = checksum ? checksum - 1 : 0;  // 255 - s, the checksum being 256 - s
  ASSERT_GT(missing, 0u);
  for (int x = 0; missing > 0; ++x) {
    const unsigned step = std::min(missing, 31u);
    PixelAt(*form.WorkImage, x, 0)[0] = static_cast<uint8_t>(step << 3);
    missing -= step;
  }
  const std::vector<uint8_t> bytes = SaveSrf("2.20", "zero.srf");
  EXPECT_EQ(sum(bytes), 0);
  EXPECT_EQ(bytes.back(), 0);
}

TEST_F(SrfFile_, SaveProposesANameAndACancelWritesNothing) {
  LoadPattern(2880, 150);
  form.RotationDir3D = "/frames/rot";
  view.dialogAnswers = {std::nullopt, std::nullopt};
  form.SaveSRF("2.20");
  form.LastImageFile = "/out/car.blue.bmp";
  form.SaveSRF("2.20");
  ASSERT_EQ(view.dialogs.size(), 2u);
  EXPECT_TRUE(view.dialogs[0].save);
  EXPECT_EQ(view.dialogs[0].fileName, "/frames/rot/Temp.srf");
  EXPECT_EQ(view.dialogs[1].fileName, "/out/car.srf");
  EXPECT_EQ(view.LastStatus(), form.Controls.lblStatus.Caption);
  EXPECT_NE(view.LastStatus(), "Status: Writing SRF...");
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
  form.ImageLoaded = false;  // without a picture only the status is set
  form.SaveSRF("2.20");
  EXPECT_EQ(view.dialogs.size(), 2u);
  EXPECT_EQ(view.LastStatus(), "Status: Writing SRF...");
}

TEST_F(SrfFile_, FailedWritesAreReportedAndKeepTheExistingFile) {
  const std::vector<uint8_t> old = {1, 2, 3};
  WriteFileBytes(dir / "keep.srf", old);
  std::filesystem::create_directory(dir / "folder.srf");
  const std::string error = "An error occured while writing the SRF file!";
  const std::string small = error + "\nThe picture is 3241 x 340 pixels; an animated SRF needs at least 3242 x 340";
  const struct {
    bool animated;
    int w, h;
    std::string target, message;
  } cases[] = {{false, 2879, 150, "keep.srf", error},        {false, 2880, 149, "keep.srf", error},
               {false, 2880, 150, "missing/out.srf", error}, {false, 2880, 150, "folder.srf", error},
               {true, 3241, 340, "keep.srf", small},         {true, 3242, 339, "keep.srf", error + "\nThe picture is 3242 x 339"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.target + " " + std::to_string(c.w) + " x " + std::to_string(c.h));
    view.messages.clear();
    LoadPattern(c.w, c.h);
    view.dialogAnswers = {dir / c.target};
    c.animated ? form.SaveASRF("1.00") : form.SaveSRF("2.20");
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].rfind(c.message, 0), 0u) << view.messages[0];
    EXPECT_EQ(view.LastStatus(), "Status: Error writing SRF FILE!");
  }
  EXPECT_EQ(ReadFileBytes(dir / "keep.srf"), old);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator{}), 2);  // no temporary left
}

// The window's reader and the viewer's loader decode every pixel; right of a
// narrower second image (2.20) the picture is opaque white.
TEST_F(SrfFile_, ReadersDecodeEveryPixelAndAgree) {
  for (auto [version, height] : {std::pair{"2.20", 150}, std::pair{"1.00", 160}}) {
    SCOPED_TRACE(version);
    LoadPattern(2880, height);
    SaveSrf(version);
    form.WorkImage->Create(5, 5);
    form.ImageLoaded = false;
    view.statuses.clear();
    ASSERT_TRUE(form.ReadSRFFile(dir / "out.srf"));
    EXPECT_TRUE(form.ImageLoaded);
    EXPECT_EQ(view.statuses, (std::vector<std::string>{"Status: Reading SRF...", "Status: Adding RGB...",
                                                       "Status: Adding Alpha...", "Status: Done..."}));
    const cAlphaDibSection& image = *form.WorkImage;
    ASSERT_EQ(image.Width(), 2880);
    ASSERT_EQ(image.Height(), height);
    for (int y = 0; y < height; y += 3)
      for (int x : {0, 1, 2519, 2520, 2879, 7 * y}) {
        const bool white = height == 150 && x >= 2520 && y >= 80;
        ASSERT_EQ(GetBgra(image, x, y), (white ? Bgra{255, 255, 255, 255} : Decoded(PatternPixel(x, y)))) << x << "," << y;
      }
    cAlphaDibSection viewer;
    CreateFromGarminSRF(viewer, dir / "out.srf");
    ASSERT_EQ(viewer.Height(), height);
    EXPECT_EQ(0, std::memcmp(viewer.DIBSectionBitsPtr(), image.DIBSectionBitsPtr(), size_t(2880) * 4 * height));
  }
  EXPECT_GE(view.previewCleared, 1);
  EXPECT_GE(view.previewChanged, 1);
}

TEST_F(SrfFile_, AnimatedReadingGivesWhiteOpaque2DBands) {
  LoadPattern(3242, 340);
  SaveAnimatedSrf();
  view.statuses.clear();
  ASSERT_TRUE(form.ReadASRFFile(dir / "anim.srf"));
  ASSERT_EQ(form.WorkImage->Width(), 3242);
  ASSERT_EQ(form.WorkImage->Height(), 340);
  for (int y : {0, 89, 90, 169, 170, 260, 339})
    for (int x : {0, 2881, 2882, 3241}) {
      const bool white = ((y >= 90 && y < 170) || y >= 260) && x >= 2882;
      EXPECT_EQ(GetBgra(*form.WorkImage, x, y), (white ? Bgra{255, 255, 255, 255} : Decoded(PatternPixel(x, y)))) << x << "," << y;
    }
  EXPECT_EQ(view.statuses, (std::vector<std::string>{"Status: Reading ASRF...", "Status: Adding Group 1 RGB...",
                                                     "Status: Adding Group 2 RGB...", "Status: Adding Group 1 Alpha...",
                                                     "Status: Adding Group 2 Alpha...", "Status: Done..."}));
}

// Group 2 records narrower than the raster leave white, transparent in its
// first record and opaque in its second; wider ones are cut to the raster.
TEST_F(SrfFile_, AnimatedRecordsOfOtherWidths) {
  const auto red = [](int, int) { return Bgra{0, 0, 255, 255}; };
  const Bgra white{255, 255, 255, 0}, opaque{255, 255, 255, 255}, decoded{0, 0, 248, 255};
  WriteFileBytes(dir / "narrow.srf", SrfFile("1.00", {{10, 3}, {8, 2}, {4, 3}, {6, 2}, {1, 1}}, 160, 0, red));
  ASSERT_TRUE(form.ReadASRFFile(dir / "narrow.srf"));  // the fifth record is never read
  ASSERT_EQ(form.WorkImage->Width(), 10);
  ASSERT_EQ(form.WorkImage->Height(), 10);
  for (auto [x, y, c] : {std::tuple{4, 6, white}, {9, 7, white}, {3, 5, decoded}, {6, 8, opaque}, {5, 9, decoded},
                         {9, 4, opaque}, {7, 4, decoded}})
    EXPECT_EQ(GetBgra(*form.WorkImage, x, y), c) << x << "," << y;
  WriteFileBytes(dir / "wide.srf", SrfFile("1.00", {{4, 1}, {4, 1}, {9, 1}, {7, 1}}, 0, 0, [](int, int) {
    return Bgra{255, 0, 0, 0};
  }));
  ASSERT_TRUE(form.ReadASRFFile(dir / "wide.srf"));
  EXPECT_EQ(form.WorkImage->Width(), 4);
  EXPECT_EQ(GetBgra(*form.WorkImage, 3, 2), (Bgra{248, 0, 0, 0}));
}

// Records of 4 x 3 and 4 x 2 at offsets 71 and 147; every refusal names the
// file, the record and where it failed.
TEST(SrfLoader, BadFilesRaiseAnErrorNamingTheFileAndTheProblem) {
  ScratchDir dir;
  const std::vector<uint8_t> good = SrfFile("2.20", {{4, 3}, {4, 2}}, 56);
  auto cut = [&](size_t n) { return std::vector<uint8_t>(good.begin(), good.begin() + n); };
  auto patched = [&](size_t at, std::vector<uint8_t> patch) {
    std::vector<uint8_t> b = good;
    std::copy(patch.begin(), patch.end(), b.begin() + static_cast<ptrdiff_t>(at));
    return b;
  };
  ByteBuilder huge;
  AppendHeader(huge, 2, "2.20");
  huge.I32(0).I32(16).I32(0).I16(32767).I16(32767).U8(16).U8(8).I16(0).I32(0).I32(11).I32(32767 * 32767).Fill(100, 0);
  const std::string cut1 = "record 1 is cut short at offset 71: ", cut2 = "record 2 is cut short at offset 147: ";
  const struct {
    std::vector<uint8_t> bytes;
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
      {patched(71 + 14, {0, 0}), kErrSubscript, "record 1 at offset 71 has a size of 0 x 3 pixels"},
      {patched(147 + 12, {0xFF, 0xFF}), kErrSubscript, "record 2 at offset 147 has a size of 4 x -1 pixels"},
      {patched(71 + 12, {1, 0}), kErrSubscript, "record 1 gives its alpha plane 12 bytes, but its 4 x 1 pixels need 4"},
      {patched(115 + 4, {23}), kErrSubscript, "record 1 gives its colour plane 23 bytes, but its 4 x 3 pixels need 24"},
      {patched(147 + 32 + 7, {129}), kErrOverflow,
       "record 2 holds the alpha code 129 at pixel (3, 1); codes above 128 are not valid"},
      {patched(103, {255}), kErrOverflow, "record 1 holds the alpha code 255 at pixel (0, 0)"},
      {huge.bytes, kErrSubscript, cut1 + "its alpha plane needs 1073676289 bytes at offset 103 but only 100 are left"},
      {SrfFile("2.20", {{3000, 1}, {1, 3000}}, 56), kErrSubscript,
       "its records of different widths would make a 3000 x 3001 picture, far larger than the pixels they hold"},
  };
  for (const auto& c : cases) {
    const std::string file = dir / "bad.srf";
    std::filesystem::remove(file);
    if (!c.bytes.empty()) WriteFileBytes(file, c.bytes);
    cAlphaDibSection raster;
    try {
      CreateFromGarminSRF(raster, file);
      ADD_FAILURE() << c.problem << ": loaded";
    } catch (const VbError& e) {
      EXPECT_EQ(e.Number(), c.number) << c.problem;
      EXPECT_EQ(e.Description().rfind("Cannot read " + file + ": " + c.problem, 0), 0u) << e.Description();
    }
  }
}

}  // namespace
}  // namespace velkor
