#include "ui/qt/DesktopMenuItems.h"

#include <QMenu>

#include "ui/qt/MainWindow.h"

namespace velkor::qt {

void AddDesktopMenuItems(MainWindow& window, QMenu* menu) {
  menu->addSeparator();
  QAction* send = menu->addAction(QStringLiteral("Send to Device..."));
  send->setObjectName(QStringLiteral("mnuSendToDevice"));
  QObject::connect(send, &QAction::triggered, &window,
                   [&window] { window.Run([&window] { window.Form().mnuSendToDevice_Click(); }); });
  QAction* gif = menu->addAction(QStringLiteral("Save as Animated GIF..."));
  gif->setObjectName(QStringLiteral("mnuSaveAsGIF"));
  QObject::connect(gif, &QAction::triggered, &window,
                   [&window] { window.Run([&window] { window.Form().mnuSaveAsGIF_Click(); }); });
}

}  // namespace velkor::qt
