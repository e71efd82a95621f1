// The window's questions: Yes/No, and a pick from a list (which device to
// send to). Tests answer them through the hooks without showing anything.
#include <QInputDialog>
#include <QMessageBox>

#include "ui/qt/MainWindow.h"

namespace velkor::qt {

bool MainWindow::AskYesNo(const std::string& text) {
  if (hooks_.question) return hooks_.question(text);
  return QMessageBox::question(this, QString::fromUtf8(kAppTitle), QString::fromStdString(text),
                               QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

std::optional<size_t> MainWindow::ChooseOne(const std::string& text, const std::vector<std::string>& choices) {
  if (hooks_.choice) return hooks_.choice(text, choices);
  QStringList items;
  for (const std::string& choice : choices) items << QString::fromStdString(choice);
  bool ok = false;
  const QString picked =
      QInputDialog::getItem(this, QString::fromUtf8(kAppTitle), QString::fromStdString(text), items, 0, false, &ok);
  const qsizetype index = items.indexOf(picked);
  if (!ok || index < 0) return std::nullopt;
  return static_cast<size_t>(index);
}

}  // namespace velkor::qt
