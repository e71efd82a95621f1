// velkor-cli's conversion commands, run as a separate program from the build
// folder (the tests' working folder).
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <FreeImage.h>

#include <array>
#include <cstdio>
#include <filesystem>

#include "srf/SrfTestBytes.h"
#include "support/TestFiles.h"

namespace velkor {
namespace {

using testing::ReadFileBytes;

struct CliRun {
  int status = -1;
  std::string out;
};

// Runs velkor-cli with `args` in `folder`; stdout is captured, stderr goes to
// a file beside it.
CliRun RunCli(const std::string& args, const std::string& folder, const std::string& errFile) {
  const std::string cli = std::filesystem::absolute("velkor-cli").string();
  const std::string command = "cd '" + folder + "' && '" + cli + "' " + args + " 2>'" + errFile + "'";
  CliRun run;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return run;
  std::array<char, 4096> buffer;
  size_t n;
  while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) run.out.append(buffer.data(), n);
  const int status = ::pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

std::string ReadText(const std::string& path) {
  const std::vector<uint8_t> bytes = ReadFileBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

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
  std::string err = dir / "stderr.txt";
  CliRun Velkor(const std::string& args) { return RunCli(args, dir.path(), err); }
};

TEST_F(Cli, StaticRoundTripWithRelativePaths) {
  WritePatternPng(dir / "in.png", 2880, 150);
  CliRun run = Velkor("png2srf in.png out.srf");
  ASSERT_EQ(run.status, 0) << ReadText(err);
  EXPECT_EQ(run.out, "srf: " + dir / "out.srf" + "\n");
  EXPECT_NE(ReadText(err).find("Status: SRF version #2.20 file written...."), std::string::npos);
  const std::vector<uint8_t> first = ReadFileBytes(dir / "out.srf");
  EXPECT_EQ(first.size(), 1220608u);

  run = Velkor("srf2png out.srf back.png");
  ASSERT_EQ(run.status, 0) << ReadText(err);
  EXPECT_EQ(run.out, "png: " + dir / "back.png" + "\nbmp: " + dir / "back.bmp" + "\n");
  EXPECT_TRUE(testing::PathExists(dir / "back.bmp"));
  EXPECT_EQ(FreeImage_GetFileType((dir / "back.png").c_str(), 0), FIF_PNG);

  ASSERT_EQ(Velkor("png2srf back.png again.srf").status, 0) << ReadText(err);
  EXPECT_EQ(ReadFileBytes(dir / "again.srf"), first);
}

TEST_F(Cli, AnimatedRoundTrip) {
  WritePatternPng(dir / "in.png", 3242, 340);
  ASSERT_EQ(Velkor("png2asrf in.png " + dir / "anim.srf").status, 0) << ReadText(err);
  const std::vector<uint8_t> first = ReadFileBytes(dir / "anim.srf");
  EXPECT_EQ(first.size(), 3134432u);
  ASSERT_EQ(Velkor("asrf2png anim.srf anim.png").status, 0) << ReadText(err);
  ASSERT_EQ(Velkor("png2asrf anim.png anim2.srf").status, 0) << ReadText(err);
  EXPECT_EQ(ReadFileBytes(dir / "anim2.srf"), first);
}

TEST_F(Cli, InfoPrintsOneFactALine) {
  WritePatternPng(dir / "in.png", 2880, 150);
  ASSERT_EQ(Velkor("png2srf in.png out.srf").status, 0);
  const CliRun run = Velkor("info out.srf");
  EXPECT_EQ(run.status, 0);
  for (const std::string& line :
       {"file: " + dir / "out.srf", std::string("size: 1220608"), std::string("header.version: 2.20"),
        std::string("header.image-count: 2"), std::string("record.2.offset: 691311"),
        std::string("record.2.height: 70"), std::string("record.2.width: 2520"), std::string("record.2.row-bytes: 5040"),
        std::string("trailer.length: 56"), std::string("checksum.matches: yes"),
        std::string("verdict: readable static SRF file, version 2.20, checksum matches")}) {
    EXPECT_NE(("\n" + run.out).find("\n" + line + "\n"), std::string::npos) << line << "\n" << run.out;
  }
  for (size_t start = 0; start < run.out.size();) {
    const size_t end = run.out.find('\n', start);
    const std::string line = run.out.substr(start, end - start);
    EXPECT_NE(line.find(": "), std::string::npos) << line;
    start = end + 1;
  }
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
    const CliRun run = Velkor(c.args);
    EXPECT_EQ(run.status, c.status) << c.args;
    EXPECT_NE(ReadText(err).find(c.stderrPart), std::string::npos) << c.args << "\n" << ReadText(err);
  }
  EXPECT_FALSE(testing::PathExists(dir / "out.png"));
  EXPECT_FALSE(testing::PathExists(dir / "out.bmp"));
  EXPECT_FALSE(testing::PathExists(dir / "out.srf"));
}

TEST_F(Cli, HelpListsTheCommands) {
  const CliRun run = Velkor("--help");
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
