// The Qt window wired to the model: buttons, menus and boxes reach their
// handlers, mouse buttons and timer ticks are forwarded, keys stay the
// viewer's, a handler runs alone and its errors are shown.
#include <filesystem>

#include "WindowFixture.h"
#include "common/VbError.h"
#include "convert/PngFiles.h"
#include "platform/AssetFolder.h"
#include "platform/FillRectangle.h"
#include "render/GltfWriter.h"
#include "render/RenderTestSupport.h"
#include "render/commands/WindowRender.h"
#include "sample/SampleCar.h"
#include "support/SmallSrf.h"
#include "ui/qt/Dialogs.h"
#include "ui/qt/RenderDialog.h"

namespace velkor::testing {
namespace {

using QtWindow = WindowFixture;

// Each stage button on the sample, with the status it leaves; Build Image
// shows the strip in the pane.
TEST_F(QtWindow, PipelineButtonsRunTheirStages) {
  answers = {dir / "make.srf", dir / "all.srf"};
  const std::string written = "Status: SRF version #2.20 file written....";
  const std::pair<const char*, std::string> stages[] = {{"cmdGo", "Status: Idle"},
                                                        {"cmdAddAlpha", "Status: Alpha Channel Done..."},
                                                        {"cmdUnsharpMask", "Status: Done...."},
                                                        {"cmdMakeSRF", written},
                                                        {"cmdSave", written}};
  for (const auto& [button, status] : stages) {
    QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton);
    EXPECT_EQ(Find<QLabel>("lblStatus")->text().toStdString(), status) << button;
    if (std::string(button) == "cmdGo") {
      EXPECT_NE(Grab(window->Plotter()).pixel(0, 0), qRgb(255, 255, 255));
    }
  }
  ASSERT_TRUE(messages.empty()) << messages.front();
  EXPECT_TRUE(Find<QProgressBar>("ProgressBar1")->isHidden()) << "shown only while the alpha stage runs";
  EXPECT_TRUE(std::filesystem::file_size(dir / "make.srf") > 0 && std::filesystem::file_size(dir / "all.srf") > 0 &&
              requests.at(0).save);
}

TEST_F(QtWindow, MenusAndBoxesReachTheModel) {
  auto* version = Find<QComboBox>("cmbVersion");
  Find<QAction>("mnuAnimatedSRF")->trigger();
  EXPECT_TRUE(Form().AnimatedMode && Find<QWidget>("cmdChange2DDir_2")->isEnabled() && !version->isEnabled());
  EXPECT_EQ(version->currentIndex(), version->findText(QStringLiteral("1.00")))
      << "the list selects what the box shows";
  for (const std::string chosen : {"mnuKeyBinary", "mnuKeyClean", "mnuKeyGraded"}) {
    Find<QAction>(chosen.c_str())->trigger();
    for (const char* item : {"mnuKeyGraded", "mnuKeyBinary", "mnuKeyClean"})
      EXPECT_EQ(Find<QAction>(item)->isChecked(), item == chosen);
    EXPECT_EQ(Find<QCheckBox>("chkImagesNotAntiAliased")->isChecked(), chosen == "mnuKeyBinary");
    EXPECT_TRUE(Find<QSlider>("sldTol")->isEnabled() == (chosen != "mnuKeyClean") &&
                Find<QLineEdit>("txtTolerance")->isEnabled() == (chosen != "mnuKeyClean"))
        << "the tolerance is not clean edges'";
  }
  QSlider* slider = Find<QSlider>("sldTol");
  QLineEdit* box = Find<QLineEdit>("txtTolerance");
  for (const auto key : {Qt::Key_End, Qt::Key_PageDown}) QTest::keyClick(slider, key);
  EXPECT_TRUE(box->text() == "245" && Form().Controls.txtTolerance.Text == "245");
  box->selectAll();
  QTest::keyClicks(box, "128");
  EXPECT_TRUE(slider->value() == 128 && Form().Controls.sldTol.Value == 128);
}

// Shift-click picks the pane's colour (the swatch follows), with Ctrl as
// well it drags; swatch clicks by pixel; choosing "Zoom" again resets the zoom.
TEST_F(QtWindow, PaneAndSwatchClicksAndHeldButtons) {
  frmMain& form = Form();
  for (const auto& [x, expected] :
       {std::pair{95, 255u}, {107, 65280u}, {119, 16711680u}, {131, 16777215u}, {143, 0u}, {101, 0u}}) {
    QTest::mouseClick(window->Background(), Qt::LeftButton, {}, QPoint(x, 200));  // 101 is 1515 twips: a gap
    EXPECT_EQ(form.KeyColor, expected) << x;
  }
  ASSERT_TRUE(form.WorkImage->Create(200, 100));
  FillRectangle(form.WorkImage->hDC(), 0, 0, 200, 100, 0x2080C0);
  form.ImageLoaded = true;
  QTest::mouseClick(Find<QRadioButton>("optZoom_2"), Qt::LeftButton);  // "Real"
  QTest::mouseClick(window->Plotter(), Qt::LeftButton, Qt::ShiftModifier, QPoint(50, 50));
  EXPECT_TRUE(form.KeyColor == 0x2080C0u && Find<QLineEdit>("txtAColor")->text() == QString::number(0x2080C0) &&
              Grab(window->Background()).pixel(110, 185) == PixelOf(0x2080C0));
  QTest::mousePress(window->Plotter(), Qt::LeftButton, Qt::ShiftModifier | Qt::ControlModifier, QPoint(10, 10));
  EXPECT_TRUE(form.Pane().DragMode() == 1 && Find<QRadioButton>("optZoom_1")->isChecked());
  QTest::mouseRelease(window->Plotter(), Qt::LeftButton, {}, QPoint(20, 15));
  EXPECT_EQ(std::make_tuple(form.Pane().DragMode(), form.Pane().PanX(), form.Pane().PanY()), std::make_tuple(0, 10, 5));
  form.Pane().SetZoomFactor(3.0f);
  QTest::mouseClick(Find<QRadioButton>("optZoom_1"), Qt::LeftButton);
  EXPECT_FLOAT_EQ(form.Pane().ZoomFactor(), 2.0f);
  // A move has no button of its own: the handler gets the buttons held.
  const auto move = [this](Qt::MouseButtons held, QPointF at) {
    QMouseEvent event(QEvent::MouseMove, at, window->Plotter()->mapToGlobal(at), Qt::NoButton, held, Qt::NoModifier);
    QApplication::sendEvent(window->Plotter(), &event);
  };
  QTest::mousePress(window->Plotter(), Qt::RightButton, {}, QPoint(10, 100));
  move(Qt::RightButton, QPointF(10, 101));
  EXPECT_FLOAT_EQ(form.Pane().ZoomFactor(), 2.01f);
  QTest::mouseRelease(window->Plotter(), Qt::RightButton, {}, QPoint(10, 101));
  QTest::mousePress(window->Plotter(), Qt::LeftButton, {}, QPoint(10, 10));
  move(Qt::LeftButton, QPointF(13, 15));
  EXPECT_EQ(std::make_pair(form.Pane().PanX(), form.Pane().PanY()), std::make_pair(13, 10));
}

// Without a viewer the arrows are the focused box's (and its text reaches the
// model); while it shows, they turn the icon and never reach the box; the
// window's timer ticks turn it on; Escape ends it with the pane as it was. A
// PNG of another size than a static SRF picture changes nothing either.
TEST_F(QtWindow, WhileTheViewerShowsTheArrowKeysAreItsOwnAndTicksTurnIt) {
  auto* version = Find<QComboBox>("cmbVersion");
  cAlphaDibSection animated;
  ASSERT_TRUE(animated.Create(3242, 340) && ConvertRasterToPng(animated, dir / "anim.png") == BmpToPng::Written);
  ASSERT_TRUE(Form().WorkImage->Create(2880, 150) && Form().WriteSRFFile(dir / "icon.srf", "2.20"));
  Form().ImageLoaded = true;
  window->Run([this] { Form().RedrawPreview(); });
  const QImage pane = Grab(window->Plotter());
  for (const bool viewer : {false, true}) {
    if (viewer) window->Run([&] { Form().ShowSRFInViewer(dir / "icon.srf"); });
    version->setFocus();
    for (const auto key : {Qt::Key_Up, Qt::Key_Right}) QTest::keyClick(version, key);
    EXPECT_EQ(std::make_tuple(Form().Controls.cmbVersion.Text, version->currentText().toStdString(),
                              Form().Viewer().FrameLeft(), Form().Viewer().Timer1().Enabled),
              std::make_tuple("2.10", "2.10", viewer ? 80 : 0, false));
  }
  for (int press = 0; press < 19; ++press) Form().Form_KeyDown(38, 0);  // up to 50 ms a frame
  EXPECT_TRUE(QTest::qWaitFor([this] { return Form().Viewer().FrameLeft() >= 240; }, 10000))
      << Form().Viewer().FrameLeft();
  const cAlphaDibSection* work = Form().WorkImage.get();
  QTest::keyClick(version, Qt::Key_Escape);
  ASSERT_TRUE(!Form().Viewer().Showing() && Grab(window->Plotter()) == pane);
  answers = {dir / "anim.png"};
  Find<QAction>("mnuPNGtoSRF")->trigger();
  EXPECT_EQ(messages.at(0).rfind("Cannot convert " + dir / "anim.png: the PNG is 3242 x 340 pixels", 0), 0u)
      << messages[0];
  EXPECT_TRUE(Grab(window->Plotter()) == pane && Form().WorkImage.get() == work);
}

TEST_F(QtWindow, AHandlerRunsAloneAndItsErrorsAreShown) {
  EXPECT_NO_THROW(window->Run([] { throw VbError(kErrOverflow, "Velkor", "Overflow"); }));
  EXPECT_NO_THROW(window->Run([] { throw std::runtime_error("boom"); }));
  EXPECT_EQ(messages, (std::vector<std::string>{"Run-time error '6':\n\nOverflow", "Unexpected error: boom"}));
  auto* resize = Find<QCheckBox>("chkResize");
  auto* binary = Find<QAction>("mnuKeyBinary");
  window->Hooks().fileDialog = [&](const FileDialogRequest&) -> std::optional<std::string> {
    resize->click();  // while Load Image waits for its dialog
    binary->trigger();
    return std::nullopt;
  };
  QTest::mouseClick(Find<QWidget>("cmdLoadImage"), Qt::LeftButton);
  EXPECT_TRUE(Form().Controls.chkResize.Value && resize->isChecked() && !Form().Controls.mnuKeyBinary.Checked &&
              !binary->isChecked());
}

TEST_F(QtWindow, SaveAsAnimatedGifAndClosing) {
  answers = {WriteSmallSrf(dir / "car.srf"), dir / "turning.gif"};
  Find<QAction>("mnuSaveAsGIF")->trigger();
  EXPECT_TRUE(requests.at(1).fileName == dir / "car.gif" && std::filesystem::exists(dir / "turning.gif") &&
              statuses.back() == "Status: GIF written....")
      << "proposed beside the SRF";
  ASSERT_TRUE(Form().WorkImage->Create(2880, 150) && Form().WriteSRFFile(dir / "icon.srf", "2.20"));
  window->Run([&] { Form().ShowSRFInViewer(dir / "icon.srf"); });
  Form().ImageLoaded = true;
  EXPECT_TRUE(window->close());
  const SrfViewer& viewer = Form().Viewer();
  EXPECT_TRUE(Form().WorkImage->Empty() && viewer.Icon().Empty() && viewer.BackPatch().Empty() && !Form().ImageLoaded);
}

TEST(QtDialogs, TakeExistingFilesOfTheirTypeAndNeverStartAtTheRoot) {
  EXPECT_EQ(qt::ToQtFilters("Bitmap Files|*.bmp|Images|*.png;*.bmp") + qt::ToQtFilters(""),
            (QStringList{"Bitmap Files (*.bmp)", "Images (*.png *.bmp)"}));
  ScratchDir dir;
  WriteFileBytes(dir / "icon.srf", {1});
  QFileDialog open, save;
  qt::ConfigureFileDialog(open, FileDialogRequest{false, "Bitmap Files|*.bmp", 0x82000, dir / "icon.srf"});
  EXPECT_TRUE(open.fileMode() == QFileDialog::ExistingFile &&
              QDir(open.directory()).canonicalPath() == QDir(QString::fromStdString(dir.path())).canonicalPath());
  for (const QString& file : open.selectedFiles()) EXPECT_FALSE(file.endsWith(QStringLiteral(".srf")));
  qt::ConfigureFileDialog(save, FileDialogRequest{true, "Garmin SRF Files|*.srf", 0x82002, "/Temp.srf"});
  EXPECT_TRUE(save.fileMode() == QFileDialog::AnyFile && !save.testOption(QFileDialog::DontConfirmOverwrite) &&
              save.directory().absolutePath() == QDir::homePath());
}

// The render dialog on a car stored Z up with its front along -X: the model
// chosen through the file dialog (every format the loader reads, "All files
// (*)" last) shows the guess, the folder it proposes and its preview; "Flip
// up" and "Turn front 90°" change the axis boxes, and the preview follows by
// itself. The dialog as shown is left in the test output folder.
TEST_F(QtWindow, RenderDialogStartsFromTheGuessAndItsButtonsTurnThePreview) {
  std::string error;
  ASSERT_TRUE(render::WriteGlb(Turned(sample::BuildSampleCar(), render::Axis::PosZ, render::Axis::NegX),
                               dir / "car.glb", error));
  render::RenderDialogModel model(*window, render::OptionsFromWindow(Form()));
  qt::RenderDialog dialog(model, *window, window.get());
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  answers = {dir / "car.glb"};
  QTest::mouseClick(dialog.findChild<QPushButton*>("renderBrowseModel"), Qt::LeftButton);
  const QStringList filters = qt::ToQtFilters(requests.at(0).filter);
  EXPECT_TRUE(filters.size() == 2 && filters[0].contains(" *.ac ") && filters[1] == "All files (*)")
      << filters.join('|').toStdString();
  const auto axes = [&dialog] {
    return (dialog.findChild<QComboBox*>("renderUp")->currentText() +
            dialog.findChild<QComboBox*>("renderFront")->currentText())
        .toStdString();
  };
  EXPECT_EQ(axes() + " " + dialog.findChild<QLineEdit*>("renderFolder")->text().toStdString(),
            "+y+x " + dir / "car frames");
  QLabel* top = dialog.findChild<QLabel*>("renderPreview_2");
  ASSERT_TRUE(QTest::qWaitFor([&] { return !top->pixmap().isNull(); }));
  const QImage lying = top->pixmap().toImage();
  for (const char* button : {"renderFlipUp", "renderTurnFront", "renderTurnFront"}) {
    QTest::mouseClick(dialog.findChild<QPushButton*>(button), Qt::LeftButton);
  }
  EXPECT_EQ(axes(), "+z-x");
  EXPECT_TRUE(QTest::qWaitFor([&] { return top->pixmap().toImage() != lying; })) << "the preview follows";
  EXPECT_TRUE(messages.empty() && dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->isEnabled());
  dialog.grab().save(QString::fromStdString(TestOutputDir() + "/render-dialog.png"));
}

// The window as it opens, compared with two committed files: its picture
// (tests/qt/golden/window.png, pixel for pixel) and a listing of every named
// control and menu entry with the state the picture cannot show
// (tests/qt/golden/window.txt). On a difference the window's own picture and
// listing are left in the test output folder; after a deliberate change of
// the window, copy them over the committed ones.
//
// No pixel is tolerated: the tests run on Qt's offscreen platform with the
// Fusion style and Liberation Sans, so the picture depends on neither the
// screen nor the desktop. The folder boxes show the asset folder of the build,
// which the test replaces by "<assets>" before both comparisons.
const QString kGolden = QString::fromStdString(SourceDir() + "/tests/qt/golden/");

QString Describe(QWidget* w) {
  const QRect g = w->geometry();
  QString line = QStringLiteral("%1 %2 (%3,%4 %5x%6)%7%8")
                     .arg(QString::fromLatin1(w->metaObject()->className()), w->objectName())
                     .arg(g.x())
                     .arg(g.y())
                     .arg(g.width())
                     .arg(g.height())
                     .arg(w->isHidden() ? " hidden" : "", w->isEnabled() ? "" : " disabled");
  if (auto* label = qobject_cast<QLabel*>(w)) line += " \"" + label->text() + "\"";
  if (auto* button = qobject_cast<QAbstractButton*>(w))
    line += " \"" + button->text() + "\"" + (button->isChecked() ? " checked" : "");
  if (auto* edit = qobject_cast<QLineEdit*>(w)) line += " \"" + edit->text() + "\"";
  if (auto* combo = qobject_cast<QComboBox*>(w)) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
    line += QStringLiteral(" \"%1\" of [%2]%3")
                .arg(combo->currentText(), items.join('|'), combo->isEditable() ? " editable" : "");
  }
  if (auto* slider = qobject_cast<QSlider*>(w)) {
    line += QStringLiteral(" %1 in %2..%3 step %4 page %5")
                .arg(slider->value())
                .arg(slider->minimum())
                .arg(slider->maximum())
                .arg(slider->singleStep())
                .arg(slider->pageStep());
  }
  if (auto* bar = qobject_cast<QProgressBar*>(w)) line += QStringLiteral(" max %1").arg(bar->maximum());
  return line;
}

