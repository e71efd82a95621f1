// The preview pane (three views, mouse pan and zoom, key colour picks) and
// the SRF viewer drawn into it (an icon over the device screen, turned by
// keys and ticks).
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <tuple>

#include "platform/Files.h"
#include "platform/FillRectangle.h"
#include "platform/Gdi.h"
#include "raster/cDib.h"
#include "support/FormFixture.h"
#include "ui/KeyCodes.h"

namespace velkor {
namespace {

constexpr uint32_t kWhite = 0xFFFFFF, kPicture = 0x336699, kPatchCorner = 0x0000AA;
constexpr int kNone = -1, kAll = 0, kZoom = 1, kReal = 2, kLeft = 1, kRight = 2;

class Pane : public testing::FormTest {
 protected:
  void SetUp() override { form.Form_Load(); }

  void LoadPicture(int32_t w, int32_t h) {
    ASSERT_TRUE(form.WorkImage->Create(w, h));
    FillRectangle(form.WorkImage->hDC(), 0, 0, w, h, kPicture);
    form.ImageLoaded = true;
  }
  // Selects a view as a click on it would; kNone draws with none selected.
  void Select(int option) {
    for (int i = 0; i < 3; ++i) form.Controls.optZoom[i].Value = i == option;
    option == kNone ? form.DrawPreview(*form.WorkImage) : form.optZoom_Click(option);
  }
  uint32_t At(int x, int y) { return gdi::GetPixel(form.Plotter().hDC(), x, y); }
  uint32_t Canvas(int x, int y) { return gdi::GetPixel(form.Viewer().Canvas().hDC(), x, y); }

