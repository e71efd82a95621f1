#include "platform/Picture.h"

#include "platform/Gdi.h"

namespace velkor::platform {

StdPicture::~StdPicture() {
  if (handle_) gdi::DeleteObject(handle_);
}

StdPicture& StdPicture::operator=(StdPicture&& other) noexcept {
  if (this != &other) {
    if (handle_) gdi::DeleteObject(handle_);
    handle_ = other.handle_;
    other.handle_ = nullptr;
  }
  return *this;
}

}  // namespace velkor::platform
