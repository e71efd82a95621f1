#include "ui/qt/RenderDialog.h"

#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include "ui/commands/frmMain.h"

namespace velkor::qt {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

QImage ToImage(const render::FrameImage& frame) {
  QImage image(frame.size, frame.size, QImage::Format_RGB888);
  for (int y = 0; y < frame.size; ++y) {
    std::copy_n(&frame.rgb[static_cast<size_t>(y) * frame.size * 3], frame.size * 3, image.scanLine(y));
  }
  return image;
}

// A line edit with a "Browse..." button after it.
QWidget* WithBrowse(QLineEdit* edit, QPushButton* browse) {
  auto* row = new QWidget;
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  edit->setMinimumWidth(300);  // room for a path
  layout->addWidget(edit, 1);
  layout->addWidget(browse);
  return row;
}

QComboBox* AxisBox(const char* name) {
  auto* box = new QComboBox;
  box->setObjectName(QLatin1String(name));
  for (render::Axis axis : render::kAllAxes) box->addItem(Q(render::AxisName(axis)));
  return box;
}

QDoubleSpinBox* NumberBox(const char* name, double lo, double hi, double step, int decimals) {
  auto* box = new QDoubleSpinBox;
  box->setObjectName(QLatin1String(name));
  box->setRange(lo, hi);
  box->setSingleStep(step);
  box->setDecimals(decimals);
  box->setKeyboardTracking(false);
  return box;
}

}  // namespace

RenderDialog::RenderDialog(render::RenderDialogModel& model, FormView& view, QWidget* parent)
    : QDialog(parent), model_(model), view_(view) {
  setWindowTitle(QStringLiteral("Render from Model"));
  setObjectName(QStringLiteral("RenderDialog"));
  auto* fields = new QFormLayout;
  BuildFields(fields);
  auto* columns = new QHBoxLayout;
  columns->addLayout(fields, 1);
  columns->addWidget(BuildPreview());
  problem_ = new QLabel;
  problem_->setObjectName(QStringLiteral("renderProblem"));
  problem_->setStyleSheet(QStringLiteral("color: #b00000"));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  ok_ = buttons->button(QDialogButtonBox::Ok);
  ok_->setText(QStringLiteral("Render"));
  // Enter in a box (a typed model path) must not start writing frames.
  ok_->setAutoDefault(false);
  ok_->setDefault(false);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* outer = new QVBoxLayout(this);
  outer->addLayout(columns);
  outer->addWidget(problem_);
  outer->addWidget(buttons);
  previewTimer_.setSingleShot(true);
  previewTimer_.setInterval(kPreviewDelayMs);
  connect(&previewTimer_, &QTimer::timeout, this, &RenderDialog::RedrawPreview);
  ToFields();
  Changed();
}

