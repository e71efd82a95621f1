// Checking and describing SRF files that come from outside, and finding the
// devices to send them to.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/VbError.h"
#include "platform/GarminDevices.h"
#include "srf/SrfFileCheck.h"
#include "srf/SrfFileInfo.h"
#include "srf/SrfTestBytes.h"
#include "support/TestFiles.h"

namespace velkor {
namespace {

using namespace testing;
namespace fs = std::filesystem;

// What the check before sending and the description say of damaged files.
TEST(SrfFileCheck, NamesWhatIsWrongWithAFileAndDescribesIt) {
  ScratchDir dir;
  const std::string file = dir / "f.srf", readable = "readable static SRF file, version 2.20, ";
  const Bytes good = SrfFile("2.20", {{4, 3}, {2, 2}}, 56);
  const struct {
    Bytes bytes;
    std::string problem, verdict;
  } cases[] = {
      {good, "", readable + "checksum matches"},
      {Put(good, good.size() - 1, 1, good.back() ^ 1), "checksum byte does not match",
       readable + "but its checksum byte does not match"},
      {Cut(good, good.size() - 57), "without a trailer", readable},
      {Cut(good, 160), "cut short", "unreadable: Cannot read " + file + ": record 2 is cut short at offset 147"},
      {Put(good, 0, 1, 'X'), "GARMIN BITMAP 01", readable},
      {Put(good, 24, 1, 3), "counts 3 images", readable},
      {{}, "too short", "unreadable: Cannot read " + file + ": the file is 0"},
  };
  for (const auto& c : cases) {
    WriteFileBytes(file, c.bytes);
    const std::string problem = SRFFileProblem(file);
    EXPECT_TRUE(c.problem.empty() ? problem.empty() : problem.find(c.problem) != std::string::npos) << problem;
    const SRFFileInfo info = DescribeSRFFile(file);
    EXPECT_EQ(info.verdict.rfind(c.verdict, 0), 0u) << info.verdict;
    EXPECT_EQ(info.readable, c.verdict[0] == 'r');
  }
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
}

}  // namespace
}  // namespace velkor
