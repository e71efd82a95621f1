#pragma once
// A job's progress on the command line: each status text on its own line of
// stderr as it is set (unless quiet), warnings as "warning: ...".
#include <ostream>
#include <string>

#include "jobs/Progress.h"

namespace velkor::cli {

class CliProgress : public Progress {
 public:
  explicit CliProgress(std::ostream& err, bool quiet = false) : err_(err), quiet_(quiet) {}
  void Status(const std::string& text, bool = true) override {
    if (!quiet_) err_ << text << '\n' << std::flush;
  }
  void Frames(int done, int total) override { err_ << "\rrendering frame " << done << "/" << total << std::flush; }
  void Warning(const std::string& text) override { err_ << "warning: " << text << '\n' << std::flush; }
  void Error(const std::string& text) { err_ << "error: " << text << '\n' << std::flush; }

 private:
  std::ostream& err_;
  bool quiet_;
};

}  // namespace velkor::cli
