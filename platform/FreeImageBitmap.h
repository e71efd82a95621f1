#pragma once
// The one owner of a FreeImage bitmap and of a FreeImage memory stream:
// released however their holder's scope ends. The one way a bitmap is
// encoded into bytes in memory (files are then written beside their target
// and renamed, never half-written in place), and the one way FreeImage reads
// a file: through the stream of a platform::InputFile, never by name.
#include <FreeImage.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

namespace velkor::platform {

struct FreeImageUnload {
  void operator()(FIBITMAP* bitmap) const { FreeImage_Unload(bitmap); }
};
using FreeImageBitmap = std::unique_ptr<FIBITMAP, FreeImageUnload>;

struct FreeImageCloseMemory {
  void operator()(FIMEMORY* memory) const { FreeImage_CloseMemory(memory); }
};
using FreeImageMemory = std::unique_ptr<FIMEMORY, FreeImageCloseMemory>;

// `bitmap` encoded as `format`; empty when there is no bitmap or FreeImage
// cannot encode it.
inline std::vector<uint8_t> EncodeImage(FREE_IMAGE_FORMAT format, FIBITMAP* bitmap, int flags) {
  const FreeImageMemory memory(FreeImage_OpenMemory());
  BYTE* data = nullptr;
  DWORD size = 0;
  if (!bitmap || !memory || !FreeImage_SaveToMemory(format, bitmap, memory.get(), flags) ||
      !FreeImage_AcquireMemory(memory.get(), &data, &size)) {
    return {};
  }
  return std::vector<uint8_t>(data, data + size);
}

// FreeImage's reads and seeks on a stdio stream.
inline FreeImageIO StreamIO() {
  FreeImageIO io{};
  io.read_proc = [](void* buffer, unsigned size, unsigned count, fi_handle stream) {
    return static_cast<unsigned>(std::fread(buffer, size, count, static_cast<FILE*>(stream)));
  };
  io.write_proc = [](void*, unsigned, unsigned, fi_handle) { return 0u; };
  io.seek_proc = [](fi_handle stream, long offset, int origin) {
    return std::fseek(static_cast<FILE*>(stream), offset, origin);
  };
  io.tell_proc = [](fi_handle stream) { return std::ftell(static_cast<FILE*>(stream)); };
  return io;
}

// The format of the bytes in `stream` (FIF_UNKNOWN when none), from its start.
inline FREE_IMAGE_FORMAT StreamFormat(FILE* stream) {
  if (!stream) return FIF_UNKNOWN;
  std::rewind(stream);
  FreeImageIO io = StreamIO();
  return FreeImage_GetFileTypeFromHandle(&io, stream, 0);
}

// A bitmap (only its header with FIF_LOAD_NOPIXELS) from the start of `stream`.
inline FIBITMAP* LoadFromStream(FREE_IMAGE_FORMAT format, FILE* stream, int flags) {
  if (!stream) return nullptr;
  std::rewind(stream);
  FreeImageIO io = StreamIO();
  return FreeImage_LoadFromHandle(format, &io, stream, flags);
}

}  // namespace velkor::platform
