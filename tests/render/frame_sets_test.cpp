// Frame sets on both cores: every frame written, and the same bytes on every run.
#include <gtest/gtest.h>

#include "render/FrameSets.h"
#include "RenderTestSupport.h"
#include "support/TestFiles.h"

namespace velkor::render {
namespace {

TEST(FrameSets, RenderingTwiceGivesIdenticalBytes) {
  testing::ScratchDir dir;
  const Scene s = testing::TestVehicle();
  RenderSettings settings;
  settings.numbering = SchemeFromText("0-360 (10s)");
  for (const char* run : {"a", "b"}) {
    const std::vector<FrameSetPlan> plans = {{dir / (std::string(run) + "/3d"), SetView::Oblique3D, 24, false, 1},
                                             {dir / (std::string(run) + "/2d"), SetView::Top2D, 20, false, 4}};
    std::string error;
    int last = 0;
    ASSERT_TRUE(RenderFrameSets(s, s, plans, settings, [&](int done, int) { last = done; }, error)) << error;
    EXPECT_EQ(last, 72);
  }
  for (const char* set : {"/3d/car", "/2d/car"}) {
    for (int number = 0; number <= 350; number += 10) {
      const std::string name = set + std::to_string(number) + ".bmp";
      const std::vector<uint8_t> a = testing::ReadFileBytes(dir / ("a" + name));
      ASSERT_FALSE(a.empty()) << name;
      EXPECT_EQ(a, testing::ReadFileBytes(dir / ("b" + name))) << name;
    }
  }
}

}  // namespace
}  // namespace velkor::render
