#include "render/BmpOutput.h"

#include <cstring>

#include "platform/Files.h"
#include "platform/ImageCodec.h"

namespace velkor::render {

bool WriteFrameBmp(const FrameImage& frame, const std::string& path, std::string& error) {
  const std::vector<uint8_t> bytes = platform::EncodeBmp24(frame.rgb.data(), frame.size, frame.size);
  if (bytes.empty()) {
    error = "cannot encode frame " + path + " as a BMP";
    return false;
  }
  if (const int failure = platform::WriteWholeFile(path, bytes.data(), bytes.size()); failure != 0) {
    error = "cannot write frame " + path + ": " + std::strerror(failure);
    return false;
  }
  return true;
}

}  // namespace velkor::render