void DescribeMenu(const QList<QAction*>& actions, const QString& indent, QStringList& out) {
  for (QAction* a : actions) {
    out << indent + (a->isSeparator()
                         ? QStringLiteral("----")
                         : "\"" + a->text() + "\"" + (a->isCheckable() ? (a->isChecked() ? " [x]" : " [ ]") : ""));
    if (a->menu()) DescribeMenu(a->menu()->actions(), indent + "  ", out);
  }
}

TEST_F(QtWindow, OpensAsCommitted) {
  const QString assets = QString::fromStdString(platform::AssetFolder());
  for (QLineEdit* edit : window->findChildren<QLineEdit*>()) edit->setText(edit->text().replace(assets, "<assets>"));
  if (QWidget* focused = QApplication::focusWidget()) focused->clearFocus();  // no blinking caret
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_LE((window->frameGeometry().center() - screen.center()).manhattanLength(), 2) << "centred";

  QStringList listing{
      "title \"" + window->windowTitle() + "\"",
      QStringLiteral("client %1x%2").arg(window->centralWidget()->width()).arg(window->centralWidget()->height())};
  for (QWidget* w : window->centralWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (!w->objectName().isEmpty()) listing << Describe(w);
  }
  DescribeMenu(window->menuBar()->actions(), "menu ", listing);
  const QByteArray text = (listing.join('\n') + '\n').toUtf8();
  QFile committed(kGolden + "window.txt");
  EXPECT_TRUE(committed.open(QIODevice::ReadOnly)) << committed.fileName().toStdString();
  const QImage shot = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
  // On a difference the window's own file is left in the test output folder.
  for (const bool picture : {false, true}) {
    const QString name = picture ? "window.png" : "window.txt",
                  actual = QString::fromStdString(TestOutputDir()) + "/" + name;
    if (picture ? shot == QImage(kGolden + name).convertToFormat(QImage::Format_RGB32) : text == committed.readAll())
      continue;
    QFile out(actual);
    EXPECT_TRUE(picture ? shot.save(actual) : out.open(QIODevice::WriteOnly) && out.write(text) == text.size());
    ADD_FAILURE() << name.toStdString() << " differs from " << (kGolden + name).toStdString() << "; the window's is "
                  << actual.toStdString() << " (is fonts-liberation installed?)";
  }
}

}  // namespace
}  // namespace velkor::testing
