// The Qt window's side of the same promises: the viewer's keys stay the
// viewer's, the file dialogs ask what a desktop user expects, and widgets
// show what the model holds.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QSlider>

#include "WindowFixture.h"
#include "platform/FillRectangle.h"
#include "support/TestFiles.h"
#include "ui/qt/Dialogs.h"

namespace velkor::testing {
namespace {

using WindowFaults = WindowFixture;

TEST_F(WindowFaults, WhileTheViewerShowsTheArrowKeysDoNotReachTheFocusedBox) {
  auto* version = Find<QComboBox>("cmbVersion");
  version->setFocus();
  QTest::keyClick(version, Qt::Key_Up);  // no viewer: the box takes the key
  EXPECT_EQ(Form().Controls.cmbVersion.Text, "2.10");

  ScratchDir dir;
  window->Run([&] {
    ASSERT_TRUE(Form().WorkImage->Create(2880, 150));
    FillRectangle(Form().WorkImage->hDC(), 0, 0, 2880, 150, 0xFF);
    Form().ImageLoaded = true;
    ASSERT_TRUE(Form().WriteSRFFile(dir / "icon.srf", "2.20"));
    Form().ShowSRFInViewer(dir / "icon.srf");
  });
  ASSERT_TRUE(Form().ViewerShowing);
  version->setFocus();
  QTest::keyClick(version, Qt::Key_Up);
  QTest::keyClick(version, Qt::Key_Right);
  EXPECT_EQ(Form().Controls.cmbVersion.Text, "2.10");
  EXPECT_EQ(version->currentText(), "2.10");
  EXPECT_EQ(Form().ViewerFrameLeft, 80);
}

TEST_F(WindowFaults, DialogsTakeExistingFilesOfTheirTypeAndNeverStartAtTheRoot) {
  ScratchDir dir;
  WriteFileBytes(dir / "icon.srf", {1});
  QFileDialog open, save;
  qt::ConfigureFileDialog(open, FileDialogRequest{false, "Bitmap Files|*.bmp", 0x82000, dir / "icon.srf"});
  EXPECT_EQ(open.fileMode(), QFileDialog::ExistingFile);
  EXPECT_EQ(QDir(open.directory()).canonicalPath(), QDir(QString::fromStdString(dir.path())).canonicalPath());
  for (const QString& file : open.selectedFiles()) EXPECT_FALSE(file.endsWith(QStringLiteral(".srf")));
  qt::ConfigureFileDialog(save, FileDialogRequest{true, "Garmin SRF Files|*.srf", 0x82002, "/Temp.srf"});
  EXPECT_EQ(save.fileMode(), QFileDialog::AnyFile);
  EXPECT_FALSE(save.testOption(QFileDialog::DontConfirmOverwrite));
  EXPECT_EQ(save.directory().absolutePath(), QDir::homePath());
}

TEST_F(WindowFaults, ToleranceBoxShowsThreeDigitsAndMovesTheSlider) {
  auto* box = Find<QLineEdit>("txtTolerance");
  box->selectAll();
  QTest::keyClicks(box, "255");
  EXPECT_EQ(Find<QSlider>("sldTol")->value(), 255);
  // Unclipped: as many columns of white text as in a box of ample width.
  box->home(false);
  const auto textColumns = [box] {
    const QImage image = box->grab().toImage();
    int columns = 0;
    for (int x = 0; x < image.width(); ++x) {
      bool text = false;
      for (int y = 0; y < image.height(); ++y) text = text || qGray(image.pixel(x, y)) > 200;
      columns += text;
    }
    return columns;
  };
  const int shown = textColumns();
  box->resize(80, box->height());
  EXPECT_EQ(shown, textColumns());
}

TEST_F(WindowFaults, ComboListSelectsTheEntryItsTextShows) {
  auto* version = Find<QComboBox>("cmbVersion");
  EXPECT_EQ(version->currentIndex(), version->findText(QStringLiteral("2.20")));
  Find<QAction>("mnuAnimatedSRF")->trigger();
  EXPECT_EQ(version->currentIndex(), version->findText(QStringLiteral("1.00")));
}

TEST_F(WindowFaults, ClicksWhileACommandRunsChangeNothing) {
  auto* resize = Find<QCheckBox>("chkResize");
  auto* binary = Find<QAction>("mnuKeyBinary");
  window->Hooks().fileDialog = [&](const FileDialogRequest&) -> std::optional<std::string> {
    resize->click();
    binary->trigger();
    return std::nullopt;
  };
  Find<QWidget>("cmdLoadImage")->setFocus();
  QTest::mouseClick(Find<QWidget>("cmdLoadImage"), Qt::LeftButton);
  EXPECT_TRUE(Form().Controls.chkResize.Value);
  EXPECT_TRUE(resize->isChecked());
  EXPECT_FALSE(Form().Controls.mnuKeyBinary.Checked);
  EXPECT_FALSE(binary->isChecked());
}

}  // namespace
}  // namespace velkor::testing
