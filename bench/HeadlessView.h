#pragma once
// The benchmarks' view of the window: status texts go to a stream as they are
// set, message boxes become errors, and the file dialogs answer with the paths
// the command was given, in order. A dialog with no answer left is cancelled.
#include <deque>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "ui/FormView.h"

namespace velkor::bench {

class HeadlessView : public FormView {
 public:
  explicit HeadlessView(std::ostream& err, bool quiet = false);

  // Answers for the coming file dialogs and folder pickers, in order.
  void AnswerDialogs(std::vector<std::string> paths);
  // Consulted before each dialog; returning false cancels it (e.g. to write
  // nothing after a failed import).
  std::function<bool(const FileDialogRequest&)> allowDialog;

  bool Failed() const { return !errors_.empty(); }
  const std::vector<std::string>& Errors() const { return errors_; }
  const std::vector<std::string>& Statuses() const { return statuses_; }
  const std::vector<FileDialogRequest>& Dialogs() const { return dialogs_; }
  void Error(const std::string& text);
  void Warning(const std::string& text);

  void StatusChanged(const std::string& text, bool repaint) override;
  void ProgressVisible(bool) override {}
  void ProgressValue(float) override {}
  void MessageBox(const std::string& text) override;
  // Answers the window's yes/no questions for a command whose arguments
  // already decided them (an output named on the command line may be
  // replaced). Without it nobody is there to answer: No.
  std::function<bool(const std::string&)> answerQuestion;

  // Choices are cancelled.
  bool AskYesNo(const std::string& text) override { return answerQuestion && answerQuestion(text); }
  std::optional<size_t> ChooseOne(const std::string&, const std::vector<std::string>&) override { return {}; }
  std::optional<std::string> FileDialog(const FileDialogRequest& request) override;
  std::string BrowseForFolder(const std::string& title, const std::string& startFolder) override;
  // The command line renders from its flags, never through the dialog.
  bool ShowRenderDialog(render::RenderDialogModel&) override { return false; }
  void DoEvents() override {}
  void PreviewCleared() override {}
  void PreviewChanged() override {}
  void TimerChanged(bool, int) override {}
  void ControlsChanged() override {}

 private:
  std::ostream& err_;
  bool quiet_;
  std::deque<std::string> answers_;
  std::vector<std::string> errors_;
  std::vector<std::string> statuses_;
  std::vector<FileDialogRequest> dialogs_;
};

}  // namespace velkor::bench
