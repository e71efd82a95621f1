// Model files through the loader helper: the same vehicle as glTF, GLB and a
// Z-up OBJ renders the same frames; textures arrive the right way round.
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

constexpr int kCell = 24;

std::vector<FrameImage> AllFrames(const std::string& path, const RigOptions& rig) {
  Scene s;
  std::string error;
  EXPECT_TRUE(LoadModel(path, s, error)) << error;
  ModelFrame model;
  EXPECT_TRUE(MakeModelFrame(s, rig, model, error)) << error;
  std::vector<FrameImage> frames;
  FrameRenderer renderer;
  for (SetView view : {SetView::Top2D, SetView::Oblique3D})
    for (int k = 0; k < 36; ++k)
      frames.push_back(renderer.Render(s, ViewForFrame(model, rig, view, kCell, k), kCell, {0, 255, 0}, 1));
  return frames;
}

// The vehicle turned Z-up (x, y, z) -> (x, -z, y): up is +z, front -y.
void WriteZUpObj(const Scene& s, const std::string& path) {
  std::ofstream mtl(path + ".mtl"), obj(path);
  for (size_t m = 0; m < s.materials.size(); ++m) {
    const auto& e = s.materials[m].emissive;
    mtl << "newmtl m" << m << "\nKd 0 0 0\nKe " << e[0] << ' ' << e[1] << ' ' << e[2] << '\n';
  }
  obj.precision(9);
  obj << "mtllib " << std::filesystem::path(path).filename().string() << ".mtl\n";
  for (const Vertex& v : s.vertices) obj << "v " << v.position[0] << ' ' << -v.position[2] << ' ' << v.position[1] << '\n';
  for (const Triangle& t : s.triangles)
    obj << "usemtl m" << t.material << "\nf " << t.vertex[0] + 1 << ' ' << t.vertex[1] + 1 << ' ' << t.vertex[2] + 1 << '\n';
}

TEST(ModelFiles, GltfGlbAndZUpObjGiveTheSameFrames) {
  testing::ScratchDir dir;
  const Scene s = testing::TestVehicle();
  std::string error;
  ASSERT_TRUE(WriteGltf(s, dir / "v.gltf", error)) << error;
  ASSERT_TRUE(WriteGlb(s, dir / "v.glb", error)) << error;
  WriteZUpObj(s, dir / "v.obj");
  const std::vector<FrameImage> gltf = AllFrames(dir / "v.gltf", {});
  const std::vector<FrameImage> glb = AllFrames(dir / "v.glb", {});
  const std::vector<FrameImage> obj = AllFrames(dir / "v.obj", {Axis::PosZ, Axis::NegY});
  ASSERT_EQ(gltf.size(), 72u);
  for (size_t i = 0; i < gltf.size(); ++i) {
    EXPECT_EQ(gltf[i].rgb, glb[i].rgb) << "frame " << i;
    EXPECT_EQ(gltf[i].rgb, obj[i].rgb) << "frame " << i;
  }
}

// A square facing up, textured with 2x2 texels: red, green over blue, white.
// Seen from above at heading 0 the texture's top row is at the front (up the
// picture) and its left column on the vehicle's left (left of the picture).
TEST(ModelFiles, EmbeddedTextureIsSampledUpright) {
  Scene s;
  const uint32_t m = AddMaterial(s, {1, 1, 1});
  s.materials[m].texture = 0;
  s.textures.push_back({2, 2, {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 255}});
  AddFace(s, {{1, 0, 1}, {-1, 0, 1}, {-1, 0, -1}, {1, 0, -1}}, m);
  const std::array<std::array<float, 2>, 4> uv = {{{0, 1}, {1, 1}, {1, 0}, {0, 0}}};
  for (int i = 0; i < 4; ++i) s.vertices[i].uv = uv[i];
  testing::ScratchDir dir;
  std::string error;
  ASSERT_TRUE(WriteGlb(s, dir / "t.glb", error)) << error;
  Scene loaded;
  ASSERT_TRUE(LoadModel(dir / "t.glb", loaded, error)) << error;
  ModelFrame model;
  ASSERT_TRUE(MakeModelFrame(loaded, {}, model, error));
  const FrameImage f = FrameRenderer().Render(loaded, ViewForFrame(model, {}, SetView::Top2D, 40, 0), 40, {0, 0, 0}, 1);
  auto at = [&f](int x, int y) { return std::array<int, 3>{f.rgb[(y * 40 + x) * 3], f.rgb[(y * 40 + x) * 3 + 1], f.rgb[(y * 40 + x) * 3 + 2]}; };
  const auto red = at(12, 12), green = at(27, 12), blue = at(12, 27), white = at(27, 27);
  EXPECT_GT(red[0], 2 * std::max(red[1], red[2]) + 20);
  EXPECT_GT(green[1], 2 * std::max(green[0], green[2]) + 20);
  EXPECT_GT(blue[2], 2 * std::max(blue[0], blue[1]) + 20);
  EXPECT_GT(std::min({white[0], white[1], white[2]}), 150);
}

