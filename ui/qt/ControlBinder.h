#pragma once
// Builds one widget per control of the model, at its position, and keeps the
// two in step: user edits go into the model through `run`, which guards
// them like the handlers (while a command runs an edit is refused and the
// widget shows the model again), and SyncAll copies the model back into the
// widgets (after a handler changed it).
#include <QString>
#include <array>
#include <functional>
#include <utility>
#include <vector>

#include "ui/Controls.h"

class QAbstractButton;
class QAction;
class QObject;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFont;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSlider;
class QStyle;
class QWidget;

namespace velkor::qt {

using Handler = std::function<void()>;
using HandlerRunner = std::function<void(const Handler&)>;

class ControlBinder {
 public:
  ControlBinder(QWidget* parent, HandlerRunner run) : parent_(parent), run_(std::move(run)) {}

  QLabel* AddLabel(Label& model, const QString& name, uint32_t color, Qt::Alignment alignment);
  // `edited` runs after the user's text went into the model.
  QLineEdit* AddTextBox(TextBox& model, const QString& name, Handler edited = nullptr);
  QPushButton* AddButton(CommandButton& model, const QString& name, const QFont& font, Handler click);
  QCheckBox* AddCheckBox(CheckBox& model, const QString& name, Handler click);
  // Option `index` of a set whose buttons exclude each other; `selected` runs
  // when the user selects it.
  QRadioButton* AddOption(std::array<OptionButton, 3>& set, int index, QButtonGroup* group, const QString& name,
                          Handler selected);
  QComboBox* AddCombo(ComboBox& model, const QString& name, Handler changed = nullptr);
  QSlider* AddSlider(Slider& model, const QString& name, Handler moved);
  QProgressBar* AddProgressBar(ProgressBar& model, const QString& name);
  // A top-level menu of the menu bar, and an entry of a menu or of the bar
  // itself (a top-level entry that is a command).
  QMenu* AddMenu(QMenuBar* bar, MenuItem& model, const QString& name);
  QAction* AddMenuItem(QWidget* menu, MenuItem& model, const QString& name, bool checkable, Handler triggered);

  void SyncAll();

 private:
  void Place(QWidget* widget, const QString& name, const Geometry& position);
  void Raise(const Handler& handler) const;
  // Runs the user's change of a widget (model update and handler), then shows
  // the model in every widget, so a refused change is undone on screen.
  void Apply(const Handler& change);
  void StyleCaptionButton(QAbstractButton* button);
  void Keep(QObject* widget, std::function<void()> toWidget);

  QWidget* parent_;
  HandlerRunner run_;
  QStyle* captionStyle_ = nullptr;  // owned by parent_
  std::vector<std::pair<QObject*, std::function<void()>>> toWidgets_;
};

}  // namespace velkor::qt
