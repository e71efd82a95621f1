// CreateFromGarminSRF, the viewer's loader, on arbitrary bytes: it either
// makes a raster as wide as the wider record and as tall as both, or raises an
// error whose text names the file. (The viewer's own canvas and background
// are the same for every input, so the loader is driven directly.)
#include <exception>

#include "FuzzSupport.h"
#include "srf/SrfPreviewLoader.h"

using namespace velkor;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::MaybeWriteSeeds({fuzz::SmallSRF(6, 3, 4, 2), fuzz::SmallSRF(4, 2, 6, 3)});
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::WriteInput(data, size, ".srf");
  static cAlphaDibSection viewer;  // one raster for every input, as the viewer keeps its own
  try {
    CreateFromGarminSRF(viewer, path);
    if (viewer.Empty() || viewer.Width() < 1 || viewer.Height() < 2) fuzz::Fail("a good load left no raster");
  } catch (const std::exception& e) {
    if (std::string(e.what()).find(path) == std::string::npos)
      fuzz::Fail(std::string("the error does not name the file: ") + e.what());
  }
  return 0;
}
