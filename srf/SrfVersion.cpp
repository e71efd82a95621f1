#include "srf/SrfVersion.h"

#include <array>
#include <string>

#include "srf/modAnimatedSRFFormat.h"

namespace velkor {

namespace {

// "1.00" and "2.00" carry a full-width 2D strip of 80-pixel frames and the
// long trailer; "2.10" and "2.20" 70-pixel 2D frames and the short one.
constexpr std::array<SrfVersion, 4> kStaticVersions{{
    {"1.00", "1.00", false, 400, 400, 0, kSRFLongTrailer, 0xFF},
    {"2.00", "2.00", false, 400, 400, 0, kSRFLongTrailer, 0xFF},
    {"2.10", "2.10", false, 400, 350, 0, kSRFShortTrailer, 0xFF},
    {"2.20", "2.20", false, 400, 350, 0, kSRFShortTrailer, 0xFF},
}};

// Ten columns beyond the last cell that no frame covers: the file's 3D
// records are two pixels wider than 36 frames.
constexpr SrfVersion kAnimated{"1.00", "1.00", true, 450, 400, 10, kASRFTrailerLength, 0x00};

}  // namespace

const SrfVersion& StaticSrfVersion(const std::string& text) {
  for (const SrfVersion& version : kStaticVersions) {
    if (text == version.text) return version;
  }
  return NewestStaticSrfVersion();
}

const SrfVersion& AnimatedSrfVersion() { return kAnimated; }

const SrfVersion* SrfVersionForPicture(RasterSize size, bool animated) {
  if (animated) return size == kAnimated.device() ? &kAnimated : nullptr;
  const SrfVersion* newest = nullptr;  // the table runs from the oldest
  for (const SrfVersion& version : kStaticVersions) {
    if (size == version.device()) newest = &version;
  }
  return newest;
}

std::string SrfPictureSizesText(bool animated) {
  const auto text = [](RasterSize size) { return std::to_string(size.width) + " x " + std::to_string(size.height); };
  if (animated) return text(kAnimated.device());
  std::string sizes;
  for (auto version = kStaticVersions.rbegin(); version != kStaticVersions.rend(); ++version) {
    if (SrfVersionForPicture(version->device(), false) != &*version) continue;
    sizes += (sizes.empty() ? "" : " or ") + text(version->device()) + " (version " + version->text + ")";
  }
  return sizes;
}

bool IsStaticSrfVersionText(const std::string& text) {
  for (const SrfVersion& version : kStaticVersions) {
    if (text == version.text) return true;
  }
  return false;
}

const SrfVersion& NewestStaticSrfVersion() { return kStaticVersions.back(); }

std::string StaticSrfVersionsText() {
  std::string text;
  for (size_t i = 0; i < kStaticVersions.size(); ++i) {
    text += (i == 0 ? "" : i + 1 == kStaticVersions.size() ? " or " : ", ") + std::string(kStaticVersions[i].text);
  }
  return text;
}

}  // namespace velkor
