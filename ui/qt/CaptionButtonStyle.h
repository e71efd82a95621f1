#pragma once
// The style of the check boxes and option buttons: the classic small box and
// circle close to their captions, so that "Zoom" fits its 44-pixel button.
#include <QProxyStyle>

namespace velkor::qt {

class CaptionButtonStyle : public QProxyStyle {
  Q_OBJECT

 public:
  CaptionButtonStyle();
  int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr) const override;
};

}  // namespace velkor::qt
