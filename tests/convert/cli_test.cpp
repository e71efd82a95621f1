// velkor-cli's conversion commands, run as a separate program from the build
// folder (the tests' working folder).
#include <gtest/gtest.h>

#include <FreeImage.h>


#include "srf/SrfTestBytes.h"
#include "support/Cli.h"

namespace velkor {
namespace {

void WritePatternPng(const std::string& path, int w, int h) {
  FIBITMAP* dib = FreeImage_Allocate(w, h, 32);
  for (int y = 0; y < h; ++y) {
    BYTE* line = FreeImage_GetScanLine(dib, h - 1 - y);
    for (int x = 0; x < w; ++x) {
      const testing::Bgra c = testing::PatternPixel(x, y);
      line[4 * x] = c.b;
      line[4 * x + 1] = c.g;
      line[4 * x + 2] = c.r;
      line[4 * x + 3] = c.a;
    }
  }
  ASSERT_TRUE(FreeImage_Save(FIF_PNG, dib, path.c_str(), 0));
  FreeImage_Unload(dib);
}

class Cli : public ::testing::Test {
 protected:
  testing::ScratchDir dir;
  testing::CliResult Velkor(const std::string& args) { return testing::RunCli(args, dir.path()); }
};

// The bytes of every conversion are pinned by tests/golden; here: relative
// names resolved in the working folder, and what stdout reports.
TEST_F(Cli, RelativeNamesAndTheFilesWrittenOnStdout) {
  WritePatternPng(dir / "in.png", 2880, 150);
  testing::CliResult run = Velkor("png2srf in.png out.srf");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "srf: " + dir / "out.srf" + "\n");
  EXPECT_NE(run.err.find("Status: SRF version #2.20 file written...."), std::string::npos);
  run = Velkor("srf2png out.srf back.png");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "png: " + dir / "back.png" + "\nbmp: " + dir / "back.bmp" + "\n");
  EXPECT_EQ(FreeImage_GetFileType((dir / "back.png").c_str(), 0), FIF_PNG);
  EXPECT_NE(("\n" + Velkor("info out.srf").out).find("\nfile: " + dir / "out.srf" + "\n"), std::string::npos);
}

TEST_F(Cli, ExitStatusTellsFailureFromUsage) {
  testing::WriteFileBytes(dir / "short.srf", {1, 2, 3});
  struct Case {
    std::string args;
    int status;
    std::string stderrPart;
  };
  const Case cases[] = {
      {"info short.srf", 1, "Cannot read " + dir / "short.srf"},
      {"srf2png missing.srf out.png", 1, "Cannot read " + dir / "missing.srf"},
      {"srf2png short.srf out.png", 1, "too short for the 71-byte header"},
      {"png2srf missing.png out.srf", 1, "Cannot read " + dir / "missing.png" + ": the file does not exist"},
      {"png2srf short.srf out.srf", 1, "Cannot read " + dir / "short.srf"},
      {"srf2png short.srf out.v2.png", 2, "out.v2.png"},
      {"srf2png short.srf out.PNG", 2, "OUT.png"},
      {"srf2png short.srf", 2, ""},
      {"png2srf", 2, ""},
      {"info", 2, ""},
  };
  for (const Case& c : cases) {
    const testing::CliResult run = Velkor(c.args);
    EXPECT_EQ(run.status, c.status) << c.args;
    EXPECT_NE(run.err.find(c.stderrPart), std::string::npos) << c.args << "\n" << run.err;
  }
  EXPECT_FALSE(testing::PathExists(dir / "out.png"));
  EXPECT_FALSE(testing::PathExists(dir / "out.bmp"));
  EXPECT_FALSE(testing::PathExists(dir / "out.srf"));
}

TEST_F(Cli, HelpListsTheCommands) {
  const testing::CliResult run = Velkor("--help");
  EXPECT_EQ(run.status, 0);
  for (const char* name : {"srf2png", "asrf2png", "png2srf", "png2asrf", "info"}) {
    EXPECT_NE(run.out.find(name), std::string::npos) << name;
  }
  for (const char* name : {"srf2png", "asrf2png", "png2srf", "png2asrf", "info"}) {
    EXPECT_EQ(Velkor(std::string(name) + " --help").status, 0) << name;
  }
}

}  // namespace
}  // namespace velkor
