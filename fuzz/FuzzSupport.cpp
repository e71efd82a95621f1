#include "FuzzSupport.h"

#include <FreeImage.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/FillRectangle.h"
#include "srf/SrfRecordIO.h"
#include "srf/modAnimatedSRFFormat.h"

namespace velkor::fuzz {

namespace {

std::string ScratchFolder() {
  static const std::string folder = [] {
    auto dir = std::filesystem::temp_directory_path() / ("velkor-fuzz-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    return dir.string();
  }();
  return folder;
}

void WriteFile(const std::string& path, const uint8_t* data, size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  if (!out) Fail("cannot write the input to " + path);
}

std::vector<uint8_t> Layout(int32_t count, const std::vector<SRFImage>& images, size_t trailer) {
  std::vector<uint8_t> bytes;
  AppendSRFHeader(bytes, MakeSRFHeader(count, "2.20"));
  for (const SRFImage& image : images) AppendSRFImage(bytes, image);
  bytes.insert(bytes.end(), trailer, 0xFF);
  bytes.push_back(SRFChecksumByte(bytes.data(), bytes.size()));
  return bytes;
}

SRFImage PatternImage(int16_t width, int16_t height) {
  SRFImage image = MakeSRFImage(width, height);
  for (size_t i = 0; i < image.AlphaData.size(); ++i) image.AlphaData[i] = static_cast<uint8_t>((i * 37) % 129);
  for (size_t i = 0; i < image.ColorData.size(); ++i) image.ColorData[i] = static_cast<uint8_t>(i * 101);
  return image;
}

}  // namespace

std::string WriteInput(const uint8_t* data, size_t size, const std::string& extension) {
  const std::string path = ScratchFolder() + "/input" + extension;
  WriteFile(path, data, size);
  return path;
}

Window::Window() { Reset(); }

void Window::Reset() {
  if (form.WorkImage->Width() != 7 || form.WorkImage->Height() != 5) form.WorkImage->Create(7, 5);
  FillRectangle(form.WorkImage->hDC(), 0, 0, 7, 5, 0x123456);
  form.ImageLoaded = true;
  view = testing::FakeView();
}

Window& SharedWindow() {
  static Window window;
  return window;
}

uint64_t Fingerprint(const cAlphaDibSection& image) {
  uint64_t h = 1469598103934665603ull;
  auto mix = [&h](uint64_t v) { h = (h ^ v) * 1099511628211ull; };
  mix(static_cast<uint32_t>(image.Width()));
  mix(static_cast<uint32_t>(image.Height()));
  if (image.Empty()) return h;
  const size_t bytes = static_cast<size_t>(image.Width()) * 4 * static_cast<size_t>(image.Height());
  for (size_t i = 0; i < bytes; ++i) mix(image.DIBSectionBitsPtr()[i]);
  return h;
}

void Fail(const std::string& what) {
  std::fprintf(stderr, "INVARIANT BROKEN: %s\n", what.c_str());
  std::abort();
}

void CheckFailedRead(Window& w, const std::string& path, const cAlphaDibSection* imageBefore,
                     uint64_t fingerprintBefore, bool loadedBefore) {
  if (w.view.messages.empty()) Fail("a failed read showed no message");
  if (w.view.messages.back().find(path) == std::string::npos)
    Fail("the message does not name the file: " + w.view.messages.back());
  if (w.form.WorkImage.get() != imageBefore) Fail("a failed read replaced the working image");
  if (Fingerprint(*w.form.WorkImage) != fingerprintBefore) Fail("a failed read changed the working image");
  if (w.form.ImageLoaded != loadedBefore) Fail("a failed read changed ImageLoaded");
}

std::vector<uint8_t> SmallSRF(int16_t width1, int16_t height1, int16_t width2, int16_t height2) {
  return Layout(kSRFImageCount, {PatternImage(width1, height1), PatternImage(width2, height2)}, kSRFShortTrailer);
}

std::vector<uint8_t> SmallASRF() {
  return Layout(kASRFImageCount, {PatternImage(6, 3), PatternImage(5, 2), PatternImage(4, 3), PatternImage(5, 2)},
                kASRFTrailerLength);
}

std::vector<std::vector<uint8_t>> SmallBitmaps(int format) {
  std::vector<std::vector<uint8_t>> files;
  for (int bpp : {1, 4, 8, 16, 24, 32}) {
    if (format == FIF_PNG && bpp == 16) continue;
    FIBITMAP* bitmap = FreeImage_Allocate(5, 3, bpp);
    if (!bitmap) continue;
    if (RGBQUAD* palette = FreeImage_GetPalette(bitmap)) {
      for (unsigned i = 0; i < FreeImage_GetColorsUsed(bitmap); ++i)
        palette[i] = RGBQUAD{static_cast<BYTE>(i * 17), static_cast<BYTE>(i * 5), static_cast<BYTE>(255 - i), 0};
    }
    for (unsigned y = 0; y < 3; ++y) {
      BYTE* row = FreeImage_GetScanLine(bitmap, y);
      for (unsigned i = 0; i < FreeImage_GetLine(bitmap); ++i) row[i] = static_cast<BYTE>(y * 31 + i * 7);
    }
    FIMEMORY* memory = FreeImage_OpenMemory();
    if (FreeImage_SaveToMemory(static_cast<FREE_IMAGE_FORMAT>(format), bitmap, memory, 0)) {
      BYTE* data = nullptr;
      DWORD size = 0;
      FreeImage_AcquireMemory(memory, &data, &size);
      files.emplace_back(data, data + size);
    }
    FreeImage_CloseMemory(memory);
    FreeImage_Unload(bitmap);
  }
  return files;
}

void MaybeWriteSeeds(const std::vector<std::vector<uint8_t>>& seeds) {
  const char* folder = std::getenv("VELKOR_FUZZ_SEEDS");
  if (!folder || !*folder) return;
  std::filesystem::create_directories(folder);
  for (size_t i = 0; i < seeds.size(); ++i)
    WriteFile(std::string(folder) + "/seed-" + std::to_string(i), seeds[i].data(), seeds[i].size());
  std::exit(0);
}

}  // namespace velkor::fuzz
