#pragma once
// The window's fonts and colours. Arial is shown as Liberation Sans, which
// has the same metrics, so that captions fit the control sizes; sizes are
// fixed in pixels (8.25 pt and 9 pt at 96 dots per inch) for the same reason.
#include <QColor>
#include <QFont>
#include <QPalette>
#include <QString>
#include <cstdint>

namespace velkor::qt {

QColor FromColorRef(uint32_t bgr);  // 0x00BBGGRR

inline constexpr uint32_t kCaptionCyan = 0x00FFFF00;
inline constexpr uint32_t kHeadingYellow = 0x0000FFFF;
inline constexpr uint32_t kStatusYellow = 0x0080FFFF;
inline constexpr uint32_t kHintTeal = 0x00808000;
inline constexpr uint32_t kSeparatorGrey = 0x00C0C0C0;

QFont LabelFont();         // Arial bold 8.25 pt: labels, check boxes, option buttons
QFont TextBoxFont();       // Arial 8.25 pt
QFont ButtonFont();        // Arial bold 9 pt
QFont ChangeButtonFont();  // MS Sans Serif 8.25 pt

// Check boxes and option buttons: cyan captions on black beside white boxes.
// Their indicators are the style's own, so they keep palettes, not sheets.
QPalette CaptionPalette(QPalette base);
// The slider on the black window: the style's groove and handle, visible.
QPalette SliderPalette(QPalette base);

// Style sheets of the control kinds.
QString CaptionStyle(uint32_t textColor);  // coloured text on black
QString TextBoxStyle();
QString ButtonStyle();
QString ComboStyle();

}  // namespace velkor::qt
