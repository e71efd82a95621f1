// velkor [FILE.srf]: the window. Exit status 3 when there is no display to show it on.
#include <QApplication>
#include <QStyleFactory>
#include <iostream>

#include "ui/qt/DisplayCheck.h"
#include "ui/qt/MainWindow.h"

int main(int argc, char** argv) {
  if (!velkor::qt::DisplayAvailable()) {
    std::cerr << velkor::qt::NoDisplayMessage();
    return 3;
  }
  QApplication app(argc, argv);
  // One style everywhere, so that the window looks the same on every desktop.
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  velkor::qt::MainWindow window;
  window.show();
  // A file named on the command line (the desktop opening an .srf with us) is
  // shown in the viewer, as if chosen there.
  const QStringList files = QApplication::arguments().mid(1);
  if (!files.isEmpty()) {
    window.Run([&window, &files] { window.Form().ShowSRFInViewer(files.front().toStdString()); });
  }
  return QApplication::exec();
}
