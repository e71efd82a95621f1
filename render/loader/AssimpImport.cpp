#include "render/loader/AssimpImport.h"

#include <assimp/commonMetaData.h>
#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <assimp/Importer.hpp>

#include <cmath>
#include <filesystem>
#include <map>

#include "render/SceneLimits.h"
#include "render/loader/ModelFolder.h"
#include "render/loader/TextureDecode.h"

namespace velkor::render {

namespace {

// Node transforms baked in, polygons fanned into triangles, normals made where
// the file has none, points and lines dropped.
constexpr unsigned kImportFlags = aiProcess_PreTransformVertices | aiProcess_Triangulate | aiProcess_GenSmoothNormals |
                                  aiProcess_SortByPType | aiProcess_ValidateDataStructure;

std::array<float, 4> ColourOf(const aiMaterial& m, const char* key, unsigned type, unsigned index,
                              std::array<float, 4> fallback) {
  aiColor4D c;
  if (m.Get(key, type, index, c) != AI_SUCCESS) return fallback;
  return {c.r, c.g, c.b, c.a};
}

// Normals made for zero-area faces, and stray attributes, can be NaN; they
// fall back to neutral values. Positions are left alone: a model whose
// positions are not finite is refused by the renderer.
void KeepFinite(Vertex& v) {
  const auto finite = [](const auto& a) {
    for (float f : a) {
      if (!std::isfinite(f)) return false;
    }
    return true;
  };
  if (!finite(v.normal)) v.normal = {0, 0, 0};
  if (!finite(v.colour)) v.colour = {1, 1, 1, 1};
  if (!finite(v.uv)) v.uv = {0, 0};
}

// An axis of the file's own settings ("UpAxis" 0..2 with "UpAxisSign" ±1, as
// FBX files carry them), if it has them.
std::optional<Axis> MetadataAxis(const aiScene& scene, const char* axisKey, const char* signKey) {
  int32_t axis = -1, sign = 0;
  if (!scene.mMetaData || !scene.mMetaData->Get(axisKey, axis) || !scene.mMetaData->Get(signKey, sign) || axis < 0 ||
      axis > 2 || (sign != 1 && sign != -1)) {
    return std::nullopt;
  }
  return static_cast<Axis>(2 * axis + (sign < 0));
}

// glTF is +Y up by definition, and the COLLADA importer turns a file's
// declared up axis to +Y; FBX says where its up and front point.
void ReadDeclaredAxes(const aiScene& in, Scene& out) {
  out.declaredUp = MetadataAxis(in, "UpAxis", "UpAxisSign");
  out.declaredFront = MetadataAxis(in, "FrontAxis", "FrontAxisSign");
  aiString format;
  if (!out.declaredUp && in.mMetaData && in.mMetaData->Get(AI_METADATA_SOURCE_FORMAT, format)) {
    const std::string name = format.C_Str();
    if (name.rfind("glTF", 0) == 0 || name.rfind("Collada", 0) == 0) out.declaredUp = Axis::PosY;
  }
}

class Flattener {
 public:
  Flattener(const aiScene& scene, const ModelFolder& folder) : in_(scene), folder_(folder) {}

  bool Run(Scene& out, std::string& error) {
    for (unsigned i = 0; i < in_.mNumMaterials; ++i) {
      Material m;
      if (!ReadMaterial(*in_.mMaterials[i], m, out, error)) return false;
      out.materials.push_back(m);
    }
    if (out.materials.empty()) out.materials.emplace_back();
    for (unsigned i = 0; i < in_.mNumMeshes; ++i) {
      if (!AddMesh(*in_.mMeshes[i], out, error)) return false;
    }
    if (out.triangles.empty()) return (error = "the model has no triangles", false);
    return true;
  }

 private:
  bool ReadMaterial(const aiMaterial& m, Material& out, Scene& scene, std::string& error) {
    const std::array<float, 4> diffuse = ColourOf(m, AI_MATKEY_COLOR_DIFFUSE, {1, 1, 1, 1});
    out.baseColour = ColourOf(m, AI_MATKEY_BASE_COLOR, diffuse);
    const std::array<float, 4> e = ColourOf(m, AI_MATKEY_COLOR_EMISSIVE, {0, 0, 0, 1});
    out.emissive = {e[0], e[1], e[2]};
    int twoSided = 1;
    if (m.Get(AI_MATKEY_TWOSIDED, twoSided) == AI_SUCCESS) out.doubleSided = twoSided != 0;
    aiString path;
    if (m.GetTexture(aiTextureType_BASE_COLOR, 0, &path) != AI_SUCCESS &&
        m.GetTexture(aiTextureType_DIFFUSE, 0, &path) != AI_SUCCESS) {
      return true;
    }
    return TextureIndex(path.C_Str(), out.texture, scene, error);
  }

