// Checking SRF files that come from outside, reading their headings, and
// finding the devices to send them to (the copy itself: packaging/tests).
#include <gtest/gtest.h>

#include <filesystem>

#include "common/VbError.h"
#include "platform/GarminDevices.h"
#include "srf/SrfFileCheck.h"
#include "srf/SrfHeadings.h"
#include "support/SmallSrf.h"

namespace velkor {
namespace {

using testing::ScratchDir;
using testing::WriteFileBytes;
namespace fs = std::filesystem;

TEST(SrfFileCheck, NamesWhatIsWrongWithAFile) {
  struct Case {
    const char* name;
    void (*damage)(std::vector<uint8_t>&);
    const char* problem;  // "" for a good file
  };
  const Case cases[] = {
      {"good", [](std::vector<uint8_t>&) {}, ""},
      {"checksum", [](std::vector<uint8_t>& b) { b.back() ^= 1; }, "checksum byte does not match"},
      {"trailer", [](std::vector<uint8_t>& b) { b.resize(b.size() - 57); }, "without a trailer"},
      {"cut", [](std::vector<uint8_t>& b) { b.resize(b.size() - 100); }, "cut short"},
      {"signature", [](std::vector<uint8_t>& b) { b[0] = 'X'; }, "GARMIN BITMAP 01"},
      {"count", [](std::vector<uint8_t>& b) { b[24] = 3; }, "counts 3 images"},
      {"empty", [](std::vector<uint8_t>& b) { b.clear(); }, "too short"},
  };
  ScratchDir dir;
  for (const Case& c : cases) {
    std::vector<uint8_t> bytes = testing::SmallSrfBytes(false);
    c.damage(bytes);
    WriteFileBytes(dir / c.name, bytes);
    const std::string problem = SRFFileProblem(dir / c.name);
    if (*c.problem == 0) {
      EXPECT_EQ(problem, "") << c.name;
    } else {
      EXPECT_NE(problem.find(c.problem), std::string::npos) << c.name << ": " << problem;
    }
  }
  EXPECT_EQ(SRFFileProblem(testing::WriteSmallSrf(dir / "animated.srf", true)), "");
  EXPECT_NE(SRFFileProblem(dir.path()).find("not a regular file"), std::string::npos);
}

TEST(SrfFileCheck, RefusesFilesAboveTheLimitByTheirSize) {
  ScratchDir dir;
  WriteFileBytes(dir / "f", std::vector<uint8_t>(20, 1));
  EXPECT_EQ(ReadSRFBytesWithin(dir / "f", 20).size(), 20u);
  EXPECT_THROW(ReadSRFBytesWithin(dir / "f", 19), VbError);
  fs::resize_file(dir / "f", kMaxSRFFileBytes + 1);  // sparse: nothing is read
  EXPECT_THROW(ReadSRFBytesWithin(dir / "f"), VbError);
}

TEST(SrfHeadings, DecodesThe36FramesOfThe3DSetExactly) {
  ScratchDir dir;
  for (const bool animated : {false, true}) {
    const std::vector<HeadingFrame> frames = LoadSRFHeadings(testing::WriteSmallSrf(dir / "car.srf", animated));
    ASSERT_EQ(frames.size(), 36u);
    for (int i = 0; i < 36; ++i) {
      ASSERT_EQ(frames[i].width, 2);
      ASSERT_EQ(frames[i].height, 2);
      const auto v = static_cast<uint8_t>(8 * i);
      const std::vector<uint8_t> expected = {v, v, v, 255, v, v, v, 255, v, v, v, 255, 0, 0, 0, 0};
      EXPECT_EQ(frames[i].rgba, expected) << "heading " << i << (animated ? " animated" : " static");
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
  const std::vector<std::string> found =
      platform::FindGarminDevices({dir / "media/user", dir / "mnt", dir / "missing"});
  EXPECT_EQ(found, (std::vector<std::string>{dir / "media/user/A", dir / "media/user/B", dir / "mnt/GARMIN"}));
}

}  // namespace
}  // namespace velkor
