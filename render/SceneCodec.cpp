#include "render/SceneCodec.h"

#include <cmath>
#include <cstring>
#include <iterator>

#include "render/SceneLimits.h"

namespace velkor::render {

namespace {

constexpr char kMagic[4] = {'V', 'K', 'S', 'C'};
constexpr uint32_t kVersion = 2;
constexpr uint32_t kNoAxis = 0xFFFFFFFF;
constexpr uint32_t kSingleSided = 1;

class Writer {
 public:
  void Bytes(const void* p, size_t n) {
    const auto* b = static_cast<const uint8_t*>(p);
    out.insert(out.end(), b, b + n);
  }
  void U32(uint32_t v) { Bytes(&v, 4); }
  template <size_t N>
  void Floats(const std::array<float, N>& a) {
    Bytes(a.data(), 4 * N);
  }
  std::vector<uint8_t> out;
};

// Reads from a bounded buffer; any read past its end fails the whole decode.
class Reader {
 public:
  Reader(const uint8_t* data, size_t size) : p_(data), left_(size) {}
  bool Bytes(void* dst, size_t n) {
    if (n > left_) return false;
    if (n > 0) std::memcpy(dst, p_, n);
    p_ += n;
    left_ -= n;
    return true;
  }
  bool U32(uint32_t& v) { return Bytes(&v, 4); }
  template <size_t N>
  bool Floats(std::array<float, N>& a) {
    if (!Bytes(a.data(), 4 * N)) return false;
    for (float f : a) {
      if (!std::isfinite(f)) return (nonFinite = true, false);
    }
    return true;
  }
  size_t Left() const { return left_; }
  bool nonFinite = false;

