#include "pipeline/FrameLoader.h"

#include <stdexcept>
#include <system_error>

#include "platform/Files.h"

namespace velkor {

LoadedFrame LoadFrame(const std::string& name) {
  LoadedFrame frame;
  try {
    // A renderer may write ".BMP"; a name that differs only in case will do.
    frame.file = platform::ResolveNameCase(name);
    frame.exists = platform::FileExists(frame.file);
    if (frame.exists) {
      frame.dib = std::make_unique<cDib>();
      frame.readable = frame.dib->CreateFromBitmapFile(frame.file) != 0;
    }
  } catch (...) {
    frame.error = std::current_exception();
  }
  return frame;
}

FrameLoader::FrameLoader(std::vector<std::string> names)
    : names_(std::move(names)), ready_(names_.size()) {
  try {
    for (size_t first = 0; first < kWorkers; ++first) workers_.emplace_back([this, first] { Run(first); });
  } catch (const std::system_error&) {
    // Too few threads to be had: Next reads the frames no worker reads.
  }
}

FrameLoader::~FrameLoader() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  changed_.notify_all();
  for (std::thread& worker : workers_) worker.join();
}

void FrameLoader::Run(size_t first) {
  for (size_t index = first; index < names_.size(); index += kWorkers) {
    {
      // Reading starts at most kWorkers frames ahead of the caller.
      std::unique_lock<std::mutex> lock(mutex_);
      changed_.wait(lock, [this, index] { return stop_ || index < next_ + kWorkers; });
      if (stop_) return;
    }
    LoadedFrame frame = LoadFrame(names_[index]);
    std::lock_guard<std::mutex> lock(mutex_);
    ready_[index] = std::move(frame);
    changed_.notify_all();
  }
}

LoadedFrame FrameLoader::Next() {
  if (next_ >= names_.size()) throw std::out_of_range("FrameLoader: no frame left");
  const size_t index = next_;
  LoadedFrame frame;
  if (index % kWorkers >= workers_.size()) {
    frame = LoadFrame(names_[index]);
  } else {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this, index] { return ready_[index].has_value(); });
    frame = std::move(*ready_[index]);
    ready_[index].reset();
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    ++next_;
  }
  changed_.notify_all();
  if (frame.error) std::rethrow_exception(frame.error);
  return frame;
}

}  // namespace velkor
