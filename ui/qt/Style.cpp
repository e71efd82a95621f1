#include "ui/qt/Style.h"

namespace velkor::qt {

namespace {
constexpr const char* kArial = "Liberation Sans";
constexpr int kPixels8pt = 11;  // 8.25 pt at 96 dpi
constexpr int kPixels9pt = 12;

QFont MakeFont(int pixels, bool bold) {
  QFont font(kArial);
  font.setPixelSize(pixels);
  font.setBold(bold);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

QString Css(uint32_t bgr) { return FromColorRef(bgr).name(); }
}  // namespace

QColor FromColorRef(uint32_t bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

QFont LabelFont() { return MakeFont(kPixels8pt, true); }
QFont TextBoxFont() { return MakeFont(kPixels8pt, false); }
QFont ButtonFont() { return MakeFont(kPixels9pt, true); }
// MS Sans Serif has no free twin; the same family in its regular weight keeps
// the small buttons' captions inside them.
QFont ChangeButtonFont() { return MakeFont(kPixels8pt, false); }

QString CaptionStyle(uint32_t textColor) {
  return QStringLiteral("color: %1; background-color: black;").arg(Css(textColor));
}

QPalette CaptionPalette(QPalette p) {
  p.setColor(QPalette::Window, Qt::black);
  p.setColor(QPalette::WindowText, FromColorRef(kCaptionCyan));
  p.setColor(QPalette::Base, Qt::white);
  p.setColor(QPalette::Text, Qt::black);
  p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x80, 0x80, 0x80));
  return p;
}

QPalette SliderPalette(QPalette p) {
  p.setColor(QPalette::Window, Qt::black);
  p.setColor(QPalette::WindowText, FromColorRef(kSeparatorGrey));  // tick marks
  p.setColor(QPalette::Button, QColor(0xD4, 0xD0, 0xC8));
  p.setColor(QPalette::Base, Qt::white);
  return p;
}

QString TextBoxStyle() {
  return QStringLiteral(
      "QLineEdit { color: white; background-color: black; border: 1px solid #808080;"
      " padding: 0px 1px; selection-background-color: #000080; selection-color: white; }"
      "QLineEdit:disabled { color: #808080; border-color: #404040; }");
}

QString ButtonStyle() {
  return QStringLiteral(
      "QPushButton { color: black; background-color: white; border: 1px solid #404040;"
      " border-right-color: #202020; border-bottom-color: #202020; padding: 0px; }"
      "QPushButton:pressed { background-color: #D4D0C8; }"
      "QPushButton:focus { border: 1px solid black; }"
      "QPushButton:disabled { color: #A0A0A0; background-color: #F0F0F0; border-color: #A0A0A0; }");
}

QString ComboStyle() {
  return QStringLiteral(
      "QComboBox { color: black; background-color: white; border: 1px solid #808080; padding: 0px 2px; }"
      "QComboBox:disabled { color: #808080; background-color: #D4D0C8; }"
      "QComboBox QAbstractItemView { color: black; background-color: white;"
      " selection-background-color: #000080; selection-color: white; }");
}

}  // namespace velkor::qt
