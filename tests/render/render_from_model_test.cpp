// The window's "Render from Model...": dialogs, progress, and the folder and
// prefix boxes pointed at what was written, ready for Build Image.
#include <gtest/gtest.h>

#include "platform/Files.h"
#include "render/GltfWriter.h"
#include "sample/SampleFrames.h"
#include "RenderTestSupport.h"
#include "support/FakeView.h"
#include "support/TestFiles.h"
#include "ui/commands/frmMain.h"

namespace velkor::testing {
namespace {

struct Window {
  FakeView view;
  frmMain form{view};
  Window() { form.Form_Load(); }
};

TEST(RenderFromModel, FillsTheBoxesWithTheRenderedFramesAndBuildImageTakesThem) {
  ScratchDir dir;
  std::string error;
  // Slender, so that its frames are quick to draw even at full cell size.
  render::Scene needle;
  render::AddBox(needle, {-0.02f, 0, -1}, {0.02f, 0.04f, 1}, Flat(needle, kFront));
  ASSERT_TRUE(render::WriteGlb(needle, dir / "v.glb", error)) << error;
  Window w;
  w.form.Controls.txt3DPrefix[1].Text = "truck";
  w.form.Controls.cmbNumbers.Text = "001-036";
  w.view.dialogAnswers.push_back(dir / "v.glb");
  w.view.folderAnswers.push_back(dir / "frames");
  w.form.mnuRenderFromModel_Click();
  EXPECT_TRUE(w.view.messages.empty()) << w.view.messages[0];
  ASSERT_EQ(w.view.dialogs.size(), 1u);
  EXPECT_NE(w.view.dialogs[0].filter.find("*.glb"), std::string::npos);
  EXPECT_EQ(w.view.folderPickers.at(0).second, dir.path()) << "the picker opens beside the model";
  const FormControls& c = w.form.Controls;
  EXPECT_EQ(c.txtWorkDir[1].Text, dir / "frames");
  EXPECT_EQ(c.txt2DWorkDir[1].Text, dir / "frames/Top");
  EXPECT_EQ(c.txt2DPrefix[1].Text, "truck");
  EXPECT_TRUE(platform::FileExists(dir / "frames/Top/truck036.bmp"));
  EXPECT_EQ(w.view.progressValues.back(), 100.0f);
  EXPECT_GT(w.view.doEvents, 0);
  EXPECT_FALSE(w.view.progressVisible);
  w.form.cmdGo_Click();
  EXPECT_EQ(w.form.LastImport, ImportOutcome::Complete);
}

TEST(RenderFromModel, CancellingEitherDialogDoesNothing) {
  Window w;
  const FormControls before = w.form.Controls;
  w.view.dialogAnswers.push_back(std::nullopt);
  w.form.mnuRenderFromModel_Click();
  EXPECT_TRUE(w.view.folderPickers.empty());
  w.view.dialogAnswers.push_back("/nowhere/model.glb");
  w.form.mnuRenderFromModel_Click();  // the folder picker answers "" (cancel)
  EXPECT_EQ(w.view.folderPickers.size(), 1u);
  EXPECT_TRUE(w.view.messages.empty());
  EXPECT_EQ(w.form.Controls.txtWorkDir[1].Text, before.txtWorkDir[1].Text);
}

// The build renders the sample car's glTF into the folders the window starts on.
TEST(SampleModel, TheBuildWroteTheModelAndEveryFrameSet) {
  const std::string sample = platform::ProgramFolder() + "/sample";
  EXPECT_TRUE(platform::FileExists(sample + "/" + sample::kSampleModelName));
  const struct {
    const char* folder;
    int size;
  } sets[] = {{"Rotation", 400},           {"Rotation/Top", 350},       {"Animated/Rotation", 450},
              {"Animated/Rotation/Top", 400}, {"Animated/Animation", 450}, {"Animated/Animation/Top", 400}};
  for (const auto& set : sets) {
    const std::string folder = sample + "/" + set.folder;
    EXPECT_EQ(platform::ListFiles(folder, ".bmp").size(), 36u) << set.folder;
    EXPECT_EQ(ReadFrame(folder + "/car0035.bmp").size, set.size) << set.folder;
  }
  EXPECT_EQ(frmMain::DefaultRotationFolder(), sample + "/Rotation");
  // Lights on: the animation set differs from the rotation set in its lamps only.
  EXPECT_NE(ReadFileBytes(sample + "/Animated/Animation/car0000.bmp"),
            ReadFileBytes(sample + "/Animated/Rotation/car0000.bmp"));
}

}  // namespace
}  // namespace velkor::testing
