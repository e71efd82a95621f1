#include "ui/qt/ControlBinder.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>

#include "common/Rounding.h"
#include "ui/qt/CaptionButtonStyle.h"
#include "ui/qt/Style.h"

namespace velkor::qt {

namespace {
QString Q(const std::string& s) { return QString::fromStdString(s); }

void SetVisible(QWidget* w, bool visible) {
  if (w->isHidden() == visible) w->setVisible(visible);
}
void SetText(QLabel* w, const std::string& text) {
  if (w->text() != Q(text)) w->setText(Q(text));
}
template <typename W>
void SetCaption(W* w, const std::string& text) {
  if (w->text() != Q(text)) w->setText(Q(text));
}
}  // namespace

void ControlBinder::Place(QWidget* widget, const QString& name, const Geometry& position) {
  widget->setObjectName(name);
  widget->setGeometry(position.left, position.top, position.width, position.height);
}

void ControlBinder::StyleCaptionButton(QAbstractButton* w) {
  if (!captionStyle_) {
    captionStyle_ = new CaptionButtonStyle;
    captionStyle_->setParent(parent_);
  }
  w->setStyle(captionStyle_);
  w->setPalette(CaptionPalette(w->palette()));
  // Buttons fill with the Button role by default; these sit on the window.
  w->setBackgroundRole(QPalette::Window);
  w->setAutoFillBackground(true);
}

void ControlBinder::Raise(const Handler& handler) const {
  if (handler) run_(handler);
}

void ControlBinder::Apply(const Handler& change) {
  run_(change);
  SyncAll();
}

QLabel* ControlBinder::AddLabel(Label& model, const QString& name, uint32_t color, Qt::Alignment alignment) {
  auto* w = new QLabel(Q(model.Caption), parent_);
  Place(w, name, model.Position);
  w->setFont(LabelFont());
  w->setStyleSheet(CaptionStyle(color));
  w->setAlignment(alignment | Qt::AlignTop);
  w->setWordWrap(true);
  Keep(w, [w, &model] { SetText(w, model.Caption); });
  return w;
}

QLineEdit* ControlBinder::AddTextBox(TextBox& model, const QString& name, Handler edited) {
  auto* w = new QLineEdit(Q(model.Text), parent_);
  Place(w, name, model.Position);
  w->setFont(TextBoxFont());
  w->setStyleSheet(TextBoxStyle());
  w->setCursorPosition(0);
  QObject::connect(w, &QLineEdit::textEdited, w, [this, &model, edited](const QString& text) {
    Apply([&model, edited, value = text.toStdString()] {
      model.Text = value;
      if (edited) edited();
    });
  });
  Keep(w, [w, &model] {
    if (w->text() != Q(model.Text)) {
      w->setText(Q(model.Text));
      w->setCursorPosition(0);
    }
    w->setEnabled(model.Enabled);
    SetVisible(w, model.Visible);
  });
  return w;
}

QPushButton* ControlBinder::AddButton(CommandButton& model, const QString& name, const QFont& font, Handler click) {
  auto* w = new QPushButton(Q(model.Caption), parent_);
  Place(w, name, model.Position);
  w->setFont(font);
  w->setStyleSheet(ButtonStyle());
  QObject::connect(w, &QPushButton::clicked, w, [this, click] { Raise(click); });
  Keep(w, [w, &model] {
    SetCaption(w, model.Caption);
    w->setEnabled(model.Enabled);
    SetVisible(w, model.Visible);
  });
  return w;
}

QCheckBox* ControlBinder::AddCheckBox(CheckBox& model, const QString& name, Handler click) {
  auto* w = new QCheckBox(Q(model.Caption), parent_);
  Place(w, name, model.Position);
  w->setFont(LabelFont());
  StyleCaptionButton(w);
  w->setChecked(model.Value);
  QObject::connect(w, &QCheckBox::clicked, w, [this, &model, click](bool checked) {
    Apply([&model, click, checked] {
      model.Value = checked;
      if (click) click();
    });
  });
  Keep(w, [w, &model] {
    SetCaption(w, model.Caption);
    w->setChecked(model.Value);
    w->setEnabled(model.Enabled);
    SetVisible(w, model.Visible);
  });
  return w;
}

QRadioButton* ControlBinder::AddOption(std::array<OptionButton, 3>& set, int index, QButtonGroup* group,
                                       const QString& name, Handler selected) {
  OptionButton& model = set[static_cast<size_t>(index)];
  auto* w = new QRadioButton(Q(model.Caption), parent_);
  Place(w, name, model.Position);
  w->setFont(LabelFont());
  StyleCaptionButton(w);
  group->addButton(w, index);
  w->setChecked(model.Value);
  // Every click selects, even of the option already selected (choosing
  // "Zoom" again resets the zoom).
  QObject::connect(w, &QRadioButton::clicked, w, [this, &set, index, selected] {
    Apply([&set, index, selected] {
      for (size_t i = 0; i < set.size(); ++i) set[i].Value = static_cast<int>(i) == index;
      if (selected) selected();
    });
  });
  Keep(w, [w, group, &set, &model] {
    // A set may show no selection at all, which an exclusive group refuses.
    const bool anySelected = set[0].Value || set[1].Value || set[2].Value;
    group->setExclusive(anySelected);
    w->setChecked(model.Value);
    group->setExclusive(true);
    SetCaption(w, model.Caption);
    w->setEnabled(model.Enabled);
  });
  return w;
}

QComboBox* ControlBinder::AddCombo(ComboBox& model, const QString& name, Handler changed) {
  auto* w = new QComboBox(parent_);
  Place(w, name, model.Position);
  w->setEditable(true);
  w->setInsertPolicy(QComboBox::NoInsert);
  w->setFont(TextBoxFont());
  w->setStyleSheet(ComboStyle());
  for (const auto& item : model.List) w->addItem(Q(item));
  // The list selects the entry the text names, so that the list opens on
  // what the box shows; a text that names none keeps the last selection.
  const auto selectText = [w](const QString& text) {
    const int index = w->findText(text);
    if (index >= 0 && index != w->currentIndex()) w->setCurrentIndex(index);
    if (w->currentText() != text) w->setEditText(text);
  };
  selectText(Q(model.Text));
  QObject::connect(w, &QComboBox::editTextChanged, w, [this, &model, changed](const QString& text) {
    Apply([&model, changed, value = text.toStdString()] {
      model.Text = value;
      if (changed) changed();
    });
  });
  Keep(w, [w, &model, selectText] {
    selectText(Q(model.Text));
    w->setEnabled(model.Enabled);
  });
  return w;
}

QSlider* ControlBinder::AddSlider(Slider& model, const QString& name, Handler moved) {
  auto* w = new QSlider(Qt::Horizontal, parent_);
  Place(w, name, model.Position);
  w->setPalette(SliderPalette(w->palette()));
  w->setAutoFillBackground(true);
  w->setTickPosition(QSlider::TicksBelow);
  w->setTickInterval(model.LargeChange);
  const auto toWidget = [w, &model] {
    w->setRange(model.Min, model.Max);
    w->setValue(model.Value);
    w->setSingleStep(model.SmallChange);
    w->setPageStep(model.LargeChange);
    w->setEnabled(model.Enabled);
    SetVisible(w, model.Visible);
  };
  toWidget();
  QObject::connect(w, &QSlider::valueChanged, w, [this, &model, moved](int value) {
    Apply([&model, moved, value] {
      model.Value = value;
      if (moved) moved();
    });
  });
  Keep(w, toWidget);
  return w;
}

QProgressBar* ControlBinder::AddProgressBar(ProgressBar& model, const QString& name) {
  auto* w = new QProgressBar(parent_);
  Place(w, name, model.Position);
  w->setTextVisible(false);
  const auto toWidget = [w, &model] {
    w->setRange(model.Min, model.Max);
    w->setValue(static_cast<int>(RoundHalfEven(model.Value)));
    SetVisible(w, model.Visible);
  };
  toWidget();
  Keep(w, toWidget);
  return w;
}

QMenu* ControlBinder::AddMenu(QMenuBar* bar, MenuItem& model, const QString& name) {
  QMenu* menu = bar->addMenu(Q(model.Caption));
  menu->setObjectName(name);
  menu->menuAction()->setObjectName(name);
  Keep(menu, [menu, &model] { menu->setEnabled(model.Enabled); });
  return menu;
}

QAction* ControlBinder::AddMenuItem(QWidget* menu, MenuItem& model, const QString& name, bool checkable,
                                    Handler triggered) {
  auto* action = new QAction(Q(model.Caption), menu);
  action->setObjectName(name);
  action->setCheckable(checkable);
  action->setChecked(model.Checked);
  menu->addAction(action);
  // A checkable entry checks itself when triggered; Apply shows the model's
  // check again, whether the handler ran or was refused.
  QObject::connect(action, &QAction::triggered, action, [this, triggered] {
    Apply([triggered] {
      if (triggered) triggered();
    });
  });
  Keep(action, [action, &model] {
    action->setChecked(model.Checked);
    action->setEnabled(model.Enabled);
  });
  return action;
}

void ControlBinder::Keep(QObject* widget, std::function<void()> toWidget) {
  toWidgets_.push_back({widget, std::move(toWidget)});
}

void ControlBinder::SyncAll() {
  // Widgets told what the model holds must not report it back as edits.
  for (const auto& [widget, toWidget] : toWidgets_) {
    const QSignalBlocker blocker(widget);
    toWidget();
  }
}

}  // namespace velkor::qt
