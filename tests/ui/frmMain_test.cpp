#include "ui/commands/frmMain.h"

#include <gtest/gtest.h>

#include "support/FakeView.h"

namespace velkor {
namespace {

class MainWindow : public ::testing::Test {
 protected:
  testing::FakeView view;
  frmMain form{view};
  void SetUp() override { form.Form_Load(); }
  std::vector<bool> AnimationControlsEnabled() const {
    const FormControls& c = form.Controls;
    return {c.txtWorkDir[2].Enabled,  c.txt2DWorkDir[2].Enabled, c.txt3DPrefix[2].Enabled,
            c.txt2DPrefix[2].Enabled, c.cmdChangeDir[2].Enabled, c.cmdChange2DDir[2].Enabled};
  }
};

// What the controls show at start is pinned by tests/qt/golden/window.txt and
// window.png; here the state behind them that no control shows.
TEST_F(MainWindow, StartsInStaticModeWithTheDefaults) {
  EXPECT_EQ(form.KeyColor, 65280u);
  EXPECT_EQ(form.Controls.shpAColor.FillColor, 65280u);
  EXPECT_EQ(form.Controls.txtAColor.Text, "0") << "the hidden box says 0 although the key is green";
  EXPECT_FLOAT_EQ(form.ZoomFactor, 2.0f);
  EXPECT_FALSE(form.ImageLoaded);
  EXPECT_FALSE(form.AnimatedMode);
  EXPECT_EQ(AnimationControlsEnabled(), std::vector<bool>(6, false));
  EXPECT_FALSE(form.Controls.Timer1.Enabled);
  EXPECT_EQ(form.Controls.Timer1.Interval, 1000);
  EXPECT_EQ(form.Controls.txt2DWorkDir[1].Text, form.Controls.txtWorkDir[1].Text + "/Top");
}

TEST_F(MainWindow, ModeSwitchEnablesTheAnimationRowsAndResetsTheVersion) {
  form.Controls.cmbVersion.Text = "2.00";
  form.mnuAnimatedSRF_Click();
  EXPECT_TRUE(form.AnimatedMode);
  EXPECT_TRUE(form.Controls.mnuAnimatedSRF.Checked);
  EXPECT_FALSE(form.Controls.mnuStaticSRF.Checked);
  EXPECT_EQ(AnimationControlsEnabled(), std::vector<bool>(6, true));
  EXPECT_FALSE(form.Controls.cmbVersion.Enabled);
  EXPECT_EQ(form.Controls.cmbVersion.Text, "1.00");
  EXPECT_TRUE(form.Controls.txtWorkDir[1].Enabled) << "the rotation rows stay enabled";

  form.mnuStaticSRF_Click();
  EXPECT_FALSE(form.AnimatedMode);
  EXPECT_EQ(AnimationControlsEnabled(), std::vector<bool>(6, false));
  EXPECT_TRUE(form.Controls.cmbVersion.Enabled);
  EXPECT_EQ(form.Controls.cmbVersion.Text, "2.20") << "not the 2.00 chosen before";

  form.Controls.cmbVersion.Text = "2.10";
  form.mnuStaticSRF_Click();  // choosing the mode already set resets the version again
  EXPECT_EQ(form.Controls.cmbVersion.Text, "2.20");
}

TEST_F(MainWindow, ToleranceBoxFollowsTheSlider) {
  for (int value : {0, 7, 10, 255}) {
    form.Controls.sldTol.Value = value;
    form.sldTol_Scroll();
    EXPECT_EQ(form.Controls.txtTolerance.Text, std::to_string(value));
  }
  EXPECT_GT(view.controlsChanged, 0) << "the box is repainted";
}

TEST_F(MainWindow, ResizeBoxRenamesTheAlphaButton) {
  form.Controls.chkResize.Value = false;
  form.chkResize_Click();
  EXPECT_EQ(form.Controls.cmdAddAlpha.Caption, "Add Alpha");
  form.Controls.chkResize.Value = true;
  form.chkResize_Click();
  EXPECT_EQ(form.Controls.cmdAddAlpha.Caption, "Alpha+Resize");
}

TEST_F(MainWindow, VersionNormalisation) {
  const std::pair<const char*, const char*> cases[] = {
      {" 2.10 ", "2.10"}, {"1.00", "1.00"}, {"2.00", "2.00"}, {"3.00", "2.20"}, {"", "2.20"}, {"2.1", "2.20"}};
  for (const auto& [text, version] : cases) {
    form.Controls.cmbVersion.Text = text;
    EXPECT_EQ(form.NormalisedVersion(), version) << text;
  }
}

TEST_F(MainWindow, StatusIsPaintedAtOnceAndClosingReleasesImages) {
  form.SetStatus("Status: Reading SRF...");
  EXPECT_EQ(form.Controls.lblStatus.Caption, "Status: Reading SRF...");
  ASSERT_EQ(view.statuses.size(), 1u);
  EXPECT_TRUE(view.statusRepaints[0]);
  ASSERT_TRUE(form.WorkImage->Create(4, 4));
  ASSERT_TRUE(form.ViewerImage->Create(4, 4));
  form.ImageLoaded = true;
  bool cancel = true;
  form.Form_QueryUnload(cancel);
  EXPECT_FALSE(cancel);
  EXPECT_FALSE(form.ImageLoaded);
  EXPECT_TRUE(form.WorkImage->Empty());
  EXPECT_TRUE(form.ViewerImage->Empty());
}

}  // namespace
}  // namespace velkor
