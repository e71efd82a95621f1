// velkor-cli's conversion commands run as a program. Their bytes are pinned
// by tests/golden; here what a digest cannot show: names resolved in the
// working folder, what stdout reports, exit statuses and error texts (1 for
// a failure, naming the file; 2 for a usage error; 0 for help).
#include <gtest/gtest.h>

#include "convert/PngFiles.h"
#include "srf/SrfTestBytes.h"
#include "support/Cli.h"

namespace velkor {
namespace {

TEST(Cli, ReportsTheFilesWrittenAndTellsFailureFromUsage) {
  testing::ScratchDir dir;
  const auto velkor = [&](const std::string& args) { return testing::RunCli(args, dir.path()); };
  cAlphaDibSection strip;
  ASSERT_TRUE(strip.Create(2880, 150));
  testing::FillRaster(strip, testing::PatternPixel);
  ASSERT_EQ(ConvertRasterToPng(strip, dir / "in.png"), BmpToPng::Written);
  testing::CliResult run = velkor("png2srf in.png out.srf");
  EXPECT_EQ(run.out, "srf: " + dir / "out.srf" + "\n") << run.err;
  EXPECT_NE(run.err.find("Status: SRF version #2.20 file written...."), std::string::npos);
  run = velkor("srf2png out.srf back.png");
  EXPECT_EQ(run.out, "png: " + dir / "back.png" + "\nbmp: " + dir / "back.bmp" + "\n") << run.err;
  EXPECT_NE(("\n" + velkor("info out.srf").out).find("\nfile: " + dir / "out.srf" + "\n"), std::string::npos);

  testing::WriteFileBytes(dir / "short.srf", {1, 2, 3});
  const std::tuple<std::string, int, std::string> cases[] = {
      {"info short.srf", 1, "Cannot read " + dir / "short.srf"},
      {"srf2png missing.srf x.png", 1, "Cannot read " + dir / "missing.srf"},
      {"srf2png short.srf x.png", 1, "too short for the 71-byte header"},
      {"png2srf missing.png x.srf", 1, "Cannot read " + dir / "missing.png" + ": the file does not exist"},
      {"png2srf short.srf x.srf", 1, "Cannot read " + dir / "short.srf"},
      {"srf2png short.srf x.v2.png", 2, "x.v2.png"}, {"srf2png short.srf x.PNG", 2, "written as " + dir / "x.png"},
      {"srf2png short.srf", 2, ""}, {"png2srf", 2, ""}, {"info", 2, ""}, {"info --help", 0, ""},
      {"srf2png --help", 0, ""}, {"asrf2png --help", 0, ""}, {"png2srf --help", 0, ""}, {"png2asrf --help", 0, ""}};
  for (const auto& [args, status, stderrPart] : cases) {
    run = velkor(args);
    EXPECT_EQ(run.status, status) << args;
    EXPECT_NE(run.err.find(stderrPart), std::string::npos) << args << "\n" << run.err;
  }
  for (const char* output : {"x.png", "x.bmp", "x.srf"}) EXPECT_FALSE(testing::PathExists(dir / output));
  run = velkor("--help");
  EXPECT_EQ(run.status, 0);
  for (const char* name : {"srf2png", "asrf2png", "png2srf", "png2asrf", "info"}) EXPECT_NE(run.out.find(name), std::string::npos);
}

}  // namespace
}  // namespace velkor
