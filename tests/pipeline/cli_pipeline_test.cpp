// velkor-cli do-all and build-strip on small frame sets: flags, the statuses
// on stderr, a refused partial strip, an unreadable 2D frame refused by name. The
// output bytes of the usual runs are pinned by tests/golden.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "pipeline/PipelineTestSupport.h"
#include "support/Cli.h"

namespace velkor {
namespace {

using namespace testing;

struct RunCase {
  std::string name;
  std::function<void(const ScratchDir& frames)> damage;  // none: the frames as written
  std::string args;       // $F: the frame flags, $O: the output folder
  int status;
  std::vector<std::string> errParts;  // each in stderr; $F: the frame folder
  std::string output;     // written by the run; empty when nothing may be
  int64_t outputSize;     // of `output`; -1: none written, `keep` left as it was
};

std::string Expand(std::string text, const std::string& key, const std::string& value) {
  for (size_t at; (at = text.find(key)) != std::string::npos;) text.replace(at, key.size(), value);
  return text;
}

TEST(CliPipeline, RunsOnSmallFrames) {
  const std::vector<uint8_t> kept = {1, 2, 3};
  const RunCase cases[] = {
      {"flags applied, numbers 1-36", nullptr,
       "do-all $F --numbers 1-36 --version ' 1.00 ' --key '#00FF00' --tolerance 12 --step-sample 1 $O/out.srf", 0,
       {"Status: Resampling to 8640x480...\n", "Status: SRF version #1.00 file written....\n"}, "out.srf", 1382688},
      {"animated", nullptr, "do-all --animated --version 2.20 $F $O/anim.srf", 0,
       {"Status: ASRF version #1.00 file written....\n"}, "anim.srf", 3134432},
      {"clean keying", nullptr, "do-all $F --keying clean $O/k.srf", 0, {}, "k.srf", 1220608},
      {"binary synonym", nullptr, "do-all $F --keying binary --not-anti-aliased $O/k.srf", 0, {}, "k.srf", 1220608},
      {"missing 2D frame", [](const ScratchDir& f) { std::filesystem::remove(f / "r2d0017.bmp"); },
       "do-all $F $O/keep.srf", 1, {"error: Status: ERROR: 2D Rotation File Not Found... ($F/r2d0017.bmp)"}, "keep.srf",
       -1},
      {"3D folder alone: its Top subfolder for 2D", nullptr, "do-all --rotation-3d $D --prefix-3d r3d --prefix-2d r2d $O/x.srf",
       1, {"2D Rotation File Not Found... ($F/Top/r2d0000.bmp)"}, "x.srf", -1},
      {"unreadable 3D frame", [](const ScratchDir& f) { WriteFileBytes(f / "r3d0002.bmp", {'x'}); },
       "do-all $F $O/x.srf", 1, {"error: frame file cannot be read as a BMP: $F/r3d0002.bmp"}, "x.srf", -1},
      {"unreadable 2D frame", [](const ScratchDir& f) { WriteFileBytes(f / "r2d0009.bmp", {}); },
       "do-all $F $O/y.srf", 1, {"2D rotation frame $F/r2d0009.bmp cannot be read"}, "y.srf", -1},
      {"build-strip", nullptr, "build-strip $F --version 2.00 $O/strip.bmp", 0, {}, "strip.bmp", 58 + 14400 * 800 * 4},
      {"build-strip, a 3D frame missing", [](const ScratchDir& f) { std::filesystem::remove(f / "r3d0000.bmp"); },
       "build-strip $F $O/strip.bmp", 1, {"Status: ERROR: 3D Rotation File Not Found..."}, "strip.bmp", -1},
  };
  for (const RunCase& c : cases) {
    SCOPED_TRACE(c.name);
    ScratchDir frames, out;
    WriteAllSets(frames.path(), 2, c.name == "flags applied, numbers 1-36" ? "1-36" : "0000-0035");
    if (c.damage) c.damage(frames);
    WriteFileBytes(out / "keep.srf", kept);
    std::string args = Expand(c.args, "$F", FrameFlags(frames.path()));
    args = Expand(Expand(args, "$D", Quoted(frames.path())), "$O", out.path());
    const CliResult run = RunCli(args, out.path());
    EXPECT_EQ(run.status, c.status) << run.err;
    for (const std::string& part : c.errParts) {
      EXPECT_NE(run.err.find(Expand(part, "$F", frames.path())), std::string::npos) << part << "\n" << run.err;
    }
    if (c.outputSize >= 0) {
      EXPECT_EQ(platform::FileLength(out / c.output), c.outputSize);
    } else if (c.output == "keep.srf") {
      EXPECT_EQ(ReadFileBytes(out / "keep.srf"), kept);
    } else {
      EXPECT_FALSE(PathExists(out / c.output));
    }
  }
}

TEST(CliPipeline, BadFlagValuesAreUsageErrors) {
  ScratchDir out;
  for (const std::string flags :
       {"--key '#00FF0'", "--key 16777216", "--key green", "--tolerance 256", "--step-sample 4",
        "--keying soft", "--keying clean --not-anti-aliased", "--not-anti-aliased --keying graded"}) {
    EXPECT_EQ(RunCli("do-all " + flags + " z.srf", out.path()).status, 2) << flags;
  }
  EXPECT_FALSE(PathExists(out / "z.srf"));
}

TEST(CliPipeline, TheStripIsA32BitBmpOnTheKeyColourFromColumnZero) {
  ScratchDir frames, out;
  WriteAllSets(frames.path());
  ASSERT_EQ(RunCli("build-strip " + FrameFlags(frames.path()) + " strip.bmp", out.path()).status, 0);
  const auto bytes = ReadFileBytes(out / "strip.bmp");
  ASSERT_EQ(bytes.size(), 58u + 14400u * 750u * 4u);
  // The file's first pixel is the picture's bottom-left, key green as the next.
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 58, bytes.begin() + 66), (std::vector<uint8_t>{0, 255, 0, 0, 0, 255, 0, 0}));
}

}  // namespace
}  // namespace velkor
