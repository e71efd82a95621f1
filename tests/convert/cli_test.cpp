// velkor-cli's conversion commands run as a program. Their bytes are pinned
// by tests/golden; here what a digest cannot show: names resolved in the
// working folder, what stdout reports, exit statuses and error texts.
#include <gtest/gtest.h>

#include "convert/PngFiles.h"
#include "srf/SrfTestBytes.h"
#include "support/Cli.h"

namespace velkor {
namespace {

using testing::CliResult;

class Cli : public ::testing::Test {
 protected:
  testing::ScratchDir dir;
  CliResult Velkor(const std::string& args) { return testing::RunCli(args, dir.path()); }
};

TEST_F(Cli, RelativeNamesAndTheFilesWrittenOnStdout) {
  cAlphaDibSection strip;
  ASSERT_TRUE(strip.Create(2880, 150));
  testing::FillRaster(strip, testing::PatternPixel);
  ASSERT_EQ(ConvertRasterToPng(strip, dir / "in.png"), BmpToPng::Written);
  CliResult run = Velkor("png2srf in.png out.srf");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "srf: " + dir / "out.srf" + "\n");
  EXPECT_NE(run.err.find("Status: SRF version #2.20 file written...."), std::string::npos);
  run = Velkor("srf2png out.srf back.png");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "png: " + dir / "back.png" + "\nbmp: " + dir / "back.bmp" + "\n");
  EXPECT_NE(("\n" + Velkor("info out.srf").out).find("\nfile: " + dir / "out.srf" + "\n"), std::string::npos);
}

// 1 for a failure (naming the file), 2 for a usage error, 0 for help.
TEST_F(Cli, ExitStatusTellsFailureFromUsage) {
  testing::WriteFileBytes(dir / "short.srf", {1, 2, 3});
  const struct {
    std::string args;
    int status;
    std::string stderrPart;
  } cases[] = {
      {"info short.srf", 1, "Cannot read " + dir / "short.srf"},
      {"srf2png missing.srf out.png", 1, "Cannot read " + dir / "missing.srf"},
      {"srf2png short.srf out.png", 1, "too short for the 71-byte header"},
      {"png2srf missing.png out.srf", 1, "Cannot read " + dir / "missing.png" + ": the file does not exist"},
      {"png2srf short.srf out.srf", 1, "Cannot read " + dir / "short.srf"},
      {"srf2png short.srf out.v2.png", 2, "out.v2.png"},
      {"srf2png short.srf out.PNG", 2, "OUT.png"},
      {"srf2png short.srf", 2, ""}, {"png2srf", 2, ""}, {"info", 2, ""},
      {"srf2png --help", 0, ""}, {"asrf2png --help", 0, ""}, {"png2srf --help", 0, ""},
      {"png2asrf --help", 0, ""}, {"info --help", 0, ""},
  };
  for (const auto& c : cases) {
    const CliResult run = Velkor(c.args);
    EXPECT_EQ(run.status, c.status) << c.args;
    EXPECT_NE(run.err.find(c.stderrPart), std::string::npos) << c.args << "\n" << run.err;
  }
  for (const char* output : {"out.png", "out.bmp", "out.srf"}) EXPECT_FALSE(testing::PathExists(dir / output));
  const CliResult help = Velkor("--help");
  EXPECT_EQ(help.status, 0);
  for (const char* name : {"srf2png", "asrf2png", "png2srf", "png2asrf", "info"}) {
    EXPECT_NE(help.out.find(name), std::string::npos) << name;
  }
}

}  // namespace
}  // namespace velkor
