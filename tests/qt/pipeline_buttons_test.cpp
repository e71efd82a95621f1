#include <QAction>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include "WindowFixture.h"
#include "platform/Files.h"
#include "platform/Gdi.h"
#include "raster/cDib.h"
#include "support/TestFiles.h"

namespace velkor::testing {
namespace {

using PipelineButtons = WindowFixture;

bool PaneAllWhite(const QImage& pane) {
  for (int y = 0; y < pane.height(); y += 3)
    for (int x = 0; x < pane.width(); x += 3)
      if (pane.pixel(x, y) != qRgb(255, 255, 255)) return false;
  return true;
}

void Click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

void SaveScreenshot(QWidget* widget, const char* name) {
  const QString path = QString::fromStdString(TestOutputDir()) + "/" + name;
  EXPECT_TRUE(widget->grab().save(path, "PNG")) << path.toStdString();
}

TEST_F(PipelineButtons, EachStageButtonRunsItsStageAndReportsIt) {
  auto* status = Find<QLabel>("lblStatus");
  Click(Find<QPushButton>("cmdGo"));
  EXPECT_TRUE(StatusSeen("Status: Creating green screen..."));
  EXPECT_TRUE(StatusSeen("Status: Importing and Stitching 3D Images..."));
  EXPECT_TRUE(StatusSeen("Status: Importing and Stitching 2D Images..."));
  EXPECT_TRUE(StatusSeen("Status: Copying to Picture Box..."));
  EXPECT_EQ(status->text(), "Status: Idle");
  EXPECT_TRUE(messages.empty());
  ASSERT_TRUE(Form().ImageLoaded);
  EXPECT_EQ(Form().WorkImage->Width(), 14400);
  EXPECT_EQ(Form().WorkImage->Height(), 750);
  EXPECT_FALSE(PaneAllWhite(Pane())) << "the strip is shown";

  statuses.clear();
  Click(Find<QPushButton>("cmdAddAlpha"));
  EXPECT_TRUE(StatusSeen("Status: Resampling to 2880x150..."));
  EXPECT_TRUE(StatusSeen("Status: Done..."));
  EXPECT_TRUE(StatusSeen("Status: Creating Alpha Channel..."));
  EXPECT_EQ(status->text(), "Status: Alpha Channel Done...");
  EXPECT_TRUE(Find<QProgressBar>("ProgressBar1")->isHidden()) << "shown only while the alpha stage runs";
  EXPECT_EQ(Form().WorkImage->Width(), 2880);
  EXPECT_EQ(Form().WorkImage->Height(), 150);

  statuses.clear();
  Click(Find<QPushButton>("cmdUnsharpMask"));
  EXPECT_EQ(statuses.front(), "Status: Applying Unsharp Mask....");
  EXPECT_EQ(status->text(), "Status: Done....");

  ScratchDir dir;
  const std::string srf = dir / "car.srf";
  answers = {srf};
  Click(Find<QPushButton>("cmdMakeSRF"));
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_TRUE(requests[0].save);
  EXPECT_EQ(requests[0].filter, "Garmin SRF Files|*.srf");
  EXPECT_EQ(status->text(), "Status: SRF version #2.20 file written....");
  EXPECT_GT(platform::FileLength(srf).value_or(0), 0);
  EXPECT_TRUE(messages.empty());
}

TEST_F(PipelineButtons, CancelledSaveWritesNothing) {
  Click(Find<QPushButton>("cmdGo"));
  Click(Find<QPushButton>("cmdAddAlpha"));
  Click(Find<QPushButton>("cmdMakeSRF"));  // no answer: cancelled
  EXPECT_EQ(requests.size(), 1u);
  EXPECT_NE(Find<QLabel>("lblStatus")->text(), "Status: SRF version #2.20 file written....");
}

TEST_F(PipelineButtons, DoAllOnTheSampleAndTheViewer) {
  ScratchDir dir;
  const std::string srf = dir / "sample.srf";
  answers = {srf};
  Click(Find<QPushButton>("cmdSave"));
  EXPECT_TRUE(messages.empty()) << messages.front();
  EXPECT_EQ(Find<QLabel>("lblStatus")->text(), "Status: SRF version #2.20 file written....");
  ASSERT_TRUE(platform::FileExists(srf));
  EXPECT_FALSE(PaneAllWhite(Pane()));
  SaveScreenshot(window.get(), "window-after-do-all.png");

  // The whole sharpened strip fitted to the pane.
  QTest::mouseClick(Find<QRadioButton>("optZoom_0"), Qt::LeftButton);
  SaveScreenshot(window.get(), "window-after-do-all-view-all.png");

  // The viewer: the device screen with the icon, turned by the arrow keys.
  QTest::mouseClick(Find<QRadioButton>("optZoom_2"), Qt::LeftButton);  // one pixel per pixel
  answers = {srf};
  Find<QAction>("mnuSRFViewer")->trigger();
  ASSERT_EQ(requests.back().filter, "SRF Files|*.srf");
  ASSERT_EQ(Form().WorkImage->Width(), 14400);
  cDib screen;
  ASSERT_GT(screen.CreateFromBitmapFile(platform::ProgramFolder() + "/Garmin760.bmp"), 0);
  const QImage pane = Pane();
  for (auto [x, y] : {std::pair{5, 5}, std::pair{200, 100}, std::pair{470, 260}}) {
    EXPECT_EQ(pane.pixel(x, y) & 0xFFFFFF, [&] {
      const uint32_t c = gdi::GetPixel(screen.hDIBDC(), x, y);
      return static_cast<QRgb>(qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF) & 0xFFFFFF);
    }()) << x << "," << y;
  }
  const QImage cellBefore = pane.copy(291, 207, 80, 80);
  QWidget* box = Find<QWidget>("txtTolerance");
  box->setFocus();
  for (int i = 0; i < 4; ++i) QTest::keyClick(box, Qt::Key_Right);
  EXPECT_EQ(Form().ViewerFrameLeft, 320);
  EXPECT_NE(Pane().copy(291, 207, 80, 80), cellBefore) << "the icon turned";
  SaveScreenshot(window.get(), "viewer.png");
}

}  // namespace
}  // namespace velkor::testing
