#pragma once
// The window's own surface: black, with the separator lines and the colour
// shapes drawn on it. Clicks that no control takes arrive here and go to
// Form_MouseDown in twips.
#include <QWidget>

#include "ui/Controls.h"
#include "ui/qt/MouseForward.h"

namespace velkor::qt {

class FormBackground : public QWidget {
  Q_OBJECT

 public:
  FormBackground(const FormControls& controls, MouseHandler mouseDown, QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  const FormControls& controls_;
  MouseHandler mouseDown_;
};

}  // namespace velkor::qt
