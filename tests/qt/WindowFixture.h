#pragma once
// The one QApplication of the Qt tests (offscreen, Fusion), and a shown main
// window whose dialogs are answered by the test and whose status texts and
// message boxes are recorded.
#include <gtest/gtest.h>

#include <QTest>
#include <QtWidgets>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/FakeView.h"
#include "support/TestFiles.h"
#include "ui/qt/MainWindow.h"

namespace velkor::testing {

class QtApplicationEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    qputenv("QT_QPA_PLATFORM", "offscreen");  // whatever the desktop: the screenshot is compared pixel for pixel
    static int argc = 1;
    static char name[] = "qt_tests";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<QApplication>(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  }
  void TearDown() override { app_.reset(); }

 private:
  std::unique_ptr<QApplication> app_;
};

inline ::testing::Environment* const kQtApplication = ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

class WindowFixture : public ::testing::Test {
 protected:
  std::unique_ptr<qt::MainWindow> window;
  std::vector<std::string> statuses, messages;
  std::vector<FileDialogRequest> requests;
  std::deque<std::optional<std::string>> answers;  // none left: cancelled
  ScratchDir dir;

  void SetUp() override {
    window = std::make_unique<qt::MainWindow>();
    window->Hooks().statusShown = [this](const std::string& s) { statuses.push_back(s); };
    window->Hooks().messageBox = [this](const std::string& m) { messages.push_back(m); };
    window->Hooks().fileDialog = [this](const FileDialogRequest& r) -> std::optional<std::string> {
      requests.push_back(r);
      return TakeFirst(answers, std::optional<std::string>());
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
  QImage Grab(QWidget* w) { return w->grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

// 0x00BBGGRR as the 0xAARRGGBB of an opaque QImage pixel.
inline QRgb PixelOf(uint32_t bgr) { return qRgb(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

}  // namespace velkor::testing
