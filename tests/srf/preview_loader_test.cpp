#include <gtest/gtest.h>

#include "srf/SrfPreviewLoader.h"
#include "common/VbError.h"
#include "srf/SrfTestBytes.h"
#include "support/FakeView.h"
#include "support/TestFiles.h"
#include "ui/commands/frmMain.h"

namespace velkor {
namespace {

using testing::Bgra;
using testing::ByteBuilder;
using testing::GetBgra;

std::string WriteFile(const testing::ScratchDir& dir, const std::string& version, int rasterHeight) {
  testing::FakeView view;
  frmMain form(view);
  form.WorkImage->Create(2880, rasterHeight);
  testing::FillRaster(*form.WorkImage, testing::PatternPixel);
  form.ImageLoaded = true;
  const std::string path = dir / ("v" + version + ".srf");
  view.dialogAnswers.push_back(path);
  form.SaveSRF(version);
  return path;
}

TEST(SrfPreviewLoader, Version220GivesImage2WithOpaqueWhiteRight) {
  testing::ScratchDir dir;
  const std::string path = WriteFile(dir, "2.20", 150);
  cAlphaDibSection raster;
  CreateFromGarminSRF(raster, path);
  ASSERT_EQ(raster.Width(), 2880);
  ASSERT_EQ(raster.Height(), 150);
  for (int y : {80, 149})
    for (int x : {2520, 2879}) {
      const Bgra c = GetBgra(raster, x, y);
      EXPECT_EQ(c.b & c.g & c.r & c.a, 255);
    }
  // The same picture the window's reader makes.
  testing::FakeView view;
  frmMain form(view);
  ASSERT_TRUE(form.ReadSRFFile(path));
  const size_t size = static_cast<size_t>(raster.BytesPerScanLine()) * raster.Height();
  EXPECT_EQ(0, std::memcmp(raster.DIBSectionBitsPtr(), form.WorkImage->DIBSectionBitsPtr(), size));
}

TEST(SrfPreviewLoader, Version100GivesBothImagesFullWidth) {
  testing::ScratchDir dir;
  const std::string path = WriteFile(dir, "1.00", 160);
  cAlphaDibSection raster;
  CreateFromGarminSRF(raster, path);
  ASSERT_EQ(raster.Width(), 2880);
  ASSERT_EQ(raster.Height(), 160);
  const Bgra in = testing::PatternPixel(2879, 159), out = GetBgra(raster, 2879, 159);
  EXPECT_EQ(out.g, in.g & 0xF8);
}

TEST(SrfPreviewLoader, CodeZeroAndWordF800LoadAsOpaqueRed) {
  testing::ScratchDir dir;
  ByteBuilder out;
  testing::AppendHeader(out, 2, "2.20");
  for (int i = 0; i < 2; ++i) {
    out.I32(0).I32(16).I32(0).I16(1).I16(1).U8(16).U8(8).I16(2).I32(0).I32(11).I32(1).U8(0);
    out.I32(1).I32(2).U8(0x00).U8(0xF8);
  }
  testing::WriteFileBytes(dir / "red.srf", out.bytes);
  cAlphaDibSection raster;
  CreateFromGarminSRF(raster, dir / "red.srf");
  const Bgra c = GetBgra(raster, 0, 0);
  EXPECT_EQ(c.b, 0);
  EXPECT_EQ(c.g, 0);
  EXPECT_EQ(c.r, 248);
  EXPECT_EQ(c.a, 255);
}

TEST(SrfPreviewLoader, BadFilesRaiseAnErrorNamingTheFile) {
  testing::ScratchDir dir;
  const std::string path = WriteFile(dir, "2.20", 150);
  std::vector<uint8_t> bytes = testing::ReadFileBytes(path);
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
    if (!c.bytes.empty()) testing::WriteFileBytes(file, c.bytes);
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
