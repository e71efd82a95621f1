#pragma once
// Runs a program with one argument and collects its stdout, within a time
// limit and a size limit; the child is killed when either is exceeded. The
// child has a process group of its own, which is what gets killed, and it
// dies with its parent, however the parent ends.
#include <cstdint>
#include <string>
#include <vector>

namespace velkor::render {

struct ChildResult {
  bool started = false;
  bool timedOut = false;
  bool tooMuchOutput = false;
  int exitCode = -1;  // when it exited normally
  int signal = 0;     // when a signal ended it
  std::vector<uint8_t> output;
};

ChildResult RunChild(const std::string& program, const std::string& argument, int timeoutMilliseconds,
                     size_t maxOutput);

}  // namespace velkor::render
