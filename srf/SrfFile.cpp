#include "srf/SrfFile.h"

#include <algorithm>

#include "srf/SrfCodes.h"
#include "srf/SrfRaster.h"
#include "srf/SrfRecordIO.h"

namespace velkor {

std::optional<std::vector<SRFImage>> EncodeSRFImages(const cAlphaDibSection& raster, const SrfVersion& version) {
  std::vector<RasterSize> bands;
  for (int group = 0; group < version.bands() / 2; ++group) {
    bands.push_back(version.image3D());
    bands.push_back(version.image2D());
  }
  int32_t rows = 0, width = 0;
  for (const RasterSize& band : bands) {
    rows += band.height;
    width = std::max(width, band.width);
  }
  if (raster.Empty() || raster.Height() < rows || raster.Width() < width) return std::nullopt;
  std::vector<SRFImage> images;
  int32_t top = raster.Height() - rows;
  for (const RasterSize& band : bands) {
    images.push_back(EncodeSRFImage(raster, top, static_cast<int16_t>(band.width), static_cast<int16_t>(band.height)));
    top += band.height;
  }
  return images;
}

bool SRFPictureIsTransparent(const cAlphaDibSection& raster, const SrfVersion& version) {
  const std::optional<std::vector<SRFImage>> images = EncodeSRFImages(raster, version);
  if (!images) return false;
  return std::all_of(images->begin(), images->end(), [](const SRFImage& image) {
    return std::all_of(image.AlphaData.begin(), image.AlphaData.end(),
                       [](uint8_t code) { return code == kMaxSRFAlphaCode; });
  });
}

std::vector<uint8_t> EncodeSRFBody(const SrfVersion& version, const std::vector<SRFImage>& images) {
  size_t size = kSRFHeaderSize + version.trailerLength;
  for (const SRFImage& image : images) size += kSRFImageHeadSize + kSRFColorHeadSize + 3 * image.AlphaData.size();
  std::vector<uint8_t> body;
  body.reserve(size + 1);  // and the checksum byte
  AppendSRFHeader(body, MakeSRFHeader(static_cast<int32_t>(images.size()), version.storedText));
  for (const SRFImage& image : images) AppendSRFImage(body, image);
  body.insert(body.end(), version.trailerLength, 0xFF);
  if (version.trailerLength > 0) body.back() = version.lastTrailerByte;
  return body;
}

}  // namespace velkor
