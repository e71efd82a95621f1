#pragma once
// The window's procedures on a recording view, with a scratch folder and a
// working image of known pixels: the fixture of the tests that save, read and
// convert files through the window.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "srf/SrfTestBytes.h"
#include "support/FakeView.h"
#include "support/TestFiles.h"
#include "ui/commands/frmMain.h"

namespace velkor::testing {

class FormTest : public ::testing::Test {
 protected:
  FakeView view;
  frmMain form{view};
  ScratchDir dir;

  // A width x height working image, pixel (x, y) of the picture from `pixel`.
  void LoadPattern(int width, int height, const std::function<Bgra(int, int)>& pixel = PatternPixel) {
    form.WorkImage->Create(width, height);
    FillRaster(*form.WorkImage, pixel);
    form.ImageLoaded = true;
  }
  // Saves through the SRF dialog, static in `version` or animated, and
  // returns the file's bytes (none when nothing was written).
  std::vector<uint8_t> SaveSrf(const std::string& version, const std::string& name = "out.srf") {
    view.dialogAnswers.push_back(dir / name);
    form.SaveSRF(version);
    return ReadFileBytes(dir / name);
  }
  std::vector<uint8_t> SaveAnimatedSrf(const std::string& name = "anim.srf") {
    view.dialogAnswers.push_back(dir / name);
    form.SaveASRF("1.00");
    return ReadFileBytes(dir / name);
  }
};

}  // namespace velkor::testing
