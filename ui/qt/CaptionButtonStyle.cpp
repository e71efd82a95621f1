#include "ui/qt/CaptionButtonStyle.h"

#include <QStyleFactory>

namespace velkor::qt {

CaptionButtonStyle::CaptionButtonStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

int CaptionButtonStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const {
  switch (metric) {
    case PM_IndicatorWidth:
    case PM_IndicatorHeight:
    case PM_ExclusiveIndicatorWidth:
    case PM_ExclusiveIndicatorHeight: return 12;
    case PM_CheckBoxLabelSpacing:
    case PM_RadioButtonLabelSpacing: return 2;
    default: return QProxyStyle::pixelMetric(metric, option, widget);
  }
}

}  // namespace velkor::qt
