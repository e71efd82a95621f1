#include "srf/SrfFileInfo.h"

#include <cstdio>

#include "common/VbError.h"
#include "srf/SrfRecordIO.h"
#include "srf/modAnimatedSRFFormat.h"

namespace velkor {

namespace {

// Header texts as they stand, with anything unprintable shown as \xNN.
template <size_t N>
std::string Printable(const std::array<uint8_t, N>& text) {
  std::string out;
  for (uint8_t c : text) {
    if (c >= 0x20 && c < 0x7F && c != '\\') {
      out += static_cast<char>(c);
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
      out += escaped;
    }
  }
  return out;
}

class Facts {
 public:
  explicit Facts(SRFFileInfo& info) : info_(info) {}
  void Add(const std::string& key, const std::string& value) { info_.facts.emplace_back(key, value); }
  void Add(const std::string& key, int64_t value) { Add(key, std::to_string(value)); }

 private:
  SRFFileInfo& info_;
};

void DescribeHeader(Facts& facts, const SRFHeader& h) {
  facts.Add("header.signature", Printable(h.Signature));
  facts.Add("header.value1", h.HeaderValue1);
  facts.Add("header.value2", h.HeaderValue2);
  facts.Add("header.image-count", h.ImageCount);
  facts.Add("header.text1-tag", h.TextTag1);
  facts.Add("header.text1-length", h.Text1Length);
  facts.Add("header.text1", Printable(h.Text1));
  facts.Add("header.version-tag", h.TextTag2);
  facts.Add("header.version-length", h.VersionLength);
  facts.Add("header.version", Printable(h.VersionText));
  facts.Add("header.text3-tag", h.TextTag3);
  facts.Add("header.text3-length", h.Text3Length);
  facts.Add("header.text3", Printable(h.Text3));
}

void DescribeImage(Facts& facts, int number, size_t offset, size_t end, const SRFImage& image) {
  const std::string key = "record." + std::to_string(number) + ".";
  facts.Add(key + "offset", static_cast<int64_t>(offset));
  facts.Add(key + "length", static_cast<int64_t>(end - offset));
  // 16-bit fields as the bytes say: 0xFFFF is 65535, not -1.
  facts.Add(key + "width", static_cast<uint16_t>(image.Width));
  facts.Add(key + "height", static_cast<uint16_t>(image.Height));
  facts.Add(key + "row-bytes", static_cast<uint16_t>(image.RowBytes));
  facts.Add(key + "color-depth", image.ColorDepth);
  facts.Add(key + "alpha-depth", image.AlphaDepth);
  facts.Add(key + "value16", image.ImageValue16);
  facts.Add(key + "alpha-tag", image.AlphaTag);
  facts.Add(key + "alpha-size", image.AlphaSize);
  facts.Add(key + "color-tag", image.ColorTag);
  facts.Add(key + "color-size", image.ColorSize);
}

// Trailer and checksum after the records; true when the stored byte follows
// the checksum rule.
bool DescribeEnd(Facts& facts, const std::vector<uint8_t>& bytes, size_t end) {
  facts.Add("trailer.offset", static_cast<int64_t>(end));
  if (bytes.size() == end) {
    facts.Add("trailer.length", 0);
    facts.Add("checksum.stored", "none");
    facts.Add("checksum.matches", "no");
    return false;
  }
  facts.Add("trailer.length", static_cast<int64_t>(bytes.size() - end - 1));
  const uint8_t stored = bytes.back();
  const uint8_t expected = SRFChecksumByte(bytes.data(), bytes.size() - 1);
  facts.Add("checksum.stored", stored);
  facts.Add("checksum.expected", expected);
  facts.Add("checksum.matches", stored == expected ? "yes" : "no");
  return stored == expected;
}

}  // namespace

SRFFileInfo DescribeSRFFile(const std::string& path) {
  SRFFileInfo info;
  Facts facts(info);
  facts.Add("file", path);
  try {
    const std::vector<uint8_t> bytes = ReadSRFBytes(path);
    facts.Add("size", static_cast<int64_t>(bytes.size()));
    const SRFHeader header = ParseSRFHeader(bytes, path);
    DescribeHeader(facts, header);
    const bool animated = header.ImageCount == kASRFImageCount;
    const int count = SRFRecordCount(header);
    const std::string kind = animated ? "animated" : "static";
    facts.Add("kind", kind);
    facts.Add("records", count);
    size_t offset = kSRFHeaderSize;
    for (int number = 1; number <= count; ++number) {
      const size_t start = offset;
      const SRFImage image = ParseSRFImage(bytes, offset, number, path);
      DescribeImage(facts, number, start, offset, image);
    }
    const bool checksumOk = DescribeEnd(facts, bytes, offset);
    info.readable = true;
    info.verdict = "readable " + kind + " SRF file, version " + Printable(header.VersionText) +
                   (checksumOk ? ", checksum matches" : ", but its checksum byte does not match");
  } catch (const VbError& e) {
    info.readable = false;
    info.verdict = "unreadable: " + e.Description();
  }
  return info;
}

}  // namespace velkor
