// Downloaded models are hostile input. Each bad file ends in one message that
// names it, exit status 1 from `render`, nothing written, and the window's
// work untouched. The flattened scene crosses a process boundary: the decoder
// must refuse anything but a valid scene, and the child runner must survive
// its child.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "RenderTestSupport.h"
#include "platform/Files.h"
#include "render/ChildProcess.h"
#include "render/GltfWriter.h"
#include "render/SceneCodec.h"
#include "render/commands/RenderDialogModel.h"
#include "support/Cli.h"
#include "support/FakeView.h"
#include "support/TestFiles.h"
#include "ui/commands/frmMain.h"

namespace velkor::testing {
namespace {

using namespace render;

void Text(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
std::string ReadText(const std::string& path) {
  const std::vector<uint8_t> bytes = PathExists(path) ? ReadFileBytes(path) : std::vector<uint8_t>();
  return std::string(bytes.begin(), bytes.end());
}

// Whether process `pid` has ended within two seconds (gone, or a zombie nobody reaps).
bool Ended(pid_t pid) {
  for (int i = 0; i < 100; ++i, usleep(20000)) {
    const std::string stat = ReadText("/proc/" + std::to_string(pid) + "/stat");
    if (stat.empty() || stat.find(") Z") != std::string::npos) return true;
  }
  return false;
}

// A glTF with one triangle's positions inline, broken by its buffer views and indices.
std::string Gltf(const std::string& bufferView, const std::string& indices) {
  return R"({"asset":{"version":"2.0"},"scene":0,"scenes":[{"nodes":[0]}],"nodes":[{"mesh":0}],)"
         R"("meshes":[{"primitives":[{"attributes":{"POSITION":0})" +
         indices +
         R"(}]}],)"
         R"("buffers":[{"byteLength":48,"uri":"data:application/octet-stream;base64,)" +
         std::string(64, 'A') + R"("}],"bufferViews":[)" + bufferView +
         R"(],"accessors":[{"bufferView":0,"componentType":5126,"count":3,)"
         R"("type":"VEC3","min":[0,0,0],"max":[1,1,1]},{"bufferView":1,"componentType":5125,"count":4000000000,"type":"SCALAR"}]})";
}

// A triangle whose buffer is the file `uri` names; the 48 bytes it would read lie beside the model's folder.
void Referring(const std::string& model, const std::string& uri) {
  const std::filesystem::path folder = std::filesystem::path(model).parent_path();
  std::filesystem::create_directories(folder);
  WriteFileBytes((folder.parent_path() / "out.bin").string(), std::vector<uint8_t>(48));
  std::string json = Gltf(R"({"buffer":0,"byteLength":36})", "");
  Text(model, json.replace(json.find("data:"), 37 + 64, uri));  // the data URI: its prefix and 64 characters
}
std::string Outside(const std::string& model) {
  return (std::filesystem::path(model).parent_path().parent_path() / "out.bin").string();
}

#if defined(__SANITIZE_ADDRESS__)  // no address-space limit for the loader there: it may crash instead
constexpr bool kLimitedMemory = false;
#else
constexpr bool kLimitedMemory = true;
#endif

