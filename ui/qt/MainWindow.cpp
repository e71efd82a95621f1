// Building the window: one widget per control of the model, at the model's
// position, with the captions, colours and fonts of the window's design.
#include "ui/qt/MainWindow.h"

#include <QApplication>
#include <QButtonGroup>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QStyle>

#include "ui/qt/DesktopMenuItems.h"
#include "ui/qt/FormBackground.h"
#include "ui/qt/PlotterWidget.h"
#include "ui/qt/Style.h"

namespace velkor::qt {

namespace {
constexpr int kClientWidth = 702, kClientHeight = 682;
constexpr Qt::Alignment kRight = Qt::AlignRight;
constexpr Qt::Alignment kCentre = Qt::AlignHCenter;
constexpr Qt::Alignment kLeft = Qt::AlignLeft;

QString Indexed(const char* name, int index) { return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index); }
}  // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent), form_(std::make_unique<frmMain>(*this)) {
  setWindowTitle(QString::fromUtf8(kAppTitle));
  background_ = new FormBackground(
      form_->Controls,
      [this](int b, int s, float x, float y) { Run([=, this] { form_->Form_MouseDown(b, s, x, y); }); }, this);
  background_->setObjectName(QStringLiteral("frmMain"));
  background_->setFixedSize(kClientWidth, kClientHeight);
  setCentralWidget(background_);
  binder_ = std::make_unique<ControlBinder>(background_, [this](const Handler& h) { Run(h); });
  BuildControls();
  BuildMenus();

  connect(&timer1_, &QTimer::timeout, this, [this] { Run([this] { form_->Timer1_Timer(); }); });
  timer1_.setInterval(form_->Viewer().Timer1().Interval);
  // Keys reach the window before the control that has the focus.
  qApp->installEventFilter(this);

  Run([this] { form_->Form_Load(); });
  adjustSize();
  CenterOnScreen();
}

MainWindow::~MainWindow() {
  qApp->removeEventFilter(this);
  timer1_.stop();
  // The controls refer to the form's model and back buffer: they go first.
  delete background_;
  background_ = nullptr;
  plotter_ = nullptr;
}

QWidget* MainWindow::Plotter() const { return plotter_; }
QWidget* MainWindow::Background() const { return background_; }

void MainWindow::BuildControls() {
  BuildFolderRows();
  BuildCommandButtons();
  BuildAlphaAndResizeRows();
  BuildPreview();
}

void MainWindow::BuildFolderRows() {
  FormControls& c = form_->Controls;
  ControlBinder& b = *binder_;
  b.AddLabel(c.Label18, "Label18", kHeadingYellow, kCentre);
  b.AddLabel(c.Label17, "Label17", kHeadingYellow, kCentre);
  struct Row {
    Label &dir3D, &dir2D, &prefix3D, &prefix2D;
    const char *dir3DName, *dir2DName, *prefix3DName, *prefix2DName;
  };
  const Row rows[] = {{c.Label1, c.Label4, c.Label2, c.Label3, "Label1", "Label4", "Label2", "Label3"},
                      {c.Label14, c.Label13, c.Label16, c.Label15, "Label14", "Label13", "Label16", "Label15"}};
  for (int i = 1; i <= 2; ++i) {
    const Row& r = rows[i - 1];
    b.AddLabel(r.dir3D, r.dir3DName, kCaptionCyan, kRight);
    b.AddTextBox(c.txtWorkDir[i], Indexed("txtWorkDir", i));
    b.AddButton(c.cmdChangeDir[i], Indexed("cmdChangeDir", i), ChangeButtonFont(),
                [this, i] { form_->cmdChangeDir_Click(i); });
    b.AddLabel(r.dir2D, r.dir2DName, kCaptionCyan, kRight);
    b.AddTextBox(c.txt2DWorkDir[i], Indexed("txt2DWorkDir", i));
    b.AddButton(c.cmdChange2DDir[i], Indexed("cmdChange2DDir", i), ChangeButtonFont(),
                [this, i] { form_->cmdChange2DDir_Click(i); });
    b.AddLabel(r.prefix3D, r.prefix3DName, kCaptionCyan, kRight);
    b.AddTextBox(c.txt3DPrefix[i], Indexed("txt3DPrefix", i));
    b.AddLabel(r.prefix2D, r.prefix2DName, kCaptionCyan, kRight);
    b.AddTextBox(c.txt2DPrefix[i], Indexed("txt2DPrefix", i));
  }
  b.AddLabel(c.Label9, "Label9", kCaptionCyan, kRight);
  b.AddCombo(c.cmbNumbers, "cmbNumbers");
}

