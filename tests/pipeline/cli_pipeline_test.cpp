// velkor-cli do-all and build-strip: flags, a refused partial strip, warnings
// for unreadable 2D frames.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "pipeline/PipelineTestSupport.h"
#include "platform/Files.h"

namespace velkor {
namespace {

using testing::ScratchDir;

struct CliRun {
  int exitCode;
  std::string err;
};

// Runs velkor-cli (beside the test program) with `arguments`, stderr captured.
CliRun RunCli(const ScratchDir& dir, const std::string& arguments) {
  const std::string errFile = dir / "stderr.txt";
  const std::string command =
      "'" + platform::ProgramFolder() + "/velkor-cli' " + arguments + " >/dev/null 2>'" + errFile + "'";
  const int status = std::system(command.c_str());
  const auto bytes = testing::ReadFileBytes(errFile);
  return CliRun{WIFEXITED(status) ? WEXITSTATUS(status) : -1, std::string(bytes.begin(), bytes.end())};
}

std::string FrameFlags(const ScratchDir& frames) {
  const std::string d = "'" + frames.path() + "'";
  return "--rotation-3d " + d + " --rotation-2d " + d + " --animation-3d " + d + " --animation-2d " + d +
         " --prefix-3d r3d --prefix-2d r2d --anim-prefix-3d a3d --anim-prefix-2d a2d";
}

TEST(CliDoAll, WritesTheSrfOfSmallFramesWithTheFlagsApplied) {
  ScratchDir frames, out;
  testing::WriteAllSets(frames.path(), 2, "1-36");
  const CliRun run = RunCli(out, "do-all " + FrameFlags(frames) +
                                     " --numbers 1-36 --version ' 1.00 ' --key '#00FF00' --tolerance 12 "
                                     "--step-sample 1 '" +
                                     out / "out.srf" + "'");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(platform::FileLength(out / "out.srf"), 1382688);
  EXPECT_NE(run.err.find("Status: Resampling to 8640x480...\n"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("Status: SRF version #1.00 file written....\n"), std::string::npos) << run.err;
}

TEST(CliDoAll, AnimatedWritesTheAnimatedSrf) {
  ScratchDir frames, out;
  testing::WriteAllSets(frames.path());
  const CliRun run =
      RunCli(out, "do-all --animated --version 2.20 " + FrameFlags(frames) + " '" + out / "anim.srf" + "'");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(platform::FileLength(out / "anim.srf"), 3134432);
  EXPECT_NE(run.err.find("Status: ASRF version #1.00 file written....\n"), std::string::npos) << run.err;
}

TEST(CliDoAll, AMissingFrameFailsAndWritesNoSrf) {
  ScratchDir frames, out;
  testing::WriteAllSets(frames.path());
  std::filesystem::remove(frames / "r2d0017.bmp");
  testing::WriteFileBytes(out / "keep.srf", {1, 2, 3});
  const CliRun run = RunCli(out, "do-all " + FrameFlags(frames) + " '" + out / "keep.srf" + "'");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(
      run.err.find("error: Status: ERROR: 2D Rotation File Not Found... (" + frames / "r2d0017.bmp" + ")"),
      std::string::npos)
      << run.err;
  EXPECT_EQ(testing::ReadFileBytes(out / "keep.srf"), (std::vector<uint8_t>{1, 2, 3}));
}

TEST(CliDoAll, AThreeDFolderAloneTakesItsTopSubfolderForTheTwoDFrames) {
  ScratchDir frames, out;
  testing::WriteAllSets(frames.path());
  // No Top subfolder: the 2D frames must be looked for there, not in the sample.
  const CliRun run = RunCli(out, "do-all --rotation-3d '" + frames.path() + "' --prefix-3d r3d --prefix-2d r2d '" +
                                     out / "x.srf" + "'");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("2D Rotation File Not Found... (" + frames / "Top/r2d0000.bmp" + ")"), std::string::npos)
      << run.err;
}

TEST(CliDoAll, AnUnreadable3DFrameFailsNamingTheFile) {
  ScratchDir frames, out;
  testing::WriteAllSets(frames.path());
  testing::WriteFileBytes(frames / "r3d0002.bmp", {'x'});
  const CliRun run = RunCli(out, "do-all " + FrameFlags(frames) + " '" + out / "x.srf" + "'");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("error: frame file cannot be read as a BMP: " + frames / "r3d0002.bmp"),
            std::string::npos)
      << run.err;
  EXPECT_FALSE(testing::PathExists(out / "x.srf"));
}

TEST(CliDoAll, AnUnreadable2DFrameStopsItNamingTheFileAndItsSet) {
  ScratchDir frames, out;
  testing::WriteAllSets(frames.path());
  testing::WriteFileBytes(frames / "r2d0009.bmp", {});
  const CliRun run = RunCli(out, "do-all " + FrameFlags(frames) + " '" + out / "y.srf" + "'");
  EXPECT_EQ(run.exitCode, 1) << run.err;
  EXPECT_NE(run.err.find("2D rotation frame " + frames / "r2d0009.bmp" + " cannot be read"), std::string::npos)
      << run.err;
  EXPECT_FALSE(testing::PathExists(out / "y.srf"));
}

TEST(CliDoAll, BadFlagValuesAreUsageErrors) {
  ScratchDir out;
  for (const std::string flags :
       {"--key '#00FF0'", "--key 16777216", "--key green", "--tolerance 256", "--step-sample 4",
        "--keying soft", "--keying clean --not-anti-aliased", "--not-anti-aliased --keying graded"}) {
    EXPECT_EQ(RunCli(out, "do-all " + flags + " '" + out / "z.srf" + "'").exitCode, 2) << flags;
  }
  EXPECT_FALSE(testing::PathExists(out / "z.srf"));
}

TEST(CliDoAll, KeyingCleanAndTheBinarySynonymRun) {
  ScratchDir frames, out;
  testing::WriteAllSets(frames.path());
  for (const std::string flags : {"--keying clean", "--keying binary --not-anti-aliased"}) {
    const CliRun run = RunCli(out, "do-all " + FrameFlags(frames) + " " + flags + " '" + out / "k.srf" + "'");
    EXPECT_EQ(run.exitCode, 0) << flags << run.err;
  }
}

TEST(CliBuildStrip, WritesTheStripAsA32BitBmp) {
  ScratchDir frames, out;
  testing::WriteAllSets(frames.path());
  const CliRun run =
      RunCli(out, "build-strip " + FrameFlags(frames) + " --version 2.00 '" + out / "strip.bmp" + "'");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  const auto bytes = testing::ReadFileBytes(out / "strip.bmp");
  ASSERT_EQ(bytes.size(), 58u + 14400u * 800u * 4u);
  // The file's first pixel is the picture's bottom-left: column 0 is left to
  // the new raster by the key fill.
  EXPECT_EQ(bytes[58 + 4], 0);  // (1, bottom row): key green, B 0
  EXPECT_EQ(bytes[58 + 4 + 1], 255);
}

TEST(CliBuildStrip, AnIncompleteImportWritesNothing) {
  ScratchDir frames, out;
  const CliRun run = RunCli(out, "build-strip " + FrameFlags(frames) + " '" + out / "strip.bmp" + "'");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("Status: ERROR: 3D Rotation File Not Found..."), std::string::npos) << run.err;
  EXPECT_FALSE(testing::PathExists(out / "strip.bmp"));
}

}  // namespace
}  // namespace velkor
