#include "pipeline/FrameLoader.h"

#include <stdexcept>
#include <system_error>

#include "platform/Files.h"
#include "platform/ParallelFor.h"

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
    : names_(std::move(names)), ahead_(static_cast<size_t>(platform::ParallelThreads())), ready_(names_.size()) {
  if (ahead_ < 2 || names_.size() < 2) return;
  try {
    reader_ = std::thread([this] { ReadAhead(); });
  } catch (const std::system_error&) {
    // No thread to be had: Next reads every frame itself.
  }
}

FrameLoader::~FrameLoader() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  changed_.notify_all();
  if (reader_.joinable()) reader_.join();
}

void FrameLoader::ReadAhead() {
  // LoadFrame keeps what reading a frame raised for Next to raise in order.
  platform::ParallelFor(static_cast<int64_t>(names_.size()), 1, [this](int64_t first, int64_t last) {
    for (auto index = static_cast<size_t>(first); index < static_cast<size_t>(last); ++index) {
      {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this, index] { return stop_ || index < next_ + ahead_; });
        if (stop_) return;
      }
      LoadedFrame frame = LoadFrame(names_[index]);
      std::lock_guard<std::mutex> lock(mutex_);
      ready_[index] = std::move(frame);
      changed_.notify_all();
    }
  });
}

LoadedFrame FrameLoader::Next() {
  if (next_ >= names_.size()) throw std::out_of_range("FrameLoader: no frame left");
  const size_t index = next_;
  LoadedFrame frame;
  if (!reader_.joinable()) {
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
