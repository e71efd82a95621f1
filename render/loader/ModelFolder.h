#pragma once
// The files a model may bring with it: those in its own folder or below.
// A model names its buffers and textures by URI; one that is absolute, that
// climbs out of the folder with "..", or that leads out of it through a
// link is refused, naming the URI, and so is anything but a regular file.
// Every file Assimp opens goes through here.
#include <assimp/DefaultIOSystem.h>

#include <string>

namespace velkor::render {

class ModelFolder : public Assimp::DefaultIOSystem {
 public:
  explicit ModelFolder(const std::string& modelPath);

  // "" when the file Assimp or a texture names as `path` may be read;
  // otherwise the refusal, which Check also keeps as Refusal().
  std::string Refuses(const std::string& path) const;
  std::string Check(const std::string& path) const;
  // The first refusal, "" when there was none.
  const std::string& Refusal() const { return refusal_; }
  const std::string& Folder() const { return folder_; }

  bool Exists(const char* path) const override;
  Assimp::IOStream* Open(const char* path, const char* mode = "rb") override;

 private:
  std::string model_;
  std::string folder_;      // the model's folder, as named, ending in '/'
  std::string realFolder_;  // the same, links resolved
  mutable std::string refusal_;
};

}  // namespace velkor::render
