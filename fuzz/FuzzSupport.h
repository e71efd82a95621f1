#pragma once
// What every fuzz target shares: the input written to a scratch file, a window
// driven through a recording view, a fingerprint of its working image, and
// the small valid files the seed corpora start from.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "support/FakeView.h"
#include "ui/commands/frmMain.h"

namespace velkor::fuzz {

// A path in a per-process scratch folder with the given extension; the input
// is written there (replacing the last one) and the path returned.
std::string WriteInput(const uint8_t* data, size_t size, const std::string& extension);

// The window every target drives. Its working image starts as a small
// picture with known content, so that a failed command that touched it shows.
struct Window {
  testing::FakeView view;
  frmMain form{view};
  Window();
  void Reset();  // back to the known picture, view history cleared
};
Window& SharedWindow();

// The working image's size and pixel bytes folded into one number.
uint64_t Fingerprint(const cAlphaDibSection& image);

// Stops the run with a message; libFuzzer records the input as a crash.
[[noreturn]] void Fail(const std::string& what);

// Checks the rules of a failed read: the message names the file, and the
// working image and ImageLoaded are as they were.
void CheckFailedRead(Window& w, const std::string& path, const cAlphaDibSection* imageBefore,
                     uint64_t fingerprintBefore, bool loadedBefore);

// Small valid files of each kind the targets read.
std::vector<uint8_t> SmallSRF(int16_t width1, int16_t height1, int16_t width2, int16_t height2);
std::vector<uint8_t> SmallASRF();
std::vector<std::vector<uint8_t>> SmallBitmaps(int format);  // FIF_BMP or FIF_PNG, several depths

// When VELKOR_FUZZ_SEEDS names a folder, writes `seeds` there as seed-N
// files and ends the process; otherwise does nothing.
void MaybeWriteSeeds(const std::vector<std::vector<uint8_t>>& seeds);

}  // namespace velkor::fuzz
