#pragma once
// "Render from Model...": the model, the folder and the settings of one render
// beside a live preview of three of its frames, redrawn shortly after any
// change, so that the user sees and fixes which way the model stands before a
// frame is written. Every field edits the toolkit-free RenderDialogModel.
#include <QDialog>
#include <QTimer>
#include <array>

#include "render/commands/RenderDialogModel.h"
#include "ui/FormView.h"

class QComboBox;
class QDoubleSpinBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace velkor::qt {

class RenderDialog : public QDialog {
  Q_OBJECT

 public:
  // `view` answers the file and folder dialogs and shows the messages.
  RenderDialog(render::RenderDialogModel& model, FormView& view, QWidget* parent = nullptr);
  // Draws the preview now rather than when the timer runs out.
  void RedrawPreview();

  // A change is drawn this long after the last one, so that typing or a
  // spin box held down draws once.
  static constexpr int kPreviewDelayMs = 40;

 private:
  void BuildFields(QFormLayout* form);
  QWidget* BuildPreview();
  void ChooseModel(const std::string& path);
  void ToFields();
  void Changed();

  render::RenderDialogModel& model_;
  FormView& view_;
  QLineEdit *modelPath_, *folder_, *prefix_, *animationModel_ = nullptr;
  QComboBox *up_, *front_;
  QDoubleSpinBox *elevation_, *fill_;
  QPushButton *key_, *ok_;
  QLabel *mode_, *problem_;
  std::array<QLabel*, 3> previews_{};
  QTimer previewTimer_;
};

}  // namespace velkor::qt
