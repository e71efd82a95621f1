// Every output velkor-cli writes, for a fixed set of generated frames and
// options, against SHA-256 digests recorded in cli_outputs.sha256. A change
// of any byte of any output fails here; VELKOR_UPDATE_GOLDEN=1 rewrites the
// digests when a change of output is intended.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "pipeline/NumberingScheme.h"
#include "support/Cli.h"

namespace velkor {
namespace {

namespace fs = std::filesystem;

const std::string kDigestFile = testing::SourceDir() + "/tests/golden/cli_outputs.sha256";

// A car-like shape turned by the frame's heading on the key colour, with
// 2 x 2 supersampled edges so the keying sees mixed pixels. `tint` varies the
// body between the sets.
uint32_t FramePixel(int x, int y, int size, int frame, uint32_t tint) {
  const double angle = frame * 10.0 * 3.14159265358979 / 180.0;
  const double c = std::cos(angle), s = std::sin(angle), half = size / 2.0;
  int body = 0, front = 0;
  for (int sy = 0; sy < 2; ++sy)
    for (int sx = 0; sx < 2; ++sx) {
      const double px = x + 0.25 + 0.5 * sx - half, py = y + 0.25 + 0.5 * sy - half;
      const double along = -px * s + py * c, across = px * c + py * s;  // along: towards the rear
      if (std::abs(along) < 0.38 * size && std::abs(across) < 0.17 * size) {
        ++body;
        if (along < -0.2 * size) ++front;
      }
    }
  const uint32_t bodyColour = front > 0 ? 0xD02020 : tint;
  auto mix = [&](int shift) {
    const uint32_t key = (0x00FF00u >> shift) & 0xFF, car = (bodyColour >> shift) & 0xFF;
    return ((car * body + key * (4 - body)) / 4) << shift;
  };
  return mix(16) | mix(8) | mix(0);
}

void WriteSet(const std::string& folder, int size, uint32_t tint, const std::string& scheme) {
  fs::create_directories(folder);
  const NumberingScheme numbers = SchemeFromText(scheme);
  for (int frame = 0; frame < 36; ++frame) {
    ASSERT_TRUE(testing::WriteTestBmp(FrameFileName(folder, "car", numbers, frame), size, size, 24,
                                      [&](int x, int y) { return FramePixel(x, y, size, frame, tint); }));
  }
}

std::string Sha256(const std::string& path) {
  FILE* pipe = ::popen(("sha256sum '" + path + "'").c_str(), "r");
  std::array<char, 65> digest{};
  const bool read = pipe && std::fread(digest.data(), 1, 64, pipe) == 64;
  if (pipe) ::pclose(pipe);
  return read ? std::string(digest.data()) : "unreadable";
}

class CliGolden : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new testing::ScratchDir();
    // Folder, frame size, body colour, numbering.
    for (const auto& [folder, size, tint, numbers] : {std::tuple{"r3d", 400, 0x3060C0u, "0000-0035"},
                                                      {"r3d/Top", 350, 0x3060C0u, "0000-0035"},
                                                      {"s400", 400, 0x808080u, "0000-0035"},
                                                      {"s450", 450, 0x204080u, "0000-0035"},
                                                      {"a450", 450, 0xF0E020u, "0000-0035"},
                                                      {"a400", 400, 0xF0E020u, "0000-0035"},
                                                      {"n3d", 400, 0x101010u, "1-36"},
                                                      {"n3d/Top", 350, 0x101010u, "1-36"}})
      WriteSet(dir_->path() + "/" + folder, size, tint, numbers);
  }
  static void TearDownTestSuite() { delete dir_; }

  static std::string Out(const std::string& name) { return dir_->path() + "/" + name; }
  static testing::ScratchDir* dir_;
};
testing::ScratchDir* CliGolden::dir_ = nullptr;

// The graded and binary runs name their rule; clean edges is the default, and
// says so by giving the bytes of --keying clean.
TEST_F(CliGolden, EveryOutputIsByteForByteAsRecorded) {
  const std::string rot = " --rotation-3d r3d", graded = " --keying graded";
  const std::string animated =
      " --animated --rotation-3d s450 --rotation-2d s400 --animation-3d a450 --animation-2d a400";
  const std::vector<std::pair<std::string, std::string>> runs = {
      {"v220.srf", "do-all v220.srf" + graded + rot},
      {"v210.srf", "do-all v210.srf --version 2.10" + graded + rot},
      {"v200.srf", "do-all v200.srf --version 2.00" + graded + rot + " --rotation-2d s400"},
      {"v100.srf", "do-all v100.srf --version 1.00" + graded + rot + " --rotation-2d s400"},
      {"v100_350.srf", "do-all v100_350.srf --version 1.00" + graded + rot},
      {"steps2.srf", "do-all steps2.srf --step-sample 2" + graded + rot},
      {"steps3.srf", "do-all steps3.srf --step-sample 3" + graded + rot},
      {"tol40.srf", "do-all tol40.srf --tolerance 40" + graded + rot},
      {"binary.srf", "do-all binary.srf --not-anti-aliased --tolerance 40" + rot},
      {"noresize.srf", "do-all noresize.srf --no-resize" + graded + rot},
      {"numbers.srf", "do-all numbers.srf --numbers 1-36" + graded + " --rotation-3d n3d"},
      {"animated.srf", "do-all animated.srf" + graded + animated},
      {"clean.srf", "do-all clean.srf" + rot},
      {"clean-named.srf", "do-all clean-named.srf --keying clean" + rot},
      {"clean-steps3.srf", "do-all clean-steps3.srf --step-sample 3" + rot},
      {"clean-animated.srf", "do-all clean-animated.srf" + animated},
      {"strip.bmp", "build-strip strip.bmp" + rot},
      {"v220.png", "srf2png v220.srf v220.png"},
      {"v220.bmp", ""},
      {"animated.png", "asrf2png animated.srf animated.png"},
      {"animated.bmp", ""},
      {"back.srf", "png2srf v220.png back.srf"},
      {"aback.srf", "png2asrf animated.png aback.srf"},
      {"info.txt", "info v220.srf"},
  };
  // The user names the PNG: an older one there is replaced, not kept.
  std::ofstream(Out("v220.png")) << "an older picture";
  std::ostringstream actual;
  for (const auto& [output, args] : runs) {
    const testing::CliResult run = args.empty() ? testing::CliResult{0, "", ""} : testing::RunCli(args, dir_->path());
    ASSERT_EQ(run.status, 0) << args << "\n" << run.err;
    if (output == "info.txt") {  // it names the scratch folder, whose name changes from run to run
      std::string text = run.out;
      for (size_t at; (at = text.find(dir_->path())) != std::string::npos;)
        text.replace(at, dir_->path().size(), "DIR");
      std::ofstream(Out(output)) << text;
    }
    actual << Sha256(Out(output)) << "  " << output << '\n';
  }
  if (std::getenv("VELKOR_UPDATE_GOLDEN")) {
    std::ofstream(kDigestFile) << actual.str();
    GTEST_SKIP() << "digests rewritten: " << kDigestFile;
  }
  const std::vector<uint8_t> recorded = testing::ReadFileBytes(kDigestFile);
  EXPECT_EQ(actual.str(), std::string(recorded.begin(), recorded.end())) << "an output differs from the recorded one";
}

}  // namespace
}  // namespace velkor
