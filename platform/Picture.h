#pragma once
// A platform picture object: a bitmap handle that the picture owns.
#include "platform/GdiTypes.h"

namespace velkor::platform {

class StdPicture {
 public:
  StdPicture() = default;
  explicit StdPicture(gdi::HBITMAP owned) : handle_(owned) {}
  ~StdPicture();
  StdPicture(StdPicture&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
  StdPicture& operator=(StdPicture&& other) noexcept;
  StdPicture(const StdPicture&) = delete;
  StdPicture& operator=(const StdPicture&) = delete;

  gdi::HBITMAP Handle() const { return handle_; }
  int Type() const { return handle_ ? 1 : 0; }  // 1 = bitmap

 private:
  gdi::HBITMAP handle_ = nullptr;
};

}  // namespace velkor::platform
