#include "convert/PngHeader.h"

#include <cstring>

#include "platform/PictureLimits.h"

namespace velkor {

namespace {

uint32_t BigEndian32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 | static_cast<uint32_t>(p[2]) << 8 |
         p[3];
}

// Channels of a colour type, 0 for none the format has; and whether `depth`
// is one that colour type allows.
uint32_t Channels(uint8_t colourType, uint8_t depth) {
  const bool anyDepth = depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
  switch (colourType) {
    case 0: return anyDepth ? 1 : 0;                   // grey
    case 3: return anyDepth && depth <= 8 ? 1 : 0;     // palette
    case 2: return depth == 8 || depth == 16 ? 3 : 0;  // RGB
    case 4: return depth == 8 || depth == 16 ? 2 : 0;  // grey and alpha
    case 6: return depth == 8 || depth == 16 ? 4 : 0;  // RGBA
    default: return 0;
  }
}

// Deflate packs at most about 1032 bytes into one, so a picture whose rows
// need far more than that many times the file's length cannot be in it.
constexpr uint64_t kMaxInflation = 1032;
constexpr uint64_t kSlackBytes = 65536;

}  // namespace

std::optional<PngHeader> ParsePngHeader(const uint8_t* bytes, size_t size) {
  static constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (size < kPngHeaderBytes || std::memcmp(bytes, kSignature, 8) != 0 || BigEndian32(bytes + 8) != 13 ||
      std::memcmp(bytes + 12, "IHDR", 4) != 0) {
    return std::nullopt;
  }
  const uint32_t channels = Channels(bytes[25], bytes[24]);
  if (channels == 0) return std::nullopt;
  return PngHeader{BigEndian32(bytes + 16), BigEndian32(bytes + 20), channels * bytes[24]};
}

std::string PngSizeProblem(const PngHeader& header, uint64_t length) {
  if (std::string problem = platform::PictureSizeProblem(header.width, header.height); !problem.empty()) return problem;
  const uint64_t width = header.width, height = header.height;
  const uint64_t rowBytes = 1 + (width * header.bitsPerPixel + 7) / 8;  // with the filter byte
  const uint64_t budget = kMaxInflation * length + kSlackBytes;
  if (height == 0 || rowBytes <= budget / height) return {};  // divided: the product may not fit
  return "its header claims " + std::to_string(width) + " x " + std::to_string(height) + " pixels, far more than its " +
         std::to_string(length) + " bytes can hold";
}

}  // namespace velkor
