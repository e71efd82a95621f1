#include "support/FakeView.h"

namespace velkor::testing {

void FakeView::StatusChanged(const std::string& text, bool repaint) {
  statuses.push_back(text);
  statusRepaints.push_back(repaint);
}

void FakeView::ProgressVisible(bool visible) {
  progressVisible = visible;
  ++(visible ? progressShown : progressHidden);
}

std::optional<std::string> FakeView::FileDialog(const FileDialogRequest& request) {
  dialogs.push_back(request);
  if (dialogAnswers.empty()) return std::nullopt;
  auto answer = dialogAnswers.front();
  dialogAnswers.pop_front();
  return answer;
}

std::string FakeView::BrowseForFolder(const std::string& title, const std::string& startFolder) {
  folderPickers.emplace_back(title, startFolder);
  if (folderAnswers.empty()) return {};
  std::string answer = folderAnswers.front();
  folderAnswers.pop_front();
  return answer;
}

bool FakeView::AskYesNo(const std::string& text) {
  questions.push_back(text);
  if (questionAnswers.empty()) return false;
  const bool answer = questionAnswers.front();
  questionAnswers.pop_front();
  return answer;
}

std::optional<size_t> FakeView::ChooseOne(const std::string& text, const std::vector<std::string>& choices) {
  questions.push_back(text);
  choiceLists.push_back(choices);
  if (choiceAnswers.empty()) return std::nullopt;
  const auto answer = choiceAnswers.front();
  choiceAnswers.pop_front();
  return answer;
}

void FakeView::TimerChanged(bool enabled, int intervalMs) {
  timerEnabled = enabled;
  timerInterval = intervalMs;
}

}  // namespace velkor::testing
