// The image codec of the browser build: stb_image and stb_image_write
// (Debian's libstb-dev), which compile to WebAssembly where FreeImage does
// not. stb works in R, G, B(, A) rows top-down; sections and rasters hold
// B, G, R(, A) rows bottom-up, so every copy turns both round.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_BMP
#define STBI_ONLY_JPEG
#define STBI_NO_HDR
#define STBI_NO_LINEAR
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image.h>
#include <stb/stb_image_write.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/Gdi.h"
#include "platform/GdiObjects.h"
#include "platform/ImageCodec.h"

namespace velkor::platform {

namespace {

using gdi::HBITMAP;

struct StbFree {
  void operator()(stbi_uc* pixels) const { stbi_image_free(pixels); }
};
using StbPixels = std::unique_ptr<stbi_uc, StbFree>;

// The first `count` bytes of the source (fewer when it is shorter).
std::vector<uint8_t> Head(const ImageSource& source, size_t count) {
  if (source.data) return std::vector<uint8_t>(source.data, source.data + std::min(count, source.size));
  std::vector<uint8_t> head(count);
  if (!source.stream) return {};
  std::rewind(source.stream);
  head.resize(std::fread(head.data(), 1, head.size(), source.stream));
  return head;
}

StbPixels Load(const ImageSource& source, int& width, int& height, int channels) {
  int inFile = 0;
  if (source.data) {
    if (source.size > INT32_MAX) return nullptr;
    return StbPixels(
        stbi_load_from_memory(source.data, static_cast<int>(source.size), &width, &height, &inFile, channels));
  }
  if (!source.stream) return nullptr;
  std::rewind(source.stream);
  return StbPixels(stbi_load_from_file(source.stream, &width, &height, &inFile, channels));
}

// What stb reads of the header: the size and the channels in the file.
struct Info {
  int width = 0, height = 0, channels = 0;
};
std::optional<Info> ReadInfo(const ImageSource& source) {
  Info info;
  if (!source.data && !source.stream) return std::nullopt;
  if (!source.data) std::rewind(source.stream);
  const bool known = source.data
                         ? source.size <= INT32_MAX && stbi_info_from_memory(source.data, static_cast<int>(source.size),
                                                                             &info.width, &info.height, &info.channels)
                         : stbi_info_from_file(source.stream, &info.width, &info.height, &info.channels);
  if (!known) return std::nullopt;
  return info;
}

// Row `y` (top-down) of R, G, B(, A) pixels into B, G, R(, A) at `out`.
void SwapRedBlue(const uint8_t* in, uint8_t* out, int width, int channels) {
  for (int x = 0; x < width; ++x, in += channels, out += channels) {
    out[0] = in[2];
    out[1] = in[1];
    out[2] = in[0];
    if (channels == 4) out[3] = in[3];
  }
}

void Collect(void* context, void* data, int size) {
  auto* out = static_cast<std::vector<uint8_t>*>(context);
  out->insert(out->end(), static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
}

}  // namespace

bool IsBmp(const ImageSource& source) {
  const std::vector<uint8_t> head = Head(source, 2);
  return head.size() == 2 && head[0] == 'B' && head[1] == 'M';
}

std::optional<ImageHeader> ReadBmpHeader(const ImageSource& source) {
  const std::optional<Info> info = ReadInfo(source);
  if (!info) return std::nullopt;
  return ImageHeader{static_cast<uint64_t>(info->width), static_cast<uint64_t>(info->height),
                     info->channels == 4 ? 32u : 24u};
}

HBITMAP DecodeBmp(const ImageSource& source) {
  const std::optional<Info> info = ReadInfo(source);
  const int channels = info && info->channels == 4 ? 4 : 3;
  int width = 0, height = 0;
  const StbPixels pixels = Load(source, width, height, channels);
  if (!pixels || width <= 0 || height <= 0) return nullptr;
  gdi::BITMAPINFOHEADER header;
  header.biWidth = width;
  header.biHeight = height;
  header.biBitCount = static_cast<uint16_t>(8 * channels);
  void* bits = nullptr;
  HBITMAP section = gdi::CreateDIBSection(nullptr, header, {}, gdi::DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!section) return nullptr;
  for (int y = 0; y < height; ++y) {
    SwapRedBlue(pixels.get() + static_cast<size_t>(y) * width * channels,
                section->bits() + static_cast<size_t>(height - 1 - y) * section->stride(), width, channels);
  }
  return section;
}

std::vector<uint8_t> EncodeBmp24(const uint8_t* rgb, int32_t width, int32_t height) {
  std::vector<uint8_t> out;
  if (!stbi_write_bmp_to_func(Collect, &out, width, height, 3, rgb)) return {};
  return out;
}

// stb knows a PNG by its signature. Its own header reader refuses pictures
// over 1 GiB without saying their size, so a PNG's header is left to the
// caller's reader, whose message names it.
PictureHeader ReadPictureHeader(const std::string&, FILE* stream) {
  using Kind = PictureHeader::Kind;
  static constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  const ImageSource source{nullptr, 0, stream};
  const std::vector<uint8_t> head = Head(source, sizeof kPngSignature);
  if (head.size() == sizeof kPngSignature && std::memcmp(head.data(), kPngSignature, sizeof kPngSignature) == 0) {
    return {Kind::Png};
  }
  const std::optional<Info> info = ReadInfo(source);
  if (!info) return {Kind::NotAPicture};
  return {Kind::Sized, static_cast<uint64_t>(info->width), static_cast<uint64_t>(info->height)};
}

PictureDecode DecodePicture(const std::string&, FILE* stream,
                            const std::function<uint8_t*(int32_t width, int32_t height)>& target) {
  int width = 0, height = 0;
  const StbPixels pixels = Load(ImageSource{nullptr, 0, stream}, width, height, 4);
  if (!pixels || width <= 0 || height <= 0) return PictureDecode::Unreadable;
  uint8_t* rows = target(width, height);
  if (!rows) return PictureDecode::NoTarget;
  const size_t rowBytes = static_cast<size_t>(width) * 4;
  for (int y = 0; y < height; ++y) {
    SwapRedBlue(pixels.get() + y * rowBytes, rows + (height - 1 - y) * rowBytes, width, 4);
  }
  return PictureDecode::Decoded;
}

const char* ImageCodecName() { return "this page"; }

std::vector<uint8_t> EncodePng(const uint8_t* bgra, int32_t width, int32_t height) {
  if (!bgra || width <= 0 || height <= 0) return {};
  const size_t rowBytes = static_cast<size_t>(width) * 4;
  std::vector<uint8_t> rgba(rowBytes * height);
  for (int32_t y = 0; y < height; ++y) {
    SwapRedBlue(bgra + (height - 1 - y) * rowBytes, rgba.data() + y * rowBytes, width, 4);
  }
  std::vector<uint8_t> out;
  if (!stbi_write_png_to_func(Collect, &out, width, height, 4, rgba.data(), static_cast<int>(rowBytes))) return {};
  return out;
}

}  // namespace velkor::platform
