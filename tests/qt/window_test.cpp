// The window as it opens, compared with two committed files: its picture
// (tests/qt/golden/window.png, pixel for pixel) and a listing of every named
// control and menu entry with the state the picture cannot show
// (tests/qt/golden/window.txt). On a difference the window's own picture and
// listing are left in the test output folder; after a deliberate change of
// the window, copy them over the committed ones.
//
// No pixel is tolerated: the tests run on Qt's offscreen platform with the
// Fusion style and Liberation Sans, so the picture depends on neither the
// screen nor the desktop. The folder boxes show the asset folder of the build,
// which the test replaces by "<assets>" before both comparisons.

#include "WindowFixture.h"
#include "platform/AssetFolder.h"

namespace velkor::testing {
namespace {

using WindowLayout = WindowFixture;

const QString kGolden = QString::fromStdString(SourceDir() + "/tests/qt/golden/");

QString Describe(QWidget* w) {
  const QRect g = w->geometry();
  QString line = QStringLiteral("%1 %2 (%3,%4 %5x%6)%7%8").arg(QString::fromLatin1(w->metaObject()->className()), w->objectName())
                     .arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height()).arg(w->isHidden() ? " hidden" : "", w->isEnabled() ? "" : " disabled");
  if (auto* label = qobject_cast<QLabel*>(w)) line += " \"" + label->text() + "\"";
  if (auto* button = qobject_cast<QAbstractButton*>(w)) line += " \"" + button->text() + "\"" + (button->isChecked() ? " checked" : "");
  if (auto* edit = qobject_cast<QLineEdit*>(w)) line += " \"" + edit->text() + "\"";
  if (auto* combo = qobject_cast<QComboBox*>(w)) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
    line += QStringLiteral(" \"%1\" of [%2]%3").arg(combo->currentText(), items.join('|'), combo->isEditable() ? " editable" : "");
  }
  if (auto* slider = qobject_cast<QSlider*>(w)) {
    line += QStringLiteral(" %1 in %2..%3 step %4 page %5").arg(slider->value()).arg(slider->minimum()).arg(slider->maximum())
                .arg(slider->singleStep()).arg(slider->pageStep());
  }
  if (auto* bar = qobject_cast<QProgressBar*>(w)) line += QStringLiteral(" max %1").arg(bar->maximum());
  return line;
}

void DescribeMenu(const QList<QAction*>& actions, const QString& indent, QStringList& out) {
  for (QAction* a : actions) {
    out << indent + (a->isSeparator() ? QStringLiteral("----")
                                      : "\"" + a->text() + "\"" + (a->isCheckable() ? (a->isChecked() ? " [x]" : " [ ]") : ""));
    if (a->menu()) DescribeMenu(a->menu()->actions(), indent + "  ", out);
  }
}

TEST_F(WindowLayout, OpensAsCommitted) {
  const QString assets = QString::fromStdString(platform::AssetFolder());
  for (QLineEdit* edit : window->findChildren<QLineEdit*>()) edit->setText(edit->text().replace(assets, "<assets>"));
  if (QWidget* focused = QApplication::focusWidget()) focused->clearFocus();  // no blinking caret
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_LE((window->frameGeometry().center() - screen.center()).manhattanLength(), 2) << "centred";

  QStringList listing{"title \"" + window->windowTitle() + "\"",
                      QStringLiteral("client %1x%2").arg(window->centralWidget()->width()).arg(window->centralWidget()->height())};
  for (QWidget* w : window->centralWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (!w->objectName().isEmpty()) listing << Describe(w);
  }
  DescribeMenu(window->menuBar()->actions(), "menu ", listing);
  const QByteArray text = (listing.join('\n') + '\n').toUtf8();
  QFile committed(kGolden + "window.txt");
  EXPECT_TRUE(committed.open(QIODevice::ReadOnly)) << committed.fileName().toStdString();
  const QImage shot = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
  // On a difference the window's own file is left in the test output folder.
  for (const bool picture : {false, true}) {
    const QString name = picture ? "window.png" : "window.txt", actual = QString::fromStdString(TestOutputDir()) + "/" + name;
    if (picture ? shot == QImage(kGolden + name).convertToFormat(QImage::Format_RGB32) : text == committed.readAll()) continue;
    QFile out(actual);
    EXPECT_TRUE(picture ? shot.save(actual) : out.open(QIODevice::WriteOnly) && out.write(text) == text.size());
    ADD_FAILURE() << name.toStdString() << " differs from " << (kGolden + name).toStdString() << "; the window's is "
                  << actual.toStdString() << " (is fonts-liberation installed?)";
  }
}

}  // namespace
}  // namespace velkor::testing
