#pragma once
// SRF and animated SRF to PNG and back. The PNG of a picture is always
// written with the 32-bit BMP it is made from beside it.
#include <memory>
#include <string>

#include "jobs/Progress.h"
#include "jobs/Result.h"
#include "raster/cAlphaDibSection.h"
#include "srf/SrfVersion.h"

namespace velkor {

// A PNG's pixels as they are (nothing premultiplied or keyed).
Result<std::unique_ptr<cAlphaDibSection>> ReadPng(const std::string& path, Progress& progress);

// The SRF a PNG picture read from `path` is written as: a static one in the
// version its size gives, or the animated file. A Failure for any other size
// (a larger picture cut to size would make an icon of fragments) or a
// picture with nothing in it.
Result<const SrfVersion*> SrfVersionOfPng(const cAlphaDibSection& picture, const std::string& path, bool animated,
                                          Progress& progress);

// The PNG beside a BMP: its folder and name up to the first dot, so a.b.bmp
// gives a.png.
std::string PngNameFor(const std::string& bmpPath);

// `picture` as a 32-bit BMP at `bmpPath`, then as a PNG beside it.
Result<Done> SavePngPair(cAlphaDibSection& picture, const std::string& bmpPath, Progress& progress);

// The picture of an SRF (or animated SRF) file as a BMP and PNG pair.
Result<Done> SrfToPng(const std::string& srfPath, const std::string& bmpPath, bool animated, Progress& progress);

// A PNG of an SRF picture as that SRF; the version written.
Result<const SrfVersion*> PngToSrf(const std::string& pngPath, const std::string& srfPath, bool animated,
                                   Progress& progress);

}  // namespace velkor
