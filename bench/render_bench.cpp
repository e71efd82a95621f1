// Rendering a 100,000-triangle model into both 2.20 frame sets (72 frames,
// 400- and 350-pixel cells) with velkor-cli render, whole process: model
// loading in the helper, rasterizing on both cores, BMP writing. And the
// render dialog's preview.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "BenchSupport.h"
#include "render/GltfWriter.h"
#include "render/MeshBuilder.h"
#include "render/ModelLoader.h"
#include "render/PreviewFrames.h"
#include "sample/SampleCar.h"

namespace velkor::bench {

namespace {

// A smooth car-sized ellipsoid of rings × segments × 2 triangles, wound
// counter-clockwise seen from outside and single-sided, as glTF models are.
render::Scene Ellipsoid(int rings, int segments, bool doubleSided) {
  render::Scene s;
  render::AddMaterial(s, {0.2f, 0.4f, 0.8f});
  s.materials[0].doubleSided = doubleSided;
  const float radii[3] = {0.9f, 0.7f, 2.25f};
  for (int r = 0; r <= rings; ++r) {
    const double theta = std::numbers::pi * r / rings;
    for (int g = 0; g <= segments; ++g) {
      const double phi = 2 * std::numbers::pi * g / segments;
      const double n[3] = {std::sin(theta) * std::cos(phi), std::cos(theta), std::sin(theta) * std::sin(phi)};
      render::Vertex v;
      for (int i = 0; i < 3; ++i) {
        v.position[i] = static_cast<float>(radii[i] * n[i]);
        v.normal[i] = static_cast<float>(n[i]);
      }
      s.vertices.push_back(v);
    }
  }
  const auto at = [segments](int r, int g) { return static_cast<uint32_t>(r * (segments + 1) + g); };
  for (int r = 0; r < rings; ++r) {
    for (int g = 0; g < segments; ++g) {
      s.triangles.push_back({{at(r, g), at(r + 1, g + 1), at(r + 1, g)}, 0});
      s.triangles.push_back({{at(r, g), at(r, g + 1), at(r + 1, g + 1)}, 0});
    }
  }
  return s;
}

const std::string& Model100k() {
  static const std::string path = [] {
    const std::string p = OutputPath("model-100k.glb");
    std::string error;
    if (!render::WriteGlb(Ellipsoid(250, 200, false), p, error) ||
        !render::WriteGlb(Ellipsoid(250, 200, true), OutputPath("model-100k-double-sided.glb"), error)) {
      std::fprintf(stderr, "%s\n", error.c_str());
    }
    return p;
  }();
  return path;
}

void BM_RenderModel100kTriangles(benchmark::State& state) {
  const std::string command = JoinPath(platform::ProgramFolder(), "velkor-cli") + " render " + Model100k() + " " +
                              OutputPath("render-100k") + " --force >/dev/null 2>&1";
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    if (std::system(command.c_str()) != 0) state.SkipWithError("velkor-cli render failed");
    state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
}
BENCHMARK(BM_RenderModel100kTriangles)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

// The render dialog's preview after each change: its three frames at its
// size, of the sample car (arg 0, built in code) or of the 100,000-triangle
// model (arg 1, loaded once through the loader helper).
void BM_PreviewFrames(benchmark::State& state) {
  static const render::Scene car = sample::BuildSampleCar();
  static const render::Scene model100k = [] {
    render::Scene s;
    std::string error;
    if (!render::LoadModel(Model100k(), s, error)) std::fprintf(stderr, "%s\n", error.c_str());
    return s;
  }();
  const render::Scene& scene = state.range(0) ? model100k : car;
  render::PreviewImages images;
  std::string error;
  for (auto _ : state) {
    if (!render::RenderPreview(scene, {}, render::kPreviewSize, 0x00FF00, images, error))
      state.SkipWithError("no preview");
  }
  state.counters["triangles"] = static_cast<double>(scene.triangles.size());
}
BENCHMARK(BM_PreviewFrames)->Arg(0)->Arg(1)->ArgName("model")->Unit(benchmark::kMillisecond);

}  // namespace

}  // namespace velkor::bench
