#include "convert/PngWriter.h"

#include <png.h>

#include <csetjmp>

namespace velkor {

namespace {

constexpr int kZlibLevel = 4;

void Append(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void Flush(png_structp) {}

bool Opaque(const cAlphaDibSection& image) {
  const uint8_t* bits = image.DIBSectionBitsPtr();
  const int64_t pixels = int64_t{image.Width()} * image.Height();
  for (int64_t i = 0; i < pixels; ++i) {
    if (bits[4 * i + 3] != 255) return false;
  }
  return true;
}

// libpng reports errors by longjmp: nothing with a destructor lives here.
bool Encode(const cAlphaDibSection& image, bool opaque, std::vector<uint8_t>& out) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, &out, Append, Flush);
  png_set_IHDR(png, info, static_cast<png_uint_32>(image.Width()), static_cast<png_uint_32>(image.Height()), 8,
               opaque ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
  png_set_compression_level(png, kZlibLevel);
  png_write_info(png, info);
  png_set_bgr(png);  // the raster's pixels are B, G, R, A
  if (opaque) png_set_filler(png, 0, PNG_FILLER_AFTER);  // drops the fourth byte
  // The raster is bottom-up; a PNG starts with the top row.
  for (int32_t y = 0; y < image.Height(); ++y) png_write_row(png, image.PictureRow(y));
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

std::vector<uint8_t> EncodePng(const cAlphaDibSection& image) {
  std::vector<uint8_t> out;
  if (image.Empty()) return out;
  out.reserve(static_cast<size_t>(image.Width()) * static_cast<size_t>(image.Height()) / 4);
  if (!Encode(image, Opaque(image), out)) out.clear();
  return out;
}

}  // namespace velkor
