#pragma once
// A view that records everything the window's procedures tell the screen and
// answers dialogs from a script.
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ui/FormView.h"

namespace velkor::testing {

// The first of the scripted `answers`, taken; `none` when none are left.
template <typename T>
T TakeFirst(std::deque<T>& answers, T none) {
  if (answers.empty()) return none;
  T answer = std::move(answers.front());
  answers.pop_front();
  return answer;
}

class FakeView : public FormView {
 public:
  std::vector<std::string> statuses;                               // every status text, in order
  std::vector<bool> statusRepaints;                                // whether each was painted at once
  std::vector<std::string> messages;                               // message boxes
  std::vector<FileDialogRequest> dialogs;                          // every file dialog shown
  std::vector<std::pair<std::string, std::string>> folderPickers;  // title, start folder
  std::vector<float> progressValues;
  int progressShown = 0, progressHidden = 0;
  bool progressVisible = false;
  int doEvents = 0, previewCleared = 0, previewChanged = 0, controlsChanged = 0;
  bool timerEnabled = false;
  int timerInterval = 1000;

  // Answers for the coming dialogs: a path, or std::nullopt to cancel.
  std::deque<std::optional<std::string>> dialogAnswers;
  std::deque<std::string> folderAnswers;
  // Questions and choices asked, and their scripted answers (No / cancel when none left).
  std::vector<std::string> questions;
  std::deque<bool> questionAnswers;
  std::vector<std::vector<std::string>> choiceLists;
  std::deque<std::optional<size_t>> choiceAnswers;
  // The render dialog: each script acts as the user would on the dialog and
  // says whether OK was pressed; none left: cancelled.
  std::deque<std::function<bool(render::RenderDialogModel&)>> renderDialogs;
  int renderDialogsShown = 0;

  void StatusChanged(const std::string& text, bool repaint) override {
    statuses.push_back(text);
    statusRepaints.push_back(repaint);
  }
  void ProgressVisible(bool visible) override {
    progressVisible = visible;
    ++(visible ? progressShown : progressHidden);
  }
  void ProgressValue(float value) override { progressValues.push_back(value); }
  void MessageBox(const std::string& text) override { messages.push_back(text); }
  bool AskYesNo(const std::string& text) override {
    questions.push_back(text);
    return TakeFirst(questionAnswers, false);
  }
  std::optional<size_t> ChooseOne(const std::string& text, const std::vector<std::string>& choices) override {
    questions.push_back(text);
    choiceLists.push_back(choices);
    return TakeFirst(choiceAnswers, std::optional<size_t>());
  }
  std::optional<std::string> FileDialog(const FileDialogRequest& request) override {
    dialogs.push_back(request);
    return TakeFirst(dialogAnswers, std::optional<std::string>());
  }
  std::string BrowseForFolder(const std::string& title, const std::string& startFolder) override {
    folderPickers.emplace_back(title, startFolder);
    return TakeFirst(folderAnswers, std::string());
  }
  bool ShowRenderDialog(render::RenderDialogModel& dialog) override {
    ++renderDialogsShown;
    const auto script = TakeFirst(renderDialogs, std::function<bool(render::RenderDialogModel&)>());
    return script && script(dialog);
  }
  void DoEvents() override { ++doEvents; }
  void PreviewCleared() override { ++previewCleared; }
  void PreviewChanged() override { ++previewChanged; }
  void TimerChanged(bool enabled, int intervalMs) override {
    timerEnabled = enabled;
    timerInterval = intervalMs;
  }
  void ControlsChanged() override { ++controlsChanged; }

  std::string LastStatus() const { return statuses.empty() ? std::string() : statuses.back(); }
};

}  // namespace velkor::testing
