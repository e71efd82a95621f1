#pragma once
// The file system as the program needs it: existence tests, folder listings,
// the program's own folder, and files written beside their target and put in
// place only when complete.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velkor::platform {

bool FileExists(const std::string& path);    // a regular file
bool FolderExists(const std::string& path);
std::optional<int64_t> FileLength(const std::string& path);  // none when missing or not a file

// Where `path` is missing but a file in its folder differs from its name in
// letter case only, that file's path; otherwise `path` unchanged.
std::string ResolveNameCase(const std::string& path);

// Names of the regular files in `folder` whose names end in `extension`
// (compared without regard to case, e.g. ".bmp"), in the listing's order.
std::vector<std::string> ListFiles(const std::string& folder, const std::string& extension);

std::string ProgramFolder();        // the folder of the running executable
std::string HomeFolder();           // $HOME, or the program's folder without one
std::string ExecutableBaseName();   // its file name before the first '.'
std::string AbsolutePath(const std::string& path);

// Reads a whole file; none (with the error code in GetLastError) on failure.
std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& path);
// Reads from `fd` until `size` bytes are in or the file ends (interrupted
// reads are resumed); how many bytes were read.
size_t ReadUpTo(int fd, uint8_t* data, size_t size);

// Writes a file so that the target is replaced only by a complete file: the
// bytes go to a hidden file in the same folder, which Commit renames over the
// target. Without a successful Commit the target is left as it was and the
// temporary file is removed. Every failure leaves its errno in Error().
class SafeFileWriter {
 public:
  SafeFileWriter() = default;
  ~SafeFileWriter();
  SafeFileWriter(const SafeFileWriter&) = delete;
  SafeFileWriter& operator=(const SafeFileWriter&) = delete;

  bool Open(const std::string& path);
  bool Write(const void* data, size_t size);
  bool Commit();
  void Abandon();
  int Error() const { return error_; }

 private:
  std::string target_;
  std::string temp_;
  int fd_ = -1;
  int error_ = 0;
};

}  // namespace velkor::platform
