#include "platform/GarminDevices.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>

#include "platform/Files.h"

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

std::optional<std::string> GarminDeviceRoot(const std::string& folder) {
  if (IsGarminDevice(folder)) return folder;
  const fs::path path = fs::path(folder).lexically_normal();
  const fs::path garmin = path.has_filename() ? path : path.parent_path();
  if (garmin.filename() == "Garmin" && IsGarminDevice(garmin.parent_path().string())) {
    return garmin.parent_path().string();
  }
  return std::nullopt;
}

namespace {

constexpr size_t kMaxDeviceXmlBytes = 64 * 1024;
constexpr size_t kMaxModelLength = 64;

// The text between <tag> and </tag> from `from` on, before `end`; none when
// the element is not there.
std::optional<std::string> ElementText(const std::string& xml, const std::string& tag, size_t from, size_t end) {
  const size_t open = xml.find("<" + tag + ">", from);
  if (open == std::string::npos || open >= end) return std::nullopt;
  const size_t start = open + tag.size() + 2;
  const size_t close = xml.find("</" + tag + ">", start);
  if (close == std::string::npos || close > end) return std::nullopt;
  return xml.substr(start, close - start);
}

// The five predefined entities decoded, blanks and control characters
// folded into single spaces, cut at kMaxModelLength.
std::string PlainText(const std::string& text) {
  static const std::pair<const char*, char> kEntities[] = {
      {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
  std::string plain;
  for (size_t i = 0; i < text.size() && plain.size() < kMaxModelLength; ++i) {
    char c = text[i];
    for (const auto& [entity, character] : kEntities) {
      if (text.compare(i, std::char_traits<char>::length(entity), entity) == 0) {
        c = character;
        i += std::char_traits<char>::length(entity) - 1;
        break;
      }
    }
    if (static_cast<unsigned char>(c) <= ' ' || c == 0x7F) {
      if (!plain.empty() && plain.back() != ' ') plain += ' ';
    } else {
      plain += c;
    }
  }
  while (!plain.empty() && plain.back() == ' ') plain.pop_back();
  return plain;
}

}  // namespace

std::string GarminDeviceModel(const std::string& device) {
  // Opened only as a regular file: a FIFO put in its place is not waited on.
  InputFile file((fs::path(device) / "Garmin" / "GarminDevice.xml").string());
  FILE* stream = file.IsOpen() ? file.Stream() : nullptr;
  if (!stream) return {};
  std::string xml(kMaxDeviceXmlBytes, '\0');
  xml.resize(std::fread(xml.data(), 1, xml.size(), stream));
  const size_t model = xml.find("<Model>");
  if (model == std::string::npos) return {};
  const size_t modelEnd = xml.find("</Model>", model);
  const std::optional<std::string> description =
      ElementText(xml, "Description", model, modelEnd == std::string::npos ? xml.size() : modelEnd);
  return description ? PlainText(*description) : std::string();
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
