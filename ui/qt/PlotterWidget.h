#pragma once
// The preview pane: shows the back buffer that DrawPreview draws into, and
// passes its mouse events on in pane pixels.
#include <QWidget>

#include "raster/cAlphaDibSection.h"
#include "ui/qt/MouseForward.h"

namespace velkor::qt {

class PlotterWidget : public QWidget {
  Q_OBJECT

 public:
  PlotterWidget(const cAlphaDibSection& backBuffer, MouseForward forward, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  const cAlphaDibSection& backBuffer_;
  MouseForward forward_;
};

}  // namespace velkor::qt
