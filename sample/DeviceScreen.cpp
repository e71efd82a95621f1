#include "sample/DeviceScreen.h"

#include <cmath>
#include <initializer_list>
#include <map>
#include <numbers>
#include <vector>

#include "render/FrameRenderer.h"
#include "sample/PixelFont.h"

namespace velkor::sample {

namespace {

constexpr Rgb kWater{156, 196, 232};
constexpr Rgb kPark{196, 226, 172};
constexpr Rgb kTree{158, 204, 136};
constexpr Rgb kBuilding{225, 218, 205};
constexpr Rgb kBuildingDark{214, 206, 192};
constexpr Rgb kMinorRoad{255, 255, 255};
constexpr Rgb kMinorRoadEdge{200, 196, 188};
constexpr Rgb kMainRoad{252, 222, 136};
constexpr Rgb kMainRoadEdge{214, 176, 90};
constexpr Rgb kRouteEdge{138, 16, 118};
constexpr Rgb kStatusLine{70, 78, 94};
constexpr Rgb kStatusDim{160, 170, 186};
constexpr Rgb kCompassEdge{120, 120, 128};

struct P {
  float x, y;
};

// Paints flat shapes in order, each over the last, anti-aliased: each shape
// becomes unlit triangles one step nearer than the last, for the renderer's
// rasterizer to draw in pixel coordinates.
class Painter {
 public:
  void Polygon(std::initializer_list<P> pts, Rgb colour) { Polygon(std::vector<P>(pts), colour); }
  void Polygon(const std::vector<P>& pts, Rgb colour) {
    const auto base = static_cast<uint32_t>(scene_.vertices.size());
    for (const P& p : pts) {
      render::Vertex v;
      v.position = {p.x, p.y, static_cast<float>(order_)};
      scene_.vertices.push_back(v);
    }
    for (uint32_t i = 2; i < pts.size(); ++i)
      scene_.triangles.push_back({{base, base + i - 1, base + i}, Material(colour)});
    ++order_;
  }
  void Rect(float x0, float y0, float x1, float y1, Rgb colour) {
    Polygon({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}, colour);
  }
  void Disc(P c, float r, Rgb colour) {
    constexpr int kSides = 24;
    std::vector<P> pts;
    for (int i = 0; i < kSides; ++i) {
      const float a = 2 * std::numbers::pi_v<float> * i / kSides;
      pts.push_back({c.x + r * std::cos(a), c.y + r * std::sin(a)});
    }
    Polygon(pts, colour);
  }
  // A band of the given width along a-b, with round ends.
  void Line(P a, P b, float width, Rgb colour) {
    const float dx = b.x - a.x, dy = b.y - a.y, len = std::hypot(dx, dy);
    if (len > 0) {
      const float nx = -dy / len * width / 2, ny = dx / len * width / 2;
      Polygon({{a.x + nx, a.y + ny}, {b.x + nx, b.y + ny}, {b.x - nx, b.y - ny}, {a.x - nx, a.y - ny}}, colour);
    }
    Disc(a, width / 2, colour);
    Disc(b, width / 2, colour);
  }
  void Path(const std::vector<P>& pts, float width, Rgb colour) {
    for (size_t i = 1; i < pts.size(); ++i) Line(pts[i - 1], pts[i], width, colour);
  }

  // Pixel coordinates as they are: x right, y down, later shapes nearer.
  RgbImage Draw(Rgb background) {
    render::FrameView view;
    view.rows = {{{1, 0, 0}, {0, -1, 0}, {0, 0, 1}}};
    RgbImage img{kScreenWidth, kScreenHeight, {}};
    img.rgb = render::FrameRenderer().RenderRgb(scene_, view, kScreenWidth, kScreenHeight,
                                                {background.r, background.g, background.b}, 1.0f);
    return img;
  }

 private:
  // An unlit material shows exactly its emissive colour.
  uint32_t Material(Rgb colour) {
    const uint32_t key = colour.r << 16 | colour.g << 8 | colour.b;
    const auto [it, added] = materials_.emplace(key, static_cast<uint32_t>(scene_.materials.size()));
    if (added) {
      render::Material m;
      m.baseColour = {0, 0, 0, 1};
      m.emissive = {colour.r / 255.0f, colour.g / 255.0f, colour.b / 255.0f};
      scene_.materials.push_back(m);
    }
    return it->second;
  }

