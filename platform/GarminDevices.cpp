#include "platform/GarminDevices.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <set>

namespace velkor::platform {

namespace fs = std::filesystem;

std::vector<std::string> DefaultMountRoots() {
  std::vector<std::string> roots;
  if (const passwd* account = ::getpwuid(::getuid()); account && account->pw_name) {
    roots.push_back(std::string("/media/") + account->pw_name);
    roots.push_back(std::string("/run/media/") + account->pw_name);
  }
  roots.insert(roots.end(), {"/media", "/mnt"});
  return roots;
}

bool IsGarminDevice(const std::string& folder) {
  std::error_code error;
  return fs::is_regular_file(fs::path(folder) / "Garmin" / "GarminDevice.xml", error);
}

namespace {

std::vector<std::string> SortedSubfolders(const std::string& root) {
  std::vector<std::string> folders;
  std::error_code error;
  for (fs::directory_iterator it(root, error), end; !error && it != end; it.increment(error)) {
    std::error_code typeError;
    if (it->is_directory(typeError)) folders.push_back(it->path().string());
  }
  std::sort(folders.begin(), folders.end());
  return folders;
}

}  // namespace

std::vector<std::string> FindGarminDevices(const std::vector<std::string>& mountRoots) {
  std::vector<std::string> devices;
  std::set<std::string> seen;  // a device reached through two roots (a link) counts once
  for (const std::string& root : mountRoots) {
    for (const std::string& folder : SortedSubfolders(root)) {
      if (!IsGarminDevice(folder)) continue;
      std::error_code error;
      const std::string real = fs::canonical(folder, error).string();
      if (seen.insert(error ? folder : real).second) devices.push_back(folder);
    }
  }
  return devices;
}

}  // namespace velkor::platform
