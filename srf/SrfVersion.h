#pragma once
// Everything that depends on which SRF is made, in one table: the four static
// versions and the animated file. The composite strip is five times the
// device raster the writers cut, so the cells fix every size.
#include <cstddef>
#include <cstdint>
#include <string>

namespace velkor {

struct RasterSize {
  int32_t width = 0;
  int32_t height = 0;
  bool operator==(const RasterSize&) const = default;
};

inline constexpr int kFramesPerSet = 36;
// The strip holds every frame at five times the size the device shows it.
inline constexpr int32_t kStripScale = 5;

struct SrfVersion {
  const char* text;        // as the version box and the status line show it
  const char* storedText;  // as the file's header records it
  bool animated;
  int32_t cell3D;           // strip cell edge of the 3D sets
  int32_t cell2D;           // strip cell edge of the 2D sets
  int32_t spareColumns;     // strip columns right of the last cell
  size_t trailerLength;     // bytes between the last record and the checksum
  uint8_t lastTrailerByte;  // the trailer is 0xFF bytes but for its last

  int bands() const { return animated ? 4 : 2; }
  RasterSize strip() const { return {kFramesPerSet * cell3D + spareColumns, (animated ? 2 : 1) * (cell3D + cell2D)}; }
  RasterSize device() const { return {strip().width / kStripScale, strip().height / kStripScale}; }
  // The sizes of a 3D and a 2D record: a band of the device raster.
  RasterSize image3D() const { return Band(cell3D); }
  RasterSize image2D() const { return Band(cell2D); }

 private:
  RasterSize Band(int32_t cell) const {
    return {(kFramesPerSet * cell + spareColumns) / kStripScale, cell / kStripScale};
  }
};

// The static version whose text is exactly `text`; any other text is "2.20".
const SrfVersion& StaticSrfVersion(const std::string& text);
// The animated file, whose only version is "1.00".
const SrfVersion& AnimatedSrfVersion();
// The SRF a picture of exactly `size` is written as: the newest static
// version whose device size it is, or with `animated` the animated file;
// none for any other size.
const SrfVersion* SrfVersionForPicture(RasterSize size, bool animated);
// Those sizes in words: "2880 x 150 (version 2.20) or 2880 x 160 (version
// 2.00)", or "3242 x 340" for the animated file.
std::string SrfPictureSizesText(bool animated);

// True for the four static texts, compared exactly.
bool IsStaticSrfVersionText(const std::string& text);
// The static version made when none is chosen: the newest.
const SrfVersion& NewestStaticSrfVersion();
// The static texts in words: "1.00, 2.00, 2.10 or 2.20".
std::string StaticSrfVersionsText();

}  // namespace velkor