  render::Scene scene_;
  std::map<uint32_t, uint32_t> materials_;
  int order_ = 0;
};

struct Street {
  std::vector<P> path;
  float width;
  bool main;
};

// Centre lines sit on pixel centres (x.5) so straight streets have crisp sides.
const std::vector<Street>& Streets() {
  static const std::vector<Street> streets = {
      {{{331.5f, 20}, {331.5f, 290}}, 15, true},   // the avenue the route follows
      {{{-10, 120.5f}, {490, 120.5f}}, 13, true},  // the cross road it turns into
      {{{210.5f, 20}, {210.5f, 290}}, 8, false},        {{{150.5f, 120.5f}, {150.5f, 290}}, 7, false},
      {{{210.5f, 200.5f}, {490, 200.5f}}, 8, false},    {{{420.5f, 120.5f}, {420.5f, 290}}, 7, false},
      {{{210.5f, 62.5f}, {331.5f, 62.5f}}, 6, false},   {{{-10, 36}, {210.5f, 114}}, 7, false},
      {{{331.5f, 160.5f}, {420.5f, 160.5f}}, 5, false},
  };
  return streets;
}

// From where the vehicle is, the centre of the viewer's icon cell, up the
// avenue and into the cross road: the route meets the turning icon and
// does not run on behind it.
const std::vector<P>& RoutePath() {
  static const std::vector<P> route = {{331.5f, kIconCellY + kIconCellSize / 2.0f}, {331.5f, 120.5f}, {490, 120.5f}};
  return route;
}

// City blocks on a regular grid with some variety; streets, water and the
// park are painted over them afterwards.
void PaintBuildings(Painter& paint) {
  for (int row = 0; row < 9; ++row) {
    for (int col = 0; col < 14; ++col) {
      const int v = (row * 7 + col * 13 + row * col) % 7;  // deterministic variety
      const float x = 3.0f + col * 35.0f + (v % 3) * 2.0f, y = 33.0f + row * 28.0f + (v % 2) * 2.0f;
      paint.Rect(x, y, x + 20.0f + v * 1.5f, y + 14.0f + (v % 4) * 2.0f, v == 3 ? kBuildingDark : kBuilding);
    }
  }
}

void PaintWater(Painter& paint) {
  paint.Polygon({{0, 150}, {36, 141}, {88, 148}, {126, 170}, {140, 208}, {134, 246}, {120, 272}, {0, 272}}, kWater);
}

void PaintPark(Painter& paint) {
  paint.Polygon({{346, 34}, {470, 34}, {474, 106}, {356, 108}, {342, 90}}, kPark);
  for (P tree : {P{362, 52}, P{384, 70}, P{410, 48}, P{440, 80}, P{458, 54}, P{372, 92}, P{420, 96}}) {
    paint.Disc(tree, 6.5f, kTree);
  }
}

// Edges of every street first, then their fills, so crossings merge cleanly.
void PaintStreets(Painter& paint) {
  for (const Street& s : Streets()) paint.Path(s.path, s.width + 3, s.main ? kMainRoadEdge : kMinorRoadEdge);
  for (const Street& s : Streets()) paint.Path(s.path, s.width, s.main ? kMainRoad : kMinorRoad);
}

void PaintRoute(Painter& paint) {
  paint.Path(RoutePath(), 12, kRouteEdge);
  paint.Path(RoutePath(), 8, kRouteColour);
}

void PaintCompass(Painter& paint) {
  paint.Disc({25, 53}, 14, kCompassEdge);
  paint.Disc({25, 53}, 12.5f, kMinorRoad);
}

// A bold "turn right" arrow for the next manoeuvre.
void PaintTurnArrow(Painter& paint) {
  paint.Rect(156, 11, 162, 24, kStatusTextColour);
  paint.Rect(156, 11, 170, 17, kStatusTextColour);
  paint.Polygon({{169, 6}, {177, 14}, {169, 22}}, kStatusTextColour);
}

void PaintStatusBar(Painter& paint) {
  paint.Rect(0, 0, kScreenWidth, kStatusBarHeight - 1, kStatusBarColour);
  paint.Rect(0, kStatusBarHeight - 1, kScreenWidth, kStatusBarHeight, kStatusLine);
  PaintTurnArrow(paint);
  for (int i = 0; i < 4; ++i) {  // signal strength
    const float x = 452.0f + i * 6.0f, top = 18.0f - i * 4.0f;
    paint.Rect(x, top, x + 4, 22, kStatusTextColour);
  }
}

void WriteStatusText(RgbImage& img) {
  DrawText(img, 8, 7, "12:34", 2, kStatusTextColour);
  DrawText(img, 184, 7, "350 m", 2, kStatusTextColour);
  DrawText(img, 440 - TextWidth("2.4 km", 2), 7, "2.4 km", 2, kStatusDim);
  DrawText(img, 25 - TextWidth("N", 2) / 2, 46, "N", 2, kCompassEdge);
}

}  // namespace

RgbImage RenderDeviceScreen() {
  Painter paint;
  PaintBuildings(paint);
  PaintWater(paint);
  PaintPark(paint);
  PaintStreets(paint);
  PaintRoute(paint);
  PaintCompass(paint);
  PaintStatusBar(paint);
  RgbImage img = paint.Draw(kLandColour);
  WriteStatusText(img);
  return img;
}

bool WriteDeviceScreen(const std::string& path, std::string& error) {
  return SaveBmp24(RenderDeviceScreen(), path, error);
}

}  // namespace velkor::sample
