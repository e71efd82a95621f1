// Frame and PNG loading on arbitrary bytes. The bytes are tried as a BMP
// frame (cDib::CreateFromBitmapFile, then copied into an alpha raster as the
// import does) and as a PNG chosen for PNG to SRF (LoadPNG). A PNG that
// cannot be loaded is reported naming the file and leaves the working image.
#include <exception>

#include <FreeImage.h>

#include "FuzzSupport.h"
#include "raster/cDib.h"

using namespace velkor;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  auto seeds = fuzz::SmallBitmaps(FIF_BMP);
  for (auto& png : fuzz::SmallBitmaps(FIF_PNG)) seeds.push_back(std::move(png));
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TryFrame(fuzz::WriteInput(data, size, ".bmp"));
  TryPNG(fuzz::SharedWindow(), fuzz::WriteInput(data, size, ".png"));
  return 0;
}