  // A texture file that is missing leaves the material untextured (models
  // often travel without theirs); one that is there must decode.
  bool TextureIndex(const std::string& path, int32_t& index, Scene& scene, std::string& error) {
    if (auto found = cache_.find(path); found != cache_.end()) return (index = found->second, true);
    Texture texture;
    if (const aiTexture* embedded = in_.GetEmbeddedTexture(path.c_str())) {
      if (!DecodeEmbeddedTexture(*embedded, texture, error)) return false;
    } else {
      const std::string file = folder_.Folder() + path;
      if (std::string refused = folder_.Check(file); !refused.empty()) return (error = refused, false);
      std::error_code ec;
      if (!std::filesystem::is_regular_file(file, ec)) return (cache_[path] = -1, true);
      if (!DecodeTextureFile(file, texture, error)) return false;
    }
    if (scene.textures.size() >= kMaxTextures) return (error = "the model has too many textures", false);
    index = static_cast<int32_t>(scene.textures.size());
    scene.textures.push_back(std::move(texture));
    cache_[path] = index;
    return true;
  }

  bool AddMesh(const aiMesh& mesh, Scene& out, std::string& error) {
    if (!(mesh.mPrimitiveTypes & aiPrimitiveType_TRIANGLE)) return true;
    if (out.triangles.size() + mesh.mNumFaces > kMaxTriangles ||
        out.vertices.size() + mesh.mNumVertices > kMaxVertices) {
      error = "the model has more than " + std::to_string(kMaxTriangles) + " triangles";
      return false;
    }
    const auto base = static_cast<uint32_t>(out.vertices.size());
    for (unsigned i = 0; i < mesh.mNumVertices; ++i) {
      Vertex v;
      v.position = {mesh.mVertices[i].x, mesh.mVertices[i].y, mesh.mVertices[i].z};
      if (mesh.mNormals) v.normal = {mesh.mNormals[i].x, mesh.mNormals[i].y, mesh.mNormals[i].z};
      if (mesh.mColors[0])
        v.colour = {mesh.mColors[0][i].r, mesh.mColors[0][i].g, mesh.mColors[0][i].b, mesh.mColors[0][i].a};
      if (mesh.mTextureCoords[0]) v.uv = {mesh.mTextureCoords[0][i].x, mesh.mTextureCoords[0][i].y};
      KeepFinite(v);
      out.vertices.push_back(v);
    }
    const uint32_t material = mesh.mMaterialIndex < out.materials.size() ? mesh.mMaterialIndex : 0;
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
      const aiFace& face = mesh.mFaces[f];
      if (face.mNumIndices != 3) continue;
      Triangle t;
      for (int k = 0; k < 3; ++k) {
        if (face.mIndices[k] >= mesh.mNumVertices) return (error = "a face refers to a missing vertex", false);
        t.vertex[k] = base + face.mIndices[k];
      }
      t.material = material;
      out.triangles.push_back(t);
    }
    return true;
  }

  const aiScene& in_;
  const ModelFolder& folder_;
  std::map<std::string, int32_t> cache_;
};

}  // namespace

std::string MemoryLimitReason() {
  return "reading it needs more memory than the model loader may use (" + std::to_string(kLoaderMemoryBytes >> 30) +
         " GiB)";
}

bool ImportWithAssimp(const std::string& path, Scene& scene, std::string& error) {
  Assimp::Importer importer;
  auto* folder = new ModelFolder(path);
  importer.SetIOHandler(folder);  // the importer's from now on
  const aiScene* in = importer.ReadFile(path, kImportFlags);
  if (!folder->Refusal().empty()) {  // even where the importer went on without the file
    error = folder->Refusal();
    return false;
  }
  if (in == nullptr) {
    const std::string reason = importer.GetErrorString();
    error = reason.find("bad_alloc") != std::string::npos ? MemoryLimitReason()
                                                          : "not a model Assimp can read (" + reason + ")";
    return false;
  }
  if ((in->mFlags & AI_SCENE_FLAGS_INCOMPLETE) || in->mNumMeshes == 0) {
    error = "the model has no triangles";
    return false;
  }
  ReadDeclaredAxes(*in, scene);
  return Flattener(*in, *folder).Run(scene, error);
}

std::string ImporterExtensions() {
  aiString list;
  Assimp::Importer().GetExtensionList(list);
  return list.C_Str();
}

}  // namespace velkor::render
