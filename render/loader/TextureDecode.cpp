#include "render/loader/TextureDecode.h"

#include <FreeImage.h>
#include <assimp/texture.h>

#include "platform/Files.h"
#include "platform/FreeImageBitmap.h"
#include "render/SceneLimits.h"

namespace velkor::render {

namespace {

using Bitmap = platform::FreeImageBitmap;

bool SizeAllowed(uint64_t width, uint64_t height, std::string& error) {
  if (width == 0 || height == 0 || width * height > kMaxTexturePixels) {
    error = "a texture of " + std::to_string(width) + "x" + std::to_string(height) +
            " pixels is empty or larger than the limit of " + std::to_string(kMaxTexturePixels) + " pixels";
    return false;
  }
  return true;
}

// FreeImage rows are bottom-up B,G,R,A; ours are top-down R,G,B,A.
bool FromBitmap(FIBITMAP* loaded, Texture& out, std::string& error) {
  if (!SizeAllowed(FreeImage_GetWidth(loaded), FreeImage_GetHeight(loaded), error)) return false;
  Bitmap rgba(FreeImage_ConvertTo32Bits(loaded));
  if (!rgba) return (error = "a texture cannot be converted to RGBA", false);
  out.width = FreeImage_GetWidth(rgba.get());
  out.height = FreeImage_GetHeight(rgba.get());
  out.rgba.resize(size_t{out.width} * out.height * 4);
  for (uint32_t y = 0; y < out.height; ++y) {
    const BYTE* row = FreeImage_GetScanLine(rgba.get(), static_cast<int>(out.height - 1 - y));
    uint8_t* dst = &out.rgba[size_t{y} * out.width * 4];
    for (uint32_t x = 0; x < out.width; ++x) {
      dst[4 * x] = row[4 * x + FI_RGBA_RED];
      dst[4 * x + 1] = row[4 * x + FI_RGBA_GREEN];
      dst[4 * x + 2] = row[4 * x + FI_RGBA_BLUE];
      dst[4 * x + 3] = row[4 * x + FI_RGBA_ALPHA];
    }
  }
  return true;
}

// Reads the header first so that a huge picture is refused before decoding.
bool FromMemory(BYTE* data, DWORD size, Texture& out, std::string& error) {
  const platform::FreeImageMemory memory(FreeImage_OpenMemory(data, size));
  if (!memory) return (error = "a texture cannot be decoded", false);
  const FREE_IMAGE_FORMAT format = FreeImage_GetFileTypeFromMemory(memory.get(), 0);
  if (format == FIF_UNKNOWN) return (error = "a texture is not a picture FreeImage can read", false);
  Bitmap header(FreeImage_LoadFromMemory(format, memory.get(), FIF_LOAD_NOPIXELS));
  if (!header) return (error = "a texture cannot be decoded", false);
  if (!SizeAllowed(FreeImage_GetWidth(header.get()), FreeImage_GetHeight(header.get()), error)) return false;
  FreeImage_SeekMemory(memory.get(), 0, SEEK_SET);
  Bitmap pixels(FreeImage_LoadFromMemory(format, memory.get(), 0));
  if (!pixels) return (error = "a texture cannot be decoded", false);
  return FromBitmap(pixels.get(), out, error);
}

}  // namespace

bool DecodeEmbeddedTexture(const aiTexture& texture, Texture& out, std::string& error) {
  if (texture.mHeight == 0) {  // compressed file bytes, mWidth long
    return FromMemory(reinterpret_cast<BYTE*>(texture.pcData), texture.mWidth, out, error);
  }
  if (!SizeAllowed(texture.mWidth, texture.mHeight, error)) return false;
  out.width = texture.mWidth;
  out.height = texture.mHeight;
  out.rgba.resize(size_t{out.width} * out.height * 4);
  for (size_t i = 0; i < size_t{out.width} * out.height; ++i) {
    const aiTexel& t = texture.pcData[i];
    out.rgba[4 * i] = t.r;
    out.rgba[4 * i + 1] = t.g;
    out.rgba[4 * i + 2] = t.b;
    out.rgba[4 * i + 3] = t.a;
  }
  return true;
}

bool DecodeTextureFile(const std::string& path, Texture& out, std::string& error) {
  platform::InputFile file(path);
  const FREE_IMAGE_FORMAT format = platform::StreamFormat(file.Stream());
  if (format == FIF_UNKNOWN) return (error = "texture " + path + " is missing or not a picture", false);
  Bitmap header(platform::LoadFromStream(format, file.Stream(), FIF_LOAD_NOPIXELS));
  if (!header || !SizeAllowed(FreeImage_GetWidth(header.get()), FreeImage_GetHeight(header.get()), error)) {
    if (error.empty()) error = "texture " + path + " cannot be decoded";
    return false;
  }
  Bitmap pixels(platform::LoadFromStream(format, file.Stream(), 0));
  if (!pixels) return (error = "texture " + path + " cannot be decoded", false);
  return FromBitmap(pixels.get(), out, error);
}

}  // namespace velkor::render
