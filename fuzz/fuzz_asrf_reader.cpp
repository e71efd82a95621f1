// ReadASRFFile on arbitrary bytes, under the same rules as the static reader.
#include "FuzzSupport.h"

using namespace velkor;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::MaybeWriteSeeds({fuzz::SmallASRF(), fuzz::SmallSRF(6, 3, 4, 2)});
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Window& w = fuzz::SharedWindow();
  w.Reset();
  const std::string path = fuzz::WriteInput(data, size, ".srf");
  const cAlphaDibSection* before = w.form.WorkImage.get();
  const uint64_t fingerprint = fuzz::Fingerprint(*before);
  if (w.form.ReadASRFFile(path)) {
    if (!w.form.ImageLoaded || w.form.WorkImage->Empty()) fuzz::Fail("a good read left no picture");
  } else {
    fuzz::CheckFailedRead(w, path, before, fingerprint, true);
  }
  return 0;
}
