#pragma once
// The file system as the program needs it: existence tests, folder listings,
// the program's own folder, and files written beside their target and put in
// place only when complete.
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace velkor::platform {

bool FileExists(const std::string& path);  // a regular file
bool FolderExists(const std::string& path);
std::optional<int64_t> FileLength(const std::string& path);  // none when missing or not a file

// Where `path` is missing but a file in its folder differs from its name in
// letter case only, that file's path; otherwise `path` unchanged.
std::string ResolveNameCase(const std::string& path);

// Names of the regular files in `folder` whose names end in `extension`
// (compared without regard to case, e.g. ".bmp"), in the listing's order.
std::vector<std::string> ListFiles(const std::string& folder, const std::string& extension);

std::string ProgramFolder();       // the folder of the running executable
std::string HomeFolder();          // $HOME, or the program's folder without one
std::string ExecutableBaseName();  // its file name before the first '.'
std::string AbsolutePath(const std::string& path);

// Every input a command reads is opened here, and only when it is a regular
// file: the path is looked at before it is opened and the open does not wait,
// so a FIFO without a writer, a device or a folder is refused at once, never
// read.
class InputFile {
 public:
  explicit InputFile(const std::string& path);
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  bool IsOpen() const { return fd_ >= 0; }
  // Why it is not open: kNotRegularFile or the system's message.
  const std::string& Problem() const { return problem_; }
  int64_t Size() const { return size_; }
  int Descriptor() const { return fd_; }
  // Up to Size() bytes from the start (fewer when it shrank meanwhile).
  std::vector<uint8_t> ReadAll();
  // The file as a stdio stream at its start, for the libraries that read
  // through one; it stays this object's unless taken with ReleaseStream.
  FILE* Stream();
  FILE* ReleaseStream();

 private:
  int fd_ = -1;
  FILE* stream_ = nullptr;
  int64_t size_ = 0;
  std::string problem_;
};
inline constexpr const char* kNotRegularFile = "not a regular file";

// Reads a whole regular file; none on failure, with the reason in `problem`
// when asked (see InputFile).
std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& path, std::string* problem = nullptr);

// Whether both paths name one existing file, after links (the same device
// and inode: a hard link counts too).
bool SameFile(const std::string& a, const std::string& b);
// "" when writing `output` leaves every one of `inputs` alone; otherwise the
// message refusing it, naming both.
std::string OverwritesInput(const std::string& output, const std::vector<std::string>& inputs);

// A pattern for mkstemps: a hidden name beside `target` made of its name,
// ".velkor-XXXXXX" and `suffix`, the target's name cut (on a character
// boundary) so that the whole stays within the 255-byte limit of a file name
// less `reserve` bytes. Any legal target name thus has a temporary name.
std::string TempPatternBeside(const std::string& target, const std::string& suffix = "", size_t reserve = 0);
// Reads from `fd` until `size` bytes are in or the file ends (interrupted
// reads are resumed); how many bytes were read.
size_t ReadUpTo(int fd, uint8_t* data, size_t size);

// Writes a whole file at once, without waiting for the disk: for files that
// are put in place later by a StagedFolder, which syncs them together. 0, or
// the errno of the failure.
int WriteWholeFile(const std::string& path, const void* data, size_t size);

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
