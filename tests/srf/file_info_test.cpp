// Checking and describing SRF files that come from outside, reading their
// headings, and finding the devices to send them to.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "common/VbError.h"
#include "platform/GarminDevices.h"
#include "srf/SrfFileCheck.h"
#include "srf/SrfFileInfo.h"
#include "srf/SrfHeadings.h"
#include "support/SmallSrf.h"

namespace velkor {
namespace {

using namespace testing;
namespace fs = std::filesystem;

TEST(SrfFileCheck, NamesWhatIsWrongWithAFile) {
  const std::pair<void (*)(std::vector<uint8_t>&), const char*> cases[] = {
      {[](std::vector<uint8_t>&) {}, ""},
      {[](std::vector<uint8_t>& b) { b.back() ^= 1; }, "checksum byte does not match"},
      {[](std::vector<uint8_t>& b) { b.resize(b.size() - 57); }, "without a trailer"},
      {[](std::vector<uint8_t>& b) { b.resize(b.size() - 100); }, "cut short"},
      {[](std::vector<uint8_t>& b) { b[0] = 'X'; }, "GARMIN BITMAP 01"},
      {[](std::vector<uint8_t>& b) { b[24] = 3; }, "counts 3 images"},
      {[](std::vector<uint8_t>& b) { b.clear(); }, "too short"},
  };
  ScratchDir dir;
  for (const auto& [damage, problem] : cases) {
    std::vector<uint8_t> bytes = SmallSrfBytes(false);
    damage(bytes);
    WriteFileBytes(dir / "f.srf", bytes);
    const std::string found = SRFFileProblem(dir / "f.srf");
    EXPECT_TRUE(*problem ? found.find(problem) != std::string::npos : found.empty()) << problem << ": " << found;
  }
  EXPECT_EQ(SRFFileProblem(WriteSmallSrf(dir / "animated.srf", true)), "");
  EXPECT_NE(SRFFileProblem(dir.path()).find("not a regular file"), std::string::npos);
  WriteFileBytes(dir / "f", std::vector<uint8_t>(20, 1));
  EXPECT_EQ(ReadSRFBytesWithin(dir / "f", 20).size(), 20u);
  EXPECT_THROW(ReadSRFBytesWithin(dir / "f", 19), VbError);
  fs::resize_file(dir / "f", kMaxSRFFileBytes + 1);  // sparse: nothing is read
  EXPECT_THROW(ReadSRFBytesWithin(dir / "f"), VbError);
}

TEST(SrfFileInfo, DescribesTheLayoutAndGivesAVerdict) {
  ScratchDir dir;
  const std::vector<uint8_t> good = SrfFile("2.20", {{4, 3}, {2, 2}}, 56);
  std::vector<uint8_t> wrongSum = good, cut(good.begin(), good.begin() + 160);
  ++wrongSum.back();
  const struct {
    std::vector<uint8_t> bytes;
    std::string verdict;
    std::map<std::string, std::string> facts;
  } cases[] = {
      {good, "readable static SRF file, version 2.20, checksum matches",
       {{"size", "256"}, {"header.version", "2.20"}, {"kind", "static"}, {"record.1.length", "76"},
        {"record.1.alpha-size", "12"}, {"record.1.color-size", "24"}, {"record.2.offset", "147"},
        {"trailer.offset", "199"}, {"trailer.length", "56"}, {"checksum.matches", "yes"}}},
      {wrongSum, "readable static SRF file, version 2.20, but its checksum byte does not match",
       {{"checksum.matches", "no"}}},
      {SrfFile("1.00", {{2, 1}, {2, 1}, {2, 1}, {2, 1}}, 160), "readable animated SRF file, version 1.00, checksum matches",
       {{"records", "4"}, {"record.4.width", "2"}, {"trailer.length", "160"}}},
      {cut, "unreadable: Cannot read " + dir / "f.srf" + ": record 2 is cut short at offset 147", {{"record.1.width", "4"}}},
  };
  for (const auto& c : cases) {
    WriteFileBytes(dir / "f.srf", c.bytes);
    const SRFFileInfo info = DescribeSRFFile(dir / "f.srf");
    EXPECT_EQ(info.verdict.rfind(c.verdict, 0), 0u) << info.verdict;
    EXPECT_EQ(info.readable, c.verdict[0] == 'r');
    const std::map<std::string, std::string> facts(info.facts.begin(), info.facts.end());
    for (const auto& [key, value] : c.facts) EXPECT_EQ(facts.at(key), value) << key;
  }
}

TEST(SrfHeadings, DecodesThe36FramesOfThe3DSetExactly) {
  ScratchDir dir;
  for (const bool animated : {false, true}) {
    const std::vector<HeadingFrame> frames = LoadSRFHeadings(WriteSmallSrf(dir / "car.srf", animated));
    ASSERT_EQ(frames.size(), 36u);
    for (int i = 0; i < 36; ++i) {
      const auto v = static_cast<uint8_t>(8 * i);
      EXPECT_EQ(frames[i].width * 10 + frames[i].height, 22);
      EXPECT_EQ(frames[i].rgba, (std::vector<uint8_t>{v, v, v, 255, v, v, v, 255, v, v, v, 255, 0, 0, 0, 0})) << i;
    }
  }
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
}

}  // namespace
}  // namespace velkor