void RenderDialog::BuildFields(QFormLayout* form) {
  render::RenderOptions& o = model_.options;
  modelPath_ = new QLineEdit;
  modelPath_->setObjectName(QStringLiteral("renderModel"));
  auto* browseModel = new QPushButton(QStringLiteral("Browse..."));
  browseModel->setObjectName(QStringLiteral("renderBrowseModel"));
  connect(modelPath_, &QLineEdit::editingFinished, this, [this] {
    if (modelPath_->text().toStdString() != model_.options.model) ChooseModel(modelPath_->text().toStdString());
  });
  connect(browseModel, &QPushButton::clicked, this, [this] {
    const auto path = view_.FileDialog(render::RenderDialogModel::ModelFileRequest(model_.options.model));
    if (path && !path->empty()) ChooseModel(*path);
  });
  form->addRow(QStringLiteral("Model file:"), WithBrowse(modelPath_, browseModel));

  folder_ = new QLineEdit;
  folder_->setObjectName(QStringLiteral("renderFolder"));
  auto* browseFolder = new QPushButton(QStringLiteral("Browse..."));
  connect(folder_, &QLineEdit::textEdited, this, [this, &o](const QString& text) {
    o.outDir = text.toStdString();
    Changed();
  });
  connect(browseFolder, &QPushButton::clicked, this, [this, &o] {
    const std::string start = QFileInfo(Q(o.outDir)).absolutePath().toStdString();
    const std::string folder = view_.BrowseForFolder("Select the Folder for the Rendered Frames", start);
    if (folder.empty()) return;
    o.outDir = folder;
    ToFields();
    Changed();
  });
  form->addRow(QStringLiteral("Output folder:"), WithBrowse(folder_, browseFolder));

  prefix_ = new QLineEdit;
  prefix_->setObjectName(QStringLiteral("renderPrefix"));
  connect(prefix_, &QLineEdit::textEdited, this, [this, &o](const QString& text) {
    o.prefix = text.toStdString();
    Changed();
  });
  form->addRow(QStringLiteral("Prefix:"), prefix_);

  up_ = AxisBox("renderUp");
  front_ = AxisBox("renderFront");
  connect(up_, &QComboBox::activated, this, [this](int index) {
    model_.SetUp(render::kAllAxes[index]);
    ToFields();
    Changed();
  });
  connect(front_, &QComboBox::activated, this, [this](int index) {
    model_.SetFront(render::kAllAxes[index]);
    ToFields();
    Changed();
  });
  form->addRow(QStringLiteral("Up axis:"), up_);
  form->addRow(QStringLiteral("Front axis:"), front_);
  auto* turn = new QPushButton(QStringLiteral("Turn front 90°"));
  turn->setObjectName(QStringLiteral("renderTurnFront"));
  auto* flip = new QPushButton(QStringLiteral("Flip up"));
  flip->setObjectName(QStringLiteral("renderFlipUp"));
  connect(turn, &QPushButton::clicked, this, [this] {
    model_.TurnFront();
    ToFields();
    Changed();
  });
  connect(flip, &QPushButton::clicked, this, [this] {
    model_.FlipUp();
    ToFields();
    Changed();
  });
  auto* turns = new QWidget;
  auto* turnsLayout = new QHBoxLayout(turns);
  turnsLayout->setContentsMargins(0, 0, 0, 0);
  turnsLayout->addWidget(turn);
  turnsLayout->addWidget(flip);
  form->addRow(QString(), turns);

  elevation_ = NumberBox("renderElevation", render::kMinElevation, render::kMaxElevation, 5, 1);
  elevation_->setSuffix(QStringLiteral("°"));
  fill_ = NumberBox("renderFill", render::kMinFill, render::kMaxFill, 0.05, 2);
  connect(elevation_, &QDoubleSpinBox::valueChanged, this, [this, &o](double value) {
    o.elevation = value;
    Changed();
  });
  connect(fill_, &QDoubleSpinBox::valueChanged, this, [this, &o](double value) {
    o.fill = value;
    Changed();
  });
  form->addRow(QStringLiteral("Elevation:"), elevation_);
  form->addRow(QStringLiteral("Fill:"), fill_);

  key_ = new QPushButton;
  key_->setObjectName(QStringLiteral("renderKey"));
  connect(key_, &QPushButton::clicked, this, [this, &o] {
    const QColor picked = QColorDialog::getColor(QColor::fromRgb(o.keyRgb), this, QStringLiteral("Key Colour"));
    if (!picked.isValid()) return;
    o.keyRgb = picked.rgb() & 0xFFFFFF;
    ToFields();
    Changed();
  });
  form->addRow(QStringLiteral("Key colour:"), key_);

  if (o.animated) {  // the animation sets' model, where it is not this one with its lights on
    animationModel_ = new QLineEdit;
    animationModel_->setObjectName(QStringLiteral("renderAnimationModel"));
    animationModel_->setPlaceholderText(QStringLiteral("the model with its lights on"));
    connect(animationModel_, &QLineEdit::textEdited, this, [this, &o](const QString& text) {
      o.animationModel = text.toStdString();
      Changed();
    });
    form->addRow(QStringLiteral("Animation model:"), animationModel_);
  }
  mode_ = new QLabel(Q(model_.ModeText()));
  mode_->setObjectName(QStringLiteral("renderMode"));
  form->addRow(QStringLiteral("Mode:"), mode_);
}

QWidget* RenderDialog::BuildPreview() {
  auto* panel = new QWidget;
  auto* grid = new QHBoxLayout(panel);
  grid->setContentsMargins(0, 0, 0, 0);
  for (size_t i = 0; i < previews_.size(); ++i) {
    auto* column = new QVBoxLayout;
    previews_[i] = new QLabel;
    previews_[i]->setObjectName(QStringLiteral("renderPreview_%1").arg(i));
    previews_[i]->setFixedSize(render::kPreviewSize, render::kPreviewSize);
    previews_[i]->setAlignment(Qt::AlignCenter);
    previews_[i]->setFrameShape(QFrame::Box);
    auto* caption = new QLabel(QString::fromUtf8(render::kPreviewFrames[i].caption));
    caption->setAlignment(Qt::AlignHCenter);
    column->addWidget(previews_[i]);
    column->addWidget(caption);
    column->addStretch();
    grid->addLayout(column);
  }
  return panel;
}

void RenderDialog::ChooseModel(const std::string& path) {
  model_.SetModel(path);  // a file that cannot be read is named in a message; nothing changes
  ToFields();
  Changed();
}

void RenderDialog::ToFields() {
  const render::RenderOptions& o = model_.options;
  modelPath_->setText(Q(o.model));
  folder_->setText(Q(o.outDir));
  prefix_->setText(Q(o.prefix));
  up_->setCurrentIndex(o.up ? static_cast<int>(*o.up) : -1);
  front_->setCurrentIndex(o.front ? static_cast<int>(*o.front) : -1);
  const QSignalBlocker blockElevation(elevation_), blockFill(fill_);
  elevation_->setValue(o.elevation);
  fill_->setValue(o.fill);
  key_->setText(QStringLiteral("#%1").arg(o.keyRgb, 6, 16, QLatin1Char('0')).toUpper());
  key_->setStyleSheet(QStringLiteral("background: #%1").arg(o.keyRgb, 6, 16, QLatin1Char('0')));
  if (animationModel_) animationModel_->setText(Q(o.animationModel));
}

void RenderDialog::Changed() {
  const std::string problem = model_.Problem();
  problem_->setText(Q(problem));
  ok_->setEnabled(problem.empty());
  previewTimer_.start();
}

void RenderDialog::RedrawPreview() {
  previewTimer_.stop();
  render::PreviewImages images;
  std::string error;
  const bool ok = model_.Preview(render::kPreviewSize, images, error);
  for (size_t i = 0; i < previews_.size(); ++i) {
    if (ok) {
      previews_[i]->setPixmap(QPixmap::fromImage(ToImage(images[i])));
    } else {
      previews_[i]->clear();
    }
  }
}

}  // namespace velkor::qt
