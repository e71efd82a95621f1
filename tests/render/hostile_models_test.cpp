// Downloaded models are hostile input. Each bad file ends in one message that
// names it, exit status 1 from `render`, nothing written, and the window's
// work untouched.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "render/GltfWriter.h"
#include "RenderTestSupport.h"
#include "support/Cli.h"
#include "support/FakeView.h"
#include "support/TestFiles.h"
#include "ui/commands/frmMain.h"

namespace velkor::testing {
namespace {

void Text(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

// A glTF with one triangle's positions inline, broken by its buffer views and indices.
std::string Gltf(const std::string& bufferView, const std::string& indices) {
  return R"({"asset":{"version":"2.0"},"scene":0,"scenes":[{"nodes":[0]}],"nodes":[{"mesh":0}],)"
         R"("meshes":[{"primitives":[{"attributes":{"POSITION":0})" + indices + R"(}]}],)"
         R"("buffers":[{"byteLength":48,"uri":"data:application/octet-stream;base64,)" + std::string(64, 'A') +
         R"("}],"bufferViews":[)" + bufferView + R"(],"accessors":[{"bufferView":0,"componentType":5126,"count":3,)"
         R"("type":"VEC3","min":[0,0,0],"max":[1,1,1]},{"bufferView":1,"componentType":5125,"count":4000000000,"type":"SCALAR"}]})";
}

const struct {
  const char* name;
  const char* file;
  void (*make)(const std::string&);
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
       for (const auto& f : {std::array<uint32_t, 2>{0, 'B' | 'M' << 8}, {2, 54 + 192000000u}, {10, 54}, {14, 40},
                             {18, 8000}, {22, 8000}, {26, 1 | 24 << 16}})
         for (int i = 0; i < 4; ++i) bmp[f[0] + i] = static_cast<uint8_t>(f[1] >> (8 * i));
       WriteFileBytes((std::filesystem::path(p).parent_path() / "big.bmp").string(), bmp);
     }},
    {"folder named .obj", "folder.obj", [](const std::string& p) { std::filesystem::create_directory(p); }},
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
    EXPECT_FALSE(PathExists(dir / "out"));
    std::filesystem::create_directory(dir / "out");
    FakeView view;
    frmMain form(view);
    form.Form_Load();
    const FormControls before = form.Controls;
    const cAlphaDibSection* image = form.WorkImage.get();
    view.dialogAnswers.push_back(model);
    view.folderAnswers.push_back(dir / "out");
    form.mnuRenderFromModel_Click();
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_NE(view.messages[0].find(model), std::string::npos) << view.messages[0];
    EXPECT_EQ(form.WorkImage.get(), image);
    EXPECT_EQ(form.Controls.txtWorkDir[1].Text + form.Controls.txt2DPrefix[1].Text,
              before.txtWorkDir[1].Text + before.txt2DPrefix[1].Text);
    EXPECT_FALSE(view.progressVisible || FilesUnder(dir / "out") > 0);
  }
}

}  // namespace
}  // namespace velkor::testing
