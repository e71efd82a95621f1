// Loading BMP files into DIB sections, through the image codec
// (platform/ImageCodec.h), with the checks that keep a hostile file from
// costing more than its size: the usual 24-bit frame is copied straight in.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/Files.h"
#include "platform/Gdi.h"
#include "platform/GdiObjects.h"
#include "platform/ImageCodec.h"
#include "platform/PictureLimits.h"
#include "platform/SystemError.h"

namespace velkor::gdi {

namespace {

// A file's header may claim any size, but the pixels must come from the file:
// run-length encoding, the densest a BMP gets, packs at most 255 one-byte
// pixels into two bytes. A bitmap over 128 times its file, or over the pixel
// limit of every picture read, is refused before anything is allocated for it.
bool PlausibleSize(const platform::ImageSource& source, uint64_t length) {
  const std::optional<platform::ImageHeader> header = platform::ReadBmpHeader(source);
  if (!header || !platform::PictureSizeProblem(header->width, header->height).empty()) return false;
  const uint64_t stride = ((header->width * header->bitsPerPixel + 31) / 32) * 4;
  const uint64_t bytes = stride * header->height;
  return bytes <= 128 * length + 65536 && bytes <= testing::DibSectionByteLimit();
}

// A frame file read whole with one read, instead of three (type, header,
// pixels). Each thread keeps its buffer, so the frame loader's workers do not
// allocate per frame. Larger files are read through their stream.
constexpr int64_t kWholeReadLimit = int64_t{64} << 20;

bool ReadWhole(const platform::InputFile& file, std::vector<uint8_t>& buffer) {
  if (file.Size() <= 0 || file.Size() > kWholeReadLimit) return false;
  buffer.resize(static_cast<size_t>(file.Size()));
  return platform::ReadUpTo(file.Descriptor(), buffer.data(), buffer.size()) == buffer.size();
}

uint32_t LittleEndian(const std::vector<uint8_t>& bytes, size_t at, size_t size) {
  uint32_t value = 0;
  for (size_t i = size; i-- > 0;) value = (value << 8) | bytes[at + i];
  return value;
}

// FreeImage decodes an uncompressed file whose pixel data ends early without
// an error, with the missing rows black: a frame cut short in a copy would
// go into the icon as a black block. Such a file needs at least its pixel
// offset plus one padded row per picture row; shorter, it is unreadable.
// Compressed files have no fixed length and are left to the decoder. `head`
// holds the file's first bytes (up to 34), `length` its whole length.
bool PixelDataComplete(const std::vector<uint8_t>& head, uint64_t length) {
  if (head.size() < 26) return true;  // too short for a header: the decoder refuses it
  const uint32_t headerSize = LittleEndian(head, 14, 4);
  uint64_t width = 0, height = 0, bpp = 0;
  uint32_t compression = 0;
  if (headerSize == 12) {  // the OS/2 header: 16-bit sizes, never compressed
    width = LittleEndian(head, 18, 2);
    height = LittleEndian(head, 20, 2);
    bpp = LittleEndian(head, 24, 2);
  } else {
    if (head.size() < 34) return true;
    width = static_cast<uint64_t>(std::abs(static_cast<int64_t>(static_cast<int32_t>(LittleEndian(head, 18, 4)))));
    height = static_cast<uint64_t>(std::abs(static_cast<int64_t>(static_cast<int32_t>(LittleEndian(head, 22, 4)))));
    bpp = LittleEndian(head, 28, 2);
    compression = LittleEndian(head, 30, 4);
  }
  constexpr uint32_t kRgb = 0, kBitFields = 3, kAlphaBitFields = 6;
  if (compression != kRgb && compression != kBitFields && compression != kAlphaBitFields) return true;
  if (bpp == 0 || bpp > 32) return true;  // no such BMP depth: the decoder refuses it
  // An offset inside the headers is one the decoder does not trust either.
  const uint64_t offset = std::max<uint64_t>(LittleEndian(head, 10, 4), 14 + uint64_t{headerSize});
  const uint64_t stride = (width * bpp + 31) / 32 * 4;
  return length >= offset + stride * height;
}

// The first bytes of a file, for PixelDataComplete on the stream path.
std::vector<uint8_t> FileHead(FILE* stream) {
  std::vector<uint8_t> head(34);
  std::rewind(stream);
  head.resize(std::fread(head.data(), 1, head.size(), stream));
  return head;
}

// The usual frame file: a 40-byte information header, one plane, 24 bits, no
// compression, no colour table, pixels right after the headers at 54, rows
// bottom-up and all of them in the file. Decoding such a file gives its rows
// as they are; they are copied straight into the section instead of through a
// decoder's zeroed bitmap first. Any other file is decoded by the codec.
HBITMAP PlainTwentyFourBitSection(const std::vector<uint8_t>& bytes) {
  constexpr size_t kPixels = 54;
  if (bytes.size() < kPixels || LittleEndian(bytes, 10, 4) != kPixels || LittleEndian(bytes, 14, 4) != 40 ||
      LittleEndian(bytes, 26, 2) != 1 || LittleEndian(bytes, 28, 2) != 24 || LittleEndian(bytes, 30, 4) != 0 ||
      LittleEndian(bytes, 46, 4) != 0) {
    return nullptr;
  }
  const auto width = static_cast<int32_t>(LittleEndian(bytes, 18, 4));
  const auto height = static_cast<int32_t>(LittleEndian(bytes, 22, 4));
  if (width <= 0 || height <= 0) return nullptr;
  const uint64_t pitch = ((static_cast<uint64_t>(width) * 24 + 31) / 32) * 4;
  if (kPixels + pitch * static_cast<uint64_t>(height) > bytes.size()) return nullptr;
  BITMAPINFOHEADER header;
  header.biWidth = width;
  header.biHeight = height;
  header.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(nullptr, header, {}, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!section) return nullptr;
  std::memcpy(section->bits(), bytes.data() + kPixels, static_cast<size_t>(pitch * static_cast<uint64_t>(height)));
  return section;
}

// The BMP in `source` (`length` bytes, the first of them in `head`) after
// the checks, or null with the reason in the system's last error. `whole`,
// when the file was read whole, may be a plain frame copied straight in.
HBITMAP Decode(const platform::ImageSource& source, uint64_t length, const std::vector<uint8_t>& head,
               const std::vector<uint8_t>* whole) {
  if (!platform::IsBmp(source)) {
    platform::SetLastError(EINVAL);
    return nullptr;
  }
  if (!PlausibleSize(source, length)) {
    platform::SetLastError(EFBIG);
    return nullptr;
  }
  if (!PixelDataComplete(head, length)) {
    platform::SetLastError(EINVAL);
    return nullptr;
  }
  if (whole) {
    if (HBITMAP plain = PlainTwentyFourBitSection(*whole)) return plain;
  }
  HBITMAP section = platform::DecodeBmp(source);
  if (!section) platform::SetLastError(EINVAL);
  return section;
}

HBITMAP LoadFromMemory(const std::vector<uint8_t>& bytes) {
  const std::vector<uint8_t> head(bytes.begin(), bytes.begin() + std::min<size_t>(bytes.size(), 34));
  return Decode(platform::ImageSource{bytes.data(), bytes.size(), nullptr}, bytes.size(), head, &bytes);
}

HBITMAP LoadFromStream(platform::InputFile& file) {
  FILE* stream = file.Stream();
  const platform::ImageSource source{nullptr, 0, stream};
  return Decode(source, static_cast<uint64_t>(file.Size()), stream ? FileHead(stream) : std::vector<uint8_t>{},
                nullptr);
}

}  // namespace

HBITMAP LoadImageA(void*, const char* name, uint32_t type, int, int, uint32_t flags) {
  if (!name || type != IMAGE_BITMAP || !(flags & LR_LOADFROMFILE)) {
    platform::SetLastError(EINVAL);
    return nullptr;
  }
  platform::InputFile file(name);
  if (!file.IsOpen()) return nullptr;  // the reason is the system's last error
  thread_local std::vector<uint8_t> bytes;
  if (ReadWhole(file, bytes)) return LoadFromMemory(bytes);
  return LoadFromStream(file);
}

}  // namespace velkor::gdi
