#include "ui/qt/Dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>

#include "ui/commands/frmMain.h"
#include "ui/modBrowseDirs.h"

namespace velkor::qt {

namespace {
QString Q(const std::string& s) { return QString::fromStdString(s); }

// Opens the dialog on the proposed name: its folder, with the name filled in.
void PresetFileName(QFileDialog& dialog, const std::string& fileName) {
  if (fileName.empty()) return;
  const QFileInfo proposed(Q(fileName));
  if (proposed.dir().exists()) dialog.setDirectory(proposed.absolutePath());
  dialog.selectFile(proposed.fileName());
}

bool ConfirmCreate(QWidget* parent, const QString& path) {
  const QString text = QStringLiteral("%1\nThis file does not exist.\nDo you want to create the file?")
                           .arg(QDir::toNativeSeparators(path));
  return QMessageBox::question(parent, QFileInfo(path).fileName(), text, QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::No) == QMessageBox::Yes;
}

// The picker as BrowseCallbackProc sees it.
class PickerWindow : public FolderPickerWindow {
 public:
  PickerWindow(QFileDialog& dialog, QLabel& statusLine) : dialog_(dialog), statusLine_(statusLine) {}
  void SendMessageA(uint32_t message, uintptr_t wParam, const std::string& lParam) override {
    if (message == BFFM_SETSELECTIONA && wParam == 1) {
      if (!lParam.empty() && QFileInfo(Q(lParam)).isDir()) dialog_.setDirectory(Q(lParam));
    } else if (message == BFFM_SETSTATUSTEXTA) {
      statusLine_.setText(QDir::toNativeSeparators(Q(lParam)));
    }
  }

 private:
  QFileDialog& dialog_;
  QLabel& statusLine_;
};

// The widget-based dialog, so that a status line can sit under its views.
QLabel* AddStatusLine(QFileDialog& dialog) {
  auto* label = new QLabel(&dialog);
  label->setObjectName(QStringLiteral("pickerStatus"));
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
    grid->addWidget(label, grid->rowCount(), 0, 1, grid->columnCount());
  }
  return label;
}
}  // namespace

QStringList ToQtFilters(const std::string& filter) {
  QStringList result;
  const QStringList parts = Q(filter).split(QLatin1Char('|'));
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1].trimmed();
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    result << QStringLiteral("%1 (%2)").arg(parts[i].trimmed(), patterns);
  }
  return result;
}

std::optional<std::string> RunFileDialog(QWidget* parent, const FileDialogRequest& request) {
  QFileDialog dialog(parent, request.save ? QStringLiteral("Save As") : QStringLiteral("Open"));
  dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  // Like the common dialog without "file must exist", any name may be typed.
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !(request.flags & OFN_OVERWRITEPROMPT));
  const QStringList filters = ToQtFilters(request.filter);
  if (!filters.isEmpty()) dialog.setNameFilters(filters);
  PresetFileName(dialog, request.fileName);
  for (;;) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    const QString chosen = dialog.selectedFiles().constFirst();
    if ((request.flags & OFN_CREATEPROMPT) && !QFileInfo::exists(chosen) && !ConfirmCreate(&dialog, chosen)) {
      continue;  // back to the dialog, as the common dialog does
    }
    return QDir::toNativeSeparators(chosen).toStdString();
  }
}

std::string RunFolderPicker(QWidget* parent, const std::string& title) {
  QFileDialog dialog(parent, Q(title));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly);
  QLabel* statusLine = AddStatusLine(dialog);
  PickerWindow picker(dialog, *statusLine);
  BrowseCallbackProc(picker, BFFM_INITIALIZED, std::string(), 0);
  const auto selectionChanged = [&picker](const QString& path) {
    BrowseCallbackProc(picker, BFFM_SELCHANGED, path.toStdString(), 0);
  };
  // Setting the selection is itself a change of selection, as in the shell's picker.
  selectionChanged(dialog.directory().absolutePath());
  QObject::connect(&dialog, &QFileDialog::currentChanged, &dialog, selectionChanged);
  QObject::connect(&dialog, &QFileDialog::directoryEntered, &dialog, selectionChanged);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return QDir::toNativeSeparators(dialog.selectedFiles().constFirst()).toStdString();
}

void ShowMessage(QWidget* parent, const std::string& text) {
  QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(kAppTitle), Q(text), QMessageBox::Ok, parent);
  box.exec();
}

}  // namespace velkor::qt
