#include "render/GltfWriter.h"

#include <FreeImage.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <map>
#include <sstream>

#include "platform/Files.h"
#include "platform/FreeImageBitmap.h"

namespace velkor::render {

namespace {

constexpr int kFloat = 5126, kUnsignedInt = 5125;
constexpr int kArrayBuffer = 34962, kElementArrayBuffer = 34963;

std::string Num(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.9g", v);
  return text;
}

// PNG bytes of a texture, through FreeImage (rows bottom-up there).
std::vector<uint8_t> PngBytes(const Texture& t) {
  const platform::FreeImageBitmap owner(FreeImage_Allocate(static_cast<int>(t.width), static_cast<int>(t.height), 32));
  FIBITMAP* bmp = owner.get();
  if (!bmp) return {};
  for (uint32_t y = 0; y < t.height; ++y) {
    BYTE* row = FreeImage_GetScanLine(bmp, static_cast<int>(t.height - 1 - y));
    for (uint32_t x = 0; x < t.width; ++x) {
      const uint8_t* p = &t.rgba[(size_t{y} * t.width + x) * 4];
      row[4 * x + FI_RGBA_RED] = p[0];
      row[4 * x + FI_RGBA_GREEN] = p[1];
      row[4 * x + FI_RGBA_BLUE] = p[2];
      row[4 * x + FI_RGBA_ALPHA] = p[3];
    }
  }
  return platform::EncodeImage(FIF_PNG, bmp, PNG_DEFAULT);
}

class Builder {
 public:
  explicit Builder(const Scene& s) : s_(s) {}

  // The JSON with the buffer's uri (empty for .glb), and the buffer.
  std::string Json(const std::string& uri) {
    Attributes();
    std::map<uint32_t, std::vector<uint32_t>> byMaterial;
    for (const Triangle& t : s_.triangles)
      byMaterial[t.material].insert(byMaterial[t.material].end(), t.vertex.begin(), t.vertex.end());
    std::string primitives;
    for (const auto& [material, indices] : byMaterial) {
      const int accessor = Accessor(View(indices.data(), indices.size() * 4, kElementArrayBuffer), kUnsignedInt,
                                    indices.size(), "SCALAR", "");
      primitives += std::string(primitives.empty() ? "" : ",") +
                    "{\"attributes\":{\"POSITION\":0,\"NORMAL\":1,"
                    "\"COLOR_0\":2,\"TEXCOORD_0\":3},\"indices\":" +
                    std::to_string(accessor) + ",\"material\":" + std::to_string(material) + "}";
    }
    std::string images, textures;
    for (size_t i = 0; i < s_.textures.size(); ++i) {
      const std::vector<uint8_t> png = PngBytes(s_.textures[i]);
      const int view = View(png.data(), png.size(), 0);
      images += std::string(i ? "," : "") + "{\"bufferView\":" + std::to_string(view) + ",\"mimeType\":\"image/png\"}";
      textures += std::string(i ? "," : "") + "{\"source\":" + std::to_string(i) + "}";
    }
    std::ostringstream j;
    j << "{\"asset\":{\"version\":\"2.0\",\"generator\":\"Velkor\"},\"scene\":0,\"scenes\":[{\"nodes\":[0]}],"
      << "\"nodes\":[{\"mesh\":0}],\"meshes\":[{\"primitives\":[" << primitives << "]}],"
      << "\"materials\":[" << Materials() << "],"
      << "\"buffers\":[{\"byteLength\":" << bin.size() << (uri.empty() ? "" : ",\"uri\":\"" + uri + "\"") << "}],"
      << "\"bufferViews\":[" << views_ << "],\"accessors\":[" << accessors_ << "]";
    if (!images.empty()) j << ",\"images\":[" << images << "],\"textures\":[" << textures << "]";
    j << "}";
    return j.str();
  }

  std::vector<uint8_t> bin;

