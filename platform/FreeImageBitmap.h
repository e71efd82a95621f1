#pragma once
// The one owner of a FreeImage bitmap: released however its holder's scope
// ends.
#include <FreeImage.h>

#include <memory>

namespace velkor::platform {

struct FreeImageUnload {
  void operator()(FIBITMAP* bitmap) const { FreeImage_Unload(bitmap); }
};
using FreeImageBitmap = std::unique_ptr<FIBITMAP, FreeImageUnload>;

}  // namespace velkor::platform
