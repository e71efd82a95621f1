#pragma once
// The window frmMain on screen: it builds the widgets for the control model,
// forwards every event to the frmMain handlers, and is the FormView those
// handlers talk to. It holds no state of its own beyond the widgets.
#include <QMainWindow>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/FormView.h"
#include "ui/commands/frmMain.h"
#include "ui/qt/ControlBinder.h"

class QLabel;
class QProgressBar;

namespace velkor::qt {

class FormBackground;
class PlotterWidget;

// Answers for dialogs without showing them, and an observer of the status
// line (tests set these).
struct ViewHooks {
  std::function<std::optional<std::string>(const FileDialogRequest&)> fileDialog;
  std::function<std::string(const std::string& title, const std::string& startFolder)> folderPicker;
  std::function<void(const std::string&)> messageBox;
  std::function<bool(const std::string&)> question;
  std::function<std::optional<size_t>(const std::string&, const std::vector<std::string>&)> choice;
  std::function<void(const std::string&)> statusShown;
  std::function<bool(render::RenderDialogModel&)> renderDialog;
};

class MainWindow : public QMainWindow, public FormView {
  Q_OBJECT

 public:
  explicit MainWindow(QWidget* parent = nullptr);
  ~MainWindow() override;

  frmMain& Form() { return *form_; }
  ViewHooks& Hooks() { return hooks_; }
  QWidget* Plotter() const;
  QWidget* Background() const;

  // Runs a handler; an error that escapes it is shown, never a crash. While a
  // handler runs (and lets events through), no other handler starts.
  void Run(const Handler& handler);

  // FormView
  void StatusChanged(const std::string& text, bool repaint) override;
  void ProgressVisible(bool visible) override;
  void ProgressValue(float value) override;
  void MessageBox(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;  // MainWindowQuestions.cpp
  std::optional<size_t> ChooseOne(const std::string& text, const std::vector<std::string>& choices) override;
  std::optional<std::string> FileDialog(const FileDialogRequest& request) override;
  std::string BrowseForFolder(const std::string& title, const std::string& startFolder) override;
  bool ShowRenderDialog(render::RenderDialogModel& dialog) override;
  void DoEvents() override;
  void PreviewCleared() override;
  void PreviewChanged() override;
  void TimerChanged(bool enabled, int intervalMs) override;
  void ControlsChanged() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildControls();
  void BuildFolderRows();
  void BuildCommandButtons();
  void BuildAlphaAndResizeRows();
  void BuildPreview();
  void BuildMenus();
  void CenterOnScreen();

  std::unique_ptr<frmMain> form_;
  ViewHooks hooks_;
  FormBackground* background_ = nullptr;
  PlotterWidget* plotter_ = nullptr;
  QLabel* status_ = nullptr;
  QProgressBar* progress_ = nullptr;
  std::unique_ptr<ControlBinder> binder_;
  QTimer timer1_;
  int running_ = 0;
};

}  // namespace velkor::qt
