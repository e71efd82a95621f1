// PNG files to and from the program's rasters, through the image codec. Both
// keep their rows bottom-up, so rows copy straight across.
#include "convert/PngFiles.h"

#include <cstdio>
#include <optional>

#include "convert/PngHeader.h"
#include "convert/PngWriter.h"
#include "platform/ImageCodec.h"
#include "platform/PictureLimits.h"
#include "platform/SystemError.h"

namespace velkor {

namespace {

std::string NotAPicture() { return std::string("it is not a picture ") + platform::ImageCodecName() + " can read"; }

}  // namespace

// Checked before anything is allocated for the picture: a PNG's size from
// its own header (PngSizeProblem), any other format's from the header the
// codec reads alone. A format whose header cannot be read alone is refused
// rather than decoded blind.
std::optional<DeclaredSize> DeclaredPictureSize(platform::InputFile& file, const std::string& name,
                                                std::string& problem) {
  using Kind = platform::PictureHeader::Kind;
  FILE* stream = file.Stream();
  const platform::PictureHeader header = platform::ReadPictureHeader(name, stream);
  problem.clear();
  switch (header.kind) {
    case Kind::Png: {
      uint8_t head[kPngHeaderBytes];
      std::rewind(stream);
      const std::optional<PngHeader> png = ParsePngHeader(head, std::fread(head, 1, sizeof head, stream));
      if (!png) break;
      problem = PngSizeProblem(*png, static_cast<uint64_t>(file.Size()));
      return problem.empty() ? std::optional(DeclaredSize{png->width, png->height}) : std::nullopt;
    }
    case Kind::Sized:
      problem = platform::PictureSizeProblem(header.width, header.height);
      return problem.empty() ? std::optional(DeclaredSize{header.width, header.height}) : std::nullopt;
    case Kind::SizeUnreadable: problem = "its picture size cannot be read before decoding it"; return std::nullopt;
    case Kind::NotAPicture: break;
  }
  problem = NotAPicture();
  return std::nullopt;
}

std::unique_ptr<cAlphaDibSection> ReadPngFile(const std::string& name, std::string& problem) {
  platform::InputFile file(name);
  if (!file.IsOpen()) {
    problem = file.Problem();
    return nullptr;
  }
  if (!DeclaredPictureSize(file, name, problem)) return nullptr;
  auto image = std::make_unique<cAlphaDibSection>();
  int32_t width = 0, height = 0;
  const platform::PictureDecode decoded =
      platform::DecodePicture(name, file.Stream(), [&](int32_t w, int32_t h) -> uint8_t* {
        width = w;
        height = h;
        return image->Create(w, h) ? image->DIBSectionBitsPtr() : nullptr;
      });
  switch (decoded) {
    case platform::PictureDecode::Decoded: return image;
    case platform::PictureDecode::Unreadable: problem = NotAPicture(); break;
    case platform::PictureDecode::NotConvertible: problem = "its pixels cannot be converted to 32 bits"; break;
    case platform::PictureDecode::NoTarget:
      problem = "a " + std::to_string(width) + " x " + std::to_string(height) + " picture cannot be created";
      break;
  }
  return nullptr;
}

BmpToPng ConvertRasterToPng(const cAlphaDibSection& image, const std::string& pngFile) {
  const std::vector<uint8_t> png = EncodePng(image);
  if (png.empty()) return BmpToPng::BmpUnreadable;
  platform::SetLastError(0);
  platform::SafeFileWriter file;
  const bool saved = file.Open(pngFile) && file.Write(png.data(), png.size()) && file.Commit();
  return saved ? BmpToPng::Written : BmpToPng::PngNotWritten;
}

}  // namespace velkor
