#include "platform/Files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <strings.h>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "common/Paths.h"
#include "platform/SystemError.h"

namespace velkor::platform {

namespace {
bool IsRegular(const std::string& path, struct stat* st) {
  return ::stat(path.c_str(), st) == 0 && S_ISREG(st->st_mode);
}

std::string NativeFolder(const std::string& folder) { return folder.empty() ? std::string(".") : folder; }

void SplitPath(const std::string& path, std::string& folder, std::string& name) {
  const size_t sep = path.find_last_of("\\/");
  if (sep == std::string::npos) {
    folder = ".";
    name = path;
  } else {
    folder = sep == 0 ? std::string("/") : path.substr(0, sep);
    name = path.substr(sep + 1);
  }
}

bool EndsWithNoCase(const std::string& name, const std::string& ending) {
  return name.size() >= ending.size() && ::strcasecmp(name.c_str() + name.size() - ending.size(), ending.c_str()) == 0;
}
}  // namespace

bool FileExists(const std::string& path) {
  struct stat st;
  return IsRegular(path, &st);
}

bool FolderExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::optional<int64_t> FileLength(const std::string& path) {
  struct stat st;
  if (!IsRegular(path, &st)) {
    SetLastError(errno ? errno : ENOENT);
    return std::nullopt;
  }
  return static_cast<int64_t>(st.st_size);
}

std::string ResolveNameCase(const std::string& path) {
  if (FileExists(path)) return path;
  std::string folder, name;
  SplitPath(path, folder, name);
  DIR* dir = ::opendir(NativeFolder(folder).c_str());
  if (!dir) return path;
  std::string found;
  while (dirent* entry = ::readdir(dir)) {
    if (::strcasecmp(entry->d_name, name.c_str()) == 0) {
      const std::string candidate = folder == "/" ? "/" + std::string(entry->d_name) : JoinPath(folder, entry->d_name);
      if (FileExists(candidate)) {
        found = candidate;
        break;
      }
    }
  }
  ::closedir(dir);
  return found.empty() ? path : found;
}

std::vector<std::string> ListFiles(const std::string& folder, const std::string& extension) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(NativeFolder(folder).c_str());
  if (!dir) return names;
  while (dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (EndsWithNoCase(name, extension) && FileExists(JoinPath(NativeFolder(folder), name))) {
      names.push_back(name);
    }
  }
  ::closedir(dir);
  return names;
}

std::string ProgramFolder() {
  char buffer[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return ".";
  std::string exe(buffer, static_cast<size_t>(n));
  const size_t sep = exe.find_last_of('/');
  return sep == std::string::npos || sep == 0 ? std::string("/") : exe.substr(0, sep);
}

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  return home && *home && std::string(home) != "/" ? std::string(home) : ProgramFolder();
}