 private:
  const uint8_t* p_;
  size_t left_;
};

struct Counts {
  uint32_t vertices = 0, triangles = 0, materials = 0, textures = 0;
};

bool ReadHeader(Reader& r, Counts& c, std::string& error) {
  char magic[4];
  uint32_t version = 0;
  if (!r.Bytes(magic, 4) || std::memcmp(magic, kMagic, 4) != 0 || !r.U32(version) || version != kVersion) {
    error = "the model loader's output is not a scene";
    return false;
  }
  if (!r.U32(c.vertices) || !r.U32(c.triangles) || !r.U32(c.materials) || !r.U32(c.textures)) {
    error = "the scene is truncated";
    return false;
  }
  if (c.triangles == 0) return (error = "the model has no triangles", false);
  if (c.triangles > kMaxTriangles) {
    error = "the model has " + std::to_string(c.triangles) + " triangles, more than the limit of " +
            std::to_string(kMaxTriangles);
    return false;
  }
  if (c.vertices > kMaxVertices || c.materials == 0 || c.materials > kMaxMaterials || c.textures > kMaxTextures) {
    error = "the model's vertex, material or texture count is out of range";
    return false;
  }
  // Every record has a fixed size: refuse counts the bytes cannot hold before allocating.
  const uint64_t fixed = uint64_t{c.vertices} * 48 + uint64_t{c.triangles} * 16 + uint64_t{c.materials} * 36 +
                         uint64_t{c.textures} * 8 + 8;
  if (fixed > r.Left()) return (error = "the scene is truncated", false);
  return true;
}

bool ReadTexture(Reader& r, Texture& t, uint64_t& totalPixels, std::string& error) {
  if (!r.U32(t.width) || !r.U32(t.height)) return (error = "the scene is truncated", false);
  const uint64_t pixels = uint64_t{t.width} * t.height;
  if (pixels == 0 || pixels > kMaxTexturePixels) {
    error = "a texture of " + std::to_string(t.width) + "x" + std::to_string(t.height) +
            " pixels is empty or larger than the limit of " + std::to_string(kMaxTexturePixels) + " pixels";
    return false;
  }
  totalPixels += pixels;
  if (totalPixels > kMaxTotalTexturePixels) {
    error = "the textures together exceed the limit of " + std::to_string(kMaxTotalTexturePixels) + " pixels";
    return false;
  }
  if (pixels * 4 > r.Left()) return (error = "the scene is truncated", false);
  t.rgba.resize(pixels * 4);
  return r.Bytes(t.rgba.data(), t.rgba.size());
}

bool ReadBody(Reader& r, const Counts& c, Scene& s, std::string& error) {
  s.vertices.resize(c.vertices);
  for (Vertex& v : s.vertices) {
    if (!r.Floats(v.position) || !r.Floats(v.normal) || !r.Floats(v.colour) || !r.Floats(v.uv)) break;
  }
  if (r.nonFinite) return (error = "the model has coordinates that are not finite numbers", false);
  s.triangles.resize(c.triangles);
  for (Triangle& t : s.triangles) {
    for (uint32_t& i : t.vertex) r.U32(i);
    r.U32(t.material);
    if (t.vertex[0] >= c.vertices || t.vertex[1] >= c.vertices || t.vertex[2] >= c.vertices ||
        t.material >= c.materials) {
      return (error = "the model has a triangle whose vertex or material index is out of range", false);
    }
  }
  s.materials.resize(c.materials);
  for (Material& m : s.materials) {
    std::array<float, 1> texture{};
    r.Floats(m.baseColour);
    r.Floats(m.emissive);
    r.Bytes(texture.data(), 4);
    std::memcpy(&m.texture, texture.data(), 4);
    uint32_t flags = 0;
    r.U32(flags);
    if (flags & ~kSingleSided) return (error = "a material has unknown flags", false);
    m.doubleSided = !(flags & kSingleSided);
    if (m.texture < -1 || m.texture >= static_cast<int64_t>(c.textures)) {
      return (error = "a material refers to a texture that does not exist", false);
    }
  }
  if (r.nonFinite) return (error = "the model has material colours that are not finite numbers", false);
  s.textures.resize(c.textures);
  uint64_t totalPixels = 0;
  for (Texture& t : s.textures) {
    if (!ReadTexture(r, t, totalPixels, error)) return false;
  }
  for (std::optional<Axis>* declared : {&s.declaredUp, &s.declaredFront}) {
    uint32_t axis = kNoAxis;
    if (!r.U32(axis)) return (error = "the scene is truncated", false);
    if (axis != kNoAxis && axis >= std::size(kAllAxes)) return (error = "the model declares an unknown axis", false);
    if (axis != kNoAxis) *declared = static_cast<Axis>(axis);
  }
  if (r.Left() != 0) return (error = "the scene has bytes beyond its end", false);
  return true;
}

}  // namespace

std::vector<uint8_t> EncodeScene(const Scene& s) {
  Writer w;
  w.Bytes(kMagic, 4);
  w.U32(kVersion);
  w.U32(static_cast<uint32_t>(s.vertices.size()));
  w.U32(static_cast<uint32_t>(s.triangles.size()));
  w.U32(static_cast<uint32_t>(s.materials.size()));
  w.U32(static_cast<uint32_t>(s.textures.size()));
  for (const Vertex& v : s.vertices) {
    w.Floats(v.position);
    w.Floats(v.normal);
    w.Floats(v.colour);
    w.Floats(v.uv);
  }
  for (const Triangle& t : s.triangles) {
    for (uint32_t i : t.vertex) w.U32(i);
    w.U32(t.material);
  }
  for (const Material& m : s.materials) {
    w.Floats(m.baseColour);
    w.Floats(m.emissive);
    w.Bytes(&m.texture, 4);
    w.U32(m.doubleSided ? 0 : kSingleSided);
  }
  for (const Texture& t : s.textures) {
    w.U32(t.width);
    w.U32(t.height);
    w.Bytes(t.rgba.data(), t.rgba.size());
  }
  for (const std::optional<Axis>& declared : {s.declaredUp, s.declaredFront}) {
    w.U32(declared ? static_cast<uint32_t>(*declared) : kNoAxis);
  }
  return std::move(w.out);
}

bool DecodeScene(const uint8_t* data, size_t size, Scene& scene, std::string& error) {
  Reader r(data, size);
  Counts counts;
  scene = Scene{};
  return ReadHeader(r, counts, error) && ReadBody(r, counts, scene, error);
}

}  // namespace velkor::render
