#pragma once
// New files for a folder, written out of sight and put in place together.
// They go into a hidden folder beside the target folder; Commit moves each
// over its place only once all of them are written. A commit that fails
// half-way moves back what it had moved, puts back the files it had replaced
// and removes the folders it had made, so the target is left as it was. Only
// files are ever replaced, never a folder.
#include <string>

#include "platform/Interruption.h"

namespace velkor::platform {

class StagedFolder {
 public:
  StagedFolder() = default;
  // Removes the hidden folder with whatever is left in it (the replaced
  // files, after a commit), unless a failed commit could not put everything
  // back: then the user's files are still in it, and the message says where.
  ~StagedFolder();
  StagedFolder(const StagedFolder&) = delete;
  StagedFolder& operator=(const StagedFolder&) = delete;

  // Makes the hidden folder beside `target` (an absolute path), in the
  // nearest folder above it that exists, or inside it where it is a file
  // system of its own. False with a message.
  bool Open(const std::string& target, std::string& error);
  // Where `pathInTarget` (the target or a path inside it) is written until
  // the commit.
  std::string StagedPath(const std::string& pathInTarget) const;
  // Moves every staged file into the target, making the folders it needs.
  bool Commit(std::string& error);

 private:
  std::string target_, hidden_;
  bool keep_ = false;
  // Ctrl-C while the files are written removes the hidden folder; once they
  // move it stays, since it then holds the files they replace.
  InterruptCleanup removedOnInterrupt_;
};

}  // namespace velkor::platform
