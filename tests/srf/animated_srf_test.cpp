#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "support/FormFixture.h"

namespace velkor {
namespace {

using namespace testing;

using AnimatedSrf = FormTest;

std::vector<uint8_t> ExpectedAnimatedFile(int rasterHeight) {
  const int top = rasterHeight - 340;
  ByteBuilder out;
  AppendHeader(out, 4, "1.00");
  const int tops[] = {0, 90, 170, 260};
  const int widths[] = {3242, 2882, 3242, 2882};
  const int heights[] = {90, 80, 90, 80};
  for (int i = 0; i < 4; ++i) {
    AppendRecord(out, widths[i], heights[i], [&](int x, int y) { return PatternPixel(x, top + tops[i] + y); });
  }
  AppendTrailerAndChecksum(out, 160, 0x00);
  return out.bytes;
}

TEST_F(AnimatedSrf, FileHasItsLayoutByteForByte) {
  // From a raster of the exact size, from the bottom 340 rows of a larger
  // one, and over a larger file already there.
  for (auto [w, h, over] : {std::tuple{3242, 340, false}, std::tuple{3300, 400, false}, std::tuple{3242, 340, true}}) {
    SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h) + (over ? " over a file" : ""));
    const std::string name = "anim" + std::to_string(h) + (over ? "o" : "") + ".srf";
    if (over) WriteFileBytes(dir / name, std::vector<uint8_t>(4000000, 0x11));
    LoadPattern(w, h);
    const std::vector<uint8_t> bytes = SaveAnimatedSrf(name);
    ASSERT_EQ(bytes.size(), 3134432u);
    EXPECT_EQ(bytes, ExpectedAnimatedFile(h));
  }
  const std::vector<uint8_t> bytes = ReadFileBytes(dir / "anim340.srf");
  EXPECT_EQ(ReadI32(bytes, 24), 4);
  EXPECT_EQ(std::string(bytes.begin() + 47, bytes.begin() + 51), "1.00");
  const size_t starts[] = {71, 875451, 1567171, 2442551};
  const int widths[] = {3242, 2882, 3242, 2882};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(ReadI16(bytes, starts[i] + 14), widths[i]) << i;
    EXPECT_EQ(ReadI16(bytes, starts[i] + 18), 2 * widths[i]) << i;
  }
  for (size_t i = 3134271; i <= 3134429; ++i) ASSERT_EQ(bytes[i], 0xFF) << i;
  EXPECT_EQ(bytes[3134430], 0x00);
  EXPECT_TRUE(view.StatusesInOrder({"Status: Writing ASRF...", "Status: Calculating Checksum...",
                                    "Status: ASRF version #1.00 file written...."}));
  EXPECT_TRUE(view.messages.empty());
  EXPECT_EQ(view.dialogs.at(0).filter, "Garmin SRF Files|*.srf");
  EXPECT_EQ(view.dialogs.at(0).flags, 0x82002u);
}

TEST_F(AnimatedSrf, TooSmallRasterIsReported) {
  for (auto [w, h] : {std::pair{3241, 340}, std::pair{3242, 339}}) {
    view.messages.clear();
    LoadPattern(w, h);
    SaveAnimatedSrf();
    EXPECT_EQ(view.messages, std::vector<std::string>{"An error occured while writing the SRF file!\nThe picture is " +
                                                      std::to_string(w) + " x " + std::to_string(h) +
                                                      " pixels; an animated SRF needs at least 3242 x 340 (the "
                                                      "device size)."});
    EXPECT_EQ(view.LastStatus(), "Status: Error writing SRF FILE!");
  }
  EXPECT_FALSE(PathExists(dir / "anim.srf"));
}

TEST_F(AnimatedSrf, ReadingGivesTheRasterWithWhiteOpaque2DBands) {
  LoadPattern(3242, 340);
  SaveAnimatedSrf();
  view.statuses.clear();
  ASSERT_TRUE(form.ReadASRFFile(dir / "anim.srf"));
  const cAlphaDibSection& image = *form.WorkImage;
  ASSERT_EQ(image.Width(), 3242);
  ASSERT_EQ(image.Height(), 340);
  for (int y : {90, 169, 260, 339})
    for (int x : {2882, 3000, 3241}) {
      const Bgra c = GetBgra(image, x, y);
      EXPECT_EQ(c.b & c.g & c.r & c.a, 255) << x << "," << y;
    }
  // Columns 2880 and 2881 of the 2D bands came through as they stood.
  for (int y : {90, 300}) {
    const Bgra in = PatternPixel(2881, y), out = GetBgra(image, 2881, y);
    EXPECT_EQ(out.r, in.r & 0xF8);
    EXPECT_EQ(out.b, in.b & 0xF8);
  }
  EXPECT_EQ(view.statuses,
            (std::vector<std::string>{"Status: Reading ASRF...", "Status: Adding Group 1 RGB...",
                                      "Status: Adding Group 2 RGB...", "Status: Adding Group 1 Alpha...",
                                      "Status: Adding Group 2 Alpha...", "Status: Done..."}));
}

