#pragma once
// A shown main window whose dialogs are answered by the test and whose
// status texts and message boxes are recorded.
#include <gtest/gtest.h>

#include <QImage>
#include <QTest>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "QtTestApp.h"
#include "ui/qt/MainWindow.h"

namespace velkor::testing {

class WindowFixture : public ::testing::Test {
 protected:
  std::unique_ptr<qt::MainWindow> window;
  std::vector<std::string> statuses, messages;
  std::vector<FileDialogRequest> requests;
  std::deque<std::optional<std::string>> answers;  // none left: cancelled
  std::vector<std::pair<std::string, std::string>> pickers;
  std::deque<std::string> folderAnswers;

  void SetUp() override {
    window = std::make_unique<qt::MainWindow>();
    qt::ViewHooks& hooks = window->Hooks();
    hooks.statusShown = [this](const std::string& s) { statuses.push_back(s); };
    hooks.messageBox = [this](const std::string& m) { messages.push_back(m); };
    hooks.fileDialog = [this](const FileDialogRequest& r) -> std::optional<std::string> {
      requests.push_back(r);
      if (answers.empty()) return std::nullopt;
      auto answer = answers.front();
      answers.pop_front();
      return answer;
    };
    hooks.folderPicker = [this](const std::string& title, const std::string& start) {
      pickers.emplace_back(title, start);
      if (folderAnswers.empty()) return std::string();
      std::string answer = folderAnswers.front();
      folderAnswers.pop_front();
      return answer;
    };
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  }
  void TearDown() override { window.reset(); }

  frmMain& Form() { return window->Form(); }

  template <typename T>
  T* Find(const char* name) {
    T* widget = window->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }

  // What the window's client area shows now.
  QImage Client() { return window->Background()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
  QImage Pane() { return window->Plotter()->grab().toImage().convertToFormat(QImage::Format_RGB32); }

  bool StatusSeen(const std::string& text) const {
    for (const auto& s : statuses)
      if (s == text) return true;
    return false;
  }
};

// 0x00BBGGRR as the 0xAARRGGBB of an opaque QImage pixel.
inline QRgb Rgb(uint32_t bgr) { return qRgb(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

}  // namespace velkor::testing
