// The flattened scene crosses a process boundary: the decoder must refuse
// anything but a valid scene, and the child runner must survive its child.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <fstream>

#include "render/ChildProcess.h"
#include "render/SceneCodec.h"
#include "RenderTestSupport.h"
#include "support/TestFiles.h"

namespace velkor::render {
namespace {

TEST(SceneCodec, RoundTripsEveryFieldAndRefusesEveryPrefix) {
  const Scene s = testing::Textured();
  const std::vector<uint8_t> bytes = EncodeScene(s);
  Scene back;
  std::string error;
  ASSERT_TRUE(DecodeScene(bytes.data(), bytes.size(), back, error)) << error;
  EXPECT_EQ(EncodeScene(back), bytes);
  EXPECT_EQ(std::pair(back.vertices[2].uv[1], back.vertices[0].colour[1]), std::pair(-1.0f, 0.25f));
  EXPECT_EQ(back.textures[0].rgba, s.textures[0].rgba);
  EXPECT_TRUE(back.materials[0].doubleSided && !back.materials[1].doubleSided);
  for (size_t n = 0; n < bytes.size(); ++n) EXPECT_FALSE(DecodeScene(bytes.data(), n, back, error)) << n << " bytes";
  std::vector<uint8_t> longer = bytes;
  longer.push_back(0);
  EXPECT_FALSE(DecodeScene(longer.data(), longer.size(), back, error));
  EXPECT_EQ(error, "the scene has bytes beyond its end");
}

// Offsets into the encoding: header 24 bytes, then 48 per vertex, 16 per
// triangle, 36 per material, and the texture's width and height.
TEST(SceneCodec, RefusesCorruptScenesWithTheReason) {
  const Scene s = testing::Textured();
  const size_t triangles = 24 + 48 * s.vertices.size(), materials = triangles + 16 * s.triangles.size();
  const size_t texture = materials + 36 * s.materials.size();
  const auto vertices = static_cast<uint32_t>(s.vertices.size());
  const char *kIndex = "vertex or material index is out of range", *kNaN = "coordinates that are not finite",
             *kCut = "the scene is truncated", *kCount = "count is out of range",
             *kNoTexture = "a material refers to a texture that does not exist";
  const struct {
    size_t offset;
    uint32_t value;
    const char* error;
  } cases[] = {
      {0, 0x12345678, "not a scene"}, {4, 2, "not a scene"}, {12, 0, "the model has no triangles"},
      {12, 2000001, "the model has 2000001 triangles, more than the limit of 2000000"}, {12, 2000000, kCut},
      {8, 6000001, kCount}, {8, 6000000, kCut}, {16, 0, kCount}, {16, 65537, kCount}, {16, 65536, kCut},
      {20, 1025, kCount}, {20, 1024, kCut}, {24, 0x7FC00000, kNaN}, {24 + 16, 0x7F800000, kNaN},
      {24 + 44, 0xFF800000, kNaN}, {triangles, 0xFFFFFFFF, kIndex}, {triangles + 4, vertices, kIndex},
      {triangles + 8, vertices, kIndex}, {triangles + 12, 4, kIndex},
      {materials + 12, 0x7F800000, "material colours that are not finite"}, {materials + 28, 1, kNoTexture},
      {materials + 28, 0xFFFFFFFE, kNoTexture}, {materials + 32, 2, "a material has unknown flags"},
      {texture, 0, "a texture of 0x1 pixels is empty or larger than the limit of 16777216 pixels"},
      {texture + 4, 4, kCut}, {texture + 4, 1 << 23, kCut},
      {texture + 4, (1 << 23) + 1, "a texture of 2x8388609 pixels is empty or larger than the limit"},
  };
  for (const auto& c : cases) {
    std::vector<uint8_t> bytes = EncodeScene(s);
    std::memcpy(&bytes[c.offset], &c.value, 4);
    Scene back;
    std::string error;
    EXPECT_FALSE(DecodeScene(bytes.data(), bytes.size(), back, error)) << c.offset << " = " << c.value;
    EXPECT_NE(error.find(c.error), std::string::npos) << c.offset << " = " << c.value << ": " << error;
  }
  std::vector<uint8_t> untextured = EncodeScene(testing::TestVehicle());
  untextured[16] = 100;  // materials: more than the bytes hold
  Scene back;
  std::string error;
  EXPECT_FALSE(DecodeScene(untextured.data(), untextured.size(), back, error));
  EXPECT_EQ(error, "the scene is truncated");
}

TEST(ChildProcess, CrashHangFloodAndMissingProgramAreReported) {
  testing::ScratchDir dir;
  auto script = [&dir](const std::string& body) {
    std::ofstream(dir / "child.sh") << "#!/bin/sh\n" << body << '\n';
    chmod((dir / "child.sh").c_str(), 0755);
    return dir / "child.sh";
  };
  const ChildResult crash = RunChild(script("printf abc; kill -SEGV $$"), "x", 5000, 100);
  EXPECT_EQ(crash.signal, SIGSEGV);
  EXPECT_EQ(std::string(crash.output.begin(), crash.output.end()), "abc");
  const ChildResult hang = RunChild(script("exec sleep 30"), "x", 200, 100);
  EXPECT_TRUE(hang.timedOut && hang.signal == SIGKILL);
  EXPECT_TRUE(RunChild(script("exec yes"), "x", 5000, 1000).tooMuchOutput);
  const ChildResult echo = RunChild(script("printf %s \"$1\"; exit 3"), "arg", 5000, 100);
  EXPECT_EQ(echo.exitCode, 3);
  EXPECT_EQ(std::string(echo.output.begin(), echo.output.end()), "arg");
  EXPECT_FALSE(RunChild(dir / "absent", "x", 5000, 100).started);
}

}  // namespace
}  // namespace velkor::render
