#pragma once
// PNG files to and from the program's rasters, through FreeImage.
#include <memory>
#include <string>

#include "raster/cAlphaDibSection.h"

namespace velkor {

// A PNG's pixels as a new raster, copied as they are (nothing premultiplied
// or keyed); PNGs without alpha become opaque. None, with `problem` saying
// why (without the file's name), when the file cannot be read.
std::unique_ptr<cAlphaDibSection> ReadPngFile(const std::string& name, std::string& problem);

// A PNG of the BMP file `bmpFile`, written beside `pngFile` and put in its
// place only when complete. After PngNotWritten the system's last error says
// why.
enum class BmpToPng { Written, BmpUnreadable, PngNotWritten };
BmpToPng ConvertBmpToPng(const std::string& bmpFile, const std::string& pngFile);

// A PNG of `image` (EncodePng), written beside `pngFile` and put in its place
// only when complete: the pixels ConvertBmpToPng gives from the 32-bit BMP
// that `image.SavePicture` writes, without decoding that BMP again.
// BmpUnreadable when the image cannot be encoded.
BmpToPng ConvertRasterToPng(const cAlphaDibSection& image, const std::string& pngFile);

}  // namespace velkor
