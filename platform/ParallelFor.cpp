#include "platform/ParallelFor.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <limits>
#include <mutex>
#include <thread>
#include <vector>

namespace velkor::platform {

namespace {

// WebAssembly without shared memory has one thread: never try to start more.
#if defined(__EMSCRIPTEN__) && !defined(__EMSCRIPTEN_PTHREADS__)
constexpr bool kThreadsAvailable = false;
#else
constexpr bool kThreadsAvailable = true;
#endif

std::atomic<int> threadsForTesting{0};

// Set while a thread does a ParallelFor's work: a ParallelFor inside it stays
// on that thread rather than multiplying the threads.
thread_local bool insideParallelWork = false;

class InsideParallelWork {
 public:
  InsideParallelWork() : before_(insideParallelWork) { insideParallelWork = true; }
  ~InsideParallelWork() { insideParallelWork = before_; }
  InsideParallelWork(const InsideParallelWork&) = delete;
  InsideParallelWork& operator=(const InsideParallelWork&) = delete;

 private:
  bool before_;
};

// What the threads of one ParallelFor share.
class Chunks {
 public:
  Chunks(int64_t count, int64_t grain, const ParallelWork& work) : count_(count), grain_(grain), work_(work) {}

  int64_t Size() const { return (count_ + grain_ - 1) / grain_; }

  // Takes chunks until none is left or one has raised.
  void Run() {
    const InsideParallelWork inside;
    for (int64_t chunk = next_++; chunk < Size() && !failed_; chunk = next_++) {
      try {
        work_(chunk * grain_, std::min(count_, (chunk + 1) * grain_));
      } catch (...) {
        Fail(chunk);
      }
    }
  }

  void RethrowFirstError() const {
    if (error_) std::rethrow_exception(error_);
  }

 private:
  void Fail(int64_t chunk) {
    const std::lock_guard lock(mutex_);
    if (chunk < errorChunk_) {
      errorChunk_ = chunk;
      error_ = std::current_exception();
    }
    failed_ = true;
  }

  const int64_t count_, grain_;
  const ParallelWork& work_;
  std::atomic<int64_t> next_{0};
  std::atomic<bool> failed_{false};
  std::mutex mutex_;
  int64_t errorChunk_ = std::numeric_limits<int64_t>::max();
  std::exception_ptr error_;
};

}  // namespace

int ParallelThreads() {
  if (const int forced = threadsForTesting.load()) return forced;
  static const int machine =
      kThreadsAvailable ? std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, kMaxParallelThreads) : 1;
  return machine;
}

ThreadCountForTesting::ThreadCountForTesting(int threads) { threadsForTesting = std::max(threads, 1); }

ThreadCountForTesting::~ThreadCountForTesting() { threadsForTesting = 0; }

void ParallelFor(int64_t count, int64_t grain, const ParallelWork& work) {
  if (count <= 0) return;
  Chunks chunks(count, std::max<int64_t>(grain, 1), work);
  const int64_t threads = insideParallelWork ? 1 : std::min<int64_t>(ParallelThreads(), chunks.Size());
  std::vector<std::thread> helpers;
  try {
    helpers.reserve(static_cast<size_t>(threads - 1));
    for (int64_t i = 1; i < threads; ++i) helpers.emplace_back([&chunks] { chunks.Run(); });
  } catch (...) {
    // Fewer threads to be had (none in a build without them): those that
    // started, the calling thread among them, take the other chunks too.
  }
  chunks.Run();
  for (std::thread& helper : helpers) helper.join();
  chunks.RethrowFirstError();
}

int64_t RowBand(int64_t rows, int64_t bytesPerRow) {
  const int64_t threads = threadsForTesting.load() > 0
                              ? threadsForTesting.load()
                              : std::clamp<int64_t>(rows * bytesPerRow / kParallelBytesPerThread, 1, ParallelThreads());
  return std::max<int64_t>((rows + threads - 1) / threads, 1);
}

}  // namespace velkor::platform
