#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <tuple>

#include "support/FakeView.h"
#include "support/TestFiles.h"
#include "ui/commands/frmMain.h"
#include "ui/modBrowseDirs.h"

namespace velkor {
namespace {

class FolderPicker : public ::testing::Test {
 protected:
  testing::FakeView view;
  frmMain form{view};
  testing::ScratchDir scratch;
  std::string cars, top;

  void SetUp() override {
    form.Form_Load();
    cars = scratch / "cars";
    top = cars + "/Top";
    std::filesystem::create_directories(top);
    WriteBmp(cars + "/sedan0000.bmp");
    WriteBmp(top + "/roof12.bmp");
  }
  static void WriteBmp(const std::string& path) {
    ASSERT_TRUE(testing::WriteTestBmp(path, 2, 2, 24, [](int, int) { return 0x00FF00u; })) << path;
  }
};

// A 3D folder fills its row: the 2D folder (its Top) and both prefixes; the
// other row is untouched.
TEST_F(FolderPicker, ChangingA3DFolderFillsItsRow) {
  struct Row {
    int index;
    const char* title;
    std::string* dir3D;
    std::string* dir2D;
  };
  const Row rows[] = {{1, "Select New 3D Rotation Directory", &form.RotationDir3D, &form.RotationDir2D},
                      {2, "Select New 3D Animation Directory", &form.AnimationDir3D, &form.AnimationDir2D}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.title);
    view.folderPickers.clear();
    form.Controls.txtWorkDir[r.index].Text = "  /old/place  ";
    view.folderAnswers = {cars};
    form.cmdChangeDir_Click(r.index);
    ASSERT_EQ(view.folderPickers.size(), 1u);
    EXPECT_EQ(view.folderPickers[0], std::make_pair(std::string(r.title), std::string("/old/place")))
        << "opens on the trimmed box text";
    EXPECT_EQ(form.Controls.txtWorkDir[r.index].Text, cars);
    EXPECT_EQ(form.Controls.txt3DPrefix[r.index].Text, "sedan");
    EXPECT_EQ(form.Controls.txt2DWorkDir[r.index].Text, top);
    EXPECT_EQ(form.Controls.txt2DPrefix[r.index].Text, "roof");
    EXPECT_EQ(*r.dir3D, cars);
    EXPECT_EQ(*r.dir2D, top);
    if (r.index == 1) {
      EXPECT_EQ(form.Controls.txtWorkDir[2].Text, frmMain::DefaultAnimationFolder()) << "the other row is untouched";
      EXPECT_TRUE(form.AnimationDir3D.empty());
    }
  }
  EXPECT_GT(view.controlsChanged, 0);
}

TEST_F(FolderPicker, AFolderWithoutTopOrFramesGivesEmptyPrefixes) {
  const std::string bare = scratch / "bare";
  std::filesystem::create_directories(bare);
  view.folderAnswers = {bare};
  form.cmdChangeDir_Click(1);
  EXPECT_EQ(form.Controls.txt2DWorkDir[1].Text, bare + "/Top");
  EXPECT_EQ(form.Controls.txt3DPrefix[1].Text, "");
  EXPECT_EQ(form.Controls.txt2DPrefix[1].Text, "");
}

TEST_F(FolderPicker, CancellingKeepsWhatTheBoxesHeld) {
  const FormControls before = form.Controls;
  view.folderAnswers = {""};
  form.cmdChangeDir_Click(1);
  form.cmdChange2DDir_Click(2);
  EXPECT_EQ(view.folderPickers.size(), 2u);
  for (int i = 1; i <= 2; ++i) {
    EXPECT_EQ(form.Controls.txtWorkDir[i].Text, before.txtWorkDir[i].Text);
    EXPECT_EQ(form.Controls.txt2DWorkDir[i].Text, before.txt2DWorkDir[i].Text);
    EXPECT_EQ(form.Controls.txt3DPrefix[i].Text, before.txt3DPrefix[i].Text);
    EXPECT_EQ(form.Controls.txt2DPrefix[i].Text, before.txt2DPrefix[i].Text);
  }
  EXPECT_TRUE(form.RotationDir3D.empty());
  EXPECT_TRUE(form.AnimationDir2D.empty());
}

TEST_F(FolderPicker, Changing2DFolderSetsOnlyThatBox) {
  for (int index : {1, 2}) {
    form.Controls.txt2DWorkDir[index].Text = " /was/here ";
    view.folderAnswers = {top};
    form.cmdChange2DDir_Click(index);
    EXPECT_EQ(view.folderPickers.back(), std::make_pair(std::string("Select New 2D Directory"), std::string("/was/here")));
    EXPECT_EQ(form.Controls.txt2DWorkDir[index].Text, top);
    EXPECT_EQ(form.Controls.txt2DPrefix[index].Text, "car") << "prefixes are not touched";
  }
  EXPECT_EQ(form.RotationDir2D, top);
  EXPECT_EQ(form.AnimationDir2D, top);
  EXPECT_EQ(form.Controls.txtWorkDir[1].Text, frmMain::DefaultRotationFolder());

  form.cmdChange2DDir_Click(0);
  form.cmdChange2DDir_Click(3);
  EXPECT_EQ(view.folderPickers.size(), 2u) << "other indexes do nothing";
}

// The callback as the picker sees it: messages it sends back.
class RecordingPicker : public FolderPickerWindow {
 public:
  std::vector<std::tuple<uint32_t, uintptr_t, std::string>> sent;
  bool fail = false;
  void SendMessageA(uint32_t message, uintptr_t wParam, const std::string& lParam) override {
    if (fail) throw std::runtime_error("picker gone");
    sent.emplace_back(message, wParam, lParam);
  }
};

TEST_F(FolderPicker, CallbackPreselectsTheStartFolderAndShowsSelectedPaths) {
  view.folderAnswers = {std::string("/chosen\0rest", 12)};
  EXPECT_EQ(BrowseForFolder(view, "Title", cars), "/chosen") << "the path ends at its first NUL";
  EXPECT_EQ(PreselectedFolder(), cars);

  RecordingPicker picker;
  EXPECT_EQ(BrowseCallbackProc(picker, BFFM_INITIALIZED, "", 0), 0);
  EXPECT_EQ(BrowseCallbackProc(picker, BFFM_SELCHANGED, top, 0), 0);
  EXPECT_EQ(BrowseCallbackProc(picker, BFFM_SELCHANGED, scratch / "no-such-folder", 0), 0);
  EXPECT_EQ(BrowseCallbackProc(picker, BFFM_SELCHANGED, cars + "/sedan0000.bmp", 0), 0);
  EXPECT_EQ(BrowseCallbackProc(picker, 99, top, 0), 0);
  ASSERT_EQ(picker.sent.size(), 2u) << "only file-system folders reach the status line";
  EXPECT_EQ(picker.sent[0], std::make_tuple(1126u, uintptr_t{1}, cars));
  EXPECT_EQ(picker.sent[1], std::make_tuple(1124u, uintptr_t{0}, top));

  picker.fail = true;
  EXPECT_EQ(BrowseCallbackProc(picker, BFFM_INITIALIZED, "", 0), 0) << "errors inside are swallowed";
}

}  // namespace
}  // namespace velkor
