#include "srf/SrfRecordIO.h"

#include <algorithm>
#include <cstring>

#include "common/LittleEndian.h"
#include "common/VbError.h"
#include "platform/Files.h"
#include "srf/SrfCodes.h"
#include "srf/SrfVersion.h"
#include "srf/modAnimatedSRFFormat.h"

namespace velkor {

namespace {

template <size_t N>
std::array<uint8_t, N> TextField(const std::string& text) {
  std::array<uint8_t, N> field{};
  std::copy_n(text.begin(), std::min(N, text.size()), field.begin());
  return field;
}

void PutBytes(std::vector<uint8_t>& out, const uint8_t* data, size_t size) { out.insert(out.end(), data, data + size); }

template <size_t N>
void PutBytes(std::vector<uint8_t>& out, const std::array<uint8_t, N>& field) {
  PutBytes(out, field.data(), N);
}

void PutI32(std::vector<uint8_t>& out, int32_t value) { AppendLE32(out, static_cast<uint32_t>(value)); }
void PutI16(std::vector<uint8_t>& out, int16_t value) { AppendLE16(out, static_cast<uint16_t>(value)); }

// Little-endian fields read from a buffer whose length the caller has checked.
class FieldReader {
 public:
  FieldReader(const std::vector<uint8_t>& bytes, size_t offset) : bytes_(bytes), offset_(offset) {}
  size_t Offset() const { return offset_; }
  int32_t I32() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(bytes_[offset_ + i]) << (8 * i);
    offset_ += 4;
    return static_cast<int32_t>(v);
  }
  int16_t I16() {
    const auto v = static_cast<uint16_t>(bytes_[offset_] | (bytes_[offset_ + 1] << 8));
    offset_ += 2;
    return static_cast<int16_t>(v);
  }
  uint8_t U8() { return bytes_[offset_++]; }
  template <size_t N>
  std::array<uint8_t, N> Bytes() {
    std::array<uint8_t, N> field{};
    std::memcpy(field.data(), bytes_.data() + offset_, N);
    offset_ += N;
    return field;
  }
  std::vector<uint8_t> Plane(size_t size) {
    std::vector<uint8_t> plane(bytes_.begin() + static_cast<ptrdiff_t>(offset_),
                               bytes_.begin() + static_cast<ptrdiff_t>(offset_ + size));
    offset_ += size;
    return plane;
  }

 private:
  const std::vector<uint8_t>& bytes_;
  size_t offset_;
};

std::string RecordName(int number) { return "record " + std::to_string(number); }

void RequireBytes(const std::vector<uint8_t>& bytes, size_t offset, size_t needed, int number, size_t recordStart,
                  const std::string& what, const std::string& path) {
  const size_t left = offset <= bytes.size() ? bytes.size() - offset : 0;
  if (left >= needed) return;
  RaiseSRFReadError(kErrSubscript, path,
                    RecordName(number) + " is cut short at offset " + std::to_string(recordStart) + ": " + what +
                        " needs " + std::to_string(needed) + " bytes at offset " + std::to_string(offset) +
                        " but only " + std::to_string(left) + " are left");
}

void RequirePlaneSize(int32_t size, int64_t expected, int number, const std::string& plane, const SRFImage& image,
                      const std::string& path) {
  if (size == expected) return;
  RaiseSRFReadError(kErrSubscript, path,
                    RecordName(number) + " gives its " + plane + " plane " + std::to_string(size) + " bytes, but its " +
                        std::to_string(image.Width) + " x " + std::to_string(image.Height) + " pixels need " +
                        std::to_string(expected));
}

void RequireValidAlphaCodes(const SRFImage& image, int number, const std::string& path) {
  const auto bad = std::find_if(image.AlphaData.begin(), image.AlphaData.end(),
                                [](uint8_t code) { return code > kMaxSRFAlphaCode; });
  if (bad == image.AlphaData.end()) return;
  const auto index = static_cast<int64_t>(bad - image.AlphaData.begin());
  RaiseSRFReadError(kErrOverflow, path,
                    RecordName(number) + " holds the alpha code " + std::to_string(*bad) + " at pixel (" +
                        std::to_string(index % image.Width) + ", " + std::to_string(index / image.Width) +
                        "); codes above 128 are not valid");
}

}  // namespace

