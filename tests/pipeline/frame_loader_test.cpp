// The frame loader reads ahead on worker threads but hands frames over in
// order, each judged as a single-threaded import would judge it; stopping
// early ends the workers cleanly.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pipeline/FrameLoader.h"
#include "support/TestFiles.h"

namespace velkor {
namespace {

using testing::ScratchDir;

struct Expected {
  std::string name;  // as asked for
  std::string file;  // as resolved
  bool exists, readable;
  int32_t width;
};

class FrameLoaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Frame i is i + 1 pixels wide, so that each frame shows which file it came from.
    for (int i = 0; i < 9; ++i) {
      ASSERT_TRUE(testing::WriteTestBmp(dir_ / ("f" + std::to_string(i) + ".bmp"), i + 1, 2, 24,
                                        [](int, int) { return 0x123456u; }));
    }
    ASSERT_TRUE(testing::WriteTestBmp(dir_ / "upper.BMP", 3, 3, 24, [](int, int) { return 0u; }));
    testing::WriteFileBytes(dir_ / "garbage.bmp", {'B', 'M', 1, 2, 3});
  }
  ScratchDir dir_;
};

TEST_F(FrameLoaderTest, HandsOverEveryFrameInOrderWithItsOwnOutcome) {
  const std::vector<Expected> expected = {
      {dir_ / "f0.bmp", dir_ / "f0.bmp", true, true, 1},
      {dir_ / "missing.bmp", dir_ / "missing.bmp", false, false, 0},
      {dir_ / "f1.bmp", dir_ / "f1.bmp", true, true, 2},
      {dir_ / "upper.bmp", dir_ / "upper.BMP", true, true, 3},
      {dir_ / "garbage.bmp", dir_ / "garbage.bmp", true, false, 0},
      {dir_ / "f2.bmp", dir_ / "f2.bmp", true, true, 3},
      {dir_ / "f3.bmp", dir_ / "f3.bmp", true, true, 4},
      {dir_ / "f8.bmp", dir_ / "f8.bmp", true, true, 9},
  };
  // Several rounds: the workers' timing differs from one to the next.
  for (int round = 0; round < 20; ++round) {
    std::vector<std::string> names;
    for (const Expected& e : expected) names.push_back(e.name);
    FrameLoader loader(names);
    for (const Expected& e : expected) {
      SCOPED_TRACE(e.name);
      const LoadedFrame frame = loader.Next();
      EXPECT_EQ(frame.file, e.file);
      EXPECT_EQ(frame.exists, e.exists);
      EXPECT_EQ(frame.readable, e.readable);
      if (e.readable) {
        ASSERT_TRUE(frame.dib);
        EXPECT_EQ(frame.dib->Width(), e.width);
      }
    }
    EXPECT_THROW(loader.Next(), std::out_of_range);
  }
}

TEST_F(FrameLoaderTest, StoppingAfterAnyFrameEndsTheWorkers) {
  std::vector<std::string> names;
  for (int i = 0; i < 9; ++i) names.push_back(dir_ / ("f" + std::to_string(i) + ".bmp"));
  for (size_t taken = 0; taken <= names.size(); ++taken) {
    FrameLoader loader(names);
    for (size_t i = 0; i < taken; ++i) EXPECT_EQ(loader.Next().dib->Width(), static_cast<int32_t>(i + 1));
  }  // each loader's destructor must return
}

}  // namespace
}  // namespace velkor
