// The flattened scene crosses a process boundary: the decoder must refuse
// anything but a valid scene, and the child runner must survive its child.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <fstream>
#include <limits>

#include "render/ChildProcess.h"
#include "render/SceneCodec.h"
#include "RenderTestSupport.h"
#include "support/TestFiles.h"

namespace velkor::render {
namespace {

Scene Textured() {
  Scene s = testing::TestVehicle();
  s.vertices[1].colour = {0.5f, 0.25f, 1, 1};
  s.vertices[2].uv = {0.75f, -2};
  s.materials[1].texture = 0;
  s.textures.push_back({2, 1, {1, 2, 3, 4, 5, 6, 7, 8}});
  return s;
}

TEST(SceneCodec, RoundTripsEveryField) {
  const Scene s = Textured();
  const std::vector<uint8_t> bytes = EncodeScene(s);
  Scene back;
  std::string error;
  ASSERT_TRUE(DecodeScene(bytes.data(), bytes.size(), back, error)) << error;
  EXPECT_EQ(EncodeScene(back), bytes);
  EXPECT_EQ(back.vertices[2].uv[1], -2.0f);
  EXPECT_EQ(back.textures[0].rgba, s.textures[0].rgba);
  for (size_t n = 0; n < bytes.size(); ++n) {
    EXPECT_FALSE(DecodeScene(bytes.data(), n, back, error)) << "prefix of " << n << " bytes";
  }
}

// Offsets into the encoding: header 24 bytes, then 48 per vertex.
TEST(SceneCodec, RefusesCorruptScenes) {
  const Scene s = Textured();
  const size_t triangles = 24 + 48 * s.vertices.size(), materials = triangles + 16 * s.triangles.size();
  const struct {
    const char* name;
    size_t offset;
    uint32_t value;
    const char* error;
  } cases[] = {
      {"magic", 0, 0x12345678, "not a scene"},
      {"no triangles", 12, 0, "no triangles"},
      {"billions of triangles", 12, 4000000000u, "more than the limit"},
      {"vertex count beyond the bytes", 8, 5000000, "truncated"},
      {"NaN position", 24, 0x7FC00000, "not finite"},
      {"infinite normal", 24 + 16, 0x7F800000, "not finite"},
      {"vertex index", triangles + 4, 1000, "out of range"},
      {"material index", triangles + 12, 99, "out of range"},
      {"texture index", materials + 28, 7, "texture that does not exist"},
      {"material flags", materials + 32, 2, "unknown flags"},
      {"texture size", materials + 36 * s.materials.size() + 4, 1 << 30, "larger than the limit"},
  };
  for (const auto& c : cases) {
    std::vector<uint8_t> bytes = EncodeScene(s);
    std::memcpy(&bytes[c.offset], &c.value, 4);
    Scene back;
    std::string error;
    EXPECT_FALSE(DecodeScene(bytes.data(), bytes.size(), back, error)) << c.name;
    EXPECT_NE(error.find(c.error), std::string::npos) << c.name << ": " << error;
  }
  std::vector<uint8_t> longer = EncodeScene(s);
  longer.push_back(0);
  Scene back;
  std::string error;
  EXPECT_FALSE(DecodeScene(longer.data(), longer.size(), back, error));
}

std::string Script(const testing::ScratchDir& dir, const std::string& body) {
  const std::string path = dir / "child.sh";
  std::ofstream(path) << "#!/bin/sh\n" << body << '\n';
  chmod(path.c_str(), 0755);
  return path;
}

TEST(ChildProcess, CrashHangFloodAndMissingProgramAreReported) {
  testing::ScratchDir dir;
  const ChildResult crash = RunChild(Script(dir, "printf abc; kill -SEGV $$"), "x", 5000, 100);
  EXPECT_EQ(crash.signal, SIGSEGV);
  EXPECT_EQ(std::string(crash.output.begin(), crash.output.end()), "abc");
  const ChildResult hang = RunChild(Script(dir, "exec sleep 30"), "x", 200, 100);
  EXPECT_TRUE(hang.timedOut);
  EXPECT_EQ(hang.signal, SIGKILL);
  EXPECT_TRUE(RunChild(Script(dir, "exec yes"), "x", 5000, 1000).tooMuchOutput);
  const ChildResult echo = RunChild(Script(dir, "printf %s \"$1\"; exit 3"), "arg", 5000, 100);
  EXPECT_EQ(echo.exitCode, 3);
  EXPECT_EQ(std::string(echo.output.begin(), echo.output.end()), "arg");
  EXPECT_FALSE(RunChild(dir / "absent", "x", 5000, 100).started);
}

}  // namespace
}  // namespace velkor::render
