// Rendering from a model against brute force: the rasterizer's coverage, which
// way the vehicle points in each frame, silhouettes that are exactly the rig's
// orthographic projection for any elevation, fill and model axes; then model
// files through the loader helper: glTF and GLB, textures the right way round,
// vertex colours, emissive and single-sided faces as written, the text formats.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <numbers>
#include <random>
#include <set>

#include "RenderTestSupport.h"
#include "render/AxisGuess.h"
#include "render/GltfWriter.h"
#include "render/ModelLoader.h"
#include "render/RenderOptions.h"
#include "support/TestFiles.h"

namespace velkor::render {
namespace {

using testing::kKey;
using testing::RenderFrame;
using testing::Triangle2;
constexpr int kCell = 24;

TEST(Rasterizer, CoverageMatchesTheSamplesInsideEachTriangle) {
  std::mt19937 random(7);
  std::uniform_real_distribution<float> coordinate(-4, 52);
  FrameView pixels;  // x right, y down, in pixels
  pixels.rows = {{{1, 0, 0}, {0, -1, 0}, {0, 0, 1}}};
  // Random triangles over the edges; then triangles smaller than a sample,
  // in either winding, each around one sample (at x + 0.375, 1.375); then
  // those single-sided, where only the ones facing the camera (even n) show.
  for (int pass = 0; pass < 3; ++pass) {
    const bool tiny = pass > 0;
    Scene s;
    const uint32_t m = AddMaterial(s, {0, 0, 0}, {1, 1, 1});
    s.materials[m].doubleSided = pass < 2;
    std::vector<Triangle2> triangles(tiny ? 6 : 12);
    for (size_t n = 0; n < triangles.size(); ++n) {
      const float x = 2 * n + 0.33f, a = n % 2 ? 0.12f : 0, b = n % 2 ? 0 : 0.12f;
      const Triangle2 dot = {{{x, 1.33}, {x + a + 0.02, 1.33 + b}, {x + b, 1.35 + a}}};
      for (int i = 0; i < 3; ++i) {
        Vertex v;
        v.position = {tiny ? float(dot[i][0]) : coordinate(random), tiny ? float(dot[i][1]) : coordinate(random), 0};
        triangles[n][i] = {v.position[0], v.position[1]};
        s.vertices.push_back(v);
      }
      s.triangles.push_back({{uint32_t(3 * n), uint32_t(3 * n + 1), uint32_t(3 * n + 2)}, m});
    }
    for (int n = pass == 2 ? 5 : -1; n > 0; n -= 2) triangles.erase(triangles.begin() + n);
    testing::ExpectCoverage(FrameRenderer().RenderRgb(s, pixels, 48, 40, kKey, 1), 48, 40, triangles, {255, 255, 255},
                            kKey, tiny ? 0 : 2);
  }
}

using testing::Find;

TEST(CameraRig, FrontUpInTopFrameZeroRightInFrameNineRearTowardTheCameraIn3D) {
  const Scene s = testing::TestVehicle();
  const auto top0 = Find(RenderFrame(s, SetView::Top2D, 0, 40), testing::kFront);
  const auto top9 = Find(RenderFrame(s, SetView::Top2D, 9, 40), testing::kFront);
  ASSERT_GT(top0[2], 20);
  EXPECT_TRUE(top0[1] < -5 && std::abs(top0[0]) < 2) << "front up at heading 0";
  EXPECT_TRUE(top9[0] > 5 && std::abs(top9[1]) < 2) << "front right at 90 degrees";
  const FrameImage oblique0 = RenderFrame(s, SetView::Oblique3D, 0, 40);
  const auto rear = Find(oblique0, testing::kRear), roofFront = Find(oblique0, testing::kFront);
  EXPECT_GT(rear[2], 40);
  EXPECT_GT(rear[1], roofFront[1]) << "the rear faces the camera, the front lies beyond";
  EXPECT_GT(Find(RenderFrame(s, SetView::Oblique3D, 9, 40), testing::kRight)[2], 40)
      << "heading east shows the right side";
  EXPECT_EQ(Find(RenderFrame(s, SetView::Oblique3D, 27, 40), testing::kRight)[2], 0);
}

// The rig written out independently: vehicle axes from glTF's, a clockwise
// turn, then the set's orthographic camera.
std::array<double, 2> Project(const Vertex& v, const std::array<double, 3>& c, double scale, const RigOptions& rig,
                              SetView view, int k) {
  const double right = -(v.position[0] - c[0]), up = v.position[1] - c[1], front = v.position[2] - c[2];
  const double h = k * 10 * std::numbers::pi / 180, e = rig.elevationDegrees * std::numbers::pi / 180;
  const double east = right * std::cos(h) + front * std::sin(h), north = -right * std::sin(h) + front * std::cos(h);
  const double screenUp = view == SetView::Top2D ? north : north * std::sin(e) + up * std::cos(e);
  return {kCell / 2.0 + scale * east, kCell / 2.0 - scale * screenUp};
}

TEST(CameraRig, SilhouetteIsTheOrthographicProjectionInEveryFrame) {
  Scene s = testing::TestVehicle();
  for (Material& m : s.materials) m.emissive = {100 / 255.0f, 20 / 255.0f, 45 / 255.0f};  // doubled by the boost
  std::array<double, 3> lo{1e9, 1e9, 1e9}, hi{-1e9, -1e9, -1e9}, c{};
  for (const Vertex& v : s.vertices)
    for (int i = 0; i < 3; ++i)
      lo[i] = std::min(lo[i], double{v.position[i]}), hi[i] = std::max(hi[i], double{v.position[i]});
  for (int i = 0; i < 3; ++i) c[i] = (lo[i] + hi[i]) / 2;
  double r = 0;
  for (const Vertex& v : s.vertices)
    r = std::max(r, std::hypot(v.position[0] - c[0], v.position[1] - c[1], v.position[2] - c[2]));
  for (const RigOptions& rig : {RigOptions{}, RigOptions{Axis::PosY, Axis::PosZ, 55, 0.6}}) {
    for (SetView view : {SetView::Top2D, SetView::Oblique3D}) {
      for (int k = 0; k < 36; k += rig.fill == 0.9 ? 1 : 5) {  // every frame with the defaults
        SCOPED_TRACE("elevation " + std::to_string(rig.elevationDegrees) + " frame " + std::to_string(k));
        std::vector<Triangle2> projected;
        for (const Triangle& t : s.triangles) {
          projected.emplace_back();
          for (int i = 0; i < 3; ++i)
            projected.back()[i] = Project(s.vertices[t.vertex[i]], c, rig.fill * kCell / 2 / r, rig, view, k);
        }
        testing::ExpectCoverage(RenderFrame(s, view, k, kCell, rig, 2).rgb, kCell, kCell, projected, {200, 40, 90},
                                kKey, 4);
      }
    }
  }
}

TEST(CameraRig, ModelAxesAndTheirRefusals) {
  // The vehicle turned so that its up and front lie along other axes: told
  // so, the rig shows it as before. Right (-x) goes to front x up.
  const Scene s = testing::Textured();
  for (auto [up, front] : {std::pair{Axis::PosZ, Axis::NegY},
                           {Axis::NegX, Axis::NegZ},
                           {Axis::NegY, Axis::PosX},
                           {Axis::PosX, Axis::PosY}}) {
    const Scene turned = testing::Turned(s, up, front);
    for (SetView view : {SetView::Top2D, SetView::Oblique3D})
      for (int k : {0, 7, 22})
        EXPECT_EQ(RenderFrame(s, view, k, 32).rgb, RenderFrame(turned, view, k, 32, {up, front}).rgb) << k;
  }
  const std::pair<const char*, std::optional<Axis>> names[] = {
      {"+Z", Axis::PosZ}, {"y", Axis::PosY},    {"-x", Axis::NegX},   {"-Y", Axis::NegY}, {"X", Axis::PosX},
      {"-z", Axis::NegZ}, {"up", std::nullopt}, {"z-", std::nullopt}, {"", std::nullopt}, {"+", std::nullopt}};
  for (const auto& [name, axis] : names) EXPECT_EQ(ParseAxis(name), axis) << name;
  ModelFrame frame;
  std::string error;
  EXPECT_FALSE(MakeModelFrame(s, {Axis::PosY, Axis::NegY}, frame, error));
  EXPECT_EQ(error, "the up and front axes must be perpendicular");
  EXPECT_FALSE(MakeModelFrame(Scene{{Vertex{}, Vertex{}, Vertex{}}, {}, {}, {}, {}, {}}, {}, frame, error));
  EXPECT_EQ(error, "the model has no extent");
}

// Models come in every convention. Unasked, the vehicle's length goes along
// the front (vertical in 2D frame 0, across in 3D frame 9) and it stands on
// an axis that is not its longest; a declared up is taken unless it is the
// longest extent, and a declared front gives the sign along the length.
TEST(AxisGuess, LengthAlongTheFrontInEveryConvention) {
  using enum Axis;
  const struct {
    Axis up, front;
    std::optional<Axis> declaredUp, declaredFront;
    Axis guessedUp, guessedFront;
  } cases[] = {{PosY, PosZ, {}, {}, PosY, PosZ},     {PosY, NegX, {}, {}, PosY, PosX},
               {PosZ, NegX, {}, {}, PosY, PosX},     {PosZ, PosY, {}, {}, PosZ, PosY},
               {PosZ, NegX, PosZ, NegX, PosZ, NegX}, {PosZ, NegY, PosZ, NegX, PosZ, PosY},
               {PosY, NegX, PosX, NegX, PosY, NegX}, {PosZ, PosX, PosZ, {}, PosZ, PosX}};
  for (const auto& c : cases) {
    SCOPED_TRACE(AxisName(c.up) + " up, " + AxisName(c.front) + " front");
    Scene s = testing::Turned(testing::TestVehicle(), c.up, c.front);
    s.declaredUp = c.declaredUp, s.declaredFront = c.declaredFront;
    const ModelAxes guess = ChooseAxes(s, std::nullopt, std::nullopt);
    EXPECT_EQ(std::pair(guess.up, guess.front), std::pair(c.guessedUp, c.guessedFront));
    const auto top = testing::Extent(RenderFrame(s, SetView::Top2D, 0, 32, {guess.up, guess.front}));
    const auto side = testing::Extent(RenderFrame(s, SetView::Oblique3D, 9, 32, {guess.up, guess.front}));
    EXPECT_TRUE(top[1] > top[0] && side[0] > side[1]) << top[0] << "x" << top[1] << ", " << side[0] << "x" << side[1];
  }
  const Scene s = testing::TestVehicle();
  EXPECT_EQ(ChooseAxes(s, Axis::NegZ, std::nullopt).front, PosX) << "given up: the longer of the others";
  EXPECT_EQ(ChooseAxes(s, std::nullopt, Axis::PosY).up, PosX) << "given front: up is never the longest";
  for (const Point size : {Point{0.5f, 1, 1}, Point{1, 0.5f, 1}}) {  // ties: Y is not the longest, Z before X
    Scene box;
    AddBox(box, {0, 0, 0}, size, AddMaterial(box, {1, 1, 1}));
    EXPECT_EQ(DescribeAxes(ChooseAxes(box, std::nullopt, std::nullopt)), "up +y, front +z (guessed)");
  }
  EXPECT_EQ(DescribeAxes(ChooseAxes(s, std::nullopt, std::nullopt)), "up +y, front +z (guessed)");
  EXPECT_EQ(DescribeAxes(ChooseAxes(s, Axis::PosX, std::nullopt)), "up +x, front +z (front guessed)");
  EXPECT_EQ(DescribeAxes(ChooseAxes(s, std::nullopt, Axis::NegX)), "up +y, front -x (up guessed)");
  EXPECT_EQ(DescribeAxes(ChooseAxes(s, Axis::NegY, Axis::PosX)), "up -y, front +x");
}

// "Turn front 90°" turns the vehicle clockwise in the top view (a glTF
// vehicle's left, +X, comes to the front) through the four directions
// across its up; "Flip up" goes through all six.
TEST(AxisGuess, TurnsComeBackAfterFourFlipsAfterSix) {
  EXPECT_TRUE(TurnedFront(Axis::PosY, Axis::PosZ) == Axis::PosX && TurnedFront(Axis::NegY, Axis::PosZ) == Axis::NegX);
  for (Axis up : kAllAxes) {
    std::set<Axis> fronts;
    Axis front = up == Axis::PosX || up == Axis::NegX ? Axis::PosY : Axis::PosX;
    for (int turn = 0; turn < 4; ++turn) fronts.insert(front = TurnedFront(up, front));
    EXPECT_TRUE(fronts.size() == 4 && !fronts.count(up) && fronts.count(front)) << AxisName(up);
  }
  std::set<Axis> ups;
  Axis up = Axis::PosY;
  for (int flip = 0; flip < 6; ++flip) ups.insert(up = NextUp(up));
  EXPECT_TRUE(ups.size() == 6 && up == Axis::PosY && NextUp(Axis::PosY) == Axis::PosZ);
}

// What the dialog's red line and the command line's usage error say; the
// first problem counts.
TEST(RenderOptions, EachProblemIsNamed) {
  const std::pair<void (*)(RenderOptions&), std::string> cases[] = {
      {[](RenderOptions&) {}, ""},
      {[](RenderOptions& o) { o.outDir = "frames"; }, "the folder for the frames must be a full path: frames"},
      {[](RenderOptions& o) { o.prefix = "a..b"; },
       R"(the prefix must be part of a file name, without "/", "\" or "..": a..b)"},
      {[](RenderOptions& o) { o.prefix = "a\\b"; },
       R"(the prefix must be part of a file name, without "/", "\" or "..": a\b)"},
      {[](RenderOptions& o) { o.numbers = "1-35"; }, "not a numbering scheme: 1-35"},
      {[](RenderOptions& o) { o.numbers = " 1-36 "; }, ""},
      {[](RenderOptions& o) { o.version = nullptr; }, "no SRF version is chosen"},
      {[](RenderOptions& o) { o.version = nullptr, o.animated = true; }, ""},
      {[](RenderOptions& o) { o.up = Axis::NegX, o.front = Axis::PosX; },
       "the up and front axes must be perpendicular"},
      {[](RenderOptions& o) { o.elevation = 90.5; }, "the elevation must be 0 to 90 degrees"},
      {[](RenderOptions& o) { o.fill = 0.04; }, "the fill must be 0.05 to 1"},
      {[](RenderOptions& o) { o.model.clear(), o.outDir.clear(); }, "no model file is chosen"}};
  for (const auto& [change, problem] : cases) {
    RenderOptions o;
    o.model = "m.glb", o.outDir = "/frames";
    change(o);
    EXPECT_EQ(RenderOptionsProblem(o), problem);
  }
}

Scene Load(const std::string& path) {
  Scene s;
  std::string error;
  EXPECT_TRUE(LoadModel(path, s, error)) << error;
  return s;
}

// Written as GLB, loaded back and seen from above at heading 0.
std::vector<uint8_t> ThroughGlb(const Scene& s, int cell, testing::Rgb key) {
  testing::ScratchDir dir;
  std::string error;
  EXPECT_TRUE(WriteGlb(s, dir / "m.glb", error)) << error;
  return RenderFrame(Load(dir / "m.glb"), SetView::Top2D, 0, cell, {}, 1, key).rgb;
}

TEST(ModelFiles, GltfAndGlbGiveTheFramesOfTheSceneWritten) {
  testing::ScratchDir dir;
  const Scene s = testing::TestVehicle();
  std::string error;
  ASSERT_TRUE(WriteGltf(s, dir / "v.gltf", error)) << error;
  ASSERT_TRUE(WriteGlb(s, dir / "v.glb", error)) << error;
  const Scene gltf = Load(dir / "v.gltf"), glb = Load(dir / "v.glb");
  EXPECT_TRUE(gltf.declaredUp == Axis::PosY && glb.declaredUp == Axis::PosY && !glb.declaredFront);
  for (SetView view : {SetView::Top2D, SetView::Oblique3D}) {
    for (int k = 0; k < 36; k += 5) {
      const std::vector<uint8_t> want = RenderFrame(s, view, k, 24).rgb;
      EXPECT_EQ(RenderFrame(gltf, view, k, 24).rgb, want) << k;
      EXPECT_EQ(RenderFrame(glb, view, k, 24).rgb, want) << k;
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

// The text formats, each a unit square written as two triangles or one quad,
// with the axes they declare: FBX its axis settings, COLLADA +Y once the
// importer has turned it (glTF's +Y is checked with GLB above).
TEST(ModelFiles, ObjStlPlyColladaAndFbxLoadWithTheAxesTheyDeclare) {
  testing::ScratchDir dir;
  auto facet = [](const char* v) {
    return "facet normal 0 0 1\nouter loop\nvertex 1 0 0\nvertex " + std::string(v) +
           "\nvertex 0 1 0\nendloop\nendfacet\n";
  };
  const std::string fbxAxes = R"(GlobalSettings: { Properties70: { P: "UpAxis", "int", "Integer", "",2
    P: "UpAxisSign", "int", "Integer", "",1 P: "FrontAxis", "int", "Integer", "",0 P: "FrontAxisSign", "int", "Integer", "",-1 } })";
  using Declared = std::pair<std::optional<Axis>, std::optional<Axis>>;
  const std::tuple<const char*, std::string, Declared> files[] = {
      {"t.obj", "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3 4\n", {}},
      {"t.stl", "solid t\n" + facet("1 1 0") + facet("0 0 0") + "endsolid t\n", {}},
      {"t.ply",
       "ply\nformat ascii 1.0\nelement vertex 4\nproperty float x\nproperty float y\nproperty float z\n"
       "element face 1\nproperty list uchar int vertex_indices\nend_header\n0 0 0\n1 0 0\n1 1 0\n0 1 0\n4 0 1 2 3\n",
       {}},
      {"t.dae",
       R"(<?xml version="1.0"?><COLLADA xmlns="http://www.collada.org/2005/11/COLLADASchema" version="1.4.1">)"
       R"(<asset><up_axis>Z_UP</up_axis></asset>)"
       R"(<library_geometries><geometry id="g"><mesh><source id="p"><float_array id="pa" count="12">0 0 0 1 0 0 1 1 0 0 1 0</float_array>)"
       R"(<technique_common><accessor source="#pa" count="4" stride="3"><param name="X" type="float"/><param name="Y" type="float"/>)"
       R"(<param name="Z" type="float"/></accessor></technique_common></source><vertices id="v"><input semantic="POSITION" source="#p"/></vertices>)"
       R"(<triangles count="2"><input semantic="VERTEX" source="#v" offset="0"/><p>0 1 2 0 2 3</p></triangles></mesh></geometry></library_geometries>)"
       R"(<library_visual_scenes><visual_scene id="s"><node><instance_geometry url="#g"/></node></visual_scene></library_visual_scenes>)"
       R"(<scene><instance_visual_scene url="#s"/></scene></COLLADA>)",
       {Axis::PosY, {}}},
      {"t.fbx",
       "; FBX 7.4.0 project file\nFBXHeaderExtension: { FBXHeaderVersion: 1003 FBXVersion: 7400 }\n" + fbxAxes +
           R"(Objects: { Geometry: 1, "Geometry::", "Mesh" { Vertices: *12 { a: 0,0,0,1,0,0,1,1,0,0,1,0 })"
           R"( PolygonVertexIndex: *4 { a: 0,1,2,-4 } } Model: 2, "Model::m", "Mesh" { } })"
           R"( Connections: { C: "OO",1,2 C: "OO",2,0 })",
       {Axis::PosZ, Axis::NegX}},
  };
  for (const auto& [name, text, declared] : files) {
    std::ofstream(dir / name) << text;
    const Scene s = Load(dir / name);
    EXPECT_EQ(s.triangles.size(), 2u) << name;
    EXPECT_EQ(Declared(s.declaredUp, s.declaredFront), declared) << name;
  }
}

}  // namespace
}  // namespace velkor::render
