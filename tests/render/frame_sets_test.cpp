// Frame sets: the same bytes on every run and on both cores; velkor-cli
// render and do-all --model, the window's "Render from Model...", and the
// sample sets the build renders.
#include <gtest/gtest.h>

#include "platform/Files.h"
#include "render/FrameSets.h"
#include "render/GltfWriter.h"
#include "RenderTestSupport.h"
#include "support/Cli.h"
#include "support/FakeView.h"
#include "support/TestFiles.h"
#include "ui/commands/frmMain.h"

namespace velkor::testing {
namespace {

TEST(FrameSets, RenderingTwiceGivesTheRecordedBytes) {
  ScratchDir dir;
  const render::Scene s = Textured();
  render::RenderSettings settings;
  settings.numbering = SchemeFromText("0-360 (10s)");
  settings.rig = {render::Axis::PosY, render::Axis::PosZ, 40, 0.8};
  for (const char* run : {"a", "b"}) {
    const std::vector<render::FrameSetPlan> plans = {{dir / (std::string(run) + "/3d"), render::SetView::Oblique3D, 24, false, 1},
                                                     {dir / (std::string(run) + "/2d"), render::SetView::Top2D, 20, false, 4}};
    std::string error;
    int last = 0;
    ASSERT_TRUE(render::RenderFrameSets(s, s, plans, settings, [&](int done, int) { last = done; }, error)) << error;
    EXPECT_EQ(last, 72);
  }
  uint64_t digest = 14695981039346656037u;  // FNV-1a over every frame file of run a
  for (const char* set : {"/3d/car", "/2d/car"}) {
    for (int number = 0; number <= 350; number += 10) {
      const std::string name = set + std::to_string(number) + ".bmp";
      const std::vector<uint8_t> a = ReadFileBytes(dir / ("a" + name));
      ASSERT_FALSE(a.empty()) << name;
      EXPECT_EQ(a, ReadFileBytes(dir / ("b" + name))) << name;
      for (uint8_t b : a) digest = (digest ^ b) * 1099511628211u;
    }
  }
  EXPECT_EQ(digest, 1153589838425312096u) << "a change of the rendered pixels: update the digest if it is intended";
}

// velkor-cli: render with every flag, do-all straight from the sample car
// (the SRF's bytes are pinned by the golden digests), a missing model, and
// usage errors exiting 2.
TEST(RenderCommand, NamesSizesAndKeyAsAskedDoAllFromAModelUsageErrorsExitTwo) {
  ScratchDir dir;
  std::string error;
  ASSERT_TRUE(render::WriteGlb(TestVehicle(), dir / "v.glb", error)) << error;
  const std::string flags = " --prefix veh --numbers 1-36 --version 2.00 --key 0000FF --elevation 45 --fill 0.3";
  const std::string car = Quoted(platform::ProgramFolder() + "/sample/car.glb");
  const std::pair<std::string, int> runs[] = {{"render " + Quoted(dir / "v.glb") + " " + Quoted(dir / "a") + flags, 0},
      {"do-all " + Quoted(dir / "car.srf") + " --model " + car, 0}, {"info " + Quoted(dir / "car.srf"), 0},
      {"do-all " + Quoted(dir / "x.srf") + " --model " + Quoted(dir / "none.glb"), 1}};
  for (const auto& [args, status] : runs) EXPECT_EQ(RunCli(args, dir.path()).status, status) << args;
  EXPECT_EQ(std::distance(std::filesystem::recursive_directory_iterator(dir / "a"), {}), 73) << "72 frames and Top";
  for (const char* frame : {"veh1.bmp", "veh36.bmp", "Top/veh1.bmp", "Top/veh36.bmp"}) {
    const BmpRgb f = ReadBmpRgb(dir / (std::string("a/") + frame));
    EXPECT_EQ(f.width, 400) << frame << ": version 2.00 cells are 400 in both sets";
    EXPECT_EQ(std::vector<uint8_t>(f.rgb.begin(), f.rgb.begin() + 3), (std::vector<uint8_t>{0, 0, 255}));
  }
  for (const char* bad : {"--up +y --front -y", "--up sideways", "--numbers 7-42", "--elevation 95", "--fill 0",
                          "--key 12345", "--version 3.00"}) {
    EXPECT_EQ(RunCli(std::string("render m.glb out ") + bad, dir.path()).status, 2) << bad;
  }
  EXPECT_FALSE(PathExists(dir / "out") || PathExists(dir / "x.srf"));
}

TEST(RenderFromModel, FillsTheBoxesWithTheRenderedFramesAndBuildImageTakesThem) {
  ScratchDir dir;
  std::string error;
  render::Scene needle;  // slender, so that its frames are quick to draw even at full cell size
  render::AddBox(needle, {-0.02f, 0, -1}, {0.02f, 0.04f, 1}, Flat(needle, kFront));
  ASSERT_TRUE(render::WriteGlb(needle, dir / "v.glb", error)) << error;
  FakeView view;
  frmMain form(view);
  form.Form_Load();
  const std::string before = form.Controls.txtWorkDir[1].Text;
  view.dialogAnswers = {std::nullopt, dir / "v.glb"};  // cancelled at the model, then at the folder
  form.mnuRenderFromModel_Click(), form.mnuRenderFromModel_Click();
  EXPECT_EQ(view.folderPickers.size(), 1u);
  EXPECT_EQ(form.Controls.txtWorkDir[1].Text, before);
  form.Controls.txt3DPrefix[1].Text = "truck";
  form.Controls.cmbNumbers.Text = "001-036";
  view.dialogAnswers.push_back(dir / "v.glb");
  view.folderAnswers.push_back(dir / "frames");
  form.mnuRenderFromModel_Click();
  EXPECT_TRUE(view.messages.empty()) << view.messages[0];
  EXPECT_NE(view.dialogs.at(0).filter.find("*.glb"), std::string::npos);
  EXPECT_EQ(view.folderPickers.at(1).second, dir.path()) << "the picker opens beside the model";
  const FormControls& c = form.Controls;
  EXPECT_EQ(c.txtWorkDir[1].Text + " " + c.txt2DWorkDir[1].Text + " " + c.txt2DPrefix[1].Text,
            dir / "frames" + " " + dir / "frames/Top" + " truck");
  EXPECT_TRUE(platform::FileExists(dir / "frames/Top/truck036.bmp"));
  EXPECT_TRUE(view.progressValues.back() == 100.0f && !view.progressVisible);
  form.cmdGo_Click();
  EXPECT_EQ(form.LastImport, ImportOutcome::Complete);
}

// The build renders the sample car's glTF into the folders the window starts
// on; with the lights on the animation set differs from the rotation set.
TEST(SampleModel, TheBuildWroteEveryFrameSet) {
  const std::string sample = platform::ProgramFolder() + "/sample/";
  for (const auto& [folder, size] : {std::pair{"Rotation", 400}, {"Rotation/Top", 350}, {"Animated/Rotation", 450},
                                     {"Animated/Rotation/Top", 400}, {"Animated/Animation", 450}, {"Animated/Animation/Top", 400}})
    EXPECT_EQ(ReadBmpRgb(sample + folder + "/car0035.bmp").width * 100 + int(platform::ListFiles(sample + folder, ".bmp").size()), size * 100 + 36) << folder;
  EXPECT_EQ(frmMain::DefaultRotationFolder(), sample + "Rotation");
  EXPECT_NE(ReadFileBytes(sample + "Animated/Animation/car0000.bmp"), ReadFileBytes(sample + "Animated/Rotation/car0000.bmp"));
}

}  // namespace
}  // namespace velkor::testing
