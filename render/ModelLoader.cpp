#include "render/ModelLoader.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "platform/AssetFolder.h"
#include "platform/Files.h"
#include "render/ChildProcess.h"
#include "render/SceneCodec.h"
#include "render/SceneLimits.h"

namespace velkor::render {

namespace {

// The largest scene the limits allow, with room for its header.
constexpr size_t kMaxSceneBytes =
    64 + kMaxVertices * 48 + kMaxTriangles * 16 + kMaxMaterials * 32 + kMaxTextures * 8 + kMaxTotalTexturePixels * 4;

bool Fail(const std::string& path, const std::string& reason, std::string& error) {
  error = "cannot render model " + path + ": " + reason;
  return false;
}

// The loader's own words, cut to what a message can show: its first lines,
// then "…" for the rest (cut on a character boundary).
std::string ReadableMessage(std::string text) {
  constexpr size_t kMaxLines = 3, kMaxBytes = 300;
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.pop_back();
  size_t end = std::min(text.size(), kMaxBytes), newline = std::string::npos;
  for (size_t lines = 0, at = 0; lines < kMaxLines && (newline = text.find('\n', at)) != std::string::npos; ++lines) {
    at = newline + 1;
  }
  if (newline != std::string::npos) end = std::min(end, newline);  // the last line kept ends there
  if (end == text.size()) return text;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return text.substr(0, end) + "\u2026";
}

std::string ChildFailure(const ChildResult& r) {
  if (!r.started) return "the model loader " + LoaderExecutable() + " cannot be started";
  if (r.timedOut) return "reading it took longer than " + std::to_string(kLoaderTimeoutSeconds) + " seconds";
  if (r.tooMuchOutput) return "it is larger than the limits allow";
  if (r.signal != 0) return "the model loader crashed on it (signal " + std::to_string(r.signal) + ")";
  if (r.exitCode == 3 && !r.output.empty()) return ReadableMessage(std::string(r.output.begin(), r.output.end()));
  return "the model loader failed on it (exit status " + std::to_string(r.exitCode) + ")";
}

}  // namespace

std::string LoaderExecutable() { return platform::HelperProgram("velkor-model-loader"); }

bool LoadModel(const std::string& path, Scene& scene, std::string& error) {
  std::error_code ec;
  const auto status = std::filesystem::status(path, ec);
  if (!std::filesystem::exists(status)) return Fail(path, "file not found", error);
  if (std::filesystem::is_directory(status)) return Fail(path, "it is a folder, not a model file", error);
  if (!std::filesystem::is_regular_file(status)) return Fail(path, "not a regular file", error);
  // Absolute, so that no file name is taken for one of the helper's requests.
  const ChildResult r =
      RunChild(LoaderExecutable(), platform::AbsolutePath(path), kLoaderTimeoutSeconds * 1000, kMaxSceneBytes);
  if (r.exitCode != 0 || r.signal != 0 || r.timedOut || r.tooMuchOutput) return Fail(path, ChildFailure(r), error);
  std::string reason;
  if (!DecodeScene(r.output.data(), r.output.size(), scene, reason)) return Fail(path, reason, error);
  return true;
}

const std::vector<std::string>& ModelFilePatterns() {
  static const std::vector<std::string> patterns = [] {
    const ChildResult r = RunChild(LoaderExecutable(), "--extensions", kLoaderTimeoutSeconds * 1000, 1 << 16);
    std::vector<std::string> list;
    const std::string text(r.output.begin(), r.output.end());
    for (size_t start = 0; r.exitCode == 0 && start < text.size();) {
      const size_t end = std::min(text.find(';', start), text.size());
      const std::string pattern = text.substr(start, end - start);
      if (pattern.size() > 2 && pattern.rfind("*.", 0) == 0 && pattern.find_first_of("|;/\\ \n") == std::string::npos) {
        list.push_back(pattern);
      }
      start = end + 1;
    }
    if (list.empty()) list = {"*.gltf", "*.glb", "*.obj", "*.fbx", "*.dae", "*.3ds", "*.ply", "*.stl"};
    return list;
  }();
  return patterns;
}

}  // namespace velkor::render
