// The colour words, alpha codes and checksum of SRF files; checking and
// describing SRF files that come from outside, and finding the devices to
// send them to.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/VbError.h"
#include "platform/GarminDevices.h"
#include "srf/SrfCodes.h"
#include "srf/SrfFileCheck.h"
#include "srf/SrfFileInfo.h"
#include "srf/SrfPreviewLoader.h"
#include "srf/SrfRecordIO.h"
#include "srf/SrfTestBytes.h"
#include "support/TestFiles.h"

namespace velkor {
namespace {

using namespace testing;
namespace fs = std::filesystem;

// Every channel value in every channel, against the word the layout defines
// (bit 5 clear, the three low bits of each channel and green bit 2 dropped).
TEST(SrfCodes, ColourWordsPackAndUnpackEveryChannelValue) {
  for (int v = 0; v < 256; ++v) {
    const auto r = uint8_t(v), g = uint8_t(255 - v), b = uint8_t(v ^ 0x5A);
    const auto [high, low] = PackSRFColor(r, g, b);
    const SRFRgb rgb = UnpackSRFColor(low, high);
    ASSERT_EQ(std::tuple(high << 8 | low, rgb.r << 16 | rgb.g << 8 | rgb.b, SRFColorToRGB(low, high)),
              std::tuple(int(ExpectedWord(Bgra{b, g, r, 0})), (r & 0xF8) << 16 | (g & 0xF8) << 8 | (b & 0xF8),
                         (b & 0xF8u) << 16 | (g & 0xF8u) << 8 | (r & 0xF8u)))
        << v;
  }
  EXPECT_EQ(SRFColorToRGB(0x3F, 0x00), 248u << 16);  // bit 5 is ignored
  EXPECT_EQ(SRFColorToRGB(0xC0, 0x07), 248u << 8);
}

TEST(SrfCodes, AlphaCodesRoundHalvesToEvenAndDecodeInStepsOfTwo) {
  for (int a = 0; a < 256; ++a) ASSERT_EQ(AlphaToSRFCode(uint8_t(a)), ExpectedCode(uint8_t(a))) << a;
  for (const auto& [alpha, code] : {std::pair{255, 0}, {254, 1}, {253, 2}, {3, 126}, {5, 126}, {1, 128}, {0, 128}})
    EXPECT_EQ(AlphaToSRFCode(uint8_t(alpha)), code) << alpha;
  for (int code = 0; code <= 128; ++code) ASSERT_EQ(SRFCodeToAlpha(uint8_t(code)), code ? 256 - 2 * code : 255) << code;
  for (int code = 129; code < 256; ++code)
    ASSERT_EQ(ErrorNumberOf([&] { SRFCodeToAlpha(uint8_t(code)); }), kErrOverflow) << code;
}

TEST(SrfChecksum, SumModulo255GivesTheByte256MinusS) {
  const std::pair<std::vector<uint8_t>, int> cases[] = {
      {{250, 250, 250, 250}, 21}, {{1}, 255}, {{254}, 2}, {{255}, 0}, {{}, 0}, {{200, 55}, 0}, {{255, 1}, 255},
      {{128, 128}, 255}};
  for (const auto& [bytes, checksum] : cases) EXPECT_EQ(SRFChecksumByte(bytes.data(), bytes.size()), checksum);
}

// Records of 4 x 3 and 4 x 2 at offsets 71 and 147. The viewer's loader refuses a
// damaged file naming the file, the record and where it failed; the check
// before sending and the description say the same, or what else is wrong.
TEST(SrfBadFiles, LoaderCheckAndDescriptionNameWhatIsWrong) {
  ScratchDir dir;
  const std::string file = dir / "f.srf", readable = "readable static SRF file, version 2.20, ";
  const Bytes good = SrfFile("2.20", {{4, 3}, {4, 2}}, 56);
  auto cut = [&](size_t n) { return Cut(good, n); };
  auto put = [&](size_t at, int n, int64_t v) { return Put(good, at, n, v); };
  const std::string cut1 = "record 1 is cut short at offset 71: ", cut2 = "record 2 is cut short at offset 147: ";
  const struct {
    Bytes bytes;
    int number;  // of the loader's error; 0 when the file reads
    std::string problem, verdict = "";
  } cases[] = {
      {good, 0, "", "checksum matches"},
      {put(good.size() - 1, 1, good.back() ^ 1), 0, "checksum byte does not match",
       "but its checksum byte does not match"},
      {cut(good.size() - 57), 0, "without a trailer"},
      {put(0, 1, 'X'), 0, "GARMIN BITMAP 01"},
      {put(24, 1, 3), 0, "counts 3 images"},
      {{}, kErrSubscript, "the file is 0 bytes long, too short for the 71-byte header"},
      {{}, kErrFileNotFound, "No such file or directory"},
      {cut(70), kErrSubscript, "the file is 70 bytes long, too short for the 71-byte header"},
      {cut(71 + 31), kErrSubscript, cut1 + "its head needs 32 bytes at offset 71 but only 31 are left"},
      {cut(103 + 11), kErrSubscript, cut1 + "its alpha plane needs 12 bytes at offset 103 but only 11 are left"},
      {cut(115 + 7), kErrSubscript, cut1 + "its colour tag and size needs 8 bytes at offset 115 but only 7 are left"},
      {cut(123 + 23), kErrSubscript, cut1 + "its colour plane needs 24 bytes at offset 123 but only 23 are left"},
      {cut(195 + 15), kErrSubscript, cut2 + "its colour plane needs 16 bytes at offset 195 but only 15 are left"},
      {put(71 + 14, 2, 0), kErrSubscript, "record 1 at offset 71 has a size of 0 x 3 pixels"},
      {put(71 + 12, 2, 0), kErrSubscript, "record 1 at offset 71 has a size of 4 x 0 pixels"},
      {put(147 + 12, 2, -1), kErrSubscript, "record 2 at offset 147 has a size of 4 x 65535 pixels"},
      {put(71 + 12, 2, 1), kErrSubscript, "record 1 gives its alpha plane 12 bytes, but its 4 x 1 pixels need 4"},
      {put(115 + 4, 1, 23), kErrSubscript, "record 1 gives its colour plane 23 bytes, but its 4 x 3 pixels need 24"},
      {put(147 + 32 + 7, 1, 129), kErrOverflow,
       "record 2 holds the alpha code 129 at pixel (3, 1); codes above 128 are not valid"},
      {put(103, 1, 255), kErrOverflow, "record 1 holds the alpha code 255 at pixel (0, 0)"},
      {Cut(Put(put(83, 4, 0x7FFF7FFF), 99, 4, 32767 * 32767), 203), kErrSubscript,
       cut1 + "its alpha plane needs 1073676289 bytes at offset 103 but only 100 are left"},
  };
  for (const auto& c : cases) {
    fs::remove(file);
    if (c.number != kErrFileNotFound) WriteFileBytes(file, c.bytes);
    cAlphaDibSection raster;
    const auto [number, message] = Refusal([&] { CreateFromGarminSRF(raster, file); });
    const std::string prefix = c.number ? "Cannot read " + file + ": " + c.problem : "";
    EXPECT_EQ(std::pair(number, message.substr(0, prefix.size())), std::pair(c.number, prefix));
    const std::string problem = SRFFileProblem(file), named = "Cannot read " + file + ": ";
    EXPECT_TRUE(c.number            ? problem.rfind(named, 0) == 0
                : c.problem.empty() ? problem.empty()
                                    : problem.find(c.problem) != std::string::npos)
        << problem;
    const SRFFileInfo info = DescribeSRFFile(file);
    const std::string verdict =
        !c.number ? readable + c.verdict : "unreadable: " + (c.number == kErrFileNotFound ? named : prefix);
    EXPECT_EQ(std::pair(info.verdict.substr(0, verdict.size()), info.readable), std::pair(verdict, c.number == 0));
  }
  // Records the check accepts, but of widths that would make too large a picture.
  WriteFileBytes(file, SrfFile("2.20", {{3000, 1}, {1, 3000}}, 56));
  cAlphaDibSection raster;
  EXPECT_EQ(Refusal([&] { CreateFromGarminSRF(raster, file); }),
            std::pair(int(kErrSubscript), "Cannot read " + file + ": its records of different widths would make a " +
                                              "3000 x 3001 picture, far larger than the pixels they hold"));
  WriteFileBytes(file, SrfFile("1.00", {{2, 1}, {2, 1}, {2, 1}, {2, 1}}, 160));
  EXPECT_EQ(SRFFileProblem(file), "");
  EXPECT_EQ(DescribeSRFFile(file).verdict, "readable animated SRF file, version 1.00, checksum matches");
  EXPECT_NE(SRFFileProblem(dir.path()).find("not a regular file"), std::string::npos);
  WriteFileBytes(file, Bytes(20, 1));
  EXPECT_EQ(ReadSRFBytesWithin(file, 20).size(), 20u);
  EXPECT_THROW(ReadSRFBytesWithin(file, 19), VbError);
  fs::resize_file(file, kMaxSRFFileBytes + 1);  // sparse: nothing is read
  EXPECT_THROW(ReadSRFBytesWithin(file), VbError);
}

TEST(GarminDevices, FindsDevicesInsideTheMountRootsOnce) {
  ScratchDir dir;
  for (const char* device : {"media/user/B", "media/user/A", "mnt/GARMIN"}) {
    fs::create_directories(dir / device + "/Garmin");
    WriteFileBytes(dir / device + "/Garmin/GarminDevice.xml", {'x'});
  }
  fs::create_directories(dir / "media/user/usbstick");
  fs::create_symlink(dir / "media/user/A", dir / "mnt/A-link");
  EXPECT_EQ(platform::FindGarminDevices({dir / "media/user", dir / "mnt", dir / "missing"}),
            (std::vector<std::string>{dir / "media/user/A", dir / "media/user/B", dir / "mnt/GARMIN"}));
  // The model a device names: its Model's Description on one line, entities decoded, at most 64 bytes.
  for (const auto& [xml, model] :
       {std::pair<std::string, std::string>{"x", ""},
        {"<Model></Model><Description>x</Description>", ""},
        {"<Model>abcdefgh</Description></Model>", ""},
        {"<Model><Description>\n a&amp;b&lt;\x7F\tc </Description></Model>", "a&b< c"},
        {"<Model><Description>" + std::string(70, 'd') + "</Description>", std::string(64, 'd')}}) {
    WriteFileBytes(dir / "mnt/GARMIN/Garmin/GarminDevice.xml", Bytes(xml.begin(), xml.end()));
    EXPECT_EQ(platform::GarminDeviceModel(dir / "mnt/GARMIN"), model) << xml;
  }
}

}  // namespace
}  // namespace velkor
