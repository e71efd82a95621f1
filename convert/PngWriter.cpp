#include "convert/PngWriter.h"

#include "platform/ImageCodec.h"

namespace velkor {

std::vector<uint8_t> EncodePng(const cAlphaDibSection& image) {
  if (image.Empty()) return {};
  return platform::EncodePng(image.DIBSectionBitsPtr(), image.Width(), image.Height());
}

}  // namespace velkor
