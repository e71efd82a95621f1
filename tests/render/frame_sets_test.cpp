// Frame sets: the same bytes on every run and any number of threads;
// velkor-cli render and do-all --model, the window's "Render from Model..."
// with its dialog, output that replaces all or nothing, and the sample sets
// the build renders.
#include <gtest/gtest.h>

#include "RenderTestSupport.h"
#include "platform/Files.h"
#include "platform/ParallelFor.h"
#include "render/FrameSets.h"
#include "render/GltfWriter.h"
#include "render/ModelRender.h"
#include "render/PreviewFrames.h"
#include "render/commands/RenderDialogModel.h"
#include "support/Cli.h"
#include "support/FakeView.h"
#include "support/TestFiles.h"
#include "ui/commands/frmMain.h"

namespace velkor::testing {
namespace {

// Work spread over the cores gives the same bytes on 1, 2 or 8 threads: the
// frame sets rendered, the render dialog's preview, and Do All from the sets
// (frames read ahead, the strip filled, resized in three steps or one,
// sharpened). The test splits even small passes that many ways.
TEST(FrameSets, OneTwoOrEightThreadsGiveTheRecordedBytes) {
  ScratchDir dir;
  const render::Scene s = Textured();
  render::RenderSettings settings;
  settings.numbering = SchemeFromText("0-360 (10s)");
  settings.rig = {render::Axis::PosY, render::Axis::PosZ, 40, 0.8};
  std::vector<uint8_t> first;
  for (const int threads : {1, 2, 8}) {
    const platform::ThreadCountForTesting count(threads);
    const std::string run = dir / std::to_string(threads);
    const std::vector<render::FrameSetPlan> plans = {{run + "/3d", render::SetView::Oblique3D, 24, false, 1},
                                                     {run + "/2d", render::SetView::Top2D, 20, false, 4}};
    std::string error;
    int last = 0;
    ASSERT_TRUE(render::RenderFrameSets(
        s, s, plans, settings, [&](int done, int) { last = done; }, error))
        << error;
    EXPECT_EQ(last, 72);
    uint64_t digest = 14695981039346656037u;  // FNV-1a over every frame file
    for (const char* set : {"/3d/car", "/2d/car"}) {
      for (int number = 0; number <= 350; number += 10) {
        for (uint8_t b : ReadFileBytes(run + set + std::to_string(number) + ".bmp"))
          digest = (digest ^ b) * 1099511628211u;
      }
    }
    EXPECT_EQ(digest, 1153589838425312096u)
        << threads << " threads; update the digest if a change of pixels is intended";
    FakeView view;
    frmMain form(view);
    form.Form_Load();
    FormControls& c = form.Controls;
    c.txtWorkDir[1].Text = run + "/3d", c.txt2DWorkDir[1].Text = run + "/2d", c.cmbNumbers.Text = "0-360 (10s)";
    view.dialogAnswers = {run + "/steps.srf", run + "/one.srf"};
    for (const bool steps : {true, false}) c.chkStepSample.Value = c.optSteps[2].Value = steps, form.cmdSave_Click();
    std::vector<uint8_t> bytes = ReadFileBytes(run + "/steps.srf"), one = ReadFileBytes(run + "/one.srf");
    ASSERT_FALSE(bytes.empty() || one.empty()) << view.messages.size();
    render::PreviewImages preview;
    ASSERT_TRUE(render::RenderPreview(s, settings.rig, 20, 0x00FF00, preview, error)) << error;
    for (const std::vector<uint8_t>& more : {one, preview[0].rgb, preview[1].rgb, preview[2].rgb}) {
      bytes.insert(bytes.end(), more.begin(), more.end());
    }
    if (first.empty()) first = bytes;
    EXPECT_TRUE(bytes == first) << threads << " threads";
  }
}

// The test vehicle stored Z up with its front along -X, as seen in frames 0
// and 9 of the 3D set and frame 0 of the 2D set: the rear toward the viewer,
// the front to the right, the front up.
void ExpectFacing(const render::FrameImage& rear0, const render::FrameImage& side9, const render::FrameImage& top0) {
  const auto rear = Find(rear0, kRear), roofFront = Find(rear0, kFront);
  EXPECT_TRUE(rear[2] > 20 && rear[1] > roofFront[1]) << "rear toward you";
  const auto side = Find(side9, kRight), front = Find(side9, kFront);
  EXPECT_TRUE(side[2] > 20 && front[0] > 2) << "front to the right";
  const auto top = Find(top0, kFront);
  EXPECT_TRUE(top[2] > 10 && top[1] < -2) << "front up";
}

render::FrameImage FrameFile(const std::string& path) {
  const BmpRgb bmp = ReadBmpRgb(path);
  return {bmp.width, bmp.rgb};
}

// velkor-cli: render with every flag and the axes it used, a folder of frames
// refused without --force and left as it was, do-all straight from a model
// with the render flags, the formats in the help, usage errors exiting 2.
TEST(RenderCommand, AxesFramesRefusalDoAllFromAModelUsageErrorsExitTwo) {
  ScratchDir dir;
  std::string error;
  ASSERT_TRUE(render::WriteGlb(TestVehicle(), dir / "v.glb", error)) << error;
  ASSERT_TRUE(render::WriteGlb(Turned(TestVehicle(), render::Axis::PosZ, render::Axis::NegX), dir / "z.glb", error));
  const std::string flags = " --prefix veh --numbers 1-36 --version 2.00 --key FF00FF --elevation 45 --fill 0.3";
  const std::string z = "render " + Quoted(dir / "z.glb") + " " + Quoted(dir / "new/a");
  const std::tuple<std::string, int, std::string> runs[] = {
      {"render " + Quoted(dir / "v.glb") + " " + Quoted(dir / "new/a") + flags, 0, "axes: up +y, front +z (guessed)\n"},
      {z + flags + " --up +z --front -x", 1, "replace 72 frame files in " + dir / "new/a" + "; --force"},
      {z + "/" + flags + " --up +z --front -x --force", 0, "axes: up +z, front -x\n"},
      {"do-all " + Quoted(dir / "z.srf") + " --model " + Quoted(dir / "z.glb") + " --front -x --fill 0.5", 0,
       "axes: up +y, front -x (up guessed)\nsrf: "},
      {"do-all " + Quoted(dir / "x.srf") + " --model " + Quoted(dir / "none.glb"), 1, "cannot render model"},
      {"render --help", 0, " *.ac "},
      {"render --help", 0, "All files (*)"}};
  for (const auto& [args, status, output] : runs) {
    const CliResult r = RunCli(args, dir.path());
    EXPECT_EQ(r.status, status) << args << r.err;
    EXPECT_NE((r.out + r.err).find(output), std::string::npos) << args << ": " << r.out << r.err;
  }
  EXPECT_EQ(FolderEntries(dir / "new").size() * 100 + FolderEntries(dir / "new/a").size(), 137u) << "36 frames and Top";
  ExpectFacing(FrameFile(dir / "new/a/veh1.bmp"), FrameFile(dir / "new/a/veh10.bmp"),
               FrameFile(dir / "new/a/Top/veh1.bmp"));
  for (const char* frame : {"veh1.bmp", "veh36.bmp", "Top/veh1.bmp", "Top/veh36.bmp"}) {
    const BmpRgb f = ReadBmpRgb(dir / (std::string("new/a/") + frame));
    EXPECT_EQ(f.width, 400) << frame << ": version 2.00 cells are 400 in both sets";
    EXPECT_EQ(std::vector<uint8_t>(f.rgb.begin(), f.rgb.begin() + 3), (std::vector<uint8_t>{255, 0, 255}));
  }
  for (const char* bad : {"--up +y --front -y", "--up sideways", "--numbers 7-42", "--elevation 95", "--fill 0",
                          "--key 12345", "--version 3.00", "--prefix ../../x", "--prefix a/b"}) {
    EXPECT_EQ(RunCli(std::string("render m.glb out ") + bad, dir.path()).status, 2) << bad;
  }
  EXPECT_EQ(RunCli("do-all x.srf --model m.glb --prefix-3d a --fill 2", dir.path()).status, 2);
  EXPECT_FALSE(PathExists(dir / "out") || PathExists(dir / "x.srf"));
  // do-all --model imports the frames from memory: the icon of the frames rendered into new/a above, byte for byte.
  const std::string same = " --prefix-3d veh --prefix-2d veh --numbers 1-36 --version 2.00 --key '#FF00FF'";
  ASSERT_EQ(RunCli("do-all disk.srf --rotation-3d new/a" + same, dir.path()).status, 0);
  ASSERT_EQ(
      RunCli("do-all mem.srf --model z.glb --up +z --front -x --elevation 45 --fill 0.3" + same, dir.path()).status, 0);
  EXPECT_EQ(ReadFileBytes(dir / "mem.srf"), ReadFileBytes(dir / "disk.srf"));
}

// A render that fails once frames exist, while moving them into place, leaves
// the folder as it was: the user's files, no folder it made, nothing hidden
// beside it. With the obstacle gone the same render replaces the frames.
TEST(RenderModel, AFailureLeavesTheFolderAsItWas) {
  ScratchDir dir;
  render::Scene needle;
  render::AddBox(needle, {-0.02f, 0, -1}, {0.02f, 0.04f, 1}, Flat(needle, kFront));
  render::RenderOptions o;
  const std::string name(250, 'o'), out = dir / name;  // the longest name, with a hidden folder beside it
  o.model = "needle", o.outDir = out, o.animated = true;
  std::filesystem::create_directories(out + "/Top/car0005.bmp");
  WriteFileBytes(out + "/Top/car0000.bmp", {'m', 'i', 'n', 'e'});  // replaced before the folder stops it
  const std::vector<std::string> before = FolderEntries(dir.path(), true);
  std::string error;
  EXPECT_FALSE(render::RenderScene(needle, o, {}, error));
  EXPECT_EQ(error, "cannot render model needle: cannot replace " + out + "/Top/car0005.bmp" + ": it is not a file");
  EXPECT_EQ(FolderEntries(dir.path(), true), before);
  EXPECT_EQ(ReadFileBytes(out + "/Top/car0000.bmp"), (std::vector<uint8_t>{'m', 'i', 'n', 'e'}));
  std::filesystem::remove(out + "/Top/car0005.bmp");
  ASSERT_TRUE(render::RenderScene(needle, o, {}, error)) << error;
  EXPECT_EQ(FolderEntries(dir.path()), std::vector<std::string>{name});
  EXPECT_EQ(FolderEntries(out, true).size(), 36 * 4 + 3u);
  EXPECT_EQ(ReadBmpRgb(out + "/Top/car0000.bmp").width, 400);
}

// "Render from Model...": the dialog starts from the guess, its buttons turn
// the model until the preview shows it right; OK renders into the folder it
// proposed, points the boxes at the sets, takes the key colour and builds the
// strip. Rendering there again asks first (No writes nothing and goes back to
// the dialog). A change of mode or version renders the remembered model again
// for the new cells; Do All asks before mixing its sets with others.
TEST(RenderFromModel, PreviewTurnsRenderAsksBeforeReplacingAndFollowsTheMode) {
  ScratchDir dir;
  std::string error;
  ASSERT_TRUE(render::WriteGlb(Turned(TestVehicle(), render::Axis::PosZ, render::Axis::NegX), dir / "z.glb", error));
  FakeView view;
  frmMain form(view);
  form.Form_Load();
  const std::string frames = dir / "z frames";
  const auto axes = [](const render::RenderDialogModel& d) {
    return AxisName(*d.options.up) + AxisName(*d.options.front);
  };
  view.renderDialogs = {[](render::RenderDialogModel&) { return false; },
                        [&](render::RenderDialogModel& d) {
                          EXPECT_TRUE(d.SetModel(dir / "z.glb") && d.options.outDir == frames);
                          EXPECT_EQ(axes(d), "+y+x") << "guessed";
                          d.FlipUp(), d.TurnFront(), d.TurnFront();
                          EXPECT_EQ(axes(d), "+z-x");
                          render::PreviewImages p;
                          EXPECT_TRUE(d.Preview(48, p, error)) << error;
                          ExpectFacing(p[0], p[1], p[2]);
                          d.options.prefix = "truck", d.options.keyRgb = 0x0000FF, d.options.fill = 0.3;
                          return d.Problem().empty();
                        },
                        [&](render::RenderDialogModel& d) { return d.Loaded() && axes(d) == "+z-x"; }};
  form.Controls.cmbNumbers.Text = "001-036";
  for (int run = 0; run < 3; ++run) form.mnuRenderFromModel_Click();
  EXPECT_TRUE(view.messages.empty()) << view.messages[0];
  EXPECT_EQ(view.renderDialogsShown, 4) << "after No, the dialog again";
  EXPECT_EQ(view.questions,
            std::vector<std::string>{"Rendering would replace 72 frame files in " + frames + ".\n\nReplace them?"});
  const FormControls& c = form.Controls;
  const auto boxes = [&c](int i) {
    return c.txtWorkDir[i].Text + "|" + c.txt2DWorkDir[i].Text + "|" + c.txt3DPrefix[i].Text + c.txt2DPrefix[i].Text;
  };
  EXPECT_EQ(boxes(1), frames + "|" + frames + "/Top|trucktruck");
  EXPECT_TRUE(form.KeyColor == 0xFF0000 && form.ImageLoaded && view.previewChanged > 0)
      << "the key colour taken, the strip built";
  EXPECT_TRUE(view.progressValues.back() == 100.0f && !view.progressVisible);
  const auto cells = [&](const std::string& set) { return ReadBmpRgb(frames + set + "/truck001.bmp").width; };
  form.mnuAnimatedSRF_Click();
  EXPECT_EQ(boxes(2), frames + "/Animation|" + frames + "/Animation/Top|trucktruck");
  EXPECT_EQ(std::vector<int>({cells(""), cells("/Top"), cells("/Animation"), cells("/Animation/Top")}),
            (std::vector<int>{450, 400, 450, 400}));
  EXPECT_TRUE(view.questions.size() == 1 && form.LastOutcome.kind == CommandOutcome::Kind::Completed)
      << "its own frames replaced unasked";
  form.Controls.txtWorkDir[2].Text = frmMain::DefaultAnimationFolder();
  form.cmdSave_Click();
  EXPECT_EQ(
      view.questions.back(),
      "The 3D animation frames are not from the render of z.glb.\n\nBuild the icon from sets of different renders?");
  EXPECT_TRUE(view.dialogs.empty() && form.LastOutcome.kind == CommandOutcome::Kind::Cancelled) << "No: no SRF";
  form.mnuStaticSRF_Click();
  const int shown = view.progressShown;
  for (const char* version : {"2.10", "1.00"}) form.Controls.cmbVersion.Text = version, form.cmbVersion_Change();
  EXPECT_EQ(std::make_pair(view.progressShown - shown, cells("/Top")), std::make_pair(1, 400))
      << "2.10 takes the same cells";
}

// The build renders the sample car's glTF into the folders the window starts
// on; with the lights on the animation set differs from the rotation set.
TEST(SampleModel, TheBuildWroteEveryFrameSet) {
  const std::string sample = platform::ProgramFolder() + "/sample/";
  for (const auto& [folder, size] : {std::pair{"Rotation", 400},
                                     {"Rotation/Top", 350},
                                     {"Animated/Rotation", 450},
                                     {"Animated/Rotation/Top", 400},
                                     {"Animated/Animation", 450},
                                     {"Animated/Animation/Top", 400}})
    EXPECT_EQ(ReadBmpRgb(sample + folder + "/car0035.bmp").width * 100 +
                  int(platform::ListFiles(sample + folder, ".bmp").size()),
              size * 100 + 36)
        << folder;
  EXPECT_EQ(frmMain::DefaultRotationFolder(), sample + "Rotation");
  EXPECT_NE(ReadFileBytes(sample + "Animated/Animation/car0000.bmp"),
            ReadFileBytes(sample + "Animated/Rotation/car0000.bmp"));
}

}  // namespace
}  // namespace velkor::testing
