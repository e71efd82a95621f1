// Save as Animated GIF... in the window, its dialogs answered by the test.
#include <QAction>
#include <filesystem>

#include "WindowFixture.h"
#include "support/SmallSrf.h"

namespace velkor::testing {
namespace {

using DesktopMenu = WindowFixture;

TEST_F(DesktopMenu, SaveAsAnimatedGifWritesTheFileNamedInTheSaveDialog) {
  ScratchDir dir;
  const std::string srf = WriteSmallSrf(dir / "car.srf");
  answers = {srf, dir / "turning.gif"};
  Find<QAction>("mnuSaveAsGIF")->trigger();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[1].fileName, dir / "car.gif");  // proposed beside the SRF
  EXPECT_TRUE(std::filesystem::exists(dir / "turning.gif"));
  EXPECT_EQ(statuses.back(), "Status: GIF written....");
  EXPECT_TRUE(messages.empty());
}

}  // namespace
}  // namespace velkor::testing
