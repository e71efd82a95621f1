// The window as the handlers' FormView, the guard around every handler, and
// the window-level key and close events.
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <exception>

#include "common/Rounding.h"
#include "common/VbError.h"
#include "ui/qt/Dialogs.h"
#include "ui/qt/FormBackground.h"
#include "ui/qt/MainWindow.h"
#include "ui/qt/PlotterWidget.h"
#include "ui/qt/RenderDialog.h"
#include "ui/qt/VbInput.h"

namespace velkor::qt {

void MainWindow::Run(const Handler& handler) {
  // One handler at a time: events let through while a command runs (its
  // DoEvents, a dialog) must not start another one on the same images.
  if (running_ > 0 || !handler) return;
  ++running_;
  try {
    handler();
  } catch (const VbError& e) {
    MessageBox("Run-time error '" + std::to_string(e.Number()) + "':\n\n" + e.what());
  } catch (const std::exception& e) {
    MessageBox(std::string("Unexpected error: ") + e.what());
  } catch (...) {
    MessageBox("Unexpected error.");
  }
  --running_;
}

void MainWindow::StatusChanged(const std::string& text, bool repaint) {
  status_->setText(QString::fromStdString(text));
  if (repaint) status_->repaint();
  if (hooks_.statusShown) hooks_.statusShown(text);
}

void MainWindow::ProgressVisible(bool visible) {
  progress_->setVisible(visible);
  if (visible) progress_->repaint();
}

void MainWindow::ProgressValue(float value) {
  progress_->setValue(static_cast<int>(RoundHalfEven(value)));
  progress_->repaint();
}

void MainWindow::MessageBox(const std::string& text) {
  if (hooks_.messageBox) {
    hooks_.messageBox(text);
    return;
  }
  ShowMessage(this, text);
}

std::optional<std::string> MainWindow::FileDialog(const FileDialogRequest& request) {
  if (hooks_.fileDialog) return hooks_.fileDialog(request);
  return RunFileDialog(this, request);
}

std::string MainWindow::BrowseForFolder(const std::string& title, const std::string& startFolder) {
  if (hooks_.folderPicker) return hooks_.folderPicker(title, startFolder);
  return RunFolderPicker(this, title);
}

bool MainWindow::ShowRenderDialog(render::RenderDialogModel& dialog) {
  if (hooks_.renderDialog) return hooks_.renderDialog(dialog);
  RenderDialog shown(dialog, *this, this);
  return shown.exec() == QDialog::Accepted;
}

void MainWindow::DoEvents() { QCoreApplication::processEvents(); }

void MainWindow::PreviewCleared() { plotter_->repaint(); }
void MainWindow::PreviewChanged() { plotter_->repaint(); }

void MainWindow::TimerChanged(bool enabled, int intervalMs) {
  timer1_.setInterval(intervalMs);
  if (enabled) {
    timer1_.start();
  } else {
    timer1_.stop();
  }
}

void MainWindow::ControlsChanged() {
  binder_->SyncAll();
  background_->update();  // the colour shapes
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || widget->window() != this) return false;
  // A key goes first to the focused control (or the window) and then up to
  // its parents; the window handles it once, at the first of these.
  QWidget* first = focusWidget() ? focusWidget() : this;
  if (widget != first) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  const int code = VirtualKeyCode(key->key());
  const int shift = ShiftMask(key->modifiers());
  // While the viewer shows, its keys are its own: the focused control (the
  // version box, an option button) must not act on them too.
  bool taken = false;
  Run([this, code, shift, &taken] { taken = form_->Form_KeyDown(code, shift); });
  return taken;
}

void MainWindow::closeEvent(QCloseEvent* event) {
  timer1_.stop();
  bool cancel = false;
  Run([this, &cancel] { form_->Form_QueryUnload(cancel); });
  if (cancel) {
    event->ignore();
    return;
  }
  event->accept();
}

}  // namespace velkor::qt
