#include <gtest/gtest.h>

#include <filesystem>

#include "support/FormFixture.h"

namespace velkor {
namespace {

using namespace testing;

using StaticSrf = FormTest;

// The whole expected file for a 2880 x (80 + size2) pattern raster.
std::vector<uint8_t> ExpectedStaticFile(const std::string& stored, int w2, int h2, size_t trailer, int rasterHeight) {
  const int top = rasterHeight - h2 - 80;
  ByteBuilder out;
  AppendHeader(out, 2, stored);
  AppendRecord(out, 2880, 80, [&](int x, int y) { return PatternPixel(x, top + y); });
  AppendRecord(out, w2, h2, [&](int x, int y) { return PatternPixel(x, top + 80 + y); });
  AppendTrailerAndChecksum(out, trailer);
  return out.bytes;
}

// Each version's file, whole: from a raster of the exact height, from the
// bottom rows of a taller one, and over a larger file already there.
TEST_F(StaticSrf, EachVersionGivesItsFileByteForByte) {
  struct Case {
    std::string version, stored;
    int w2, h2;
    size_t trailer, size;
    int extraRows;
    bool overLargerFile;
  };
  const Case cases[] = {{"2.20", "2.20", 2520, 70, 56, 1220608, 0, false},
                        {"2.20", "2.20", 2520, 70, 56, 1220608, 10, false},
                        {"2.20", "2.20", 2520, 70, 56, 1220608, 0, true},
                        {"1.00", "1.00", 2880, 80, 136, 1382688, 0, false},
                        {"2.00", "2.00", 2880, 80, 136, 1382688, 0, false},
                        {"2.10", "2.10", 2520, 70, 56, 1220608, 0, false},
                        {"3.00", "2.20", 2520, 70, 56, 1220608, 0, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version + " with " + std::to_string(c.extraRows) + " more rows" + (c.overLargerFile ? ", over a file" : ""));
    view.statuses.clear();
    const std::string name = "v" + c.version + "+" + std::to_string(c.extraRows) + (c.overLargerFile ? "o" : "") + ".srf";
    if (c.overLargerFile) WriteFileBytes(dir / name, std::vector<uint8_t>(2000000, 0xAB));
    LoadPattern(2880, 80 + c.h2 + c.extraRows);
    const std::vector<uint8_t> bytes = SaveSrf(c.version, name);
    ASSERT_EQ(bytes.size(), c.size);
    EXPECT_EQ(bytes, ExpectedStaticFile(c.stored, c.w2, c.h2, c.trailer, 80 + c.h2 + c.extraRows));
    EXPECT_EQ(view.statuses, (std::vector<std::string>{"Status: Writing SRF...", "Status: Calculating Checksum...",
                                                       "Status: SRF version #" + c.version + " file written...."}));
    EXPECT_TRUE(view.messages.empty());
  }
  // Spot checks of the expected file itself (record 2's head, the trailer).
  const std::vector<uint8_t> bytes = ReadFileBytes(dir / "v2.20+0.srf");
  EXPECT_EQ(std::string(bytes.begin() + 47, bytes.begin() + 51), "2.20");
  EXPECT_EQ(ReadI16(bytes, 691311 + 12), 70);
  EXPECT_EQ(ReadI16(bytes, 691311 + 14), 2520);
  EXPECT_EQ(ReadI16(bytes, 691311 + 18), 5040);
  for (size_t i = 1220608 - 57; i < 1220607; ++i) ASSERT_EQ(bytes[i], 0xFF) << i;
}

TEST_F(StaticSrf, TransparentAndOpaquePixelsGiveCodes128And0) {
  form.WorkImage->Create(2880, 150);
  FillRaster(*form.WorkImage, [](int x, int) { return Bgra{0, 0, 0, uint8_t(x == 0 ? 0 : 255)}; });
  form.ImageLoaded = true;
  const std::vector<uint8_t> bytes = SaveSrf("2.20");
  EXPECT_EQ(bytes[71 + 32], 128);
  EXPECT_EQ(bytes[71 + 33], 0);
}

TEST_F(StaticSrf, ChecksumFollowsTheSumOfAllBytes) {
  LoadPattern(2880, 150);
  std::vector<uint8_t> bytes = SaveSrf("2.20");
  const uint8_t stored = bytes.back();
  bytes.pop_back();
  EXPECT_EQ(stored, ExpectedChecksum(bytes));
}

TEST_F(StaticSrf, SumEndingAtZeroWritesChecksumZero) {
  // Black transparent pixels; the blue of a few pixels tunes the sum to 0
  // mod 255, where 256 - s would not fit a byte.
  form.WorkImage->Create(2880, 150);
  FillRaster(*form.WorkImage, [](int, int) { return Bgra{0, 0, 0, 0}; });
  form.ImageLoaded = true;
  const std::vector<uint8_t> first = SaveSrf("2.20", "first.srf");
  unsigned s = 0;
  for (size_t i = 0; i + 1 < first.size(); ++i) s = (s + first[i]) % 255;
  unsigned missing = (255 - s) % 255;
  ASSERT_GT(missing, 0u);  // otherwise this layout already sums to 0
  for (int x = 0; missing > 0; ++x) {
    const unsigned step = std::min(missing, 31u);
    PixelAt(*form.WorkImage, x, 0)[0] = static_cast<uint8_t>(step << 3);
    missing -= step;
  }
  const std::vector<uint8_t> bytes = SaveSrf("2.20", "zero.srf");
  ASSERT_EQ(bytes.size(), 1220608u);
  EXPECT_EQ(bytes.back(), 0);
  s = 0;
  for (size_t i = 0; i + 1 < bytes.size(); ++i) s = (s + bytes[i]) % 255;
  EXPECT_EQ(s, 0u);
  EXPECT_TRUE(view.messages.empty());
}

TEST_F(StaticSrf, SaveProposesANameAndUsesTheSrfDialog) {
  LoadPattern(2880, 150);
  form.RotationDir3D = "/frames/rot";
  view.dialogAnswers.push_back(std::nullopt);
  form.SaveSRF("2.20");
  form.LastImageFile = "/out/car.blue.bmp";
  view.dialogAnswers.push_back(std::nullopt);
  form.SaveSRF("2.20");
  ASSERT_EQ(view.dialogs.size(), 2u);
  EXPECT_TRUE(view.dialogs[0].save);
  EXPECT_EQ(view.dialogs[0].filter, "Garmin SRF Files|*.srf");
  EXPECT_EQ(view.dialogs[0].flags, 0x82002u);
  EXPECT_EQ(view.dialogs[0].fileName, "/frames/rot/Temp.srf");
  EXPECT_EQ(view.dialogs[1].fileName, "/out/car.srf");
  // Cancelled: nothing written, the status says again what it said before.
  EXPECT_EQ(view.LastStatus(), form.Controls.lblStatus.Caption);
  EXPECT_NE(view.LastStatus(), "Status: Writing SRF...");
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST_F(StaticSrf, SaveWithoutAPictureOnlySetsItsStatus) {
  form.SaveSRF("2.20");
  EXPECT_TRUE(view.dialogs.empty());
  EXPECT_EQ(view.statuses, std::vector<std::string>{"Status: Writing SRF..."});
}

TEST_F(StaticSrf, FailedWritesAreReportedAndKeepTheExistingFile) {
  struct Case {
    std::string name;
    int width, height;
    std::string target;
  };
  const std::vector<uint8_t> old = {1, 2, 3};
  WriteFileBytes(dir / "keep.srf", old);
  std::filesystem::create_directory(dir / "folder.srf");
  const Case cases[] = {{"raster too narrow", 2879, 150, dir / "keep.srf"},
                        {"raster too short", 2880, 149, dir / "keep.srf"},
                        {"no such folder", 2880, 150, dir / "missing/out.srf"},
                        {"target is a folder", 2880, 150, dir / "folder.srf"}};
  for (const Case& c : cases) {
    view.messages.clear();
    LoadPattern(c.width, c.height);
    view.dialogAnswers.push_back(c.target);
    form.SaveSRF("2.20");
    ASSERT_EQ(view.messages.size(), 1u) << c.name;
    EXPECT_EQ(view.messages[0].rfind("An error occured while writing the SRF file!", 0), 0u) << c.name;
    EXPECT_EQ(view.LastStatus(), "Status: Error writing SRF FILE!") << c.name;
  }
  EXPECT_EQ(ReadFileBytes(dir / "keep.srf"), old);
  EXPECT_TRUE(std::filesystem::is_directory(dir / "folder.srf"));
  // No temporary file is left behind.
  size_t entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
  EXPECT_EQ(entries, 2u);
}

TEST_F(StaticSrf, WriteSRFFileWithA1x1RasterFails) {
  LoadPattern(1, 1);
  EXPECT_FALSE(form.WriteSRFFile(dir / "x.srf", "2.20"));
  EXPECT_FALSE(PathExists(dir / "x.srf"));
}

// --- Reading

TEST_F(StaticSrf, ReadingAVersion220FileGivesTheOpaqueWhiteCorner) {
  LoadPattern(2880, 150);
  SaveSrf("2.20");
  form.WorkImage->Create(5, 5);
  form.ImageLoaded = false;
  view.statuses.clear();
  ASSERT_TRUE(form.ReadSRFFile(dir / "out.srf"));
  const cAlphaDibSection& image = *form.WorkImage;
  ASSERT_EQ(image.Width(), 2880);
  ASSERT_EQ(image.Height(), 150);
  EXPECT_TRUE(form.ImageLoaded);
  for (int y : {80, 100, 149})
    for (int x : {2520, 2700, 2879}) {
      const Bgra c = GetBgra(image, x, y);
      EXPECT_EQ(c.b, 255);
      EXPECT_EQ(c.g, 255);
      EXPECT_EQ(c.r, 255);
      EXPECT_EQ(c.a, 255) << x << "," << y;
    }
  EXPECT_EQ(view.statuses, (std::vector<std::string>{"Status: Reading SRF...", "Status: Adding RGB...",
                                                     "Status: Adding Alpha...", "Status: Done..."}));
  EXPECT_GE(view.previewCleared, 1);
  EXPECT_GE(view.previewChanged, 1);
}

TEST_F(StaticSrf, ReadingDecodesEveryPixelOfBothImages) {
  LoadPattern(2880, 160);
  SaveSrf("1.00");
  ASSERT_TRUE(form.ReadSRFFile(dir / "out.srf"));
  const cAlphaDibSection& image = *form.WorkImage;
  ASSERT_EQ(image.Height(), 160);
  for (int y = 0; y < 160; y += 3)
    for (int x = 0; x < 2880; x += 7) {
      const Bgra in = PatternPixel(x, y);
      const Bgra out = GetBgra(image, x, y);
      ASSERT_EQ(out.b, in.b & 0xF8);
      ASSERT_EQ(out.g, in.g & 0xF8);
      ASSERT_EQ(out.r, in.r & 0xF8);
      const int code = ExpectedCode(in.a);
      ASSERT_EQ(out.a, code == 0 ? 255 : (128 - code) * 2) << x << "," << y;
    }
}

TEST_F(StaticSrf, ReaderIgnoresHeaderTextsAndTags) {
  ByteBuilder out;
  out.Text("SOMETHING ELSE!!").I32(9).I32(9).I32(7).I32(0).I32(0).Text("abc").I32(0).I32(0).Text("9.99");
  out.I32(0).I32(0).Text("xxxxxxxxxxxx");
  auto red = [](int, int) { return Bgra{0, 0, 255, 255}; };
  const size_t record2 = out.bytes.size();
  AppendRecord(out, 2, 1, red);
  AppendRecord(out, 1, 2, red);
  out.bytes[record2 + 24] = 99;  // alpha tag
  WriteFileBytes(dir / "odd.srf", out.bytes);  // no trailer or checksum at all
  ASSERT_TRUE(form.ReadSRFFile(dir / "odd.srf"));
  ASSERT_EQ(form.WorkImage->Width(), 2);
  ASSERT_EQ(form.WorkImage->Height(), 3);
  const Bgra c = GetBgra(*form.WorkImage, 0, 2);
  EXPECT_EQ(c.r, 248);
  EXPECT_EQ(c.a, 255);
  const Bgra white = GetBgra(*form.WorkImage, 1, 1);
  EXPECT_EQ(white.r + white.g + white.b + white.a, 4 * 255);
}

// --- Files the reader must refuse

struct Hostile {
  std::string name;
  std::function<std::vector<uint8_t>()> bytes;  // none: the file does not exist
  std::string problem;                           // part of the message
};

std::vector<uint8_t> ValidSmallFile(int w1, int h1, int w2, int h2) {
  ByteBuilder out;
  AppendHeader(out, 2, "2.20");
  AppendRecord(out, w1, h1, PatternPixel);
  AppendRecord(out, w2, h2, PatternPixel);
  AppendTrailerAndChecksum(out, 56);
  return out.bytes;
}

std::vector<Hostile> HostileFiles() {
  const size_t r1 = 71, r2 = 71 + 40 + 3 * 4 * 3;  // records of 4 x 3 and 4 x 2
  auto patched = [](size_t at, std::vector<uint8_t> patch) {
    return [at, patch] {
      std::vector<uint8_t> b = ValidSmallFile(4, 3, 4, 2);
      std::copy(patch.begin(), patch.end(), b.begin() + static_cast<ptrdiff_t>(at));
      return b;
    };
  };
  auto cut = [](size_t length) {
    return [length] {
      std::vector<uint8_t> b = ValidSmallFile(4, 3, 4, 2);
      b.resize(length);
      return b;
    };
  };
  return {
      {"missing file", nullptr, "No such file"},
      {"empty file", cut(0), "too short for the 71-byte header"},
      {"header cut short", cut(50), "too short for the 71-byte header"},
      {"record 1 head cut short", cut(71 + 20), "record 1 is cut short at offset 71"},
      {"alpha plane cut short", cut(r1 + 32 + 5), "record 1 is cut short at offset 71"},
      {"colour plane of record 2 cut short", cut(r2 + 40 + 8 + 3), "record 2 is cut short at offset 147"},
      {"width 0", patched(r1 + 14, {0, 0}), "record 1 at offset 71 has a size of 0 x 3 pixels"},
      {"height 0", patched(r1 + 12, {0, 0}), "record 1 at offset 71 has a size of 4 x 0 pixels"},
      {"negative height", patched(r2 + 12, {0xFF, 0xFF}), "record 2 at offset 147 has a size of 4 x -1 pixels"},
      {"alpha size 0", patched(r1 + 28, {0, 0, 0, 0}), "record 1 gives its alpha plane 0 bytes"},
      {"alpha size too large", patched(r1 + 28, {13, 0, 0, 0}), "record 1 gives its alpha plane 13 bytes"},
      {"colour size disagrees", patched(r2 + 32 + 8 + 4, {15, 0, 0, 0}), "record 2 gives its colour plane 15 bytes"},
      {"alpha code above 128", patched(r2 + 32 + 5, {129}), "record 2 holds the alpha code 129 at pixel (1, 1)"},
      {"huge sizes in a small file",
       [] {
         ByteBuilder out;
         AppendHeader(out, 2, "2.20");
         out.I32(0).I32(16).I32(0).I16(32767).I16(32767).U8(16).U8(8).I16(0).I32(0).I32(11).I32(32767 * 32767);
         out.Fill(100, 0);
         return out.bytes;
       },
       "record 1 is cut short at offset 71: its alpha plane needs 1073676289 bytes"},
      {"records of very different shapes", [] { return ValidSmallFile(3000, 1, 1, 3000); },
       "would make a 3000 x 3001 picture"},
  };
}

TEST_F(StaticSrf, HostileFilesAreRefusedAndLeaveTheWorkingImage) {
  for (const Hostile& h : HostileFiles()) {
    SCOPED_TRACE(h.name);
    const std::string path = dir / "hostile.srf";
    std::filesystem::remove(path);
    if (h.bytes) WriteFileBytes(path, h.bytes());
    form.WorkImage->Create(3, 2);
    FillRaster(*form.WorkImage, [](int x, int y) { return Bgra{uint8_t(x), uint8_t(y), 7, 9}; });
    const cAlphaDibSection* before = form.WorkImage.get();
    form.ImageLoaded = true;
    view.messages.clear();
    view.dialogAnswers = {path, dir / "out.bmp"};
    const size_t dialogsBefore = view.dialogs.size();
    form.mnuSRFtoPNG_Click();
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_NE(view.messages[0].find("Cannot read " + path + ": "), std::string::npos) << view.messages[0];
    EXPECT_NE(view.messages[0].find(h.problem), std::string::npos) << view.messages[0];
    EXPECT_EQ(view.LastStatus(), "Status: Error reading SRF FILE!");
    EXPECT_EQ(form.WorkImage.get(), before);
    EXPECT_EQ(form.WorkImage->Width(), 3);
    EXPECT_EQ(GetBgra(*form.WorkImage, 2, 1).b, 2);
    EXPECT_TRUE(form.ImageLoaded);
    EXPECT_FALSE(PathExists(dir / "out.bmp"));
    EXPECT_FALSE(PathExists(dir / "out.png"));
    EXPECT_EQ(view.dialogs.size(), dialogsBefore + 1);  // the open dialog only
  }
}

TEST_F(StaticSrf, HostileFileLeavesImageLoadedFalse) {
  WriteFileBytes(dir / "short.srf", {1, 2, 3});
  EXPECT_FALSE(form.ReadSRFFile(dir / "short.srf"));
  EXPECT_FALSE(form.ImageLoaded);
  EXPECT_TRUE(form.WorkImage->Empty());
}

}  // namespace
}  // namespace velkor
