#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>

#include "WindowFixture.h"
#include "ui/qt/Dialogs.h"

namespace velkor::testing {
namespace {

using WindowLayout = WindowFixture;

struct Placed {
  const char* name;
  const char* caption;  // nullptr: not a captioned control
  QRect geometry;
};

// Every control with its caption at its place: left, top, width, height.
const Placed kControls[] = {
    {"Label18", "Rotation Files", {21, 0, 90, 13}},
    {"Label1", "3D Directory:", {4, 15, 80, 19}},
    {"txtWorkDir_1", nullptr, {89, 14, 436, 19}},
    {"cmdChangeDir_1", "Change", {532, 15, 52, 17}},
    {"Label4", "2D Directory:", {4, 33, 80, 19}},
    {"txt2DWorkDir_1", nullptr, {89, 32, 438, 19}},
    {"cmdChange2DDir_1", "Change", {532, 33, 52, 17}},
    {"Label2", "3D Prefix:", {21, 51, 63, 19}},
    {"txt3DPrefix_1", nullptr, {89, 49, 88, 18}},
    {"Label3", "2D Prefix:", {21, 68, 63, 16}},
    {"txt2DPrefix_1", nullptr, {89, 66, 87, 18}},
    {"Label17", "Animation Files", {22, 82, 90, 13}},
    {"Label14", "3D Directory:", {3, 97, 80, 19}},
    {"txtWorkDir_2", nullptr, {88, 96, 436, 19}},
    {"cmdChangeDir_2", "Change", {531, 97, 52, 17}},
    {"Label13", "2D Directory:", {3, 115, 80, 19}},
    {"txt2DWorkDir_2", nullptr, {88, 114, 438, 19}},
    {"cmdChange2DDir_2", "Change", {531, 115, 52, 17}},
    {"Label16", "3D Prefix:", {19, 134, 63, 19}},
    {"txt3DPrefix_2", nullptr, {87, 132, 88, 18}},
    {"Label15", "2D Prefix:", {19, 151, 63, 15}},
    {"txt2DPrefix_2", nullptr, {87, 149, 87, 18}},
    {"Label9", "File #s:", {443, 65, 44, 16}},
    {"cmbNumbers", nullptr, {489, 62, 94, 22}},
    {"cmdLoadImage", "Load Image", {598, 27, 97, 20}},
    {"Label10", "- or -", {618, 46, 44, 16}},
    {"cmdGo", "Build Image", {598, 61, 97, 20}},
    {"cmdAddAlpha", "Alpha+Resize", {598, 105, 97, 21}},
    {"cmdUnsharpMask", "Unsharp Mask", {598, 133, 97, 21}},
    {"Command2", "Save to PNG", {598, 163, 97, 21}},
    {"cmdMakeSRF", "Make SRF", {598, 191, 97, 21}},
    {"cmdSave", "Do All", {598, 221, 97, 30}},
    {"Label5", "Alpha Color:", {8, 178, 75, 19}},
    {"Label11", "(Shift-Left-click to pick below)", {151, 177, 94, 29}},
    {"txtAColor", nullptr, {164, 304, 10, 19}},
    {"Label6", "Tolerance:", {298, 180, 63, 19}},
    {"txtTolerance", nullptr, {367, 178, 28, 19}},
    {"Label7", "0", {397, 180, 16, 19}},
    {"sldTol", nullptr, {416, 179, 144, 18}},
    {"Label8", "255", {562, 180, 24, 19}},
    {"chkResize", "Resize to work with Garmin", {5, 216, 226, 16}},
    {"chkImagesNotAntiAliased", "Images not anti-aliased to back", {33, 228, 210, 16}},
    {"chkStepSample", "Step-Sample (Longer, but better):", {5, 231, 210, 16}},
    {"optSteps_0", "1 Step", {214, 232, 60, 14}},
    {"optSteps_1", "2 Steps", {273, 232, 65, 14}},
    {"optSteps_2", "3 Steps", {341, 232, 74, 14}},
    {"Label12", "File Version:", {454, 224, 73, 16}},
    {"cmbVersion", nullptr, {529, 221, 55, 22}},
    {"optZoom_0", "All", {547, 254, 44, 17}},
    {"optZoom_1", "Zoom", {596, 254, 44, 17}},
    {"optZoom_2", "Real", {646, 254, 44, 17}},
    {"lblStatus", "Status: Idle", {5, 255, 484, 19}},
    {"ProgressBar1", nullptr, {252, 255, 285, 14}},
    {"Plotter", nullptr, {5, 275, 693, 403}},
};

QString CaptionOf(QWidget* w) {
  if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
  if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text();
  return {};
}

TEST_F(WindowLayout, OpensWithTitleSizeAndEveryControlInPlace) {
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Velkor - v051509"));
  EXPECT_EQ(window->centralWidget()->size(), QSize(702, 682)) << "the client area";
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_LE((window->frameGeometry().center() - screen.center()).manhattanLength(), 2) << "centred";
  for (const Placed& p : kControls) {
    QWidget* w = Find<QWidget>(p.name);
    if (!w) continue;
    EXPECT_EQ(w->parentWidget(), window->centralWidget()) << p.name;
    EXPECT_EQ(w->geometry(), p.geometry) << p.name;
    if (p.caption) {
      EXPECT_EQ(CaptionOf(w), QString::fromUtf8(p.caption)) << p.name;
    }
  }
}

TEST_F(WindowLayout, InitialStates) {
  for (const char* hidden : {"txtAColor", "chkImagesNotAntiAliased", "ProgressBar1", "sldStrength", "sldWeight"}) {
    QWidget* w = Find<QWidget>(hidden);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isHidden()) << hidden;
  }
  for (const char* disabled : {"txtWorkDir_2", "txt2DWorkDir_2", "txt3DPrefix_2", "txt2DPrefix_2", "cmdChangeDir_2",
                               "cmdChange2DDir_2"}) {
    EXPECT_FALSE(Find<QWidget>(disabled)->isEnabled()) << disabled;
  }
  EXPECT_TRUE(Find<QWidget>("txtWorkDir_1")->isEnabled());
  EXPECT_EQ(Find<QLineEdit>("txtAColor")->text(), "0");
  EXPECT_EQ(Find<QLineEdit>("txtTolerance")->text(), "0");
  EXPECT_EQ(Find<QLineEdit>("txtWorkDir_1")->text().toStdString(), frmMain::DefaultRotationFolder());
  EXPECT_EQ(Find<QLineEdit>("txt3DPrefix_1")->text(), "car");
  EXPECT_TRUE(Find<QCheckBox>("chkResize")->isChecked());
  EXPECT_FALSE(Find<QCheckBox>("chkStepSample")->isChecked());
  EXPECT_TRUE(Find<QRadioButton>("optSteps_0")->isChecked());
  for (const char* zoom : {"optZoom_0", "optZoom_1", "optZoom_2"}) {
    EXPECT_FALSE(Find<QRadioButton>(zoom)->isChecked()) << "no view selected at start";
  }
  auto* numbers = Find<QComboBox>("cmbNumbers");
  EXPECT_EQ(numbers->currentText(), "0000-0035");
  ASSERT_EQ(numbers->count(), 10);
  EXPECT_EQ(numbers->itemText(0), "1-36");
  EXPECT_EQ(numbers->itemText(9), "000-360 (10s)");
  auto* version = Find<QComboBox>("cmbVersion");
  EXPECT_TRUE(version->isEditable());
  EXPECT_EQ(version->currentText(), "2.20");
  EXPECT_EQ(version->count(), 4);
  auto* tolerance = Find<QSlider>("sldTol");
  EXPECT_EQ(tolerance->minimum(), 0);
  EXPECT_EQ(tolerance->maximum(), 255);
  EXPECT_EQ(tolerance->singleStep(), 1);
  EXPECT_EQ(tolerance->pageStep(), 10);
  EXPECT_EQ(Find<QProgressBar>("ProgressBar1")->maximum(), 100);
  EXPECT_EQ(Find<QSlider>("sldStrength")->value(), 10);
  EXPECT_EQ(Find<QSlider>("sldWeight")->maximum(), 50);
}

TEST_F(WindowLayout, MenusWithAccessKeysAndCheckMarks) {
  const QList<QAction*> top = window->menuBar()->actions();
  ASSERT_EQ(top.size(), 4);
  EXPECT_EQ(top[0]->text(), "&Mode");
  EXPECT_EQ(top[1]->text(), "&File Convert");
  EXPECT_EQ(top[2]->text(), "&Keying");
  EXPECT_EQ(top[3]->text(), "SRF Viewer");
  EXPECT_EQ(top[3]->menu(), nullptr) << "the viewer entry is a command itself";
  const QList<QAction*> keying = top[2]->menu()->actions();
  ASSERT_EQ(keying.size(), 3);
  EXPECT_EQ(keying[0]->text(), "Graded");
  EXPECT_TRUE(keying[0]->isChecked());
  EXPECT_EQ(keying[1]->text(), "Binary (not anti-aliased)");
  EXPECT_EQ(keying[2]->text(), "Clean edges");
  const QList<QAction*> mode = top[0]->menu()->actions();
  ASSERT_EQ(mode.size(), 2);
  EXPECT_EQ(mode[0]->text(), "Static SRF");
  EXPECT_TRUE(mode[0]->isChecked());
  EXPECT_EQ(mode[1]->text(), "Animated SRF");
  EXPECT_FALSE(mode[1]->isChecked());
  const QList<QAction*> convert = top[1]->menu()->actions();
  ASSERT_EQ(convert.size(), 10);
  EXPECT_EQ(convert[0]->text(), "SRF to PNG");
  EXPECT_EQ(convert[1]->text(), "PNG to SRF");
  EXPECT_TRUE(convert[2]->isSeparator());
  EXPECT_EQ(convert[3]->text(), "Animated SRF to PNG");
  EXPECT_EQ(convert[4]->text(), "PNG to Animated SRF");
  EXPECT_TRUE(convert[5]->isSeparator());
  EXPECT_EQ(convert[6]->text(), "Send to Device...");
  EXPECT_EQ(convert[7]->text(), "Save as Animated GIF...");
  EXPECT_TRUE(convert[8]->isSeparator());
  EXPECT_EQ(convert[9]->text(), "Render from Model...");
}

TEST_F(WindowLayout, FontsAreLiberationSansInTheirSizes) {
  struct FontCase {
    const char* name;
    bool bold;
    int pixels;
  };
  const FontCase cases[] = {{"Label1", true, 11},   {"chkResize", true, 11},       {"optZoom_1", true, 11},
                            {"txtWorkDir_1", false, 11}, {"cmdGo", true, 12},      {"cmdChangeDir_1", false, 11},
                            {"lblStatus", true, 11}};
  for (const FontCase& c : cases) {
    QWidget* w = Find<QWidget>(c.name);
    const QFontInfo info(w->font());
    EXPECT_EQ(info.family(), "Liberation Sans") << c.name << ": is fonts-liberation installed?";
    EXPECT_EQ(info.bold(), c.bold) << c.name;
    EXPECT_EQ(info.pixelSize(), c.pixels) << c.name;
  }
}

// Whether the rectangle holds a pixel of exactly this colour.
bool Shows(const QImage& image, const QRect& r, QRgb color) {
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x)
      if (image.pixel(x, y) == color) return true;
  return false;
}