const struct {
  const char* name;
  const char* file;
  void (*make)(const std::string&);
  const char* says = "";  // in the message too
} kCases[] = {
    {"missing", "absent.glb", [](const std::string&) {}},
    {"not a model", "notes.glb", [](const std::string& p) { Text(p, "these are my notes, not a model\n"); }},
    {"truncated GLB", "cut.glb",
     [](const std::string& p) {
       const std::vector<uint8_t> glb = render::GlbBytes(TestVehicle());
       WriteFileBytes(p, {glb.begin(), glb.begin() + static_cast<ptrdiff_t>(glb.size() / 2)});
     }},
    {"view past its buffer", "past.gltf",
     [](const std::string& p) { Text(p, Gltf(R"({"buffer":0,"byteOffset":4096,"byteLength":36})", "")); }},
    {"billions of indices", "huge.gltf",
     [](const std::string& p) {
       Text(p, Gltf(R"({"buffer":0,"byteLength":36},{"buffer":0,"byteOffset":36,"byteLength":12})", R"(,"indices":1)"));
     }},
    {"infinite coordinate", "inf.glb",
     [](const std::string& p) {
       std::vector<uint8_t> glb = render::GlbBytes(TestVehicle());
       const uint32_t json = glb[12] | glb[13] << 8 | glb[14] << 16 | static_cast<uint32_t>(glb[15]) << 24;
       const size_t bin = 12 + 8 + json + 8;  // the positions open the binary chunk
       glb[bin + 2] = 0x80, glb[bin + 3] = 0x7F, glb[bin] = glb[bin + 1] = 0;
       WriteFileBytes(p, glb);
     }},
    {"no triangles", "lines.obj", [](const std::string& p) { Text(p, "v 0 0 0\nv 1 0 0\nv 0 1 0\nl 1 2 3\n"); }},
    {"huge texture", "big.obj",
     [](const std::string& p) {
       Text(p, "mtllib big.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nusemtl t\nf 1/1 2/1 3/1\n");
       Text(std::filesystem::path(p).replace_extension(".mtl").string(), "newmtl t\nKd 1 1 1\nmap_Kd big.bmp\n");
       // A BMP header claiming 8000 x 8000 pixels: refused before any pixel is read.
       std::vector<uint8_t> bmp(54, 0);
       for (const auto& f : {std::array<uint32_t, 2>{0, 'B' | 'M' << 8},
                             {2, 54 + 192000000u},
                             {10, 54},
                             {14, 40},
                             {18, 8000},
                             {22, 8000},
                             {26, 1 | 24 << 16}})
         for (int i = 0; i < 4; ++i) bmp[f[0] + i] = static_cast<uint8_t>(f[1] >> (8 * i));
       WriteFileBytes((std::filesystem::path(p).parent_path() / "big.bmp").string(), bmp);
     }},
    {"folder named .obj", "folder.obj", [](const std::string& p) { std::filesystem::create_directory(p); }},
    {"buffer above its folder", "in/up.gltf", [](const std::string& p) { Referring(p, "../out.bin"); },
     "it refers to \"../out.bin\", which is not in the model's folder or below it"},
    {"absolute buffer", "in/abs.gltf", [](const std::string& p) { Referring(p, Outside(p)); },
     "which is not in the model's folder or below it"},
    {"buffer linked out", "in/link.gltf",
     [](const std::string& p) {
       Referring(p, "link.bin");
       std::filesystem::create_symlink(Outside(p), std::filesystem::path(p).parent_path() / "link.bin");
     },
     "it refers to \"link.bin\""},
    {"texture above its folder", "in/tex.obj",
     [](const std::string& p) {
       std::filesystem::create_directories(std::filesystem::path(p).parent_path());
       Text(p, "mtllib t.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nusemtl t\nf 1/1 2/1 3/1\n");
       Text(std::filesystem::path(p).replace_extension(".mtl").string(), "newmtl t\nmap_Kd ../t.bmp\n");
     },
     "it refers to \"../t.bmp\""},
    {"message of 5 kB", "in/long.gltf", [](const std::string& p) { Referring(p, std::string(5000, 'a') + "/../../x"); },
     "it refers to \"aaaa"},
    {"more memory than allowed", "big.off", [](const std::string& p) { Text(p, "OFF\n1500000000 1 0\n0 0 0\n"); },
     kLimitedMemory ? "needs more memory than the model loader may use (3 GiB)" : ""},
};

TEST(HostileModels, NamedInOneMessageNothingWrittenTheWindowsWorkKept) {
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    ScratchDir dir;
    const std::string model = dir / c.file;
    c.make(model);
    const CliResult r = RunCli("render " + Quoted(model) + " " + Quoted(dir / "out"), dir.path());
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find(model), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
    EXPECT_LT(r.err.size(), 500u) << "a loader's message is cut to its first lines";
    EXPECT_FALSE(PathExists(dir / "out"));
    std::filesystem::create_directory(dir / "out");
    FakeView view;
    frmMain form(view);
    form.Form_Load();
    const FormControls before = form.Controls;
    const cAlphaDibSection* image = form.WorkImage.get();
    view.renderDialogs.push_back([&](RenderDialogModel& d) { return d.SetModel(model) || true; });
    form.mnuRenderFromModel_Click();
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_NE(view.messages[0].find(model), std::string::npos) << view.messages[0];
    EXPECT_EQ(form.WorkImage.get(), image);
    EXPECT_EQ(form.Controls.txtWorkDir[1].Text + form.Controls.txt2DPrefix[1].Text,
              before.txtWorkDir[1].Text + before.txt2DPrefix[1].Text);
    EXPECT_FALSE(view.progressVisible || !std::filesystem::is_empty(dir / "out"));
  }
}