  // The viewer on a white canvas, a green back patch whose first pixel (row 0)
  // is kPatchCorner, and 36 frames, frame n opaque in the colour n + 1 but for
  // a transparent top-left pixel.
  void OpenFakeViewer() {
    ViewerPictures p{std::make_unique<cAlphaDibSection>(),
                     std::make_unique<cAlphaDibSection>(),
                     std::make_unique<cAlphaDibSection>(),
                     {}};
    ASSERT_TRUE(p.canvas->Create(14400, 750) && p.backPatch->Create(80, 80) && p.icon->Create(2880, 80));
    FillRectangle(p.canvas->hDC(), 0, 0, 14400, 750, kWhite);
    FillRectangle(p.backPatch->hDC(), 0, 0, 80, 80, 0x00C000);
    gdi::SetPixel(p.backPatch->hDC(), 0, 0, kPatchCorner);
    for (int y = 0; y < 80; ++y) {
      for (int x = 0; x < 2880; ++x) {
        const uint8_t red = y == 0 && x % 80 == 0 ? 0 : static_cast<uint8_t>(x / 80 + 1);
        uint8_t* px = p.icon->PictureRow(y) + 4 * x;
        std::tie(px[0], px[1], px[2], px[3]) = std::make_tuple(0, 0, red, red ? 255 : 0);
      }
    }
    form.Viewer().Show(std::move(p));
  }
  // A viewer opened, turned to `frameLeft` and left with Escape.
  void LeaveViewerAt(int frameLeft) {
    OpenFakeViewer();
    for (int left = 0; left < frameLeft; left += 80) form.Form_KeyDown(kKeyRight, 0);
    form.Form_KeyDown(kKeyEscape, 0);
  }
  // An SRF written by the window, heading n an opaque colour of its own.
  std::string WriteIcon(bool animated = false) {
    const int32_t w = animated ? 3242 : 2880, h = animated ? 340 : 150;
    EXPECT_TRUE(form.WorkImage->Create(w, h));
    for (uint32_t n = 0; n < 36; ++n) FillRectangle(form.WorkImage->hDC(), 80 * n, 0, 80 * n + 80, h, 0xF8 + (n << 11));
    for (size_t i = 3; i < size_t{4} * w * h; i += 4) form.WorkImage->DIBSectionBitsPtr()[i] = 255;
    EXPECT_TRUE(animated ? form.WriteASRFFile(dir / "icon.srf", "1.00") : form.WriteSRFFile(dir / "icon.srf", "2.20"));
    return dir / "icon.srf";
  }
};

// Each view from the pane's corner to the picture's last pixel, white past
// it; every drawing starts on a cleared pane.
TEST_F(Pane, EachViewDrawsThePictureToItsEdge) {
  const std::array<int32_t, 7> cases[] = {
      // 403 * 2.0 = 806 rows, round(14400 * 806 / 750) = 15475 columns: the far corner panned into view
      {kZoom, 14400, 750, 100 - 15475, 50 - 806, 99, 49},
      {kAll, 14400, 750, 40, 0, 692, 35},  // 693 x 36 (693 * 750 / 14400 = 36.09), the pan ignored
      {kReal, 20, 10, 0, 0, 19, 9},
      {kNone, 100, 50, 0, 0, 99, 49},
      {kNone, 5, 1, 0, 0, 4, 0}};
  EXPECT_EQ(At(0, 0), kWhite) << "a new pane is white";
  for (const auto& [option, w, h, panX, panY, lastX, lastY] : cases) {
    SCOPED_TRACE(std::to_string(option) + ": " + std::to_string(w) + "x" + std::to_string(h));
    LoadPicture(w, h);
    form.Pane().PanTo(panX, panY);
    const int drawn = view.previewChanged;
    Select(option);
    EXPECT_GT(view.previewChanged, drawn);
    EXPECT_EQ(std::make_tuple(At(0, 0), At(lastX, lastY), At(lastX, lastY + 1)),
              std::make_tuple(kPicture, kPicture, kWhite));
    if (lastX < 692) {
      EXPECT_EQ(At(lastX + 1, lastY), kWhite);
    }
  }
  form.WorkImage->Destroy();
  form.DrawPreview(*form.WorkImage);
  EXPECT_EQ(At(2, 0), kWhite) << "an empty working image leaves the pane empty";
}

TEST_F(Pane, OnlyChoosingZoomResetsTheZoom) {
  form.Pane().SetZoomFactor(3.0f);
  form.optZoom_Click(kZoom);  // no picture: nothing
  EXPECT_EQ(view.previewChanged, 0);
  LoadPicture(100, 50);
  for (int option : {kAll, kReal}) Select(option);
  EXPECT_FLOAT_EQ(form.Pane().ZoomFactor(), 3.0f);
  form.Plotter_MouseDown(kLeft, 0, 1, 1);  // a drag selects Zoom, which resets it
  EXPECT_TRUE(form.Controls.optZoom[kZoom].Value && !form.Controls.optZoom[kReal].Value &&
              form.Pane().ZoomFactor() == 2.0f);
  form.Plotter_MouseUp(kLeft, 0, 1, 1);
  form.Pane().SetZoomFactor(3.0f);
  form.Plotter_MouseDown(kLeft, 0, 1, 1);  // Zoom already chosen
  EXPECT_FLOAT_EQ(form.Pane().ZoomFactor(), 3.0f);
}

// 0.01 per move and 0.1 on release, in the direction of the vertical travel
// however long; a sub-pixel travel is no step; never down to zero.
TEST_F(Pane, ZoomDragStepsInTheDirectionOfTheMove) {
  LoadPicture(100, 50);
  // d(own), m(ove) or u(p); button; y; the zoom set before (0: none) and after
  const std::tuple<char, int, float, float, float> steps[] = {
      {'d', kRight, 100, 0, 2.0f}, {'m', kRight, 400, 0, 2.01f},   {'m', kRight, 400, 0, 2.01f},
      {'m', 0, 399, 0, 2.0f},      {'m', kRight, 398.6f, 0, 2.0f}, {'u', kRight, 400, 0, 2.1f},
      {'d', kRight, 100, 0, 2.1f}, {'u', kRight, 99, 0, 2.0f},     {'d', kRight, 100, 0.02f, 0.02f},
      {'m', kRight, 99, 0, 0.01f}, {'m', kRight, 98, 0, 0.01f},    {'u', kRight, 97, 0.05f, 0.01f}};
  for (const auto& [event, button, y, setZoom, zoom] : steps) {
    SCOPED_TRACE(std::string(1, event) + " " + std::to_string(y));
    if (setZoom > 0) form.Pane().SetZoomFactor(setZoom);
    (form.*(event == 'd'   ? &frmMain::Plotter_MouseDown
            : event == 'm' ? &frmMain::Plotter_MouseMove
                           : &frmMain::Plotter_MouseUp))(button, 0, 10, y);
    EXPECT_FLOAT_EQ(form.Pane().ZoomFactor(), zoom);
    EXPECT_EQ(form.Pane().DragMode(), event == 'u' ? 0 : 2);
  }
}

TEST_F(Pane, PanStepsRoundTheTravelNotThePosition) {
  LoadPicture(100, 50);
  form.Plotter_MouseDown(kLeft, 0, 11, 11);
  ASSERT_EQ(form.Pane().DragMode(), 1);
  form.Plotter_MouseMove(kLeft, 0, 15.5f, 13.5f);  // 4.5 -> 4 and 2.5 -> 2, ties to even; the picture moves with it
  EXPECT_EQ(std::make_tuple(form.Pane().PanX(), form.Pane().PanY(), form.Pane().LastMouseX(), form.Pane().LastMouseY(),
                            At(3, 5), At(4, 2)),
            std::make_tuple(4, 2, 16, 14, kWhite, kPicture));
  form.Plotter_MouseMove(kRight, 0, 30, 30);     // not a pan move
  form.Plotter_MouseUp(kLeft, 0, 18.5f, 16.5f);  // from (16, 14): 2.5 -> 2 and 2.5 -> 2; the last position stays
  EXPECT_EQ(std::make_tuple(form.Pane().PanX(), form.Pane().PanY(), form.Pane().LastMouseX()),
            std::make_tuple(6, 4, 16));
  form.Plotter_MouseDown(kLeft, 0, 1, 1);
  Select(kAll);
  form.Plotter_MouseDown(kLeft, 0, 5, 5);  // its release was lost: the press ends the drag and keeps the view
  EXPECT_EQ(std::make_pair(form.Pane().DragMode(), form.Controls.optZoom[kAll].Value), std::make_pair(0, true));
  const int drawn = view.previewChanged;
  form.Plotter_MouseUp(kLeft, 0, 50, 50);  // no drag: nothing
  EXPECT_EQ(std::make_tuple(form.Pane().PanX(), form.Pane().PanY(), view.previewChanged), std::make_tuple(6, 4, drawn));
  form.Plotter_MouseDown(kRight, 0, 5, 5);
  form.Plotter_MouseUp(4, 0, 5, 5);  // any button ends it
  EXPECT_EQ(form.Pane().DragMode(), 0);
}

// A step whose pan or zoomed size leaves 32 bits is not taken, whole, and
// leaves the pane as it was; a release ends the drag all the same.
TEST_F(Pane, AStepThatOverflowsKeepsTheValuesBefore) {
  LoadPicture(100, 50);
  form.Plotter_MouseDown(kLeft, 0, 0, 0);
  form.Pane().PanTo(INT32_MAX - 1, 0);
  form.Plotter_MouseMove(kLeft, 0, 5, 3);
  EXPECT_EQ(std::make_tuple(form.Pane().PanX(), form.Pane().PanY(), form.Pane().LastMouseX()),
            std::make_tuple(INT32_MAX - 1, 0, 0));
  form.Plotter_MouseUp(kLeft, 0, 5, 3);
  EXPECT_EQ(std::make_tuple(form.Pane().PanX(), form.Pane().PanY(), form.Pane().DragMode()),
            std::make_tuple(INT32_MAX - 1, 0, 0));
  LoadPicture(14400, 750);  // 14400 * round(403 * 1000.01) does not fit
  form.Pane().PanTo(0, 0);
  form.Plotter_MouseDown(kRight, 0, 0, 0);
  form.Pane().SetZoomFactor(1000.0f);
  FillRectangle(form.Plotter().hDC(), 0, 0, 3, 3, 0x000000);
  const int drawn = view.previewChanged;
  form.Plotter_MouseMove(kRight, 0, 0, 1);
  EXPECT_EQ(form.Pane().LastMouseY(), 0);
  form.Plotter_MouseUp(kRight, 0, 0, 1);
  EXPECT_EQ(std::make_tuple(form.Pane().ZoomFactor(), view.previewChanged, At(1, 1)),
            std::make_tuple(1000.0f, drawn, 0u));
  form.Plotter_MouseDown(kLeft, 0, 0, 0);  // a pan step that fits, but not its redraw at this zoom
  form.Plotter_MouseMove(kLeft, 0, 3, 4);
  EXPECT_EQ(std::make_pair(form.Pane().PanX(), form.Pane().PanY()), std::make_pair(0, 0));
}

// Shift-click picks the pane's pixel at rounded coordinates (white outside
// the picture and beyond the back buffer); with Ctrl as well it is a drag.
TEST_F(Pane, ShiftClickPicksTheShownPixel) {
  LoadPicture(100, 50);
  gdi::SetPixel(form.WorkImage->hDC(), 10, 11, 0x0000FF);
  gdi::SetPixel(form.WorkImage->hDC(), 10, 12, 0x00FF00);
  Select(kReal);
  const std::tuple<float, float, uint32_t> clicks[] = {
      {10.4f, 10.6f, 0x0000FF}, {10.5f, 11.5f, 0x00FF00}, {300, 300, kWhite}, {692.6f, 10, kWhite}};
  int button = kLeft;
  for (const auto& [x, y, colour] : clicks) {
    form.Plotter_MouseDown(button ^= 3, 1, x, y);
    EXPECT_EQ(std::make_tuple(form.KeyColor, form.Controls.txtAColor.Text, form.Controls.shpAColor.FillColor,
                              form.Pane().DragMode()),
              std::make_tuple(colour, std::to_string(colour), colour, 0))
        << x;
  }
  form.Plotter_MouseDown(kLeft, 1 | 2, 5, 5);
  EXPECT_EQ(std::make_pair(form.KeyColor, form.Pane().DragMode()), std::make_pair(kWhite, 1));
}

// Swatch 0 spans 1350..1500 twips across and 2925..3075 down, both ends
// included; the next starts 30 twips after it ends; a click in a gap or
// outside changes nothing (-1); any button.
TEST_F(Pane, SwatchesSetTheKeyColourByTwipPosition) {
  const std::tuple<float, float, int64_t> clicks[] = {
      {1350, 2925, 255}, {1500, 3075, 255}, {1605, 3000, 65280}, {1710, 3000, 16711680}, {2040, 3000, 16777215},
      {2070, 3000, 0},   {2220, 3075, 0},   {1515, 3000, -1},    {1529.9f, 3000, -1},    {1349, 3000, -1},
      {2221, 3000, -1},  {1400, 2924, -1},  {1400, 3076, -1},    {200, 200, -1}};
  for (const auto& [x, y, colour] : clicks) {
    std::tie(form.KeyColor, form.Controls.txtAColor.Text) = std::make_tuple(12345, "x");
    form.Form_MouseDown(colour == 0 ? kRight : kLeft, 0, x, y);
    EXPECT_EQ(std::make_pair(int64_t{form.KeyColor}, form.Controls.txtAColor.Text),
              std::make_pair(colour < 0 ? 12345 : colour, colour < 0 ? "x" : std::to_string(colour)))
        << x << "," << y;
  }
}

// Keys and ticks in order, each with the frame shown and the timer after it
// (the view told at once). The arrows stop the rotation where it is; Up and
// Down pace it by 50 ms between 50 and 1000; Escape stops it and ends the
// viewer, whose keys are then the focused control's again.
TEST_F(Pane, ViewerKeysAndTicksTurnAndPaceTheIcon) {
  EXPECT_FALSE(form.Form_KeyDown(kKeyRight, 0)) << "no viewer: the key is the focused control's";
  form.Timer1_Timer();
  EXPECT_EQ(form.Viewer().FrameLeft() + view.previewChanged, 0);
  OpenFakeViewer();
  for (int press = 1; press <= 36; ++press) {
    EXPECT_TRUE(form.Form_KeyDown(kKeyRight, 0));
    ASSERT_EQ(form.Viewer().FrameLeft(), 80 * press % 2880) << press;
    ASSERT_EQ(Canvas(300, 220), uint32_t(press % 36 + 1)) << press;
  }
  // The frame before was erased with the patch (from its row 0) before the new one was blended.
  EXPECT_EQ(std::make_tuple(Canvas(291, 207), Canvas(292, 207), At(300, 220)), std::make_tuple(kPatchCorner, 1u, 1u));
  constexpr int kTick = -1;
  const std::tuple<int, int, int, bool, int> steps[] = {
      {kKeyUp, 1, 0, true, 950},        {kKeyUp, 18, 0, true, 50},        {kKeyUp, 1, 0, true, 50},
      {kKeyDown, 19, 0, true, 1000},    {kKeyDown, 1, 0, true, 1000},     {kTick, 2, 160, true, 1000},
      {kKeyRight, 1, 240, false, 1000}, {kKeyUp, 1, 240, true, 950},      {kKeyLeft, 1, 160, false, 950},
      {'A', 1, 160, false, 950},        {13, 1, 160, false, 950},         {kKeyLeft, 3, 2800, false, 950},
      {kKeyLeft, 1, 2720, false, 950},  {kKeyRight, 1, 2800, false, 950}, {kTick, 1, 0, false, 950},
      {kKeyUp, 1, 0, true, 900}};
  for (const auto& [key, presses, frameLeft, timer, interval] : steps) {
    SCOPED_TRACE("key " + std::to_string(key) + " x" + std::to_string(presses));
    for (int i = 0; i < presses; ++i) {
      EXPECT_EQ(key == kTick ? (form.Timer1_Timer(), true) : form.Form_KeyDown(key, 0), key != 'A' && key != 13);
    }
    EXPECT_EQ(std::make_tuple(form.Viewer().FrameLeft(), Canvas(300, 220), form.Viewer().Timer1().Enabled,
                              form.Viewer().Timer1().Interval, view.timerEnabled, view.timerInterval),
              std::make_tuple(frameLeft, uint32_t(frameLeft / 80 + 1), timer, interval, timer, interval));
  }
  EXPECT_TRUE(form.Form_KeyDown(kKeyEscape, 0));
  EXPECT_EQ(std::make_tuple(form.Viewer().Showing(), view.timerEnabled, form.Viewer().Canvas().Empty(),
                            form.Form_KeyDown(kKeyRight, 0), form.Viewer().FrameLeft()),
            std::make_tuple(false, false, true, false, 0));
}

// The viewer draws on a canvas of its own: the working image stays as it
// was, and the route of the device screen ends under the icon's centre.
TEST_F(Pane, ViewerOpensAStaticSrfOverTheDeviceScreenAtTheLastHeading) {
  const std::string srf = WriteIcon();
  const cAlphaDibSection* work = form.WorkImage.get();
  LeaveViewerAt(160);  // where an earlier viewer was left
  form.Controls.optZoom[0].Value = true;
  const FormControls before = form.Controls;
  form.WorkImage->UseDrawDib(true);
  view.dialogAnswers = {std::nullopt, std::string(), srf};
  for (int i = 0; i < 3; ++i) form.mnuSRFViewer_Click();  // cancelled, no name, then the file
  ASSERT_TRUE(view.messages.empty()) << view.messages.front();
  ASSERT_EQ(std::make_tuple(form.Viewer().Canvas().Width(), form.Viewer().Canvas().Height(), view.dialogs.at(0).save,
                            view.dialogs[0].filter),
            std::make_tuple(14400, 750, false, "SRF Files|*.srf"));
  // The canvas keeps no drawing mode of the image; the device screen is shown at its own size.
  const auto& zoom = form.Controls.optZoom;
  EXPECT_EQ(std::make_tuple(form.WorkImage.get(), form.Viewer().Showing(), form.WorkImage->UseDrawDib(),
                            form.Viewer().Canvas().UseDrawDib(), form.Viewer().FrameLeft(), zoom[0].Value,
                            zoom[1].Value, zoom[2].Value),
            std::make_tuple(work, true, true, false, 160, false, false, true));
  EXPECT_EQ(std::tie(form.Controls.Plotter.left, form.Controls.ProgressBar1.Max),
            std::tie(before.Plotter.left, before.ProgressBar1.Max))
      << "the view options change, nothing beside them";
  cDib screen;
  ASSERT_GT(screen.CreateFromBitmapFile(platform::ProgramFolder() + "/Garmin760.bmp"), 0);
  for (auto [x, y] : {std::pair{0, 0}, {479, 271}, {290, 206}, {100, 150}})
    EXPECT_EQ(Canvas(x, y), gdi::GetPixel(screen.hDIBDC(), x, y));
  for (auto [x, y] : {std::pair{480, 0}, {480, 10}, {14399, 749}, {0, 749}}) EXPECT_EQ(Canvas(x, y), kWhite);
  const uint32_t frame2 = gdi::GetPixel(form.Viewer().Icon().hDC(), 170, 10);
  EXPECT_NE(frame2, gdi::GetPixel(form.Viewer().Icon().hDC(), 10, 10));
  EXPECT_EQ(std::make_pair(Canvas(301, 217), At(301, 217)), std::make_pair(frame2, frame2));
  // The back patch is the screen under the cell, white below the screen's last row (271); the route
  // (0xBC24D6) comes up to the cell's centre and no further: below it the avenue (0x88DEFC).
  const auto patch = [&](int x, int y) { return gdi::GetPixel(form.Viewer().BackPatch().hDC(), x, y); };
  EXPECT_EQ(std::make_tuple(patch(0, 0), patch(79, 64), patch(79, 79), patch(40, 40), patch(40, 50)),
            std::make_tuple(gdi::GetPixel(screen.hDIBDC(), 291, 207), gdi::GetPixel(screen.hDIBDC(), 370, 271), kWhite,
                            0xBC24D6u, 0x88DEFCu));
}

// An SRF the viewer cannot show is refused, saying why, before anything
// changes: the working image, the viewer's rasters and heading, the pane.
TEST_F(Pane, ViewerRefusesAnSrfItCannotShowWithTheReason) {
  testing::WriteFileBytes(dir / "bad.srf", {1, 2, 3});
  const std::string icon = WriteIcon();
  const std::tuple<std::string, std::string, int> cases[] = {{dir / "bad.srf", "too short", 0},
                                                             {dir / "none.srf", "it does not exist.", 0},
                                                             {WriteIcon(true), "Animated SRF files cannot be shown", 0},
                                                             {icon, "", 1}};
  LoadPicture(30, 20);
  LeaveViewerAt(400);
  form.optZoom_Click(kNone);
  const auto state = [&] {
    return std::make_tuple(form.WorkImage.get(), form.ImageLoaded, &form.Viewer().Icon(), &form.Viewer().BackPatch(),
                           form.Viewer().FrameLeft(), form.Viewer().Showing(), view.previewChanged, view.previewCleared,
                           At(5, 5));
  };
  const auto kept = state();
  for (const auto& [srf, reason, failedRasters] : cases) {
    view.messages.clear();
    gdi::testing::FailNextDibSections(failedRasters);
    form.ShowSRFInViewer(srf);
    gdi::testing::FailNextDibSections(0);
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_TRUE(view.messages[0].rfind("The SRF file " + srf + " cannot be shown: ", 0) == 0 &&
                view.messages[0].find(reason) != std::string::npos)
        << view.messages[0];
    EXPECT_TRUE(state() == kept && form.LastOutcome.kind == CommandOutcome::Kind::Failed) << srf;
  }
}

}  // namespace
}  // namespace velkor