 private:
  void Attributes() {
    std::vector<float> pos, nrm, col, uv;
    float lo[3] = {std::numeric_limits<float>::max(), std::numeric_limits<float>::max(),
                   std::numeric_limits<float>::max()};
    float hi[3] = {-lo[0], -lo[0], -lo[0]};
    for (const Vertex& v : s_.vertices) {
      for (int i = 0; i < 3; ++i) {
        lo[i] = std::min(lo[i], v.position[i]);
        hi[i] = std::max(hi[i], v.position[i]);
      }
      pos.insert(pos.end(), v.position.begin(), v.position.end());
      nrm.insert(nrm.end(), v.normal.begin(), v.normal.end());
      col.insert(col.end(), v.colour.begin(), v.colour.end());
      uv.push_back(v.uv[0]);
      uv.push_back(1.0f - v.uv[1]);  // glTF counts v down from the top row
    }
    const size_t n = s_.vertices.size();
    const std::string bounds = ",\"min\":[" + Num(lo[0]) + "," + Num(lo[1]) + "," + Num(lo[2]) + "],\"max\":[" +
                               Num(hi[0]) + "," + Num(hi[1]) + "," + Num(hi[2]) + "]";
    Accessor(View(pos.data(), pos.size() * 4, kArrayBuffer), kFloat, n, "VEC3", bounds);
    Accessor(View(nrm.data(), nrm.size() * 4, kArrayBuffer), kFloat, n, "VEC3", "");
    Accessor(View(col.data(), col.size() * 4, kArrayBuffer), kFloat, n, "VEC4", "");
    Accessor(View(uv.data(), uv.size() * 4, kArrayBuffer), kFloat, n, "VEC2", "");
  }

  std::string Materials() const {
    std::string out;
    for (const Material& m : s_.materials) {
      out += std::string(out.empty() ? "" : ",") + "{\"pbrMetallicRoughness\":{\"baseColorFactor\":[" +
             Num(m.baseColour[0]) + "," + Num(m.baseColour[1]) + "," + Num(m.baseColour[2]) + "," +
             Num(m.baseColour[3]) + "],\"metallicFactor\":0" +
             (m.texture >= 0 ? ",\"baseColorTexture\":{\"index\":" + std::to_string(m.texture) + "}" : "") +
             "},\"doubleSided\":" + (m.doubleSided ? "true" : "false") + ",\"emissiveFactor\":[" + Num(m.emissive[0]) +
             "," + Num(m.emissive[1]) + "," + Num(m.emissive[2]) + "]}";
    }
    return out;
  }

  int View(const void* data, size_t size, int target) {
    while (bin.size() % 4) bin.push_back(0);
    const size_t offset = bin.size();
    const auto* b = static_cast<const uint8_t*>(data);
    bin.insert(bin.end(), b, b + size);
    views_ += std::string(views_.empty() ? "" : ",") + "{\"buffer\":0,\"byteOffset\":" + std::to_string(offset) +
              ",\"byteLength\":" + std::to_string(size) + (target ? ",\"target\":" + std::to_string(target) : "") + "}";
    return viewCount_++;
  }

  int Accessor(int view, int type, size_t count, const char* shape, const std::string& extra) {
    accessors_ += std::string(accessors_.empty() ? "" : ",") + "{\"bufferView\":" + std::to_string(view) +
                  ",\"componentType\":" + std::to_string(type) + ",\"count\":" + std::to_string(count) +
                  ",\"type\":\"" + shape + "\"" + extra + "}";
    return accessorCount_++;
  }

  const Scene& s_;
  std::string views_, accessors_;
  int viewCount_ = 0, accessorCount_ = 0;
};

void Append32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

bool WriteFile(const std::string& path, const void* data, size_t size, std::string& error) {
  platform::SafeFileWriter writer;
  if (!writer.Open(path) || !writer.Write(data, size) || !writer.Commit()) {
    error = "cannot write " + path + ": " + std::strerror(writer.Error());
    return false;
  }
  return true;
}

}  // namespace

std::vector<uint8_t> GlbBytes(const Scene& scene) {
  Builder b(scene);
  std::string json = b.Json("");
  while (json.size() % 4) json += ' ';
  while (b.bin.size() % 4) b.bin.push_back(0);
  std::vector<uint8_t> out;
  Append32(out, 0x46546C67);  // "glTF"
  Append32(out, 2);
  Append32(out, static_cast<uint32_t>(12 + 8 + json.size() + 8 + b.bin.size()));
  Append32(out, static_cast<uint32_t>(json.size()));
  Append32(out, 0x4E4F534A);  // "JSON"
  out.insert(out.end(), json.begin(), json.end());
  Append32(out, static_cast<uint32_t>(b.bin.size()));
  Append32(out, 0x004E4942);  // "BIN\0"
  out.insert(out.end(), b.bin.begin(), b.bin.end());
  return out;
}

bool WriteGlb(const Scene& scene, const std::string& path, std::string& error) {
  const std::vector<uint8_t> bytes = GlbBytes(scene);
  return WriteFile(path, bytes.data(), bytes.size(), error);
}

bool WriteGltf(const Scene& scene, const std::string& path, std::string& error) {
  const std::filesystem::path p(path);
  const std::string binName = p.stem().string() + ".bin";
  Builder b(scene);
  const std::string json = b.Json(binName);
  return WriteFile((p.parent_path() / binName).string(), b.bin.data(), b.bin.size(), error) &&
         WriteFile(path, json.data(), json.size(), error);
}

}  // namespace velkor::render
