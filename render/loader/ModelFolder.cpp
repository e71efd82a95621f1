#include "render/loader/ModelFolder.h"

#include <assimp/DefaultIOStream.h>

#include <filesystem>

#include "platform/Files.h"

namespace velkor::render {

namespace {

namespace fs = std::filesystem;

// A stream over a file opened as every input is.
class InputStream : public Assimp::DefaultIOStream {
 public:
  InputStream(FILE* file, const std::string& name) : DefaultIOStream(file, name) {}
};

bool Within(const fs::path& path, const fs::path& folder) {
  const fs::path relative = path.lexically_relative(folder);
  return !relative.empty() && *relative.begin() != "..";
}

}  // namespace

ModelFolder::ModelFolder(const std::string& modelPath) : model_(modelPath) {
  fs::path folder = fs::path(modelPath).parent_path();
  if (folder.empty()) folder = ".";
  folder_ = folder.string() + "/";
  std::error_code ec;
  realFolder_ = fs::canonical(folder, ec).string();
}

std::string ModelFolder::Refuses(const std::string& path) const {
  if (path == model_) return {};
  // Importers name a referenced file as the folder followed by the URI.
  const std::string uri = path.compare(0, folder_.size(), folder_) == 0 ? path.substr(folder_.size()) : path;
  const fs::path normal = fs::path(uri).lexically_normal();
  std::error_code ec;
  const fs::path real = fs::canonical(folder_ + uri, ec);
  const bool outside = uri.empty() || normal.is_absolute() ||
                       (normal.begin() != normal.end() && *normal.begin() == "..") ||
                       (!ec && !Within(real, realFolder_));
  return outside ? "it refers to \"" + uri + "\", which is not in the model's folder or below it" : std::string();
}

std::string ModelFolder::Check(const std::string& path) const {
  std::string refusal = Refuses(path);
  if (refusal_.empty()) refusal_ = refusal;
  return refusal;
}

// Importers probe other spellings of a name they cannot find, some of them
// outside the folder: a probe is answered, not held against the model.
bool ModelFolder::Exists(const char* path) const { return Refuses(path).empty() && platform::FileExists(path); }

Assimp::IOStream* ModelFolder::Open(const char* path, const char* mode) {
  if (std::string(mode).find_first_of("wa+") != std::string::npos || !Check(path).empty()) return nullptr;
  platform::InputFile file(path);
  FILE* stream = file.ReleaseStream();
  return stream ? new InputStream(stream, path) : nullptr;
}

}  // namespace velkor::render
