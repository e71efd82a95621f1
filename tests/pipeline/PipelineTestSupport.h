#pragma once
// Small frame sets on disk and pixel reads of the working image, for the
// pipeline's tests.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "pipeline/NumberingScheme.h"
#include "srf/SrfTestBytes.h"
#include "support/FakeView.h"
#include "support/TestFiles.h"
#include "ui/commands/frmMain.h"

namespace velkor::testing {

inline const Bgra kKeyPixel{0, 255, 0, 0};  // the key after a blit: B, G, R, alpha 0

// A colour of its own for frame i of set s: R = 10 + s, G = 2 * i, B = 100 + i.
inline Bgra FrameBgra(int set, int frame) {
  return Bgra{static_cast<uint8_t>(100 + frame), static_cast<uint8_t>(2 * frame), static_cast<uint8_t>(10 + set), 0};
}

// Writes the 36 frames of one set as 24-bit BMPs of edge x edge pixels, all in
// the set's colour except the bottom-right pixel, which is white (so that the
// frame's orientation shows).
inline void WriteFrameSet(const std::string& folder, const std::string& prefix, const std::string& scheme, int set,
                          int edge, const std::string& extension = ".bmp") {
  const NumberingScheme numbering = SchemeFromText(scheme);
  for (int i = 0; i < 36; ++i) {
    const std::string name = folder + "/" + prefix + FrameNumber(numbering, i) + extension;
    ASSERT_TRUE(WriteTestBmp(name, edge, edge, 24, [&](int x, int y) {
      return x == edge - 1 && y == edge - 1 ? 0xFFFFFFu : uint32_t((10 + set) << 16 | (2 * i) << 8 | (100 + i));
    })) << name;
  }
}

// The prefix of each set: 3D and 2D rotation, 3D and 2D animation.
inline const char* const kSetPrefixes[4] = {"r3d", "r2d", "a3d", "a2d"};

// Points the window's four folder and prefix boxes at one folder with the
// prefixes above.
inline void UseFrameFolder(frmMain& form, const std::string& folder) {
  for (int item = 1; item <= 2; ++item) {
    form.Controls.txtWorkDir[item].Text = form.Controls.txt2DWorkDir[item].Text = folder;
    form.Controls.txt3DPrefix[item].Text = kSetPrefixes[2 * item - 2];
    form.Controls.txt2DPrefix[item].Text = kSetPrefixes[2 * item - 1];
  }
}

// All four sets of small frames (2 x 2 by default) under the prefixes above.
inline void WriteAllSets(const std::string& folder, int edge = 2, const std::string& scheme = "0000-0035") {
  for (int set = 0; set < 4; ++set) WriteFrameSet(folder, kSetPrefixes[set], scheme, set, edge);
}

// The window over a scratch folder whose boxes name the sets above; with
// `frames`, all four sets are written there.
template <typename View = FakeView>
struct FormOnDisk {
  ScratchDir dir;
  View view;
  frmMain form{view};
  explicit FormOnDisk(bool frames = false, bool animated = false) {
    UseFrameFolder(form, dir.path());
    if (frames) WriteAllSets(dir.path());
    if (animated) form.mnuAnimatedSRF_Click();
  }
  // A working image of width x height pixels, every byte 90.
  void Image(int32_t width, int32_t height) {
    ASSERT_TRUE(form.WorkImage->Create(width, height));
    std::memset(form.WorkImage->DIBSectionBitsPtr(), 90, static_cast<size_t>(width) * height * 4);
    form.ImageLoaded = true;
  }
  void StepSample(int steps) {
    form.Controls.chkStepSample.Value = true;
    for (int i = 0; i < 3; ++i) form.Controls.optSteps[static_cast<size_t>(i)].Value = i + 1 == steps;
  }
};

}  // namespace velkor::testing