TEST_F(WindowLayout, ColoursOfTheWindowAsDrawn) {
  const QImage client = Client();
  const QRgb grey = qRgb(0xC0, 0xC0, 0xC0), black = qRgb(0, 0, 0), white = qRgb(255, 255, 255);
  for (int y : {89, 169, 210, 250}) EXPECT_EQ(client.pixel(300, y), grey) << "separator at y " << y;
  EXPECT_EQ(client.pixel(0, 89), grey);
  EXPECT_EQ(client.pixel(590, 89), grey);
  EXPECT_EQ(client.pixel(591, 89), black) << "the lines end at x 590";
  EXPECT_EQ(client.pixel(589, 60), grey) << "the vertical line";
  EXPECT_EQ(client.pixel(300, 7), grey);
  EXPECT_EQ(client.pixel(300, 90), black) << "black window background";
  EXPECT_EQ(client.pixel(100, 400), white) << "white preview pane";
  EXPECT_EQ(client.pixel(110, 185), Rgb(0x00FF00)) << "the alpha colour swatch shows the key colour";
  const uint32_t swatches[] = {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFFFF, 0x404040};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(client.pixel(94 + 12 * i, 199), Rgb(swatches[i])) << "swatch " << i;
    EXPECT_EQ(client.pixel(90 + 12 * i, 195), white) << "white border of swatch " << i;
  }
  // Captions in their colours.
  EXPECT_TRUE(Shows(client, QRect(21, 0, 90, 13), Rgb(0x0000FFFF))) << "yellow heading";
  EXPECT_TRUE(Shows(client, QRect(4, 15, 80, 19), Rgb(0x00FFFF00))) << "cyan label";
  EXPECT_TRUE(Shows(client, QRect(151, 177, 94, 29), Rgb(0x00808000))) << "teal hint";
  EXPECT_TRUE(Shows(client, QRect(5, 255, 240, 19), Rgb(0x0080FFFF))) << "light yellow status";
  EXPECT_TRUE(Shows(client, QRect(5, 216, 226, 16), Rgb(0x00FFFF00))) << "cyan check box caption";
  EXPECT_TRUE(Shows(client, QRect(89, 14, 436, 19), white)) << "white text in the folder box";
  EXPECT_EQ(client.pixel(520, 20), black) << "on black";
  EXPECT_EQ(client.pixel(602, 64), white) << "white command button";
  // The heading covers the separator under it; the line goes on beside it.
  EXPECT_EQ(client.pixel(15, 7), grey);
}

TEST(QtFilters, CommonDialogFiltersBecomeQtFilters) {
  EXPECT_EQ(qt::ToQtFilters("Garmin SRF Files|*.srf"), QStringList{"Garmin SRF Files (*.srf)"});
  EXPECT_EQ(qt::ToQtFilters("Bitmap Files|*.bmp|Images|*.png;*.bmp"),
            (QStringList{"Bitmap Files (*.bmp)", "Images (*.png *.bmp)"}));
  EXPECT_TRUE(qt::ToQtFilters("").isEmpty());
}

}  // namespace
}  // namespace velkor::testing
