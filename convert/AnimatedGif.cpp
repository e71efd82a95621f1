#include "convert/AnimatedGif.h"

#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <memory>
#include <optional>

#include "common/VbError.h"
#include "platform/Files.h"
#include "platform/SystemError.h"

namespace velkor {

namespace {

uint8_t Over(uint8_t premultiplied, uint8_t alpha, uint8_t background) {
  return static_cast<uint8_t>(premultiplied + (background * (255 - alpha) + 127) / 255);
}

// One frame as giflib takes it: its palette and a palette index per pixel,
// rows top-down.
struct IndexedFrame {
  std::vector<GifColorType> palette;
  std::vector<GifByteType> indices;
};

// giflib's median cut gives each palette entry the mean of its box at 5 bits
// a channel (white comes out 248); each entry then becomes the mean of the
// pixels it stands for, at 8 bits, so a colour alone in its box stays exact.
void RefinePalette(const std::array<std::vector<GifByteType>, 3>& planes, IndexedFrame& frame) {
  std::vector<std::array<uint64_t, 4>> sums(frame.palette.size());  // R, G, B sums and the count
  for (size_t i = 0; i < frame.indices.size(); ++i) {
    std::array<uint64_t, 4>& sum = sums[frame.indices[i]];
    for (size_t c = 0; c < 3; ++c) sum[c] += planes[c][i];
    ++sum[3];
  }
  for (size_t k = 0; k < sums.size(); ++k) {
    const uint64_t n = sums[k][3];
    if (n == 0) continue;
    const auto mean = [&](size_t c) { return static_cast<GifByteType>((sums[k][c] + n / 2) / n); };
    frame.palette[k] = GifColorType{mean(0), mean(1), mean(2)};
  }
}

// The heading over the map, quantized; none when giflib cannot.
std::optional<IndexedFrame> Quantize(const HeadingFrame& heading) {
  const size_t pixels = static_cast<size_t>(heading.width) * heading.height;
  std::array<std::vector<GifByteType>, 3> planes;
  for (auto& plane : planes) plane.resize(pixels);
  for (int y = 0, i = 0; y < heading.height; ++y) {
    for (int x = 0; x < heading.width; ++x, ++i) {
      uint8_t map[3];
      MapBackgroundPixel(x, y, heading.width, heading.height, map);
      const uint8_t* in = &heading.rgba[4 * static_cast<size_t>(i)];
      for (size_t c = 0; c < 3; ++c) planes[c][i] = Over(in[c], in[3], map[c]);
    }
  }
  IndexedFrame frame{std::vector<GifColorType>(256), std::vector<GifByteType>(pixels)};
  int colours = 256;
  if (GifQuantizeBuffer(heading.width, heading.height, &colours, planes[0].data(), planes[1].data(), planes[2].data(),
                        frame.indices.data(), frame.palette.data()) != GIF_OK) {
    return std::nullopt;
  }
  frame.palette.resize(static_cast<size_t>(1) << GifBitSize(colours));  // GIF palettes come in powers of two
  RefinePalette(planes, frame);
  return frame;
}

int Collect(GifFileType* gif, const GifByteType* data, int length) {
  try {
    auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
    out->insert(out->end(), data, data + length);
    return length;
  } catch (const std::bad_alloc&) {
    return 0;  // giflib reports the short write
  }
}

struct GifClose {
  void operator()(GifFileType* gif) const { EGifCloseFile(gif, nullptr); }
};

// The file's first block after the screen: loop for ever (the NETSCAPE2.0
// application block, sub-block 1, a loop count of 0).
bool PutLoopForEver(GifFileType* gif) {
  static constexpr GifByteType kApplication[11] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
  static constexpr GifByteType kLoop[3] = {1, 0, 0};
  return EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
         EGifPutExtensionBlock(gif, sizeof kApplication, kApplication) == GIF_OK &&
         EGifPutExtensionBlock(gif, sizeof kLoop, kLoop) == GIF_OK && EGifPutExtensionTrailer(gif) == GIF_OK;
}

bool PutFrame(GifFileType* gif, const IndexedFrame& frame, int width, int height) {
  GraphicsControlBlock control{};
  control.DisposalMode = DISPOSAL_UNSPECIFIED;
  control.DelayTime = kGifFrameTimeMs / 10;  // GIF counts hundredths of a second
  control.TransparentColor = NO_TRANSPARENT_COLOR;
  GifByteType extension[4];
  const size_t length = EGifGCBToExtension(&control, extension);
  if (EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension) != GIF_OK) return false;
  const std::unique_ptr<ColorMapObject, void (*)(ColorMapObject*)> palette(
      GifMakeMapObject(static_cast<int>(frame.palette.size()), frame.palette.data()), GifFreeMapObject);
  if (!palette || EGifPutImageDesc(gif, 0, 0, width, height, false, palette.get()) != GIF_OK) return false;
  for (int y = 0; y < height; ++y) {
    // giflib takes the row as non-const but only reads it.
    auto* row = const_cast<GifByteType*>(&frame.indices[static_cast<size_t>(y) * width]);
    if (EGifPutLine(gif, row, width) != GIF_OK) return false;
  }
  return true;
}

}  // namespace