// Vertex colours tint the base colour; emissive adds to it.
TEST(ModelFiles, VertexColoursAndEmissiveSurviveTheRoundTrip) {
  Scene s;
  const uint32_t m = AddMaterial(s, {1, 1, 1}, {0, 0, 0.5f});
  AddFace(s, {{1, 0, 1}, {-1, 0, 1}, {-1, 0, -1}, {1, 0, -1}}, m);
  for (Vertex& v : s.vertices) v.colour = {1, 0, 0, 1};
  testing::ScratchDir dir;
  std::string error;
  ASSERT_TRUE(WriteGlb(s, dir / "c.glb", error)) << error;
  Scene loaded;
  ASSERT_TRUE(LoadModel(dir / "c.glb", loaded, error)) << error;
  ModelFrame model;
  ASSERT_TRUE(MakeModelFrame(loaded, {}, model, error));
  const FrameImage f = FrameRenderer().Render(loaded, ViewForFrame(model, {}, SetView::Top2D, 8, 0), 8, {0, 255, 0}, 1);
  const uint8_t* centre = &f.rgb[(4 * 8 + 4) * 3];
  EXPECT_GT(centre[0], 150);
  EXPECT_EQ(centre[1], 0);
  EXPECT_EQ(centre[2], 128);
}

// Formats written here as text: each arrives as its two triangles.
TEST(ModelFiles, StlPlyAndColladaLoad) {
  testing::ScratchDir dir;
  const struct {
    const char* name;
    const char* text;
  } files[] = {
      {"t.stl", "solid t\nfacet normal 0 0 1\nouter loop\nvertex 0 0 0\nvertex 1 0 0\nvertex 0 1 0\nendloop\nendfacet\n"
                "facet normal 0 0 1\nouter loop\nvertex 1 0 0\nvertex 1 1 0\nvertex 0 1 0\nendloop\nendfacet\nendsolid t\n"},
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
  for (const auto& f : files) {
    std::ofstream(dir / f.name) << f.text;
    Scene s;
    std::string error;
    EXPECT_TRUE(LoadModel(dir / f.name, s, error)) << error;
    EXPECT_EQ(s.triangles.size(), 2u) << f.name;
  }
}

// A square facing the ground: seen from above only when it is double-sided.
TEST(ModelFiles, SingleSidedFacesAreSeenFromTheirFrontOnly) {
  testing::ScratchDir dir;
  for (bool doubleSided : {false, true}) {
    Scene s;
    const uint32_t m = testing::Flat(s, testing::kFront);
    s.materials[m].doubleSided = doubleSided;
    AddFace(s, {{-1, 0, -1}, {1, 0, -1}, {1, 0, 1}, {-1, 0, 1}}, m);
    std::string error;
    ASSERT_TRUE(WriteGlb(s, dir / "q.glb", error)) << error;
    Scene loaded;
    ASSERT_TRUE(LoadModel(dir / "q.glb", loaded, error)) << error;
    ModelFrame model;
    ASSERT_TRUE(MakeModelFrame(loaded, {}, model, error));
    const FrameImage f = FrameRenderer().Render(loaded, ViewForFrame(model, {}, SetView::Top2D, 8, 0), 8, {0, 0, 0}, 1);
    EXPECT_EQ(f.rgb[(4 * 8 + 4) * 3], doubleSided ? 255 : 0) << doubleSided;
  }
}

}  // namespace
}  // namespace velkor::render
