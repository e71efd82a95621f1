#include "platform/StagedFolder.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

#include "platform/Files.h"

namespace velkor::platform {

namespace fs = std::filesystem;

namespace {

// One file put in place, and the user's file it replaced (if any).
struct Move {
  fs::path target, staged, replaced;
};

// Makes `folder` and the folders above it that are missing, outermost
// first, adding each one made to `made`.
bool MakeFolders(const fs::path& folder, std::vector<fs::path>& made, std::error_code& ec) {
  std::vector<fs::path> missing;
  for (fs::path p = folder; !fs::exists(p, ec) && p.has_relative_path(); p = p.parent_path()) missing.push_back(p);
  for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
    if (!fs::create_directory(*it, ec)) return false;
    made.push_back(*it);
  }
  return fs::is_directory(folder, ec);
}

// Undoes the moves, newest first, then removes the folders made. False when
// something could not be put back.
bool Undo(const std::vector<Move>& moves, const std::vector<fs::path>& made) {
  bool complete = true;
  std::error_code ec;
  for (auto it = moves.rbegin(); it != moves.rend(); ++it) {
    fs::rename(it->target, it->staged, ec);
    if (!it->replaced.empty() && !ec) fs::rename(it->replaced, it->target, ec);
    complete = complete && !ec;
  }
  for (auto it = made.rbegin(); it != made.rend(); ++it) fs::remove(*it, ec);
  return complete;
}

// The staged files' bytes reach the disk before any takes a user's file's
// place: one sync of their file system rather than one per file.
bool SyncFolder(const std::string& folder, std::string& error) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  const bool synced = fd >= 0 && ::syncfs(fd) == 0;
  if (!synced) error = "cannot write the new files to disk: " + std::string(std::strerror(errno));
  if (fd >= 0) ::close(fd);
  return synced;
}

}  // namespace

StagedFolder::~StagedFolder() {
  std::error_code ec;
  if (!hidden_.empty() && !keep_) fs::remove_all(hidden_, ec);
}

bool StagedFolder::Open(const std::string& target, std::string& error) {
  target_ = fs::path(target).lexically_normal().string();
  while (target_.size() > 1 && target_.back() == '/') target_.pop_back();
  std::error_code ec;
  fs::path above = fs::path(target_).parent_path();
  while (!fs::exists(above, ec) && above.has_relative_path()) above = above.parent_path();
  // Files move by renaming, which stays within one file system: a target that
  // is a disk of its own (a mounted stick) holds its hidden folder itself.
  struct stat folder {
  }, beside{};
  if (::stat(target_.c_str(), &folder) == 0 && S_ISDIR(folder.st_mode) && ::stat(above.c_str(), &beside) == 0 &&
      folder.st_dev != beside.st_dev) {
    above = target_;
  }
  std::string pattern = TempPatternBeside((above / fs::path(target_).filename()).string());
  if (!InterruptCleanup::MakeTemporaryFolder(pattern, removedOnInterrupt_)) {
    error = "cannot make a folder for the new files in " + above.string() + ": " + std::strerror(errno);
    return false;
  }
  hidden_ = pattern;
  return true;
}

std::string StagedFolder::StagedPath(const std::string& pathInTarget) const {
  return hidden_ + "/new" + pathInTarget.substr(std::min(target_.size(), pathInTarget.size()));
}

bool StagedFolder::Commit(std::string& error) {
  if (!SyncFolder(hidden_, error)) return false;
  // A Ctrl-C now waits for the moves (or their undoing): the target ends
  // either as it was or complete, never a mix, and the hidden folder goes.
  const InterruptDeferral moving;
  std::error_code ec;
  std::vector<fs::path> files;
  const fs::path staged = hidden_ + "/new";
  for (auto it = fs::recursive_directory_iterator(staged, ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    if (it->is_regular_file(ec)) files.push_back(it->path().lexically_relative(staged));
  }
  std::sort(files.begin(), files.end());
  std::vector<Move> moves;
  std::vector<fs::path> made;
  std::string problem = ec ? ec.message() : std::string();
  for (const fs::path& file : files) {
    if (!problem.empty()) break;
    Move m{fs::path(target_) / file, staged / file, {}};
    if (!MakeFolders(m.target.parent_path(), made, ec)) {
      problem = "cannot make the folder " + m.target.parent_path().string() + (ec ? ": " + ec.message() : "");
      break;
    }
    const fs::file_status status = fs::symlink_status(m.target, ec);
    if (fs::exists(status)) {
      if (!fs::is_regular_file(status) && !fs::is_symlink(status)) {
        problem = "cannot replace " + m.target.string() + ": it is not a file";
        break;
      }
      m.replaced = fs::path(hidden_ + "/old") / file;
      fs::create_directories(m.replaced.parent_path(), ec);
      if (!ec) fs::rename(m.target, m.replaced, ec);
      if (ec) {
        problem = "cannot replace " + m.target.string() + ": " + ec.message();
        break;
      }
    }
    fs::rename(m.staged, m.target, ec);
    if (ec) {
      problem = "cannot write " + m.target.string() + ": " + ec.message();
      std::error_code back;
      if (!m.replaced.empty()) fs::rename(m.replaced, m.target, back);
      keep_ = static_cast<bool>(back);
      break;
    }
    moves.push_back(m);
  }
  if (problem.empty()) return true;
  error = problem;
  if (!Undo(moves, made) || keep_) {
    keep_ = true;
    removedOnInterrupt_ = InterruptCleanup();  // it holds the user's replaced files
    error += "; the files it replaced are kept in " + hidden_;
  }
  return false;
}

}  // namespace velkor::platform
