// ReadSRFFile on arbitrary bytes: a failed read names the file and leaves the
// working image and ImageLoaded as they were; a good one loads a picture as
// tall as its two records.
#include "FuzzSupport.h"

using namespace velkor;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::MaybeWriteSeeds({fuzz::SmallSRF(6, 3, 4, 2), fuzz::SmallSRF(2, 1, 2, 1), fuzz::SmallSRF(3, 4, 5, 2)});
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Window& w = fuzz::SharedWindow();
  w.Reset();
  const std::string path = fuzz::WriteInput(data, size, ".srf");
  const cAlphaDibSection* before = w.form.WorkImage.get();
  const uint64_t fingerprint = fuzz::Fingerprint(*before);
  if (w.form.ReadSRFFile(path)) {
    if (!w.form.ImageLoaded || w.form.WorkImage->Empty()) fuzz::Fail("a good read left no picture");
    if (w.view.LastStatus() != "Status: Done...") fuzz::Fail("a good read did not end on Done");
  } else {
    fuzz::CheckFailedRead(w, path, before, fingerprint, true);
  }
  return 0;
}
