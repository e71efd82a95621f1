#pragma once
// Splitting a pass whose rows are independent over the machine's two cores:
// the upper half of the rows on a worker thread, the lower half on the
// calling thread. Each row is computed exactly as a single pass would, so the
// result does not depend on the split. Only the pixel work runs on the worker;
// everything the window sees stays on the caller.
#include <cstdint>
#include <exception>
#include <system_error>
#include <thread>

namespace velkor::platform {

// Below this much work a second thread costs more than it saves.
inline constexpr int64_t kParallelMinimumBytes = int64_t{1} << 20;

// Calls work(first, last) for row ranges that together cover [0, rows) once.
// `bytesPerRow` estimates the work per row. An exception from either half is
// rethrown here once both halves have ended.
template <typename Work>
void ForEachRowBand(int32_t rows, int64_t bytesPerRow, Work&& work) {
  if (rows < 2 || rows * bytesPerRow < kParallelMinimumBytes) {
    if (rows > 0) work(0, rows);
    return;
  }
  const int32_t middle = rows / 2;
  std::exception_ptr workerError;
  std::thread worker;
  try {
    worker = std::thread([&] {
      try {
        work(middle, rows);
      } catch (...) {
        workerError = std::current_exception();
      }
    });
  } catch (const std::system_error&) {
    work(0, rows);  // no thread to be had: all rows here
    return;
  }
  std::exception_ptr callerError;
  try {
    work(0, middle);
  } catch (...) {
    callerError = std::current_exception();
  }
  worker.join();
  if (callerError) std::rethrow_exception(callerError);
  if (workerError) std::rethrow_exception(workerError);
}

}  // namespace velkor::platform
