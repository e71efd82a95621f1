#pragma once
// The one way work is spread over the machine's cores: a range of independent
// items (rows of a raster, frames of a set) split into chunks that threads
// take in order from one counter, the calling thread among them. Each item is
// computed exactly as a single pass would compute it, so the result does not
// depend on the number of threads or on which thread took which chunk. Only
// the item work runs on the other threads; whatever the window sees stays
// with the caller.
#include <cstdint>
#include <functional>

namespace velkor::platform {

// More threads than this buy nothing for our passes: they are memory-bound.
inline constexpr int kMaxParallelThreads = 8;

// Below this much work per thread, starting a thread costs more than it saves.
inline constexpr int64_t kParallelBytesPerThread = int64_t{512} << 10;

// The threads ParallelFor runs on: std::thread::hardware_concurrency(), at
// most kMaxParallelThreads, 1 when the machine does not say and in a build
// without threads (the browser's).
int ParallelThreads();

// For the tests: while one lives, ParallelFor runs on exactly `threads`
// threads, and every row band is split that many ways however small it is.
class ThreadCountForTesting {
 public:
  explicit ThreadCountForTesting(int threads);
  ~ThreadCountForTesting();
  ThreadCountForTesting(const ThreadCountForTesting&) = delete;
  ThreadCountForTesting& operator=(const ThreadCountForTesting&) = delete;
};

using ParallelWork = std::function<void(int64_t first, int64_t last)>;

// Calls work(first, last) for consecutive chunks of at most `grain` items
// that together cover [0, count) once, on up to ParallelThreads() threads.
// Chunks are taken in order, so every item below a taken one has been taken.
// After an exception no further chunk starts; once every thread has ended,
// the exception of the lowest chunk that raised one is raised here. Inside
// another ParallelFor's work, and where no thread can be started (a build
// without threads), the calling thread does all of it.
void ParallelFor(int64_t count, int64_t grain, const ParallelWork& work);

// The grain that cuts `rows` rows of about `bytesPerRow` bytes of work each
// into one band per thread, with no band too small to be worth its thread.
int64_t RowBand(int64_t rows, int64_t bytesPerRow);

}  // namespace velkor::platform