void MapBackgroundPixel(int x, int y, int width, int height, uint8_t rgb[3]) {
  const int centre = height / 2, half = height / 6;
  const bool road = std::abs(y - centre) <= half;
  const bool kerb = std::abs(y - centre) == half;
  const bool dash = (y == centre || y == centre - 1) && (x * 8 / std::max(width, 1)) % 2 == 0;
  const uint8_t beige[3] = {242, 234, 214}, asphalt[3] = {168, 168, 164}, edge[3] = {128, 128, 124},
                white[3] = {250, 250, 250};
  const uint8_t* c = !road ? beige : kerb ? edge : dash ? white : asphalt;
  rgb[0] = c[0];
  rgb[1] = c[1];
  rgb[2] = c[2];
}

std::vector<uint8_t> EncodeAnimatedGif(const std::vector<HeadingFrame>& frames) {
  if (frames.empty()) return {};
  const int width = frames.front().width, height = frames.front().height;
  std::vector<uint8_t> bytes;
  std::unique_ptr<GifFileType, GifClose> gif(EGifOpen(&bytes, Collect, nullptr));
  if (!gif) return {};
  EGifSetGifVersion(gif.get(), true);
  if (EGifPutScreenDesc(gif.get(), width, height, 8, 0, nullptr) != GIF_OK || !PutLoopForEver(gif.get())) return {};
  for (const HeadingFrame& heading : frames) {
    if (heading.width != width || heading.height != height) return {};
    const std::optional<IndexedFrame> frame = Quantize(heading);
    if (!frame || !PutFrame(gif.get(), *frame, width, height)) return {};
  }
  // Closing writes the trailer; the file is complete only when that worked.
  if (EGifCloseFile(gif.release(), nullptr) != GIF_OK) return {};
  return bytes;
}

bool WriteAnimatedGif(const std::vector<HeadingFrame>& frames, const std::string& gifFile, std::string& error) {
  const std::vector<uint8_t> bytes = EncodeAnimatedGif(frames);
  if (bytes.empty()) {
    error = "Cannot write " + gifFile + ": the GIF cannot be encoded";
    return false;
  }
  platform::SafeFileWriter file;
  if (!file.Open(gifFile) || !file.Write(bytes.data(), bytes.size()) || !file.Commit()) {
    error = platform::CannotWrite(gifFile, file.Error());
    return false;
  }
  return true;
}

bool WriteSRFAsGif(const std::string& srfFile, const std::string& gifFile, std::string& error) {
  if (error = platform::OverwritesInput(gifFile, {srfFile}); !error.empty()) return false;
  try {
    return WriteAnimatedGif(LoadSRFHeadings(srfFile), gifFile, error);
  } catch (const VbError& e) {
    error = e.Description();
    return false;
  }
}

}  // namespace velkor
