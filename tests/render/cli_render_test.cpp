// velkor-cli render and do-all --model, end to end.
#include <gtest/gtest.h>

#include "render/GltfWriter.h"
#include "RenderTestSupport.h"
#include "support/TestFiles.h"

namespace velkor::testing {
namespace {

std::string Quoted(const std::string& s) { return "'" + s + "'"; }

TEST(RenderCommand, NamesSizesAndKeyAsAsked) {
  ScratchDir dir;
  std::string error;
  ASSERT_TRUE(render::WriteGlb(TestVehicle(), dir / "v.glb", error)) << error;
  const std::string flags = " --prefix veh --numbers 1-36 --version 2.00 --key 0000FF --elevation 45 --fill 0.3";
  const CliResult r = RunCli("render " + Quoted(dir / "v.glb") + " " + Quoted(dir / "a") + flags, dir.path());
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(FilesUnder(dir / "a"), 72u);
  for (const char* frame : {"veh1.bmp", "veh36.bmp", "Top/veh1.bmp", "Top/veh36.bmp"}) {
    const render::FrameImage f = ReadFrame(dir / (std::string("a/") + frame));
    EXPECT_EQ(f.size, 400) << frame << ": version 2.00 cells are 400 in both sets";
    EXPECT_EQ(std::vector<uint8_t>(f.rgb.begin(), f.rgb.begin() + 3), (std::vector<uint8_t>{0, 0, 255}));
  }
}

TEST(RenderCommand, UsageErrorsExitTwo) {
  ScratchDir dir;
  for (const char* flags : {"--up +y --front -y", "--up sideways", "--numbers 7-42", "--elevation 95", "--fill 0",
                            "--key 12345", "--version 3.00"}) {
    EXPECT_EQ(RunCli(std::string("render m.glb out ") + flags, dir.path()).exitCode, 2) << flags;
  }
  EXPECT_FALSE(PathExists(dir / "out"));
}

TEST(DoAllWithModel, TheSampleCarBecomesAReadableSrf) {
  ScratchDir dir;
  const std::string srf = dir / "car.srf", png = TestOutputDir() + "/do_all_model_car.png";
  const CliResult r = RunCli("do-all " + Quoted(srf) + " --model " + Quoted(std::filesystem::absolute("sample/car.glb")), dir.path());
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(RunCli("info " + Quoted(srf), dir.path()).exitCode, 0);
  const CliResult toPng = RunCli("srf2png " + Quoted(srf) + " " + Quoted(png), dir.path());
  EXPECT_EQ(toPng.exitCode, 0) << toPng.err;
  EXPECT_EQ(RunCli("do-all " + Quoted(dir / "x.srf") + " --model " + Quoted(dir / "none.glb"), dir.path()).exitCode, 1);
  EXPECT_FALSE(PathExists(dir / "x.srf"));
}

}  // namespace
}  // namespace velkor::testing