TEST(SceneCodec, RoundTripsEveryFieldAndRefusesEveryPrefix) {
  Scene s = testing::Textured();
  s.declaredFront = Axis::NegZ;
  const std::vector<uint8_t> bytes = EncodeScene(s);
  Scene back;
  std::string error;
  ASSERT_TRUE(DecodeScene(bytes.data(), bytes.size(), back, error)) << error;
  EXPECT_EQ(EncodeScene(back), bytes);
  EXPECT_EQ(std::pair(back.vertices[2].uv[1], back.vertices[0].colour[1]), std::pair(-1.0f, 0.25f));
  EXPECT_EQ(back.textures[0].rgba, s.textures[0].rgba);
  EXPECT_TRUE(back.materials[0].doubleSided && !back.materials[1].doubleSided);
  EXPECT_TRUE(!back.declaredUp && back.declaredFront == Axis::NegZ);
  for (size_t n = 0; n < bytes.size(); ++n) EXPECT_FALSE(DecodeScene(bytes.data(), n, back, error)) << n << " bytes";
  std::vector<uint8_t> longer = bytes;
  longer.push_back(0);
  EXPECT_FALSE(DecodeScene(longer.data(), longer.size(), back, error));
  EXPECT_EQ(error, "the scene has bytes beyond its end");
}