std::string ExecutableBaseName() {
  char buffer[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return "velkor";
  return GetBaseName(std::string(buffer, static_cast<size_t>(n)));
}

std::string AbsolutePath(const std::string& path) {
  if (path.empty() || path[0] == '/') return path;
  char buffer[PATH_MAX];
  if (!::getcwd(buffer, sizeof buffer)) return path;
  return JoinPath(buffer, path);
}

size_t ReadUpTo(int fd, uint8_t* data, size_t size) {
  size_t done = 0;
  while (done < size) {
    const ssize_t n = ::read(fd, data + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  return done;
}

InputFile::InputFile(const std::string& path) {
  struct stat st;
  const bool found = ::stat(path.c_str(), &st) == 0;
  // O_NONBLOCK: should the path have become a FIFO since it was looked at,
  // the open returns at once instead of waiting for a writer.
  const int fd = found && S_ISREG(st.st_mode) ? ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC) : -1;
  const int error = errno;
  if (fd >= 0 && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    fd_ = fd;
    size_ = static_cast<int64_t>(st.st_size);
    return;
  }
  if (fd >= 0) ::close(fd);
  const bool notRegular = found && (fd >= 0 || !S_ISREG(st.st_mode));
  SetLastError(notRegular ? EINVAL : error);
  problem_ = notRegular ? std::string(kNotRegularFile) : ApiErrorText(error);
}

InputFile::~InputFile() {
  if (stream_) {
    std::fclose(stream_);
  } else if (fd_ >= 0) {
    ::close(fd_);
  }
}

std::vector<uint8_t> InputFile::ReadAll() {
  std::vector<uint8_t> data;
  if (fd_ < 0 || ::lseek(fd_, 0, SEEK_SET) != 0) return data;
  data.resize(static_cast<size_t>(size_));
  data.resize(ReadUpTo(fd_, data.data(), data.size()));  // a file that shrank while being read
  return data;
}

FILE* InputFile::Stream() {
  if (!stream_ && fd_ >= 0 && ::lseek(fd_, 0, SEEK_SET) == 0) stream_ = ::fdopen(fd_, "rb");
  return stream_;
}

FILE* InputFile::ReleaseStream() {
  FILE* stream = Stream();
  if (stream) {
    stream_ = nullptr;
    fd_ = -1;
  }
  return stream;
}

std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& path, std::string* problem) {
  InputFile file(path);
  if (!file.IsOpen()) {
    if (problem) *problem = file.Problem();
    return std::nullopt;
  }
  return file.ReadAll();
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat first, second;
  return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
         first.st_ino == second.st_ino;
}

std::string OverwritesInput(const std::string& output, const std::vector<std::string>& inputs) {
  for (const std::string& input : inputs) {
    if (SameFile(output, input)) return output + " is the input file " + input + "; name another output file";
  }
  return {};
}

std::string TempPatternBeside(const std::string& target, const std::string& suffix, size_t reserve) {
  constexpr size_t kMaxNameBytes = 255;
  std::string folder, name;
  SplitPath(target, folder, name);
  const std::string tail = ".velkor-XXXXXX" + suffix;
  const size_t room = kMaxNameBytes - std::min(reserve + 1 + tail.size(), kMaxNameBytes);  // 1: the leading dot
  if (name.size() > room) {
    size_t cut = room;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;  // inside a UTF-8 character
    name.resize(cut);
  }
  return (folder == "/" ? std::string("/") : folder + "/") + "." + name + tail;
}

int WriteWholeFile(const std::string& path, const void* data, size_t size) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return errno;
  const auto* bytes = static_cast<const uint8_t*>(data);
  int error = 0;
  while (size > 0 && error == 0) {
    const ssize_t n = ::write(fd, bytes, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) error = n < 0 ? errno : ENOSPC;
    bytes += n > 0 ? n : 0;
    size -= n > 0 ? static_cast<size_t>(n) : 0;
  }
  if (::close(fd) != 0 && error == 0) error = errno;
  return error;
}

SafeFileWriter::~SafeFileWriter() { Abandon(); }

bool SafeFileWriter::Open(const std::string& path) {
  Abandon();
  target_ = path;
  temp_ = TempPatternBeside(path);
  std::vector<char> pattern(temp_.begin(), temp_.end());
  pattern.push_back('\0');
  fd_ = ::mkstemp(pattern.data());
  if (fd_ < 0) {
    error_ = errno;
    SetLastError(error_);
    temp_.clear();
    return false;
  }
  temp_ = pattern.data();
  // The finished file gets the target's permissions, or the usual ones for a new file.
  struct stat st;
  mode_t mode;
  if (::stat(path.c_str(), &st) == 0) {
    mode = st.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  ::fchmod(fd_, mode);
  return true;
}

bool SafeFileWriter::Write(const void* data, size_t size) {
  if (fd_ < 0) return false;
  const auto* bytes = static_cast<const uint8_t*>(data);
  while (size > 0) {
    const ssize_t n = ::write(fd_, bytes, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error_ = n < 0 ? errno : ENOSPC;
      SetLastError(error_);
      return false;
    }
    bytes += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

bool SafeFileWriter::Commit() {
  if (fd_ < 0) return false;
  const bool flushed = ::fsync(fd_) == 0;
  if (!flushed) error_ = errno;
  const bool closed = ::close(fd_) == 0;
  if (flushed && !closed) error_ = errno;
  fd_ = -1;
  if (!flushed || !closed || ::rename(temp_.c_str(), target_.c_str()) != 0) {
    if (flushed && closed) error_ = errno;
    SetLastError(error_);
    ::unlink(temp_.c_str());
    temp_.clear();
    return false;
  }
  temp_.clear();
  return true;
}

void SafeFileWriter::Abandon() {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
  if (!temp_.empty()) {
    ::unlink(temp_.c_str());
    temp_.clear();
  }
}

}  // namespace velkor::platform