void RaiseSRFReadError(int number, const std::string& path, const std::string& problem) {
  throw VbError(number, "Velkor", "Cannot read " + path + ": " + problem);
}

SRFHeader MakeSRFHeader(int32_t imageCount, const std::string& versionText) {
  SRFHeader h;
  h.Signature = TextField<16>("GARMIN BITMAP 01");
  h.HeaderValue1 = 4;
  h.HeaderValue2 = 4;
  h.ImageCount = imageCount;
  h.TextTag1 = 5;
  h.Text1Length = 3;
  h.Text1 = TextField<3>("578");
  h.TextTag2 = 6;
  h.VersionLength = 4;
  h.VersionText = TextField<4>(versionText);
  h.TextTag3 = 7;
  h.Text3Length = 12;
  h.Text3 = TextField<12>("006-D0578-00");
  return h;
}

SRFImage MakeSRFImage(int16_t width, int16_t height) {
  SRFImage image;
  image.ImageValue16 = 16;
  image.Height = height;
  image.Width = width;
  image.ColorDepth = 16;
  image.AlphaDepth = 8;
  image.RowBytes = static_cast<int16_t>(2 * width);
  image.AlphaTag = 11;
  image.AlphaSize = width * height;
  image.AlphaData.assign(static_cast<size_t>(image.AlphaSize), 0);
  image.ColorTag = 1;
  image.ColorSize = 2 * width * height;
  image.ColorData.assign(static_cast<size_t>(image.ColorSize), 0);
  return image;
}

void AppendSRFHeader(std::vector<uint8_t>& out, const SRFHeader& h) {
  PutBytes(out, h.Signature);
  PutI32(out, h.HeaderValue1);
  PutI32(out, h.HeaderValue2);
  PutI32(out, h.ImageCount);
  PutI32(out, h.TextTag1);
  PutI32(out, h.Text1Length);
  PutBytes(out, h.Text1);
  PutI32(out, h.TextTag2);
  PutI32(out, h.VersionLength);
  PutBytes(out, h.VersionText);
  PutI32(out, h.TextTag3);
  PutI32(out, h.Text3Length);
  PutBytes(out, h.Text3);
}

void AppendSRFImage(std::vector<uint8_t>& out, const SRFImage& image) {
  PutI32(out, image.Reserved1);
  PutI32(out, image.ImageValue16);
  PutI32(out, image.Reserved2);
  PutI16(out, image.Height);
  PutI16(out, image.Width);
  out.push_back(image.ColorDepth);
  out.push_back(image.AlphaDepth);
  PutI16(out, image.RowBytes);
  PutBytes(out, image.Reserved3);
  PutI32(out, image.AlphaTag);
  PutI32(out, image.AlphaSize);
  PutBytes(out, image.AlphaData.data(), image.AlphaData.size());
  PutI32(out, image.ColorTag);
  PutI32(out, image.ColorSize);
  PutBytes(out, image.ColorData.data(), image.ColorData.size());
}

uint8_t SRFChecksumByte(const uint8_t* data, size_t size) {
  // Summing in 64 bits and reducing once gives the same s as reducing after
  // every byte.
  uint64_t sum = 0;
  for (size_t i = 0; i < size; ++i) sum += data[i];
  const auto s = static_cast<unsigned>(sum % 255);
  return s == 0 ? 0 : static_cast<uint8_t>(256 - s);
}

std::vector<uint8_t> ReadSRFBytes(const std::string& path) {
  std::string problem;
  auto bytes = platform::ReadWholeFile(path, &problem);
  if (!bytes) RaiseSRFReadError(kErrFileNotFound, path, problem);
  return std::move(*bytes);
}

