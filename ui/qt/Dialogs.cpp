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

// The file name patterns of a filter ("Bitmap Files|*.bmp" -> "*.bmp").
QStringList Patterns(const std::string& filter) {
  QStringList result;
  const QStringList parts = Q(filter).split(QLatin1Char('|'));
  for (qsizetype i = 1; i < parts.size(); i += 2) {
    for (const QString& p : parts[i].split(QLatin1Char(';'), Qt::SkipEmptyParts)) result << p.trimmed();
  }
  return result;
}

bool MatchesFilter(const QString& name, const std::string& filter) {
  for (const QString& pattern : Patterns(filter)) {
    if (QDir::match(pattern, name)) return true;
  }
  return false;
}

// Opens the dialog in the proposed name's folder (else the user's home),
// with the name filled in only when it is a file of the dialog's type: the
// dialog keeps the last name chosen, which may be an SRF when a BMP is asked.
void PresetFileName(QFileDialog& dialog, const FileDialogRequest& request) {
  const QFileInfo proposed(Q(request.fileName));
  const bool inFolder = !request.fileName.empty() && proposed.dir().exists() && !proposed.dir().isRoot();
  dialog.setDirectory(inFolder ? proposed.absolutePath() : QDir::homePath());
  if (!request.fileName.empty() && !proposed.isDir() && MatchesFilter(proposed.fileName(), request.filter)) {
    dialog.selectFile(proposed.fileName());
  }
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

void ConfigureFileDialog(QFileDialog& dialog, const FileDialogRequest& request) {
  dialog.setWindowTitle(request.save ? QStringLiteral("Save As") : QStringLiteral("Open"));
  dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  // Every command opens a file it then reads: a name that does not exist
  // could only end in "No such file". A save creates its file, so no
  // "create it?" is asked; replacing one is asked when the flags say so.
  dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !(request.save && (request.flags & OFN_OVERWRITEPROMPT)));
  const QStringList filters = ToQtFilters(request.filter);
  if (!filters.isEmpty()) dialog.setNameFilters(filters);
  const QStringList patterns = Patterns(request.filter);
  if (request.save && !patterns.isEmpty() && patterns.constFirst().startsWith(QStringLiteral("*."))) {
    dialog.setDefaultSuffix(patterns.constFirst().mid(2));
  }
  PresetFileName(dialog, request);
}

std::optional<std::string> RunFileDialog(QWidget* parent, const FileDialogRequest& request) {
  QFileDialog dialog(parent);
  ConfigureFileDialog(dialog, request);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return QDir::toNativeSeparators(dialog.selectedFiles().constFirst()).toStdString();
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
