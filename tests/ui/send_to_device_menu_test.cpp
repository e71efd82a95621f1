// "Send to Device..." in the window: which device, and whether to replace.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/FakeView.h"
#include "support/SmallSrf.h"
#include "ui/commands/SendToDeviceMenu.h"
#include "ui/commands/frmMain.h"

namespace velkor {
namespace {

namespace fs = std::filesystem;

class SendToDeviceMenu : public ::testing::Test {
 protected:
  testing::FakeView view;
  frmMain form{view};
  testing::ScratchDir dir;
  std::string srf = testing::WriteSmallSrf(dir / "car.srf");

  void MakeDevice(const std::string& name) {
    fs::create_directories(dir / ("media/" + name + "/Garmin"));
    testing::WriteFileBytes(dir / ("media/" + name + "/Garmin/GarminDevice.xml"), {'x'});
  }
  std::string Target(const std::string& name) { return dir / ("media/" + name + "/Garmin/Vehicle/car.srf"); }
  void Send() {
    view.dialogAnswers.push_back(srf);
    SendToDeviceFlow(form, {dir / "media"});
  }
};

TEST_F(SendToDeviceMenu, SaysSoWhenNoDeviceIsConnected) {
  Send();
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_NE(view.messages[0].find("No Garmin device found"), std::string::npos);
}

TEST_F(SendToDeviceMenu, AsksWhichOfSeveralDevices) {
  MakeDevice("A");
  MakeDevice("B");
  view.choiceAnswers.push_back(1);
  Send();
  ASSERT_EQ(view.choiceLists.size(), 1u);
  EXPECT_EQ(view.choiceLists[0], (std::vector<std::string>{dir / "media/A", dir / "media/B"}));
  EXPECT_TRUE(fs::exists(Target("B")));
  EXPECT_FALSE(fs::exists(Target("A")));
  EXPECT_TRUE(view.messages.empty());
}

TEST_F(SendToDeviceMenu, ReplacesADifferentFileOnlyWhenTheUserSaysYes) {
  MakeDevice("A");
  fs::create_directories(dir / "media/A/Garmin/Vehicle");
  testing::WriteFileBytes(Target("A"), {'o', 'l', 'd'});
  view.questionAnswers = {false, true};
  Send();
  EXPECT_EQ(testing::ReadFileBytes(Target("A")), (std::vector<uint8_t>{'o', 'l', 'd'}));
  Send();
  EXPECT_EQ(view.questions.size(), 2u);
  EXPECT_EQ(testing::ReadFileBytes(Target("A")), testing::ReadFileBytes(srf));
}

}  // namespace
}  // namespace velkor
