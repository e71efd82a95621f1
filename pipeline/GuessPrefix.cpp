#include "pipeline/GuessPrefix.h"

#include <vector>

#include "common/Paths.h"
#include "platform/Files.h"

namespace velkor {

std::string GuessPrefix(const std::string& folder) {
  const std::vector<std::string> files = platform::ListFiles(folder, ".bmp");
  if (files.empty()) return {};
  std::string name = GetBaseName(files.front());
  while (!name.empty() && name.back() >= '0' && name.back() <= '9') name.pop_back();
  return name;
}

}  // namespace velkor
