#include "common/Paths.h"

namespace velkor {

namespace {
size_t LastSeparator(const std::string& path) { return path.find_last_of("\\/"); }
}  // namespace

std::string GetFolderName(const std::string& path) {
  const size_t sep = LastSeparator(path);
  // s counts from 1 and is the position just after the separator.
  const size_t s = sep == std::string::npos ? 1 : sep + 2;
  if (s < 3) return {};
  return path.substr(0, s - 2);
}

std::string GetBaseName(const std::string& path) {
  const size_t sep = LastSeparator(path);
  std::string name = sep == std::string::npos ? path : path.substr(sep + 1);
  const size_t dot = name.find('.');
  if (dot != std::string::npos) name.resize(dot);
  return name;
}

std::string PathWithExtension(const std::string& path, const std::string& extension) {
  return GetFolderName(path) + kPathSeparator + GetBaseName(path) + extension;
}

std::string JoinPath(const std::string& folder, const std::string& name) { return folder + kPathSeparator + name; }

std::string Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  const size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

}  // namespace velkor
