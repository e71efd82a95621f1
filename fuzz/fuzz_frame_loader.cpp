// Frame and PNG loading on arbitrary bytes. The bytes are tried as a BMP
// frame (cDib::CreateFromBitmapFile, then copied into an alpha raster as the
// import does) and as a PNG chosen for PNG to SRF (LoadPNG). A PNG that
// cannot be loaded is reported naming the file and leaves the working image.
// The PNG header our bound reads must be the one FreeImage decodes: any
// header FreeImage reads, ours reads too, with the same size, and a size the
// bound lets through is within the pixel limit.
#include <exception>

#include <FreeImage.h>

#include "FuzzSupport.h"
#include "convert/PngHeader.h"
#include "platform/FreeImageBitmap.h"
#include "platform/PictureLimits.h"
#include "raster/cDib.h"
#include "support/PngBytes.h"

using namespace velkor;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  auto seeds = fuzz::SmallBitmaps(FIF_BMP);
  for (auto& png : fuzz::SmallBitmaps(FIF_PNG)) seeds.push_back(std::move(png));
  for (const uint32_t side : {8192u, 100000u})
    seeds.push_back(testing::PngWithHeader(side + 1, side, 1, 0, testing::Rows({{0}})));
  fuzz::MaybeWriteSeeds(seeds);
  return 0;
}

namespace {

void TryFrame(const std::string& path) {
  cDib frame;
  try {
    if (frame.CreateFromBitmapFile(path) == 0) return;
  } catch (const std::exception&) {
    return;
  }
  if (frame.Width() < 1 || frame.Height() < 1) fuzz::Fail("a loaded frame has no pixels");
  cAlphaDibSection strip;
  if (!strip.Create(16, 16)) fuzz::Fail("cannot make the strip");
  strip.LoadPictureBlt(frame.hDIBDC(), 0, 0, -1, -1);
}

void TryPNG(fuzz::Window& w, const std::string& path) {
  w.Reset();
  w.view.dialogAnswers.push_back(path);
  const cAlphaDibSection* before = w.form.WorkImage.get();
  const uint64_t fingerprint = fuzz::Fingerprint(*before);
  if (w.form.LoadPNG()) {
    if (w.form.WorkImage->Empty()) fuzz::Fail("a good PNG left no picture");
  } else {
    fuzz::CheckFailedRead(w, path, before, fingerprint, true);
  }
}

void TryPngHeader(const uint8_t* data, size_t size) {
  const std::optional<PngHeader> ours = ParsePngHeader(data, size);
  if (ours && PngSizeProblem(*ours, size).empty() && uint64_t{ours->width} * ours->height > platform::kMaxPicturePixels)
    fuzz::Fail("a PNG over the pixel limit passed the bound");
  const platform::FreeImageMemory memory(FreeImage_OpenMemory(const_cast<uint8_t*>(data), static_cast<DWORD>(size)));
  const platform::FreeImageBitmap header(memory ? FreeImage_LoadFromMemory(FIF_PNG, memory.get(), FIF_LOAD_NOPIXELS)
                                                : nullptr);
  if (!header) return;
  if (!ours) fuzz::Fail("FreeImage reads a PNG header that the bound does not");
  if (FreeImage_GetWidth(header.get()) != ours->width || FreeImage_GetHeight(header.get()) != ours->height)
    fuzz::Fail("the bound reads another size than FreeImage");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TryPngHeader(data, size);
  TryFrame(fuzz::WriteInput(data, size, ".bmp"));
  TryPNG(fuzz::SharedWindow(), fuzz::WriteInput(data, size, ".png"));
  return 0;
}
