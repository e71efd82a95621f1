#pragma once
// The records of a Garmin SRF file: the 71-byte header and the image record
// (a 32-byte head, the alpha plane, 8 bytes, the colour plane). Integers are
// little-endian in the file; fields follow one another with no gaps, so the
// in-memory layout below never reaches the file as it stands.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace velkor {

struct SRFHeader {
  std::array<uint8_t, 16> Signature{};   // "GARMIN BITMAP 01"
  int32_t HeaderValue1 = 0;              // 4
  int32_t HeaderValue2 = 0;              // 4
  int32_t ImageCount = 0;                // 2 static, 4 animated
  int32_t TextTag1 = 0;                  // 5
  int32_t Text1Length = 0;               // 3
  std::array<uint8_t, 3> Text1{};        // "578"
  int32_t TextTag2 = 0;                  // 6
  int32_t VersionLength = 0;             // 4
  std::array<uint8_t, 4> VersionText{};  // "1.00", "2.00", "2.10" or "2.20"
  int32_t TextTag3 = 0;                  // 7
  int32_t Text3Length = 0;               // 12
  std::array<uint8_t, 12> Text3{};       // "006-D0578-00"
};

struct SRFImage {
  int32_t Reserved1 = 0;
  int32_t ImageValue16 = 0;  // 16
  int32_t Reserved2 = 0;
  int16_t Height = 0;
  int16_t Width = 0;
  uint8_t ColorDepth = 0;  // 16
  uint8_t AlphaDepth = 0;  // 8
  int16_t RowBytes = 0;    // 2 * Width
  std::array<uint8_t, 4> Reserved3{};
  int32_t AlphaTag = 0;            // 11
  int32_t AlphaSize = 0;           // Width * Height
  std::vector<uint8_t> AlphaData;  // one alpha code per pixel, rows top to bottom
  int32_t ColorTag = 0;            // 1
  int32_t ColorSize = 0;           // 2 * Width * Height
  std::vector<uint8_t> ColorData;  // one colour word per pixel, low byte first
};

inline constexpr size_t kSRFHeaderSize = 71;
inline constexpr size_t kSRFImageHeadSize = 32;  // up to and including AlphaSize
inline constexpr size_t kSRFColorHeadSize = 8;   // ColorTag and ColorSize
inline constexpr int32_t kSRFImageCount = 2;
inline constexpr int32_t kSRFImage1Width = 2880;
inline constexpr int32_t kSRFImage1Height = 80;
inline constexpr size_t kSRFLongTrailer = 136;  // versions "1.00" and "2.00"
inline constexpr size_t kSRFShortTrailer = 56;  // every other version

}  // namespace velkor