void MainWindow::BuildCommandButtons() {
  FormControls& c = form_->Controls;
  ControlBinder& b = *binder_;
  frmMain& f = *form_;
  b.AddButton(c.cmdLoadImage, "cmdLoadImage", ButtonFont(), [&f] { f.cmdLoadImage_Click(); });
  b.AddLabel(c.Label10, "Label10", kCaptionCyan, kCentre);
  b.AddButton(c.cmdGo, "cmdGo", ButtonFont(), [&f] { f.cmdGo_Click(); });
  b.AddButton(c.cmdAddAlpha, "cmdAddAlpha", ButtonFont(), [&f] { f.cmdAddAlpha_Click(); });
  b.AddButton(c.cmdUnsharpMask, "cmdUnsharpMask", ButtonFont(), [&f] { f.cmdUnsharpMask_Click(); });
  b.AddButton(c.Command2, "Command2", ButtonFont(), [&f] { f.Command2_Click(); });
  b.AddButton(c.cmdMakeSRF, "cmdMakeSRF", ButtonFont(), [&f] { f.cmdMakeSRF_Click(); });
  b.AddButton(c.cmdSave, "cmdSave", ButtonFont(), [&f] { f.cmdSave_Click(); });
}

void MainWindow::BuildAlphaAndResizeRows() {
  FormControls& c = form_->Controls;
  ControlBinder& b = *binder_;
  frmMain& f = *form_;
  b.AddLabel(c.Label5, "Label5", kCaptionCyan, kRight);
  b.AddLabel(c.Label11, "Label11", kHintTeal, kCentre);
  b.AddTextBox(c.txtAColor, "txtAColor");
  b.AddLabel(c.Label6, "Label6", kCaptionCyan, kRight);
  // Only what the slider can take; a typed value moves it.
  QLineEdit* tolerance = b.AddTextBox(c.txtTolerance, "txtTolerance", [&f] { f.txtTolerance_Change(); });
  tolerance->setValidator(new QIntValidator(c.sldTol.Min, c.sldTol.Max, tolerance));
  b.AddLabel(c.Label7, "Label7", kCaptionCyan, kCentre);
  b.AddSlider(c.sldTol, "sldTol", [&f] { f.sldTol_Scroll(); });
  b.AddLabel(c.Label8, "Label8", kCaptionCyan, kCentre);
  b.AddCheckBox(c.chkResize, "chkResize", [&f] { f.chkResize_Click(); });
  b.AddCheckBox(c.chkImagesNotAntiAliased, "chkImagesNotAntiAliased", nullptr);
  b.AddCheckBox(c.chkStepSample, "chkStepSample", nullptr);
  auto* steps = new QButtonGroup(background_);
  const char* stepNames[] = {"optSteps_0", "optSteps_1", "optSteps_2"};
  for (int i = 0; i < 3; ++i) b.AddOption(c.optSteps, i, steps, stepNames[i], nullptr);
  b.AddLabel(c.Label12, "Label12", kCaptionCyan, kRight);
  b.AddCombo(c.cmbVersion, "cmbVersion", [&f] { f.cmbVersion_Change(); });
}

