#include <gtest/gtest.h>

#include <climits>

#include "platform/FillRectangle.h"
#include "platform/Gdi.h"
#include "support/FakeView.h"
#include "ui/commands/frmMain.h"

namespace velkor {
namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kPictureColor = 0x336699;
constexpr int kAll = 0, kZoom = 1, kReal = 2;
constexpr int kLeft = 1, kRight = 2;

class PreviewPane : public ::testing::Test {
 protected:
  testing::FakeView view;
  frmMain form{view};
  void SetUp() override { form.Form_Load(); }

  void LoadPicture(int32_t w, int32_t h, uint32_t color = kPictureColor) {
    ASSERT_TRUE(form.WorkImage->Create(w, h));
    FillRectangle(form.WorkImage->hDC(), 0, 0, w, h, color);
    form.ImageLoaded = true;
  }
  void Select(int view) {
    for (int i = 0; i < 3; ++i) form.Controls.optZoom[i].Value = i == view;
    form.optZoom_Click(view);
  }
  uint32_t Pane(int x, int y) { return gdi::GetPixel(form.Plotter().hDC(), x, y); }
};

TEST_F(PreviewPane, ZoomDrawsTheStripAtTwiceThePaneHeight) {
  // 403 * 2.0 = 806 rows and round(14400 * 806 / 750) = 15475 columns: pan
  // the far corner into view and find its last pixel at (99, 49).
  LoadPicture(14400, 750);
  form.PanX = 100 - 15475;
  form.PanY = 50 - 806;
  Select(kZoom);
  EXPECT_FLOAT_EQ(form.ZoomFactor, 2.0f);
  EXPECT_EQ(Pane(99, 49), kPictureColor);
  EXPECT_EQ(Pane(100, 49), kWhite) << "one column more than 15475";
  EXPECT_EQ(Pane(99, 50), kWhite) << "one row more than 806";
  EXPECT_GT(view.previewChanged, 0);
}

TEST_F(PreviewPane, AllFitsTheWidth) {
  LoadPicture(14400, 750);
  form.PanX = 40;  // ignored by "All"
  Select(kAll);
  EXPECT_EQ(Pane(0, 0), kPictureColor);
  EXPECT_EQ(Pane(692, 35), kPictureColor) << "693 x 36 (693 * 750 / 14400 = 36.09)";
  EXPECT_EQ(Pane(692, 36), kWhite);
}

TEST_F(PreviewPane, RealAndNoSelectionCopyOnePixelPerPixel) {
  LoadPicture(100, 50);
  form.DrawPreview(form.WorkImage->hDC());  // nothing selected, as at start
  EXPECT_EQ(Pane(99, 49), kPictureColor);
  EXPECT_EQ(Pane(100, 49), kWhite);
  EXPECT_EQ(Pane(99, 50), kWhite);
  LoadPicture(20, 10, 0x0000FF);
  Select(kReal);
  EXPECT_EQ(Pane(19, 9), 0x0000FFu);
  EXPECT_EQ(Pane(20, 9), kWhite) << "the pane is cleared before each drawing";
  LoadPicture(5, 1, 0x00FF00);  // a single row is a picture too
  form.DrawPreview(form.WorkImage->hDC());
  EXPECT_EQ(Pane(4, 0), 0x00FF00u);
}

TEST_F(PreviewPane, OptionsDoNothingWithoutAPicture) {
  form.ZoomFactor = 3.0f;
  form.optZoom_Click(kZoom);
  EXPECT_FLOAT_EQ(form.ZoomFactor, 3.0f);
  EXPECT_EQ(view.previewChanged, 0);
}

TEST_F(PreviewPane, EmptyWorkImageGivesAnEmptyPane) {
  FillRectangle(form.Plotter().hDC(), 0, 0, 10, 10, 0x000000);
  form.DrawPreview(form.WorkImage->hDC());
  EXPECT_EQ(Pane(5, 5), kWhite);
}

TEST_F(PreviewPane, ZoomDragStepsByDirectionAndStopsAtTheFloor) {
  LoadPicture(14400, 750);
  form.Plotter_MouseDown(kRight, 0, 10, 100);
  EXPECT_EQ(form.DragMode, 2);
  EXPECT_TRUE(form.Controls.optZoom[kZoom].Value) << "a drag selects Zoom";
  form.Plotter_MouseMove(kRight, 0, 10, 400);  // far down: still one step
  EXPECT_FLOAT_EQ(form.ZoomFactor, 2.01f);
  form.Plotter_MouseMove(kRight, 0, 10, 400);  // no vertical move: no step
  EXPECT_FLOAT_EQ(form.ZoomFactor, 2.01f);
  form.Plotter_MouseMove(0, 0, 10, 399);  // no button counts as "another" button
  EXPECT_FLOAT_EQ(form.ZoomFactor, 2.0f);
  EXPECT_EQ(form.LastMouseY, 399);

  form.ZoomFactor = 0.02f;
  form.Plotter_MouseMove(kRight, 0, 10, 300);
  EXPECT_FLOAT_EQ(form.ZoomFactor, 0.01f);
  form.Plotter_MouseMove(kRight, 0, 10, 200);
  EXPECT_FLOAT_EQ(form.ZoomFactor, 0.01f) << "0.01 - 0.01 is not above zero";

  form.ZoomFactor = 0.05f;
  form.Plotter_MouseUp(kRight, 0, 10, 100);  // up by ten steps: 0.05 - 0.1
  EXPECT_FLOAT_EQ(form.ZoomFactor, 0.01f);
  EXPECT_EQ(form.DragMode, 0);
}

// One row of vertical travel is one step: 0.01 per move, 0.1 on release,
// in the direction of the move; a sub-pixel move rounds to no step.
TEST_F(PreviewPane, OnePixelZoomDragStepsByTheMoveAndTenTimesOnRelease) {
  LoadPicture(100, 50);
  form.Plotter_MouseDown(kRight, 0, 10, 100);
  struct Step {
    bool release;
    float y, zoom;
  };
  const Step steps[] = {{false, 101, 2.01f}, {false, 100, 2.0f}, {false, 99, 1.99f},
                        {false, 99.4f, 1.99f}, {true, 100, 2.09f}};
  for (const Step& s : steps) {
    if (s.release) {
      form.Plotter_MouseUp(kRight, 0, 10, s.y);
    } else {
      form.Plotter_MouseMove(kRight, 0, 10, s.y);
    }
    EXPECT_FLOAT_EQ(form.ZoomFactor, s.zoom) << s.y;
  }
  form.Plotter_MouseDown(kRight, 0, 10, 100);
  form.Plotter_MouseUp(kRight, 0, 10, 99);
  EXPECT_FLOAT_EQ(form.ZoomFactor, 1.99f) << "a release one row up steps down by 0.1";
}

TEST_F(PreviewPane, PanStepRoundsTheTravelNotThePosition) {
  LoadPicture(100, 50);
  form.Plotter_MouseDown(kLeft, 0, 11, 11);
  form.Plotter_MouseMove(kLeft, 0, 15.5f, 13.5f);  // 4.5 -> 4 and 2.5 -> 2, ties to even
  EXPECT_EQ(form.PanX, 4);
  EXPECT_EQ(form.PanY, 2);
  form.Plotter_MouseUp(kLeft, 0, 18.5f, 16.5f);  // from (16, 14): 2.5 -> 2 and 2.5 -> 2
  EXPECT_EQ(form.PanX, 6);
  EXPECT_EQ(form.PanY, 4);
}

TEST_F(PreviewPane, OnlyChoosingZoomResetsTheZoom) {
  LoadPicture(100, 50);
  form.ZoomFactor = 3.0f;
  for (int option : {kAll, kReal}) {
    Select(option);
    EXPECT_FLOAT_EQ(form.ZoomFactor, 3.0f) << option;
  }
  Select(kZoom);
  EXPECT_FLOAT_EQ(form.ZoomFactor, 2.0f);
}

TEST_F(PreviewPane, AnOverflowingZoomStepKeepsTheZoom) {
  // 14400 * round(403 * 1000.01) leaves 32 bits, and 1000 + 0.01 is a float of its own.
  LoadPicture(14400, 750);
  form.Plotter_MouseDown(kRight, 0, 0, 0);
  form.ZoomFactor = 1000.0f;
  EXPECT_NO_THROW(form.Plotter_MouseMove(kRight, 0, 0, 1));
  EXPECT_EQ(form.ZoomFactor, 1000.0f);
  EXPECT_EQ(form.LastMouseY, 0) << "the failed step is not the last position";
  EXPECT_NO_THROW(form.Plotter_MouseUp(kRight, 0, 0, 1));
  EXPECT_EQ(form.ZoomFactor, 1000.0f);
  // A pan step that fits but whose redraw at this zoom does not is undone whole.
  form.Plotter_MouseDown(kLeft, 0, 0, 0);
  EXPECT_NO_THROW(form.Plotter_MouseMove(kLeft, 0, 3, 4));
  EXPECT_EQ(form.PanX, 0);
  EXPECT_EQ(form.PanY, 0);
}

TEST_F(PreviewPane, PanDragMovesByRoundedDeltas) {
  LoadPicture(100, 50);
  form.Plotter_MouseDown(kLeft, 0, 10.0f, 10.0f);
  ASSERT_EQ(form.DragMode, 1);
  form.Plotter_MouseMove(kLeft, 0, 15.5f, 12.5f);  // 5.5 -> 6, 2.5 -> 2 (ties to even)
  EXPECT_EQ(form.PanX, 6);
  EXPECT_EQ(form.PanY, 2);
  EXPECT_EQ(form.LastMouseX, 16);
  EXPECT_EQ(form.LastMouseY, 12);
  // The zoomed picture has moved with the pan: its corner is at (6, 2).
  EXPECT_EQ(Pane(5, 5), kWhite);
  EXPECT_EQ(Pane(6, 2), kPictureColor);
  form.Plotter_MouseMove(kRight, 0, 30, 30);  // not a pan move: nothing changes
  EXPECT_EQ(form.PanX, 6);
  form.Plotter_MouseUp(kLeft, 0, 20, 10);  // one last step of (4, -2)
  EXPECT_EQ(form.PanX, 10);
  EXPECT_EQ(form.PanY, 0);
  EXPECT_EQ(form.DragMode, 0);
  EXPECT_EQ(form.LastMouseX, 16) << "the release does not update the last position";
}

TEST_F(PreviewPane, PressDuringADragEndsIt) {
  LoadPicture(100, 50);
  form.Plotter_MouseDown(kLeft, 0, 1, 1);
  form.Plotter_MouseDown(kLeft, 0, 5, 5);  // the release was lost
  EXPECT_EQ(form.DragMode, 0);
  form.Plotter_MouseDown(kRight, 0, 5, 5);
  EXPECT_EQ(form.DragMode, 2);
  form.Plotter_MouseUp(4, 0, 5, 5);
  EXPECT_EQ(form.DragMode, 0);
  const float zoom = form.ZoomFactor;
  const int drawn = view.previewChanged;
  form.Plotter_MouseUp(kLeft, 0, 50, 50);  // no drag: nothing
  EXPECT_EQ(form.PanX, 0);
  EXPECT_EQ(form.ZoomFactor, zoom);
  EXPECT_EQ(view.previewChanged, drawn);
}

TEST_F(PreviewPane, StartingADragResetsTheZoomOnlyWhenZoomWasNotSelected) {
  LoadPicture(100, 50);
  form.ZoomFactor = 3.0f;
  form.Plotter_MouseDown(kLeft, 0, 1, 1);
  EXPECT_FLOAT_EQ(form.ZoomFactor, 2.0f);
  form.Plotter_MouseUp(kLeft, 0, 1, 1);
  form.ZoomFactor = 3.0f;
  form.Plotter_MouseDown(kLeft, 0, 1, 1);
  EXPECT_FLOAT_EQ(form.ZoomFactor, 3.0f);
}

TEST_F(PreviewPane, OverflowKeepsThePreviousValues) {
  LoadPicture(100, 50);
  form.Plotter_MouseDown(kLeft, 0, 0, 0);
  form.PanX = INT32_MAX - 1;
  EXPECT_NO_THROW(form.Plotter_MouseMove(kLeft, 0, 5, 3));
  EXPECT_EQ(form.PanX, INT32_MAX - 1);
  EXPECT_EQ(form.PanY, 0) << "the step is applied whole or not at all";
  EXPECT_EQ(form.LastMouseX, 0);
  EXPECT_NO_THROW(form.Plotter_MouseUp(kLeft, 0, 5, 3));
  EXPECT_EQ(form.PanX, INT32_MAX - 1);
  EXPECT_EQ(form.DragMode, 0) << "the release ends the drag all the same";

  // W x DH beyond 32 bits: 14400 * round(403 * 1e6) does not fit.
  LoadPicture(14400, 750);
  form.Plotter_MouseDown(kRight, 0, 0, 0);
  form.ZoomFactor = 1.0e6f;
  FillRectangle(form.Plotter().hDC(), 0, 0, 3, 3, 0x000000);
  const int drawn = view.previewChanged;
  EXPECT_NO_THROW(form.Plotter_MouseMove(kRight, 0, 0, 10));
  EXPECT_FLOAT_EQ(form.ZoomFactor, 1.0e6f);
  EXPECT_EQ(view.previewChanged, drawn);
  EXPECT_EQ(Pane(1, 1), 0x000000u) << "the pane is left as it was";
}

TEST_F(PreviewPane, ShiftClickPicksTheShownPixelWithRoundedCoordinates) {
  LoadPicture(100, 50);
  gdi::SetPixel(form.WorkImage->hDC(), 10, 11, 0x0000FF);
  gdi::SetPixel(form.WorkImage->hDC(), 10, 12, 0x00FF00);
  Select(kReal);
  form.Plotter_MouseDown(kLeft, 1, 10.4f, 10.6f);
  EXPECT_EQ(form.KeyColor, 0x0000FFu);
  EXPECT_EQ(form.Controls.txtAColor.Text, "255");
  EXPECT_EQ(form.Controls.shpAColor.FillColor, 0x0000FFu);
  form.Plotter_MouseDown(kRight, 1, 10.5f, 11.5f);  // ties to even: (10, 12)
  EXPECT_EQ(form.KeyColor, 0x00FF00u);
  EXPECT_EQ(form.Controls.txtAColor.Text, "65280");
  form.Plotter_MouseDown(kLeft, 1, 300, 300);  // outside the picture: the pane's white
  EXPECT_EQ(form.KeyColor, 16777215u);
  form.Plotter_MouseDown(kLeft, 1, 692.6f, 10);  // beyond the back buffer: white too
  EXPECT_EQ(form.KeyColor, 16777215u);
  EXPECT_EQ(form.DragMode, 0) << "a pick starts no drag";
}

TEST_F(PreviewPane, ShiftCtrlClickStartsADragInstead) {
  LoadPicture(100, 50);
  form.Plotter_MouseDown(kLeft, 1 | 2, 5, 5);
  EXPECT_EQ(form.KeyColor, 65280u);
  EXPECT_EQ(form.DragMode, 1);
  EXPECT_TRUE(form.Controls.optZoom[kZoom].Value);
}

TEST_F(PreviewPane, SwatchesSetTheKeyColorByTwipPosition) {
  // Swatch 0 spans 1350..1500 twips across and 2925..3075 down, both ends
  // included; the next starts 30 twips after it ends.
  struct Case {
    float x, y;
    int64_t expected;  // -1: unchanged
  };
  const Case cases[] = {
      {1350, 2925, 255},      {1500, 3075, 255},     {1605, 3000, 65280},  {1710, 3000, 16711680},
      {2040, 3000, 16777215}, {2070, 3000, 0},       {2220, 3075, 0},      {1515, 3000, -1},
      {1529.9f, 3000, -1},    {1349, 3000, -1},      {2221, 3000, -1},     {1400, 2924, -1},
      {1400, 3076, -1},       {200, 200, -1},
  };
  for (const Case& c : cases) {
    form.KeyColor = 12345;
    form.Controls.txtAColor.Text = "x";
    form.Form_MouseDown(kLeft, 0, c.x, c.y);
    if (c.expected < 0) {
      EXPECT_EQ(form.KeyColor, 12345u) << c.x << "," << c.y;
      EXPECT_EQ(form.Controls.txtAColor.Text, "x");
    } else {
      EXPECT_EQ(form.KeyColor, static_cast<uint32_t>(c.expected)) << c.x << "," << c.y;
      EXPECT_EQ(form.Controls.txtAColor.Text, std::to_string(c.expected));
      EXPECT_EQ(form.Controls.shpAColor.FillColor, static_cast<uint32_t>(c.expected));
    }
  }
  form.Form_MouseDown(kRight, 0, 2100, 3000);  // any button
  EXPECT_EQ(form.KeyColor, 0u) << "the dark-grey swatch means black";
}

}  // namespace
}  // namespace velkor