TEST_F(AnimatedSrf, NarrowGroup2RecordsLeaveWhiteTransparentThenOpaque) {
  auto red = [](int, int) { return Bgra{0, 0, 255, 255}; };
  ByteBuilder out;
  AppendHeader(out, 4, "1.00");
  AppendRecord(out, 10, 3, red);
  AppendRecord(out, 8, 2, red);
  AppendRecord(out, 4, 3, red);
  AppendRecord(out, 6, 2, red);
  AppendRecord(out, 1, 1, red);  // a fifth record is never read
  AppendTrailerAndChecksum(out, 160, 0);
  WriteFileBytes(dir / "narrow.srf", out.bytes);
  ASSERT_TRUE(form.ReadASRFFile(dir / "narrow.srf"));
  const cAlphaDibSection& image = *form.WorkImage;
  ASSERT_EQ(image.Width(), 10);
  ASSERT_EQ(image.Height(), 10);
  const Bgra right3 = GetBgra(image, 4, 6), right4 = GetBgra(image, 6, 8), inside3 = GetBgra(image, 3, 5);
  EXPECT_EQ(right3.r & right3.g & right3.b, 255);
  EXPECT_EQ(right3.a, 0);
  EXPECT_EQ(right4.r & right4.g & right4.b & right4.a, 255);
  EXPECT_EQ(inside3.r, 248);
  EXPECT_EQ(inside3.g, 0);
  EXPECT_EQ(inside3.a, 255);
  const Bgra right2 = GetBgra(image, 9, 4);
  EXPECT_EQ(right2.r & right2.a, 255);
}

TEST_F(AnimatedSrf, WiderGroup2RecordsAreCutToTheRaster) {
  auto blue = [](int, int) { return Bgra{255, 0, 0, 0}; };
  ByteBuilder out;
  AppendHeader(out, 4, "1.00");
  AppendRecord(out, 4, 1, blue);
  AppendRecord(out, 4, 1, blue);
  AppendRecord(out, 9, 1, blue);
  AppendRecord(out, 7, 1, blue);
  WriteFileBytes(dir / "wide.srf", out.bytes);
  ASSERT_TRUE(form.ReadASRFFile(dir / "wide.srf"));
  EXPECT_EQ(form.WorkImage->Width(), 4);
  EXPECT_EQ(GetBgra(*form.WorkImage, 3, 2).b, 248);
  EXPECT_EQ(GetBgra(*form.WorkImage, 3, 2).a, 0);
}

TEST_F(AnimatedSrf, HostileFilesAreRefusedAndLeaveTheWorkingImage) {
  auto valid = [] {
    ByteBuilder out;
    AppendHeader(out, 4, "1.00");
    for (int i = 0; i < 4; ++i) AppendRecord(out, 3, 2, PatternPixel);
    AppendTrailerAndChecksum(out, 160, 0);
    return out.bytes;
  };
  const size_t record4 = 71 + 3 * (40 + 18);
  struct Case {
    std::string name;
    std::vector<uint8_t> bytes;
    std::string problem;
  };
  std::vector<Case> cases;
  cases.push_back({"only three records", valid(), "record 4 is cut short at offset " + std::to_string(record4)});
  cases.back().bytes.resize(record4);
  cases.push_back({"code 200 in record 4", valid(), "record 4 holds the alpha code 200 at pixel (2, 1)"});
  cases.back().bytes[record4 + 32 + 5] = 200;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteFileBytes(dir / "bad.srf", c.bytes);
    LoadPattern(5, 5);
    const cAlphaDibSection* before = form.WorkImage.get();
    view.messages.clear();
    view.dialogAnswers = {dir / "bad.srf", dir / "bad.bmp"};
    form.mnuASRFtoPNG_Click();
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_NE(view.messages[0].find("Cannot read " + dir / "bad.srf" + ": " + c.problem), std::string::npos)
        << view.messages[0];
    EXPECT_EQ(form.WorkImage.get(), before);
    EXPECT_EQ(form.WorkImage->Width(), 5);
    EXPECT_TRUE(form.ImageLoaded);
    EXPECT_FALSE(PathExists(dir / "bad.bmp"));
  }
}

}  // namespace
}  // namespace velkor
