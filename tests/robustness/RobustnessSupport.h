#pragma once
// What the hostile-input and failing-disk tests share: a window on a
// recording view whose working image holds a known picture, checks that a
// refused file left it so, and peak memory.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "support/Cli.h"
#include "support/FakeView.h"
#include "support/TestFiles.h"
#include "ui/commands/frmMain.h"

namespace velkor::testing {

// The working image's size and bytes, to tell whether anything touched it.
struct ImageState {
  const cAlphaDibSection* object = nullptr;
  int32_t width = 0, height = 0;
  std::vector<uint8_t> bytes;
  bool loaded = false;
  bool operator==(const ImageState&) const = default;
};

inline ImageState StateOf(const frmMain& form) {
  ImageState s;
  s.object = form.WorkImage.get();
  s.width = form.WorkImage->Width();
  s.height = form.WorkImage->Height();
  if (!form.WorkImage->Empty()) {
    const uint8_t* bits = form.WorkImage->DIBSectionBitsPtr();
    s.bytes.assign(bits, bits + static_cast<size_t>(s.width) * 4 * s.height);
  }
  s.loaded = form.ImageLoaded;
  return s;
}

class HostileWindow : public ::testing::Test {
 protected:
  ScratchDir dir;
  FakeView view;
  frmMain form{view};

  // A 7 x 5 picture of known pixels, loaded.
  void LoadKnownPicture() {
    form.WorkImage->Create(7, 5);
    uint8_t* bits = form.WorkImage->DIBSectionBitsPtr();
    for (int i = 0; i < 7 * 5 * 4; ++i) bits[i] = static_cast<uint8_t>(i * 7 + 3);
    form.ImageLoaded = true;
    view.messages.clear();
    view.statuses.clear();
  }
};

// The largest resident set the process has had, in bytes.
inline int64_t PeakResidentBytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return int64_t{usage.ru_maxrss} * 1024;
}

// Files in `folder` (names only, sorted), hidden ones included.
inline std::vector<std::string> FolderEntries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}


}  // namespace velkor::testing
