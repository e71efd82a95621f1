#include "ui/qt/FormBackground.h"

#include <QMouseEvent>
#include <QPainter>

#include "ui/commands/frmMain.h"
#include "ui/qt/Style.h"
#include "ui/qt/VbInput.h"

namespace velkor::qt {

namespace {
constexpr int kSeparatorRows[] = {7, 89, 169, 210, 250};
constexpr int kSeparatorRight = 590;
constexpr int kVerticalSeparatorX = 589, kVerticalSeparatorTop = 1, kVerticalSeparatorBottom = 250;

QRect ToRect(const Geometry& g) { return QRect(g.left, g.top, g.width, g.height); }

// A filled rectangle with a one-pixel border inside its bounds.
void DrawShape(QPainter& painter, const Shape& shape, const QColor& border) {
  const QRect r = ToRect(shape.Position);
  if (r.isEmpty()) return;
  painter.fillRect(r, border);
  painter.fillRect(r.adjusted(1, 1, -1, -1), FromColorRef(shape.FillColor));
}
}  // namespace

FormBackground::FormBackground(const FormControls& controls, MouseHandler mouseDown, QWidget* parent)
    : QWidget(parent), controls_(controls), mouseDown_(std::move(mouseDown)) {
  setAutoFillBackground(true);
  QPalette p = palette();
  p.setColor(QPalette::Window, Qt::black);
  setPalette(p);
}

void FormBackground::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(FromColorRef(kSeparatorGrey));
  for (int y : kSeparatorRows) painter.drawLine(0, y, kSeparatorRight, y);
  painter.drawLine(kVerticalSeparatorX, kVerticalSeparatorTop, kVerticalSeparatorX, kVerticalSeparatorBottom);
  DrawShape(painter, controls_.shpAColor, Qt::black);
  for (const Shape& swatch : controls_.shpRGB) DrawShape(painter, swatch, Qt::white);
}

void FormBackground::mousePressEvent(QMouseEvent* event) {
  const QPointF p = event->position();
  if (mouseDown_) {
    mouseDown_(ButtonMask(event->button()), ShiftMask(event->modifiers()), static_cast<float>(p.x() * kTwipsPerPixel),
               static_cast<float>(p.y() * kTwipsPerPixel));
  }
}

}  // namespace velkor::qt
