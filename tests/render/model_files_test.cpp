// Model files through the loader helper, rendered as the renderer sees them:
// the vehicle as glTF and GLB; textures the right way round; vertex colours,
// emissive and single-sided faces as written; the text formats.
#include <gtest/gtest.h>

#include <fstream>

#include "render/CameraRig.h"
#include "render/FrameRenderer.h"
#include "render/GltfWriter.h"
#include "render/ModelLoader.h"
#include "RenderTestSupport.h"
#include "support/TestFiles.h"

namespace velkor::render {
namespace {

using testing::kKey;

Scene Load(const std::string& path) {
  Scene s;
  std::string error;
  EXPECT_TRUE(LoadModel(path, s, error)) << error;
  return s;
}

std::vector<uint8_t> Frame(const Scene& s, int cell, testing::Rgb key, SetView view = SetView::Top2D, int k = 0) {
  ModelFrame model;
  std::string error;
  EXPECT_TRUE(MakeModelFrame(s, {}, model, error)) << error;
  return FrameRenderer().Render(s, ViewForFrame(model, {}, view, cell, k), cell, key, 1).rgb;
}

// Written as GLB, loaded back and seen from above at heading 0.
std::vector<uint8_t> ThroughGlb(const Scene& s, int cell, testing::Rgb key) {
  testing::ScratchDir dir;
  std::string error;
  EXPECT_TRUE(WriteGlb(s, dir / "m.glb", error)) << error;
  return Frame(Load(dir / "m.glb"), cell, key);
}

TEST(ModelFiles, GltfAndGlbGiveTheFramesOfTheSceneWritten) {
  testing::ScratchDir dir;
  const Scene s = testing::TestVehicle();
  std::string error;
  ASSERT_TRUE(WriteGltf(s, dir / "v.gltf", error)) << error;
  ASSERT_TRUE(WriteGlb(s, dir / "v.glb", error)) << error;
  const Scene gltf = Load(dir / "v.gltf"), glb = Load(dir / "v.glb");
  for (SetView view : {SetView::Top2D, SetView::Oblique3D}) {
    for (int k = 0; k < 36; k += 5) {
      const std::vector<uint8_t> want = Frame(s, 24, kKey, view, k);
      EXPECT_EQ(Frame(gltf, 24, kKey, view, k), want) << k;
      EXPECT_EQ(Frame(glb, 24, kKey, view, k), want) << k;
    }
  }
}

// Squares facing up, seen from above at heading 0 through GLB: a 2x2
// texture (red, green over blue, white) upright, its top row at the front and
// its left column on the vehicle's left; vertex colours tinting the base
// colour under an emissive; a face toward the ground seen only when double-sided.
TEST(ModelFiles, TexturesVertexColoursEmissiveAndSides) {
  Scene s;
  s.textures.push_back({2, 2, {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 255}});
  s.materials[AddMaterial(s, {1, 1, 1})].texture = 0;
  AddFace(s, {{1, 0, 1}, {-1, 0, 1}, {-1, 0, -1}, {1, 0, -1}}, 0);
  for (int i = 0; i < 4; ++i) s.vertices[i].uv = {float(i == 1 || i == 2), float(i < 2)};
  const std::vector<uint8_t> f = ThroughGlb(s, 40, {0, 0, 0});
  auto at = [&f](int x, int y, int c) { return int{f[(y * 40 + x) * 3 + c]}; };
  for (auto [x, y, c] : {std::array{12, 12, 0}, {27, 12, 1}, {12, 27, 2}})
    EXPECT_GT(at(x, y, c), 2 * std::max(at(x, y, (c + 1) % 3), at(x, y, (c + 2) % 3)) + 20) << x << "," << y;
  EXPECT_GT(std::min({at(27, 27, 0), at(27, 27, 1), at(27, 27, 2)}), 150) << "white";
  Scene tinted;
  AddFace(tinted, {{1, 0, 1}, {-1, 0, 1}, {-1, 0, -1}, {1, 0, -1}}, AddMaterial(tinted, {1, 1, 1}, {0, 0, 0.5f}));
  for (Vertex& v : tinted.vertices) v.colour = {1, 0, 0, 1};
  const std::vector<uint8_t> t = ThroughGlb(tinted, 8, kKey);
  EXPECT_GT(t[(4 * 8 + 4) * 3], 150);
  EXPECT_EQ(t[(4 * 8 + 4) * 3 + 1] * 1000 + t[(4 * 8 + 4) * 3 + 2], 128);
  for (bool doubleSided : {false, true}) {
    Scene q;
    const uint32_t flat = testing::Flat(q, testing::kFront);
    q.materials[flat].doubleSided = doubleSided;
    AddFace(q, {{-1, 0, -1}, {1, 0, -1}, {1, 0, 1}, {-1, 0, 1}}, flat);
    EXPECT_EQ(ThroughGlb(q, 8, {0, 0, 0})[(4 * 8 + 4) * 3], doubleSided ? 255 : 0) << doubleSided;
  }
}

// The text formats, each a unit square written as two triangles or one quad.
TEST(ModelFiles, ObjStlPlyAndColladaLoad) {
  testing::ScratchDir dir;
  auto facet = [](const char* v) {
    return "facet normal 0 0 1\nouter loop\nvertex 1 0 0\nvertex " + std::string(v) + "\nvertex 0 1 0\nendloop\nendfacet\n";
  };
  const std::pair<const char*, std::string> files[] = {
      {"t.obj", "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3 4\n"},
      {"t.stl", "solid t\n" + facet("1 1 0") + facet("0 0 0") + "endsolid t\n"},
      {"t.ply", "ply\nformat ascii 1.0\nelement vertex 4\nproperty float x\nproperty float y\nproperty float z\n"
                "element face 1\nproperty list uchar int vertex_indices\nend_header\n0 0 0\n1 0 0\n1 1 0\n0 1 0\n4 0 1 2 3\n"},
      {"t.dae", R"(<?xml version="1.0"?><COLLADA xmlns="http://www.collada.org/2005/11/COLLADASchema" version="1.4.1">)"
                R"(<library_geometries><geometry id="g"><mesh><source id="p"><float_array id="pa" count="12">0 0 0 1 0 0 1 1 0 0 1 0</float_array>)"
                R"(<technique_common><accessor source="#pa" count="4" stride="3"><param name="X" type="float"/><param name="Y" type="float"/>)"
                R"(<param name="Z" type="float"/></accessor></technique_common></source><vertices id="v"><input semantic="POSITION" source="#p"/></vertices>)"
                R"(<triangles count="2"><input semantic="VERTEX" source="#v" offset="0"/><p>0 1 2 0 2 3</p></triangles></mesh></geometry></library_geometries>)"
                R"(<library_visual_scenes><visual_scene id="s"><node><instance_geometry url="#g"/></node></visual_scene></library_visual_scenes>)"
                R"(<scene><instance_visual_scene url="#s"/></scene></COLLADA>)"},
  };
  for (const auto& [name, text] : files) {
    std::ofstream(dir / name) << text;
    EXPECT_EQ(Load(dir / name).triangles.size(), 2u) << name;
  }
}

}  // namespace
}  // namespace velkor::render
