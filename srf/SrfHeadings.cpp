#include "srf/SrfHeadings.h"

#include "common/VbError.h"
#include "srf/SrfCodes.h"
#include "srf/SrfFileCheck.h"
#include "srf/SrfRecordIO.h"

namespace velkor {

namespace {

HeadingFrame DecodeFrame(const SRFImage& strip, int left, int width) {
  HeadingFrame frame{width, strip.Height, {}};
  frame.rgba.resize(static_cast<size_t>(width) * strip.Height * 4);
  uint8_t* out = frame.rgba.data();
  for (int y = 0; y < strip.Height; ++y) {
    for (int x = left; x < left + width; ++x) {
      const size_t i = static_cast<size_t>(y) * strip.Width + x;
      const SRFRgb c = UnpackSRFColor(strip.ColorData[2 * i], strip.ColorData[2 * i + 1]);
      *out++ = c.r;
      *out++ = c.g;
      *out++ = c.b;
      *out++ = SRFCodeToAlpha(strip.AlphaData[i]);  // codes were checked by the parser
    }
  }
  return frame;
}

}  // namespace

std::vector<HeadingFrame> LoadSRFHeadings(const std::string& path) {
  const std::vector<uint8_t> bytes = ReadSRFBytesWithin(path);
  RequireSRFHeader(ParseSRFHeader(bytes, path), path);
  const SRFImage strip = ParseSRFImages(bytes, 1, path).front();
  const int width = strip.Width / kHeadingCount;
  if (width < 1) RaiseSRFReadError(kErrSubscript, path, "its first record is too narrow for 36 headings");
  std::vector<HeadingFrame> frames;
  for (int i = 0; i < kHeadingCount; ++i) frames.push_back(DecodeFrame(strip, i * width, width));
  return frames;
}

}  // namespace velkor
