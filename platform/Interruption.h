#pragma once
// A command line program interrupted (Ctrl-C: SIGINT) or told to end
// (SIGTERM) still cleans up after itself: the helper processes it started
// are killed with their process groups and its temporary folders removed,
// then it ends by that signal as it would have.
#include <sys/types.h>

#include <cstdint>
#include <shared_mutex>
#include <string>

namespace velkor::platform {

// Leaves both signals to one watching thread that cleans up and ends the
// program. Called first thing in main, before any other thread starts (each
// thread inherits the blocked signals; only the watcher takes them).
void CleanUpOnInterrupt();

// What is cleaned up, for as long as this registration lives. Registering
// does nothing more where CleanUpOnInterrupt was not called.
class InterruptCleanup {
 public:
  InterruptCleanup() = default;
  static InterruptCleanup KillGroup(pid_t processGroup);
  // mkdtemp(pattern) and the new folder's registration for removal in one
  // step, so that no interruption falls between the folder appearing and its
  // removal being registered. False, with errno set, when no folder was made.
  static bool MakeTemporaryFolder(std::string& pattern, InterruptCleanup& removal);
  ~InterruptCleanup();
  InterruptCleanup(InterruptCleanup&& other) noexcept : id_(other.id_) { other.id_ = 0; }
  InterruptCleanup& operator=(InterruptCleanup&& other) noexcept;
  InterruptCleanup(const InterruptCleanup&) = delete;
  InterruptCleanup& operator=(const InterruptCleanup&) = delete;

 private:
  explicit InterruptCleanup(uint64_t id) : id_(id) {}
  uint64_t id_ = 0;
};

// While one lives, an interruption waits: the clean-up and the end of the
// program come only after it goes, and once it has begun no new one starts
// (the step waits for the end). For short steps that must not be cut in two
// or outlive the clean-up: moving finished files into place, writing a file
// into a folder the clean-up removes. Any number may live at once.
class InterruptDeferral {
 public:
  InterruptDeferral();

 private:
  std::shared_lock<std::shared_mutex> lock_;
};

}  // namespace velkor::platform