SRFHeader ParseSRFHeader(const std::vector<uint8_t>& bytes, const std::string& path) {
  if (bytes.size() < kSRFHeaderSize) {
    RaiseSRFReadError(kErrSubscript, path,
                      "the file is " + std::to_string(bytes.size()) + " bytes long, too short for the " +
                          std::to_string(kSRFHeaderSize) + "-byte header");
  }
  FieldReader in(bytes, 0);
  SRFHeader h;
  h.Signature = in.Bytes<16>();
  h.HeaderValue1 = in.I32();
  h.HeaderValue2 = in.I32();
  h.ImageCount = in.I32();
  h.TextTag1 = in.I32();
  h.Text1Length = in.I32();
  h.Text1 = in.Bytes<3>();
  h.TextTag2 = in.I32();
  h.VersionLength = in.I32();
  h.VersionText = in.Bytes<4>();
  h.TextTag3 = in.I32();
  h.Text3Length = in.I32();
  h.Text3 = in.Bytes<12>();
  return h;
}

SRFImage ParseSRFImage(const std::vector<uint8_t>& bytes, size_t& offset, int number, const std::string& path) {
  const size_t start = offset;
  RequireBytes(bytes, offset, kSRFImageHeadSize, number, start, "its head", path);
  FieldReader in(bytes, offset);
  SRFImage image;
  image.Reserved1 = in.I32();
  image.ImageValue16 = in.I32();
  image.Reserved2 = in.I32();
  image.Height = in.I16();
  image.Width = in.I16();
  image.ColorDepth = in.U8();
  image.AlphaDepth = in.U8();
  image.RowBytes = in.I16();
  image.Reserved3 = in.Bytes<4>();
  image.AlphaTag = in.I32();
  image.AlphaSize = in.I32();
  if (image.Width < 1 || image.Height < 1) {
    RaiseSRFReadError(kErrSubscript, path,
                      RecordName(number) + " at offset " + std::to_string(start) + " has a size of " +
                          std::to_string(static_cast<uint16_t>(image.Width)) + " x " +
                          std::to_string(static_cast<uint16_t>(image.Height)) +
                          " pixels; a record is 1 to 32767 pixels each way");
  }
  const int64_t pixels = int64_t{image.Width} * image.Height;
  RequirePlaneSize(image.AlphaSize, pixels, number, "alpha", image, path);
  RequireBytes(bytes, in.Offset(), static_cast<size_t>(image.AlphaSize), number, start, "its alpha plane", path);
  image.AlphaData = in.Plane(static_cast<size_t>(image.AlphaSize));
  RequireValidAlphaCodes(image, number, path);

  RequireBytes(bytes, in.Offset(), kSRFColorHeadSize, number, start, "its colour tag and size", path);
  image.ColorTag = in.I32();
  image.ColorSize = in.I32();
  RequirePlaneSize(image.ColorSize, 2 * pixels, number, "colour", image, path);
  RequireBytes(bytes, in.Offset(), static_cast<size_t>(image.ColorSize), number, start, "its colour plane", path);
  image.ColorData = in.Plane(static_cast<size_t>(image.ColorSize));
  offset = in.Offset();
  return image;
}

std::string DescribeSRFKind(const SRFHeader& header) {
  if (header.ImageCount == kASRFImageCount) return "an animated SRF file";
  if (header.ImageCount != kSRFImageCount) return {};
  const std::string version(header.VersionText.begin(), header.VersionText.end());
  return "a static SRF file" + (IsStaticSrfVersionText(version) ? " (version " + version + ")" : std::string());
}

int SRFRecordCount(const SRFHeader& header, int atLeast) {
  return std::max(atLeast, header.ImageCount == kASRFImageCount ? kASRFImageCount : kSRFImageCount);
}

std::vector<SRFImage> ParseSRFImages(const std::vector<uint8_t>& bytes, int count, const std::string& path,
                                     size_t* end) {
  const int records = SRFRecordCount(ParseSRFHeader(bytes, path), count);
  std::vector<SRFImage> images;
  size_t offset = kSRFHeaderSize;
  for (int number = 1; number <= records; ++number) images.push_back(ParseSRFImage(bytes, offset, number, path));
  images.resize(static_cast<size_t>(count));
  if (end) *end = offset;
  return images;
}

}  // namespace velkor
