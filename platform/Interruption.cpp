#include "platform/Interruption.h"

#include <pthread.h>
#include <signal.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>
#include <shared_mutex>
#include <thread>

namespace velkor::platform {

namespace {

struct Cleanup {
  pid_t group = 0;     // killed when not 0
  std::string folder;  // removed when not empty
};

struct Registry {
  std::mutex mutex;
  uint64_t next = 1;
  std::map<uint64_t, Cleanup> entries;
};

Registry& Entries() {
  static Registry* registry = new Registry;  // never destroyed: the watcher may use it while main returns
  return *registry;
}

std::shared_mutex& DeferralMutex() {
  static std::shared_mutex* mutex = new std::shared_mutex;  // never destroyed, as the registry
  return *mutex;
}

uint64_t Register(Cleanup cleanup) {
  Registry& r = Entries();
  std::lock_guard lock(r.mutex);
  r.entries.emplace(r.next, std::move(cleanup));
  return r.next++;
}

sigset_t EndingSignals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  return set;
}

// Holds the registry locked from the signal on, so that nothing registers
// or leaves while the process ends.
[[noreturn]] void Watch() {
  const sigset_t set = EndingSignals();
  int signal = 0;
  while (sigwait(&set, &signal) != 0) {
  }
  DeferralMutex().lock();  // never released: a deferred step begun from now on waits for the end
  Registry& r = Entries();
  r.mutex.lock();
  for (const auto& [id, cleanup] : r.entries) {
    if (cleanup.group > 0) ::kill(-cleanup.group, SIGKILL);
  }
  for (const auto& [id, cleanup] : r.entries) {
    // Threads still writing frames may add a file while the folder goes, and
    // the folder then stays: remove again until it is gone (once it is, their
    // writes fail and add nothing).
    std::error_code ignored;
    for (int attempt = 0; attempt < 100 && !cleanup.folder.empty(); ++attempt) {
      std::filesystem::remove_all(cleanup.folder, ignored);
      if (!std::filesystem::exists(cleanup.folder, ignored) && !ignored) break;
    }
  }
  // Ended by the signal itself, as without this watcher: the default action,
  // taken by this thread, the only one that does not block it.
  ::signal(signal, SIG_DFL);
  ::pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
  ::raise(signal);
  std::_Exit(128 + signal);
}

}  // namespace

void CleanUpOnInterrupt() {
  const sigset_t set = EndingSignals();
  ::pthread_sigmask(SIG_BLOCK, &set, nullptr);
  std::thread(Watch).detach();
}

InterruptDeferral::InterruptDeferral() : lock_(DeferralMutex()) {}

InterruptCleanup InterruptCleanup::KillGroup(pid_t processGroup) {
  return InterruptCleanup(Register({processGroup, {}}));
}

bool InterruptCleanup::MakeTemporaryFolder(std::string& pattern, InterruptCleanup& removal) {
  uint64_t id = 0;
  {
    // The watcher takes the same lock before it cleans up.
    Registry& r = Entries();
    std::lock_guard lock(r.mutex);
    if (::mkdtemp(pattern.data()) == nullptr) return false;
    r.entries.emplace(r.next, Cleanup{0, pattern});
    id = r.next++;
  }
  removal = InterruptCleanup(id);  // what it held goes, outside the lock
  return true;
}

InterruptCleanup& InterruptCleanup::operator=(InterruptCleanup&& other) noexcept {
  if (this != &other) {
    InterruptCleanup gone(id_);  // unregistered as it goes
    id_ = other.id_;
    other.id_ = 0;
  }
  return *this;
}

InterruptCleanup::~InterruptCleanup() {
  if (id_ == 0) return;
  Registry& r = Entries();
  std::lock_guard lock(r.mutex);
  r.entries.erase(id_);
}

}  // namespace velkor::platform