// Offsets into the encoding: header 24 bytes, then 48 per vertex, 16 per
// triangle, 36 per material, the texture's width and height, and the
// declared axes in the last 8 bytes.
TEST(SceneCodec, RefusesCorruptScenesWithTheReason) {
  const Scene s = testing::Textured();
  const size_t triangles = 24 + 48 * s.vertices.size(), materials = triangles + 16 * s.triangles.size();
  const size_t texture = materials + 36 * s.materials.size(), axes = EncodeScene(s).size() - 8;
  const auto vertices = static_cast<uint32_t>(s.vertices.size());
  const char *kIndex = "vertex or material index is out of range", *kNaN = "coordinates that are not finite",
             *kCut = "the scene is truncated", *kCount = "count is out of range",
             *kNoTexture = "a material refers to a texture that does not exist";
  const struct {
    size_t offset;
    uint32_t value;
    const char* error;
  } cases[] = {
      {0, 0x12345678, "not a scene"},
      {4, 1, "not a scene"},
      {axes, 6, "unknown axis"},
      {axes + 4, 0xFFFFFFFE, "unknown axis"},
      {12, 0, "the model has no triangles"},
      {12, 2000001, "the model has 2000001 triangles, more than the limit of 2000000"},
      {12, 2000000, kCut},
      {8, 6000001, kCount},
      {8, 6000000, kCut},
      {16, 0, kCount},
      {16, 65537, kCount},
      {16, 65536, kCut},
      {20, 1025, kCount},
      {20, 1024, kCut},
      {24, 0x7FC00000, kNaN},
      {24 + 16, 0x7F800000, kNaN},
      {24 + 44, 0xFF800000, kNaN},
      {triangles, 0xFFFFFFFF, kIndex},
      {triangles + 4, vertices, kIndex},
      {triangles + 8, vertices, kIndex},
      {triangles + 12, 4, kIndex},
      {materials + 12, 0x7F800000, "material colours that are not finite"},
      {materials + 28, 1, kNoTexture},
      {materials + 28, 0xFFFFFFFE, kNoTexture},
      {materials + 32, 2, "a material has unknown flags"},
      {texture, 0, "a texture of 0x1 pixels is empty or larger than the limit of 16777216 pixels"},
      {texture + 4, 4, kCut},
      {texture + 4, 1 << 23, kCut},
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
  // Output closed but still running, and a helper of its own: the time limit ends them both.
  const ChildResult silent =
      RunChild(script("sleep 30 & echo $! >\"$1\"; exec sleep 30 >&-"), dir / "helper", 300, 100);
  EXPECT_TRUE(silent.timedOut && silent.signal == SIGKILL);
  EXPECT_TRUE(Ended(std::stoi(ReadText(dir / "helper"))));
}

// Ended by SIGTERM or Ctrl-C, velkor-cli ends the model loader it waits for (a minute, here); killed outright,
// its loader dies with it. do-all --model renders into memory: nothing is ever written to the temporary folder.
TEST(ChildProcess, TheLoaderEndsWithItsParent) {
  testing::ScratchDir dir;
  std::filesystem::copy_file(platform::ProgramFolder() + "/velkor-cli", dir / "velkor-cli");
  std::ofstream(dir / "velkor-model-loader") << "#!/bin/sh\necho $$ >\"$0.pid\"\nexec sleep 60\n";
  chmod((dir / "velkor-model-loader").c_str(), 0755);
  Text(dir / "m.glb", "any");
  std::filesystem::create_directory(dir / "tmp");
  for (const int signal : {SIGTERM, SIGINT, SIGKILL}) {
    SCOPED_TRACE(signal);
    std::filesystem::remove(dir / "velkor-model-loader.pid");
    const pid_t cli = fork();
    if (cli == 0) {
      setenv("TMPDIR", (dir / "tmp").c_str(), 1);
      freopen("/dev/null", "w", stderr);
      execl((dir / "velkor-cli").c_str(), "velkor-cli", "do-all", (dir / "x.srf").c_str(), "--model",
            (dir / "m.glb").c_str(), nullptr);
      _exit(127);
    }
    std::string loader;
    for (int i = 0; i < 500 && (loader = ReadText(dir / "velkor-model-loader.pid")).empty(); ++i) usleep(20000);
    ASSERT_FALSE(loader.empty()) << "the loader did not start";
    kill(cli, signal);
    int status = 0;
    waitpid(cli, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
    EXPECT_TRUE(Ended(std::stoi(loader)));
    EXPECT_TRUE(std::filesystem::is_empty(dir / "tmp")) << "the temporary folder";
  }
}

// Ctrl-C while velkor-cli render writes its frames: the hidden folder beside
// the target goes with the program, and the target was never made.
TEST(ChildProcess, AnInterruptedRenderLeavesNothing) {
  testing::ScratchDir dir;
  Scene wheel;  // slow enough to draw that the signal comes while the frames are written
  AddWheel(wheel, {0, 0, 0}, 1, 2, 30000, AddMaterial(wheel, {1, 1, 1}));
  std::string error;
  ASSERT_TRUE(WriteGlb(wheel, dir / "w.glb", error)) << error;
  const pid_t cli = fork();
  if (cli == 0) {
    freopen("/dev/null", "w", stderr);
    execl((platform::ProgramFolder() + "/velkor-cli").c_str(), "velkor-cli", "render", (dir / "w.glb").c_str(),
          (dir / "out").c_str(), nullptr);
    _exit(127);
  }
  bool hidden = false;
  for (int i = 0; i < 2000 && !hidden; ++i, usleep(5000)) hidden = testing::FolderEntries(dir.path()).size() > 1;
  EXPECT_TRUE(hidden) << "no hidden folder appeared";
  kill(cli, SIGINT);
  int status = 0;
  waitpid(cli, &status, 0);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGINT) << status;
  // A signal that lands while the frames move waits for them: on a loaded
  // machine the target may then be complete, but never a part, never hidden.
  std::vector<std::string> entries = testing::FolderEntries(dir.path());
  if (entries == std::vector<std::string>{"out", "w.glb"}) {
    size_t frames = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir / "out"))
      frames += entry.is_regular_file();
    EXPECT_EQ(frames, 72u);
    entries = {"w.glb"};
  }
  EXPECT_EQ(entries, std::vector<std::string>{"w.glb"})
      << ::testing::PrintToString(testing::FolderEntries(dir.path(), true));
}

}  // namespace
}  // namespace velkor::testing
