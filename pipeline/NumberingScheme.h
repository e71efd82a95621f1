#pragma once
// How the frames of a set are numbered in their file names: the numbering
// box names a scheme, and frame i (0..35) gets the number i * step + first,
// written with at least `digits` digits.
#include <string>

namespace velkor {

struct NumberingScheme {
  int digits = 4;  // leading zeros up to this many digits; 1 writes the plain number
  int step = 1;
  int first = 0;
};

// The scheme for the numbering box's text, compared exactly after trimming;
// any text not in the box's list (and the empty text) is "0000-0035".
NumberingScheme SchemeFromText(const std::string& text);
// Whether the trimmed text is one of the list's entries or empty (which
// also means "0000-0035").
bool NamesScheme(const std::string& text);

// Frame i's number as the scheme writes it ("0007", "350", ...).
std::string FrameNumber(const NumberingScheme& scheme, int frame);

// folder + separator + prefix + number + ".bmp".
std::string FrameFileName(const std::string& folder, const std::string& prefix, const NumberingScheme& scheme,
                          int frame);

// The name an icon made of a frame set is saved under, without extension:
// the prefix in the folder, "Temp" there when the prefix is empty.
std::string IconNameForFrames(const std::string& folder, const std::string& prefix);

}  // namespace velkor
