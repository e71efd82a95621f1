// The window's procedures on a recording view: modes and boxes, the folder
// picker, Send to Device, and the promise never to lose or misreport work.
// What the controls show at start is pinned by tests/qt/golden.
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <tuple>

#include "common/Paths.h"
#include "pipeline/PipelineTestSupport.h"
#include "platform/Files.h"
#include "platform/FillRectangle.h"
#include "platform/Gdi.h"
#include "support/Cli.h"
#include "support/FormFixture.h"
#include "ui/KeyCodes.h"
#include "ui/commands/SendToDeviceMenu.h"
#include "ui/modBrowseDirs.h"

namespace velkor {
namespace {

namespace fs = std::filesystem;
using testing::PathExists;
using testing::RunCli;

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class Window : public testing::FormTest {
 protected:
  FormControls& c = form.Controls;
  void SetUp() override { form.Form_Load(); }
  static auto Row(const FormControls& k, int i) {
    return std::tie(k.txtWorkDir[i].Text, k.txt2DWorkDir[i].Text, k.txt3DPrefix[i].Text, k.txt2DPrefix[i].Text);
  }
};

// The mode (and choosing it again) resets the version; the tolerance box is
// clamped into the slider (the slider's way is in tests/qt).
TEST_F(Window, ModesBoxesAndVersions) {
  for (const bool animated : {true, false, false}) {
    c.cmbVersion.Text = "2.10";
    animated ? form.mnuAnimatedSRF_Click() : form.mnuStaticSRF_Click();
    EXPECT_EQ(std::make_tuple(form.AnimatedMode, c.mnuAnimatedSRF.Checked, c.mnuStaticSRF.Checked, c.cmbVersion.Enabled,
                              c.cmbVersion.Text),
              std::make_tuple(animated, animated, !animated, !animated, animated ? "1.00" : "2.20"));
    EXPECT_EQ((std::vector<bool>{c.txtWorkDir[2].Enabled, c.txt2DWorkDir[2].Enabled, c.txt3DPrefix[2].Enabled,
                                 c.txt2DPrefix[2].Enabled, c.cmdChangeDir[2].Enabled, c.cmdChange2DDir[2].Enabled}),
              std::vector<bool>(6, animated))
        << "the animation row";
  }
  for (const auto& [text, version] : {std::pair{" 2.10 ", "2.10"},
                                      {"1.00", "1.00"},
                                      {"2.00", "2.00"},
                                      {"3.00", "2.20"},
                                      {"", "2.20"},
                                      {"2.1", "2.20"}}) {
    c.cmbVersion.Text = text;
    EXPECT_EQ(form.NormalisedVersion(), version) << text;
  }
  for (const auto& [text, value] : {std::pair{"128", 128}, {"999", 255}, {"x", 255}}) {
    c.txtTolerance.Text = text;
    form.txtTolerance_Change();
    EXPECT_EQ(c.sldTol.Value, value) << text;
  }
  c.chkResize.Value = false;
  form.chkResize_Click();
  form.SetStatus("Status: Reading SRF...");  // painted at once
  EXPECT_TRUE(c.cmdAddAlpha.Caption == "Add Alpha" && c.lblStatus.Caption == "Status: Reading SRF..." &&
              view.statusRepaints.back());
}

// The rotation boxes follow the mode while they name the sample (its frames
// differ in size between the modes); a folder of the user's stays.
TEST_F(Window, TheRotationBoxesFollowTheModeWhileTheyNameTheSample) {
  const std::string animated = JoinPath(GetFolderName(frmMain::DefaultAnimationFolder()), "Rotation");
  form.mnuAnimatedSRF_Click();
  EXPECT_EQ(c.txtWorkDir[1].Text + c.txt2DWorkDir[1].Text, animated + JoinPath(animated, "Top"));
  EXPECT_TRUE(form.BuildCompositeImage("1.00")) << form.LastOutcome.message;
  form.mnuStaticSRF_Click();
  const std::string sample = c.txtWorkDir[1].Text;
  c.txtWorkDir[1].Text = dir.path();
  form.mnuAnimatedSRF_Click();
  EXPECT_EQ(std::make_pair(sample, c.txtWorkDir[1].Text), std::make_pair(frmMain::DefaultRotationFolder(), dir.path()));
}

// A 3D folder fills its row (its Top, prefixes from the frames found, none
// without); a 2D folder only its box; the pickers open on the trimmed box
// text, preselect it and take the answer up to its first NUL; a cancel or
// another index changes nothing. The picker's callback shows file-system
// folders on its status line and swallows its own errors.
TEST_F(Window, FolderButtonsFillTheirRow) {
  const std::string cars = dir / "cars", top = cars + "/Top", bare = dir / "bare";
  for (const std::string& folder : {top, bare}) fs::create_directories(folder);
  for (const std::string& bmp : {cars + "/sedan0000.bmp", top + "/roof12.bmp"}) {
    ASSERT_TRUE(testing::WriteTestBmp(bmp, 2, 2, 24, [](int, int) { return 0x00FF00u; }));
  }
  const std::string titles[] = {"", "Select New 3D Rotation Directory", "Select New 3D Animation Directory"};
  for (int row : {1, 2}) {
    c.txtWorkDir[row].Text = "  /old/place  ";
    view.folderAnswers = {cars + std::string(1, '\0') + "rest"};
    form.cmdChangeDir_Click(row);
    EXPECT_EQ(view.folderPickers.back(), std::make_pair(titles[row], std::string("/old/place")));
    EXPECT_EQ(PreselectedFolder(), "/old/place");
    EXPECT_EQ(Row(c, row), std::make_tuple(cars, top, "sedan", "roof"));
    EXPECT_EQ(row == 1 ? form.RotationDir3D + form.RotationDir2D : form.AnimationDir3D + form.AnimationDir2D,
              cars + top);
    if (row == 1) {
      EXPECT_TRUE(form.AnimationDir3D.empty() && c.txtWorkDir[2].Text == frmMain::DefaultAnimationFolder());
    }
  }
  view.folderAnswers = {bare};
  form.cmdChangeDir_Click(1);
  EXPECT_EQ(Row(c, 1), std::make_tuple(bare, bare + "/Top", "", ""));
  for (int row : {1, 2}) {
    c.txt2DWorkDir[row].Text = " /was/here ";
    view.folderAnswers = {top};
    form.cmdChange2DDir_Click(row);
    EXPECT_EQ(view.folderPickers.back(),
              std::make_pair(std::string("Select New 2D Directory"), std::string("/was/here")));
    EXPECT_EQ(c.txt2DWorkDir[row].Text, top);
  }
  EXPECT_EQ(std::make_tuple(form.RotationDir2D, form.AnimationDir2D, c.txt2DPrefix[2].Text),
            std::make_tuple(top, top, "roof"));
  const FormControls before = c;
  const size_t pickers = view.folderPickers.size();
  for (int row : {0, 3}) form.cmdChange2DDir_Click(row);  // no such row
  form.cmdChangeDir_Click(1);                             // cancelled
  form.cmdChange2DDir_Click(2);
  EXPECT_EQ(view.folderPickers.size(), pickers + 2);
  for (int row : {1, 2}) EXPECT_EQ(Row(c, row), Row(before, row));
  EXPECT_GT(view.controlsChanged, 0);
  struct Picker : FolderPickerWindow {
    std::vector<std::tuple<uint32_t, uintptr_t, std::string>> sent;
    void SendMessageA(uint32_t message, uintptr_t wParam, const std::string& lParam) override {
      if (sent.size() == 2) throw std::runtime_error("picker gone");
      sent.emplace_back(message, wParam, lParam);
    }
  } picker;
  for (const std::string& path :
       {std::string(), dir / "", dir / "no-such-folder", dir / "cars/sedan0000.bmp", dir.path()}) {
    EXPECT_EQ(BrowseCallbackProc(picker,
                                 path.empty()         ? BFFM_INITIALIZED
                                 : path == dir.path() ? 99
                                                      : BFFM_SELCHANGED,
                                 path, 0),
              0);
  }
  EXPECT_EQ(picker.sent, (decltype(picker.sent){{1126u, 1, top}, {1124u, 0, dir / ""}}));
  EXPECT_EQ(BrowseCallbackProc(picker, BFFM_INITIALIZED, "", 0), 0);
}

// "Send to Device...": the devices found, by model and folder, or a folder
// chosen (a device's own or its Garmin folder); a different file there is
// replaced only after Yes.
TEST_F(Window, SendToDeviceAsksWhichDeviceAndBeforeReplacing) {
  const std::string srf = dir / "car.srf", a = dir / "media/A", b = dir / "media/B", usb = dir / "usb/C";
  LoadPattern(2880, 150);
  ASSERT_TRUE(form.WriteSRFFile(srf, "2.20"));
  const auto target = [&](const std::string& device) {
    return testing::ReadFileBytes(device + "/Garmin/Vehicle/car.srf");
  };
  const auto send = [&] {
    view.dialogAnswers = {srf};
    SendToDeviceFlow(form, {dir / "media"});
  };
  view.choiceAnswers = {0};
  view.folderAnswers = {dir.path()};
  send();  // none found: a folder chosen, which is no device
  EXPECT_EQ(view.choiceLists.at(0), std::vector<std::string>{"Choose folder..."});
  EXPECT_TRUE(Contains(view.questions.at(0), "No Garmin device found in " + dir / "media") &&
              view.messages.size() == 1 &&
              view.messages[0] == dir.path() + " is not a Garmin device: it holds no Garmin/GarminDevice.xml.");
  for (const auto& [device, xml] :
       {std::pair{a, std::string("<Device><Model><Description>n\xC3\xBCvi 760</Description></Model>")},
        {b, std::string("x")},
        {usb, std::string("x")}}) {
    fs::create_directories(device + "/Garmin/Vehicle");
    testing::WriteFileBytes(device + "/Garmin/GarminDevice.xml", std::vector<uint8_t>(xml.begin(), xml.end()));
  }
  testing::WriteFileBytes(b + "/Garmin/Vehicle/car.srf", {'o', 'l', 'd'});
  view.choiceAnswers = {0, 1, 1, 2};
  view.questionAnswers = {false, true};
  view.folderAnswers = {usb + "/Garmin/"};
  send();
  EXPECT_EQ(view.choiceLists.at(1),
            (std::vector<std::string>{"n\xC3\xBCvi 760 (" + a + ")", "Garmin device (" + b + ")", "Choose folder..."}));
  send();
  EXPECT_EQ(target(b), (std::vector<uint8_t>{'o', 'l', 'd'}));
  send();
  send();
  for (const std::string& device : {a, b, usb}) EXPECT_EQ(target(device), testing::ReadFileBytes(srf)) << device;
  EXPECT_EQ(view.questions.size() * 10 + view.messages.size(), 71u) << "five choices, two questions, one message";
}

// The viewer keeps the user's work. Each command ends it (rotation and all);
// Escape too, with the pane as before; built, viewed, turned and left, the
// icon's Make SRF gives the bytes of velkor-cli do-all.
TEST_F(Window, TheViewerEndsOnACommandOrEscapeAndKeepsTheWork) {
  ASSERT_EQ(RunCli("do-all cli.srf", dir.path()).status, 0);
  ASSERT_TRUE(testing::WriteTestBmp(dir / "small.bmp", 2, 2, 24, [](int, int) { return 0x123456u; }));
  const std::pair<const char*, void (frmMain::*)()> commands[] = {
      {"Load Image", &frmMain::cmdLoadImage_Click},     {"Build Image", &frmMain::cmdGo_Click},
      {"PNG to SRF", &frmMain::mnuPNGtoSRF_Click},      {"Alpha+Resize", &frmMain::cmdAddAlpha_Click},
      {"Unsharp Mask", &frmMain::cmdUnsharpMask_Click}, {"Escape", nullptr}};
  for (const auto& [name, command] : commands) {
    SCOPED_TRACE(name);
    const testing::Bytes pane = testing::PixelBytes(form.Plotter());
    form.ShowSRFInViewer(dir / "cli.srf");
    for (int key : {kKeyRight, kKeyUp, kKeyLeft, kKeyUp}) form.Form_KeyDown(key, 0);
    form.Timer1_Timer();
    ASSERT_TRUE(form.Viewer().Showing() && view.timerEnabled && c.optZoom[2].Value);
    view.dialogAnswers = {dir / "small.bmp"};
    command ? (form.*command)() : void(form.Form_KeyDown(kKeyEscape, 0));
    // No viewer or timer left, the view options as they were, the pane shows the working image.
    EXPECT_EQ(std::make_tuple(form.Viewer().Showing(), view.timerEnabled, c.optZoom[2].Value,
                              form.Form_KeyDown(kKeyRight, 0)),
              std::make_tuple(false, false, false, false));
    EXPECT_EQ(gdi::GetPixel(form.Plotter().hDC(), 0, 0), gdi::GetPixel(form.WorkImage->hDC(), 0, 0));
    if (!command) {
      EXPECT_EQ(testing::PixelBytes(form.Plotter()), pane);
    }
  }
  view.dialogAnswers = {dir / "window.srf"};
  form.cmdMakeSRF_Click();
  EXPECT_EQ(testing::ReadFileBytes(dir / "window.srf"), testing::ReadFileBytes(dir / "cli.srf"));
}

// Do All stops at a frame it cannot import, before any dialog, and names it.
TEST_F(Window, DoAllStopsOnAFrameNotImported) {
  // A frame removed, one a row short (FreeImage would load it with a black row), or none at all.
  const std::tuple<std::string, std::string, std::string> cases[] = {
      {"r2d0017.bmp", "2D rotation", "Status: ERROR: 2D Rotation File Not Found..."},
      {"r3d0003.bmp", "3D rotation", "Status: ERROR: 3D Rotation File Unreadable..."},
      {"", "no frames", "Status: ERROR: 3D Rotation File Not Found..."}};
  for (const auto& [file, set, status] : cases) {
    testing::ScratchDir frames;
    if (!file.empty()) testing::WriteAllSets(frames.path());
    testing::UseFrameFolder(form, frames.path());
    const std::string frame = frames / file;
    if (set[0] == '3') fs::resize_file(frame, platform::FileLength(frame).value() - 8);
    if (set[0] == '2') fs::remove(frame);
    view.messages.clear();
    view.dialogAnswers = {frames / "out.srf"};
    form.cmdSave_Click();
    ASSERT_TRUE(view.dialogs.empty() && !PathExists(frames / "out.srf") && view.messages.size() == 1u) << set;
    EXPECT_TRUE(Contains(view.messages[0], frame) && Contains(view.messages[0], set)) << view.messages[0];
    EXPECT_EQ(std::make_pair(view.LastStatus(), form.LastOutcome.kind),
              std::make_pair(status, CommandOutcome::Kind::Failed));
  }
}

// Make SRF refuses a picture of another size than the device's, or one with
// nothing in it.
TEST_F(Window, MakeSrfRefusesAWrongSizeOrNoVehicleAndACancelRestoresTheStatus) {
  ASSERT_TRUE(form.WorkImage->Create(14400, 750));
  form.ImageLoaded = true;
  form.cmdMakeSRF_Click();
  ASSERT_TRUE(view.dialogs.empty() && view.messages.size() == 1u);
  for (const char* part : {"14400 x 750", "2880 x 150", "Alpha+Resize"}) EXPECT_TRUE(Contains(view.messages[0], part));
  LoadPattern(2880, 150);
  form.SetStatus("Status: Done....");
  form.cmdMakeSRF_Click();  // the dialog is cancelled
  ASSERT_EQ(view.dialogs.size(), 1u);
  EXPECT_EQ(std::make_tuple(view.LastStatus(), view.dialogs[0].fileName, form.LastOutcome.kind),  // never the root
            std::make_tuple("Status: Done....", platform::HomeFolder() + "/Temp.srf", CommandOutcome::Kind::Cancelled));
  ASSERT_TRUE(form.WorkImage->Create(2880, 150));  // never keyed: all transparent
  form.cmdMakeSRF_Click();
  EXPECT_TRUE(view.messages.back() == "The picture has no vehicle in it: every pixel is transparent." &&
              view.dialogs.size() == 1u);
}

}  // namespace
}  // namespace velkor
