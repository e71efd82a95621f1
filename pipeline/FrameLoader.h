#pragma once
// Reading an import's frame files ahead of the copying: while the calling
// thread copies frame i into the strip, a reader thread reads the frames
// after it on every core (ParallelFor), at most one frame per reading thread
// ahead of the caller, so only that many frame bitmaps are alive besides the
// one being copied. Frames are handed over strictly in order and each is
// judged by the caller exactly as if it had read it itself, so the strip, the
// statuses and the place where an import stops do not change. With one
// thread, or none to be had, the caller reads each frame when it asks for it.
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "raster/cDib.h"

namespace velkor {

struct LoadedFrame {
  std::string file;           // the name as resolved for letter case
  bool exists = false;        // a regular file by that name
  std::unique_ptr<cDib> dib;  // read when it exists; Width() 0 when it could not be
  bool readable = false;      // CreateFromBitmapFile gave a depth
  std::exception_ptr error;   // what reading it raised, raised again by Next
};

class FrameLoader {
 public:
  // The frame names in import order, before their letter case is resolved.
  explicit FrameLoader(std::vector<std::string> names);
  ~FrameLoader();  // stops reading and waits for the reader
  FrameLoader(const FrameLoader&) = delete;
  FrameLoader& operator=(const FrameLoader&) = delete;

  // The next frame in order; rethrows what reading it raised.
  LoadedFrame Next();

 private:
  // On the reader thread: every frame, each once the caller is close enough.
  void ReadAhead();

  std::vector<std::string> names_;
  size_t ahead_ = 1;  // how far beyond the caller's frame reading may start
  size_t next_ = 0;   // the next frame Next hands over
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::optional<LoadedFrame>> ready_;  // read, not yet taken
  bool stop_ = false;
  std::thread reader_;
};

// Reads one frame on the calling thread: the letter case resolved, then the
// BMP loaded when the file exists.
LoadedFrame LoadFrame(const std::string& name);

}  // namespace velkor
