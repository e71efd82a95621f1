#include "ui/qt/PlotterWidget.h"

#include <QMouseEvent>
#include <QPainter>

#include "ui/qt/DibImage.h"
#include "ui/qt/VbInput.h"

namespace velkor::qt {

PlotterWidget::PlotterWidget(const cAlphaDibSection& backBuffer, MouseForward forward, QWidget* parent)
    : QWidget(parent), backBuffer_(backBuffer), forward_(std::move(forward)) {
  // Moves without a button held reach the handlers too, as a zoom drag
  // whose release was lost needs them.
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void PlotterWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  painter.drawImage(0, 0, OpaqueImage(backBuffer_));
}

void PlotterWidget::mousePressEvent(QMouseEvent* event) {
  const QPointF p = event->position();
  if (forward_.down) forward_.down(ButtonMask(event->button()), ShiftMask(event->modifiers()), p.x(), p.y());
}

void PlotterWidget::mouseMoveEvent(QMouseEvent* event) {
  const QPointF p = event->position();
  if (forward_.move) forward_.move(ButtonMask(event->buttons()), ShiftMask(event->modifiers()), p.x(), p.y());
}

void PlotterWidget::mouseReleaseEvent(QMouseEvent* event) {
  const QPointF p = event->position();
  if (forward_.up) forward_.up(ButtonMask(event->button()), ShiftMask(event->modifiers()), p.x(), p.y());
}

}  // namespace velkor::qt
