#include "sample/RgbImage.h"

#include <cstring>

#include "platform/Files.h"
#include "platform/ImageCodec.h"

namespace velkor::sample {

RgbImage MakeImage(int width, int height, Rgb fill) {
  RgbImage img;
  img.width = width;
  img.height = height;
  img.rgb.resize(static_cast<size_t>(width) * height * 3);
  for (size_t i = 0; i < img.rgb.size(); i += 3) {
    img.rgb[i] = fill.r;
    img.rgb[i + 1] = fill.g;
    img.rgb[i + 2] = fill.b;
  }
  return img;
}

namespace {

bool IsWellFormed(const RgbImage& img) {
  return img.width > 0 && img.height > 0 && img.rgb.size() == static_cast<size_t>(img.width) * img.height * 3;
}

}  // namespace

bool SaveBmp24(const RgbImage& img, const std::string& path, std::string& error) {
  if (!IsWellFormed(img)) {
    error = "cannot write " + path + ": the picture is empty or malformed";
    return false;
  }
  const std::vector<uint8_t> bytes = platform::EncodeBmp24(img.rgb.data(), img.width, img.height);
  platform::SafeFileWriter file;
  if (bytes.empty() || !file.Open(path) || !file.Write(bytes.data(), bytes.size()) || !file.Commit()) {
    error = "cannot write " + path + (file.Error() ? std::string(": ") + std::strerror(file.Error()) : "");
    return false;
  }
  return true;
}

}  // namespace velkor::sample
