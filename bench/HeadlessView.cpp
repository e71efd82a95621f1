#include "bench/HeadlessView.h"

#include <ostream>

namespace velkor::bench {

HeadlessView::HeadlessView(std::ostream& err, bool quiet) : err_(err), quiet_(quiet) {}

void HeadlessView::AnswerDialogs(std::vector<std::string> paths) { answers_.assign(paths.begin(), paths.end()); }

void HeadlessView::Error(const std::string& text) {
  errors_.push_back(text);
  err_ << "error: " << text << '\n' << std::flush;
}

void HeadlessView::Warning(const std::string& text) { err_ << "warning: " << text << '\n' << std::flush; }

void HeadlessView::StatusChanged(const std::string& text, bool) {
  statuses_.push_back(text);
  if (!quiet_) err_ << text << '\n' << std::flush;
}

void HeadlessView::MessageBox(const std::string& text) { Error(text); }

std::optional<std::string> HeadlessView::FileDialog(const FileDialogRequest& request) {
  dialogs_.push_back(request);
  if (answers_.empty() || (allowDialog && !allowDialog(request))) return std::nullopt;
  std::string answer = answers_.front();
  answers_.pop_front();
  return answer;
}

std::string HeadlessView::BrowseForFolder(const std::string&, const std::string&) {
  if (answers_.empty()) return {};
  std::string answer = answers_.front();
  answers_.pop_front();
  return answer;
}

}  // namespace velkor::bench