void MainWindow::BuildPreview() {
  FormControls& c = form_->Controls;
  ControlBinder& b = *binder_;
  frmMain& f = *form_;
  auto* zoom = new QButtonGroup(background_);
  const char* zoomNames[] = {"optZoom_0", "optZoom_1", "optZoom_2"};
  for (int i = 0; i < 3; ++i) b.AddOption(c.optZoom, i, zoom, zoomNames[i], [&f, i] { f.optZoom_Click(i); });
  status_ = b.AddLabel(c.lblStatus, "lblStatus", kStatusYellow, kLeft);
  progress_ = b.AddProgressBar(c.ProgressBar1, "ProgressBar1");
  const auto forward = [this](void (frmMain::*handler)(int, int, float, float)) {
    return [this, handler](int button, int shift, float x, float y) {
      Run([=, this] { (form_.get()->*handler)(button, shift, x, y); });
    };
  };
  plotter_ = new PlotterWidget(form_->Plotter(),
                               MouseForward{forward(&frmMain::Plotter_MouseDown), forward(&frmMain::Plotter_MouseMove),
                                            forward(&frmMain::Plotter_MouseUp)},
                               background_);
  plotter_->setObjectName(QStringLiteral("Plotter"));
  plotter_->setGeometry(c.Plotter.left, c.Plotter.top, c.Plotter.width, c.Plotter.height);
  b.AddSlider(c.sldStrength, "sldStrength", nullptr);
  b.AddSlider(c.sldWeight, "sldWeight", nullptr);
}

void MainWindow::BuildMenus() {
  FormControls& c = form_->Controls;
  ControlBinder& b = *binder_;
  frmMain& f = *form_;
  QMenuBar* bar = menuBar();
  QMenu* mode = b.AddMenu(bar, c.mnuMode, "mnuMode");
  b.AddMenuItem(mode, c.mnuStaticSRF, "mnuStaticSRF", true, [&f] { f.mnuStaticSRF_Click(); });
  b.AddMenuItem(mode, c.mnuAnimatedSRF, "mnuAnimatedSRF", true, [&f] { f.mnuAnimatedSRF_Click(); });
  QMenu* convert = b.AddMenu(bar, c.mnuFileConvert, "mnuFileConvert");
  b.AddMenuItem(convert, c.mnuSRFtoPNG, "mnuSRFtoPNG", false, [&f] { f.mnuSRFtoPNG_Click(); });
  b.AddMenuItem(convert, c.mnuPNGtoSRF, "mnuPNGtoSRF", false, [&f] { f.mnuPNGtoSRF_Click(); });
  convert->addSeparator()->setObjectName(QStringLiteral("mnuLine"));
  b.AddMenuItem(convert, c.mnuASRFtoPNG, "mnuASRFtoPNG", false, [&f] { f.mnuASRFtoPNG_Click(); });
  b.AddMenuItem(convert, c.mnuPNGtoASRF, "mnuPNGtoASRF", false, [&f] { f.mnuPNGtoASRF_Click(); });
  AddDesktopMenuItems(*this, convert);
  // Frames from a 3D model: a menu command of its own, no control in the model.
  convert->addSeparator();
  QAction* render = convert->addAction(QStringLiteral("Render from Model..."));
  render->setObjectName(QStringLiteral("mnuRenderFromModel"));
  connect(render, &QAction::triggered, this, [&f] { f.mnuRenderFromModel_Click(); });
  QMenu* keying = b.AddMenu(bar, c.mnuKeying, "mnuKeying");
  b.AddMenuItem(keying, c.mnuKeyGraded, "mnuKeyGraded", true, [&f] { f.mnuKeyGraded_Click(); });
  b.AddMenuItem(keying, c.mnuKeyBinary, "mnuKeyBinary", true, [&f] { f.mnuKeyBinary_Click(); });
  b.AddMenuItem(keying, c.mnuKeyClean, "mnuKeyClean", true, [&f] { f.mnuKeyClean_Click(); });
  // "SRF Viewer" is a command on the bar itself, with no menu under it.
  b.AddMenuItem(bar, c.mnuSRFViewer, "mnuSRFViewer", false, [&f] { f.mnuSRFViewer_Click(); });
}

void MainWindow::CenterOnScreen() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen->availableGeometry()));
}

}  // namespace velkor::qt
