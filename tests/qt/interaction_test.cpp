#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include "WindowFixture.h"
#include "support/TestFiles.h"
#include "platform/FillRectangle.h"
#include "common/VbError.h"
#include "platform/Gdi.h"

namespace velkor::testing {
namespace {

using WindowInteraction = WindowFixture;

TEST_F(WindowInteraction, ModeMenuSwitchesTheAnimationRowsAndResetsTheVersion) {
  const char* animationControls[] = {"txtWorkDir_2",   "txt2DWorkDir_2", "txt3DPrefix_2",
                                     "txt2DPrefix_2", "cmdChangeDir_2", "cmdChange2DDir_2"};
  auto* version = Find<QComboBox>("cmbVersion");
  auto* staticMode = Find<QAction>("mnuStaticSRF");
  auto* animatedMode = Find<QAction>("mnuAnimatedSRF");

  // A version typed into the box reaches the model.
  version->lineEdit()->selectAll();
  QTest::keyClicks(version->lineEdit(), "2.10");
  EXPECT_EQ(Form().Controls.cmbVersion.Text, "2.10");

  animatedMode->trigger();
  EXPECT_TRUE(Form().AnimatedMode);
  EXPECT_TRUE(animatedMode->isChecked());
  EXPECT_FALSE(staticMode->isChecked());
  for (const char* name : animationControls) EXPECT_TRUE(Find<QWidget>(name)->isEnabled()) << name;
  EXPECT_FALSE(version->isEnabled());
  EXPECT_EQ(version->currentText(), "1.00");

  staticMode->trigger();
  EXPECT_FALSE(Form().AnimatedMode);
  EXPECT_TRUE(staticMode->isChecked());
  EXPECT_FALSE(animatedMode->isChecked());
  for (const char* name : animationControls) EXPECT_FALSE(Find<QWidget>(name)->isEnabled()) << name;
  EXPECT_TRUE(version->isEnabled());
  EXPECT_EQ(version->currentText(), "2.20") << "not the 2.10 typed before";

  staticMode->trigger();  // the mode already set: still checked, version reset again
  EXPECT_TRUE(staticMode->isChecked());
  EXPECT_TRUE(Find<QWidget>("txtWorkDir_1")->isEnabled());
}

TEST_F(WindowInteraction, KeyingMenuChecksOneRuleAndTheBinaryCheckBoxFollows) {
  auto* binaryBox = Find<QCheckBox>("chkImagesNotAntiAliased");
  const std::string items[] = {"mnuKeyGraded", "mnuKeyBinary", "mnuKeyClean"};
  for (const std::string chosen : {"mnuKeyBinary", "mnuKeyClean", "mnuKeyClean", "mnuKeyGraded"}) {
    Find<QAction>(chosen.c_str())->trigger();
    for (const std::string& item : items) {
      EXPECT_EQ(Find<QAction>(item.c_str())->isChecked(), item == chosen) << chosen << " " << item;
    }
    EXPECT_EQ(binaryBox->isChecked(), chosen == items[1]) << chosen;
  }
}

TEST_F(WindowInteraction, ToleranceSliderFillsTheBox) {
  auto* slider = Find<QSlider>("sldTol");
  auto* box = Find<QLineEdit>("txtTolerance");
  QTest::keyClick(slider, Qt::Key_End);
  EXPECT_EQ(Form().Controls.sldTol.Value, 255);
  EXPECT_EQ(box->text(), "255");
  QTest::keyClick(slider, Qt::Key_PageDown);
  EXPECT_EQ(box->text(), "245");
  QTest::keyClick(slider, Qt::Key_Left);
  EXPECT_EQ(box->text(), "244");
  EXPECT_EQ(Form().Controls.txtTolerance.Text, "244");
}

TEST_F(WindowInteraction, WithoutAViewerTheArrowKeysAreTheFocusedBoxs) {
  auto* box = Find<QLineEdit>("txtTolerance");
  box->setText("123");
  box->setFocus();
  box->setCursorPosition(0);
  ASSERT_EQ(window->focusWidget(), box);
  QTest::keyClick(box, Qt::Key_Up);
  QTest::keyClick(box, Qt::Key_Right);
  EXPECT_FALSE(Form().Controls.Timer1.Enabled);
  EXPECT_EQ(Form().ViewerFrameLeft, 0);
  EXPECT_EQ(box->cursorPosition(), 1);
}

TEST_F(WindowInteraction, ShiftClickPicksThePanesColour) {
  frmMain& form = Form();
  ASSERT_TRUE(form.WorkImage->Create(200, 100));
  FillRectangle(form.WorkImage->hDC(), 0, 0, 200, 100, 0x2080C0);
  form.ImageLoaded = true;
  QTest::mouseClick(Find<QRadioButton>("optZoom_2"), Qt::LeftButton);  // "Real"
  ASSERT_TRUE(form.Controls.optZoom[2].Value);
  EXPECT_EQ(Pane().pixel(50, 50), Rgb(0x2080C0)) << "the pane shows the back buffer";
  EXPECT_EQ(Pane().pixel(250, 50), Rgb(0xFFFFFF));

  QTest::mouseClick(window->Plotter(), Qt::LeftButton, Qt::ShiftModifier, QPoint(50, 50));
  EXPECT_EQ(form.KeyColor, 0x2080C0u);
  EXPECT_EQ(Find<QLineEdit>("txtAColor")->text(), QString::number(0x2080C0));
  EXPECT_EQ(Client().pixel(110, 185), Rgb(0x2080C0)) << "the alpha colour swatch follows";
  EXPECT_EQ(form.DragMode, 0);

  QTest::mouseClick(window->Plotter(), Qt::LeftButton, Qt::ShiftModifier, QPoint(300, 300));
  EXPECT_EQ(form.KeyColor, 16777215u);

  // With Ctrl as well it is a drag, which selects "Zoom".
  QTest::mousePress(window->Plotter(), Qt::LeftButton, Qt::ShiftModifier | Qt::ControlModifier, QPoint(10, 10));
  EXPECT_EQ(form.DragMode, 1);
  EXPECT_TRUE(Find<QRadioButton>("optZoom_1")->isChecked());
  QTest::mouseRelease(window->Plotter(), Qt::LeftButton, {}, QPoint(20, 15));
  EXPECT_EQ(form.DragMode, 0);
  EXPECT_EQ(form.PanX, 10);
  EXPECT_EQ(form.PanY, 5);
  EXPECT_EQ(form.KeyColor, 16777215u);

  // Choosing "Zoom" again, already selected, resets the zoom.
  form.ZoomFactor = 3.0f;
  QTest::mouseClick(Find<QRadioButton>("optZoom_1"), Qt::LeftButton);
  EXPECT_FLOAT_EQ(form.ZoomFactor, 2.0f);
}

TEST_F(WindowInteraction, SwatchClicksSetTheKeyColour) {
  const std::pair<int, uint32_t> clicks[] = {
      {95, 255}, {107, 65280}, {119, 16711680}, {131, 16777215}, {143, 0}, {90, 255}, {100, 255}};
  for (const auto& [x, expected] : clicks) {
    QTest::mouseClick(window->Background(), Qt::LeftButton, {}, QPoint(x, 200));
    EXPECT_EQ(Form().KeyColor, expected) << x;
    EXPECT_EQ(Find<QLineEdit>("txtAColor")->text(), QString::number(expected));
    EXPECT_EQ(Client().pixel(110, 185), Rgb(expected)) << x;
  }
  // Pixel 101 is 1515 twips: in the gap after the red swatch.
  QTest::mouseClick(window->Background(), Qt::LeftButton, {}, QPoint(101, 200));
  QTest::mouseClick(window->Background(), Qt::LeftButton, {}, QPoint(95, 190));
  EXPECT_EQ(Form().KeyColor, 255u) << "from the last swatch clicked, {100, 255}";
}

TEST_F(WindowInteraction, FolderButtonsGoThroughThePicker) {
  folderAnswers = {"/render/cars"};
  QTest::mouseClick(Find<QPushButton>("cmdChangeDir_1"), Qt::LeftButton);
  ASSERT_EQ(pickers.size(), 1u);
  EXPECT_EQ(pickers[0].first, "Select New 3D Rotation Directory");
  EXPECT_EQ(pickers[0].second, frmMain::DefaultRotationFolder());
  EXPECT_EQ(Find<QLineEdit>("txtWorkDir_1")->text(), "/render/cars");
  EXPECT_EQ(Find<QLineEdit>("txt2DWorkDir_1")->text(), "/render/cars/Top");
  EXPECT_EQ(Find<QLineEdit>("txt3DPrefix_1")->text(), "");
}

TEST_F(WindowInteraction, AnErrorEscapingAHandlerIsShownNotThrown) {
  EXPECT_NO_THROW(window->Run([] { throw VbError(kErrOverflow, "Velkor", "Overflow"); }));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "Run-time error '6':\n\nOverflow");
  EXPECT_NO_THROW(window->Run([] { throw std::runtime_error("boom"); }));
  EXPECT_EQ(messages.back(), "Unexpected error: boom");
}

TEST_F(WindowInteraction, ClosingReleasesTheImages) {
  ASSERT_TRUE(Form().WorkImage->Create(4, 4));
  ASSERT_TRUE(Form().ViewerImage->Create(4, 4));
  ASSERT_TRUE(Form().ViewerBackPatch->Create(4, 4));
  Form().ImageLoaded = true;
  EXPECT_TRUE(window->close());
  EXPECT_TRUE(Form().WorkImage->Empty());
  EXPECT_TRUE(Form().ViewerImage->Empty());
  EXPECT_TRUE(Form().ViewerBackPatch->Empty());
  EXPECT_FALSE(Form().ImageLoaded);
}

// A move reaches the handler with the buttons held during it (a move has no
// button of its own).
TEST_F(WindowInteraction, MovesForwardTheHeldButtons) {
  frmMain& form = Form();
  ASSERT_TRUE(form.WorkImage->Create(100, 50));
  form.ImageLoaded = true;
  const auto move = [this](Qt::MouseButtons held, QPointF at) {
    QMouseEvent event(QEvent::MouseMove, at, window->Plotter()->mapToGlobal(at), Qt::NoButton, held, Qt::NoModifier);
    QApplication::sendEvent(window->Plotter(), &event);
  };
  QTest::mousePress(window->Plotter(), Qt::RightButton, {}, QPoint(10, 100));
  ASSERT_EQ(form.DragMode, 2);
  move(Qt::RightButton, QPointF(10, 101));
  EXPECT_FLOAT_EQ(form.ZoomFactor, 2.01f);
  QTest::mouseRelease(window->Plotter(), Qt::RightButton, {}, QPoint(10, 101));
  QTest::mousePress(window->Plotter(), Qt::LeftButton, {}, QPoint(10, 10));
  move(Qt::LeftButton, QPointF(13, 15));
  EXPECT_EQ(form.PanX, 3);
  EXPECT_EQ(form.PanY, 5);
}

TEST_F(WindowInteraction, TimerTicksTurnTheViewer) {
  ScratchDir dir;
  window->Run([&] {
    ASSERT_TRUE(Form().WorkImage->Create(2880, 150));
    Form().ImageLoaded = true;
    ASSERT_TRUE(Form().WriteSRFFile(dir / "icon.srf", "2.20"));
    Form().ShowSRFInViewer(dir / "icon.srf");
  });
  ASSERT_TRUE(Form().ViewerShowing);
  for (int press = 0; press < 19; ++press) Form().Form_KeyDown(38, 0);  // up to 50 ms a frame
  ASSERT_TRUE(Form().Controls.Timer1.Enabled);
  EXPECT_TRUE(QTest::qWaitFor([this] { return Form().ViewerFrameLeft >= 160; }, 10000))
      << "frame " << Form().ViewerFrameLeft;
  Form().Form_KeyDown(27, 0);
}

}  // namespace
}  // namespace velkor::testing
