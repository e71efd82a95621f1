#pragma once
// PNG files to and from the program's rasters, through the image codec
// (platform/ImageCodec.h).
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/Files.h"
#include "raster/cAlphaDibSection.h"

namespace velkor {

// The size the picture file `name` (opened as `file`) declares, read from its
// header before anything is decoded. None, with `problem` saying why (without
// the file's name), when the header cannot be read alone or declares more
// than a picture read may have (platform/PictureLimits.h; a PNG also more
// than its bytes can hold).
struct DeclaredSize {
  uint64_t width = 0, height = 0;
};
std::optional<DeclaredSize> DeclaredPictureSize(platform::InputFile& file, const std::string& name,
                                                std::string& problem);

// A PNG's pixels as a new raster, copied as they are (nothing premultiplied
// or keyed); PNGs without alpha become opaque. None, with `problem` saying
// why (without the file's name), when the file cannot be read.
std::unique_ptr<cAlphaDibSection> ReadPngFile(const std::string& name, std::string& problem);

// A PNG of `image` (EncodePng), written beside `pngFile` and put in its place
// only when complete: the pixels FreeImage gives converting the 32-bit BMP
// that `image.SavePicture` writes, without decoding that BMP again.
// BmpUnreadable when the image cannot be encoded; after PngNotWritten the
// system's last error says why.
enum class BmpToPng { Written, BmpUnreadable, PngNotWritten };
BmpToPng ConvertRasterToPng(const cAlphaDibSection& image, const std::string& pngFile);

}  // namespace velkor
