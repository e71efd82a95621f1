#pragma once
// The engine's door to the image files a library decodes and encodes: BMP
// frames in, PNG pictures in and out, rendered frames out as BMP. One of two
// implementations is chosen at build time: FreeImage in the desktop build
// (platform/codec/FreeImageCodec.cpp) and stb in the browser build
// (platform/codec/StbCodec.cpp), where FreeImage is not to be had. Both give
// the rasters the same pixels for the same file; the browser's own image
// decoding is never used (it premultiplies and colour-converts).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/GdiTypes.h"

namespace velkor::platform {

// What a file's header says, read before any pixel is decoded.
struct ImageHeader {
  uint64_t width = 0;
  uint64_t height = 0;
  uint64_t bitsPerPixel = 0;  // of the picture the decoder makes
};

// A file to decode: its bytes, already read whole, or (data null) the
// stream of the regular file it was opened as (platform::InputFile). Files
// are never opened by name here.
struct ImageSource {
  const uint8_t* data = nullptr;
  size_t size = 0;
  FILE* stream = nullptr;
};

// Whether the source's bytes are a BMP file's.
bool IsBmp(const ImageSource& source);

// The BMP's header; none when it cannot be read.
std::optional<ImageHeader> ReadBmpHeader(const ImageSource& source);

// The BMP as a DIB section, rows bottom-up; null when it cannot be decoded.
// FreeImage keeps the file's depth and colour table; stb gives 24 bits (32
// for files with an alpha channel) of the same colours.
gdi::HBITMAP DecodeBmp(const ImageSource& source);

// A 24-bit BMP file of R, G, B bytes, rows top-down; empty on failure.
std::vector<uint8_t> EncodeBmp24(const uint8_t* rgb, int32_t width, int32_t height);

// What a picture file's header says before any pixel is decoded, `stream`
// holding the bytes of the file `name`. FreeImage takes the format from the
// name's extension, stb from the bytes. A PNG's header is left to the
// caller's PNG header reader (the PNG bound needs more than the size).
struct PictureHeader {
  enum class Kind { Png, Sized, NotAPicture, SizeUnreadable } kind = Kind::NotAPicture;
  uint64_t width = 0, height = 0;  // of Sized
};
PictureHeader ReadPictureHeader(const std::string& name, FILE* stream);

// The picture file `name` (its bytes in `stream`) decoded to 32 bits, B, G,
// R, A, into the rows that `target(width, height)` gives (bottom-up, width ×
// 4 bytes each; null when it cannot hold them). Pictures without alpha come
// out opaque; 16-bit channels keep their high byte. FreeImage reads any
// format it knows by the name's extension, stb PNG, BMP and JPEG.
enum class PictureDecode { Decoded, Unreadable, NotConvertible, NoTarget };
PictureDecode DecodePicture(const std::string& name, FILE* stream,
                            const std::function<uint8_t*(int32_t width, int32_t height)>& target);

// The library's name, for messages ("not a picture FreeImage can read").
const char* ImageCodecName();

// PNG bytes of 32-bit B, G, R, A rows, bottom-up, width × 4 bytes each, as
// FreeImage encodes a 32-bit BMP that records no resolution; empty on failure.
std::vector<uint8_t> EncodePng(const uint8_t* bgra, int32_t width, int32_t height);

}  // namespace velkor::platform
