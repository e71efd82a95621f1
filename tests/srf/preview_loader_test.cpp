#include <gtest/gtest.h>

#include "srf/SrfPreviewLoader.h"
#include "common/VbError.h"
#include "support/FormFixture.h"

namespace velkor {
namespace {

using namespace testing;

using SrfPreviewLoader = FormTest;

// The viewer's loader makes the picture the window's reader makes, for a file
// whose second image is narrower than the first (2.20: opaque white on its
// right) and one where both are as wide (1.00).
TEST_F(SrfPreviewLoader, GivesThePictureTheWindowsReaderGives) {
  for (auto [version, height] : {std::pair{"2.20", 150}, std::pair{"1.00", 160}}) {
    SCOPED_TRACE(version);
    LoadPattern(2880, height);
    const std::string name = std::string(version) + ".srf";
    SaveSrf(version, name);
    cAlphaDibSection raster;
    CreateFromGarminSRF(raster, dir / name);
    ASSERT_EQ(raster.Width(), 2880);
    ASSERT_EQ(raster.Height(), height);
    const Bgra corner = GetBgra(raster, 2879, height - 1), in = PatternPixel(2879, height - 1);
    if (height == 150) {
      EXPECT_EQ(corner.b & corner.g & corner.r & corner.a, 255);
    } else {
      EXPECT_EQ(corner.g, in.g & 0xF8);
    }
    ASSERT_TRUE(form.ReadSRFFile(dir / name));
    const size_t size = static_cast<size_t>(raster.BytesPerScanLine()) * raster.Height();
    EXPECT_EQ(0, std::memcmp(raster.DIBSectionBitsPtr(), form.WorkImage->DIBSectionBitsPtr(), size));
  }
}

TEST_F(SrfPreviewLoader, CodeZeroAndWordF800LoadAsOpaqueRed) {
  ByteBuilder out;
  AppendHeader(out, 2, "2.20");
  for (int i = 0; i < 2; ++i) {
    out.I32(0).I32(16).I32(0).I16(1).I16(1).U8(16).U8(8).I16(2).I32(0).I32(11).I32(1).U8(0);
    out.I32(1).I32(2).U8(0x00).U8(0xF8);
  }
  WriteFileBytes(dir / "red.srf", out.bytes);
  cAlphaDibSection raster;
  CreateFromGarminSRF(raster, dir / "red.srf");
  const Bgra c = GetBgra(raster, 0, 0);
  EXPECT_EQ(c.b, 0);
  EXPECT_EQ(c.g, 0);
  EXPECT_EQ(c.r, 248);
  EXPECT_EQ(c.a, 255);
}

TEST_F(SrfPreviewLoader, BadFilesRaiseAnErrorNamingTheFile) {
  LoadPattern(2880, 150);
  std::vector<uint8_t> bytes = SaveSrf("2.20");
  struct Case {
    std::string name;
    std::vector<uint8_t> bytes;
    int number;
    std::string problem;
  };
  std::vector<uint8_t> badCode = bytes;
  badCode[71 + 32] = 250;
  const Case cases[] = {{"missing", {}, kErrFileNotFound, "No such file"},
                        {"cut short", std::vector<uint8_t>(bytes.begin(), bytes.begin() + 691311 + 1000),
                         kErrSubscript, "record 2 is cut short at offset 691311"},
                        {"bad code", badCode, kErrOverflow, "record 1 holds the alpha code 250 at pixel (0, 0)"}};
  for (const Case& c : cases) {
    const std::string file = dir / (c.name + ".srf");
    if (!c.bytes.empty()) WriteFileBytes(file, c.bytes);
    cAlphaDibSection raster;
    try {
      CreateFromGarminSRF(raster, file);
      ADD_FAILURE() << c.name << " loaded";
    } catch (const VbError& e) {
      EXPECT_EQ(e.Number(), c.number) << c.name;
      EXPECT_NE(e.Description().find("Cannot read " + file + ": "), std::string::npos) << e.Description();
      EXPECT_NE(e.Description().find(c.problem), std::string::npos) << e.Description();
    }
  }
}

}  // namespace
}  // namespace velkor
