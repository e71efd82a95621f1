#include "sample/CarModel.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace velkor::sample {

namespace {

Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec3 operator*(Vec3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
float Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

Vec3 Normalised(Vec3 v) {
  const float len = std::sqrt(Dot(v, v));
  return len > 0 ? v * (1.0f / len) : v;
}

// Newell's method: robust for any planar (or nearly planar) polygon.
Vec3 PolygonNormal(const std::vector<Vec3>& pts) {
  Vec3 n;
  for (size_t i = 0; i < pts.size(); ++i) {
    const Vec3& p = pts[i];
    const Vec3& q = pts[(i + 1) % pts.size()];
    n.x += (p.y - q.y) * (p.z + q.z);
    n.y += (p.z - q.z) * (p.x + q.x);
    n.z += (p.x - q.x) * (p.y + q.y);
  }
  return Normalised(n);
}

Vec3 Centroid(const std::vector<Vec3>& pts) {
  Vec3 c;
  for (const Vec3& p : pts) c = c + p;
  return c * (1.0f / static_cast<float>(pts.size()));
}

// Collects the faces of one convex solid; each face's normal is turned to
// point away from the solid's centre, whatever order its corners came in.
class Part {
 public:
  Part(std::vector<Face>& out, Vec3 centre) : out_(out), centre_(centre) {}

  void Add(std::vector<Vec3> pts, Rgb colour, bool glows = false) {
    Vec3 n = PolygonNormal(pts);
    if (Dot(n, Centroid(pts) - centre_) < 0) n = n * -1.0f;
    out_.push_back(Face{std::move(pts), n, colour, glows});
  }

 private:
  std::vector<Face>& out_;
  Vec3 centre_;
};

// A point of a side profile: position along the car and height.
struct ProfilePoint {
  float y, z;
};

// The body is two slabs seen from the side, each profile going clockwise
// (y to the right, z up) from the rear. The lower slab has upright sides;
// the upper one narrows towards the top, giving the shoulders.
constexpr float kBelt = 0.76f;
constexpr ProfilePoint kLowerProfile[] = {
    {-2.20f, 0.28f}, {-2.28f, 0.55f}, {-2.24f, kBelt}, {2.12f, kBelt}, {2.28f, 0.52f}, {2.20f, 0.28f},
};
constexpr ProfilePoint kUpperProfile[] = {
    {-2.24f, kBelt}, {-2.06f, 0.94f}, {-1.30f, 0.98f}, {0.95f, 0.97f}, {1.98f, 0.86f}, {2.12f, kBelt},
};
constexpr float kBodyHalfWidth = 0.90f;
constexpr float kShoulderTaper = 0.70f;  // half-width lost per metre of height above the belt
// Segments (from point i to i + 1) carrying the lamps.
constexpr int kFrontSegment = 3;  // lower slab, bumper top to the hood's nose
constexpr int kRearSegment = 0;   // upper slab, belt to the boot lid

float HalfWidthAt(float z) { return kBodyHalfWidth - kShoulderTaper * std::max(0.0f, z - kBelt); }

template <size_t N>
void AddSlab(std::vector<Face>& out, const ProfilePoint (&profile)[N], Rgb (*colourOf)(int segment)) {
  Part slab(out, {0, 0, 0.6f});
  std::vector<Vec3> left, right;
  for (const ProfilePoint& p : profile) {
    left.push_back({-HalfWidthAt(p.z), p.y, p.z});
    right.push_back({HalfWidthAt(p.z), p.y, p.z});
  }
  slab.Add(left, kBodyColour);
  slab.Add(right, kBodyColour);
  for (size_t i = 0; i < N; ++i) {
    const size_t j = (i + 1) % N;
    slab.Add({left[i], right[i], right[j], left[j]}, colourOf(static_cast<int>(i)));
  }
}

// Below the belt the ends (the bumpers) and the underside are dark trim;
// segment 2 is the slab's top, hidden under the upper slab.
Rgb LowerColour(int segment) { return segment == 2 ? kBodyColour : kTrimColour; }
Rgb UpperColour(int) { return kBodyColour; }

// A point on a profile segment: fraction t along it, fraction u of the
// half-width across it (-1 left .. 1 right), pushed out of the body by `lift`.
Vec3 OnSegment(ProfilePoint a, ProfilePoint b, float u, float t, float lift) {
  const float dy = b.y - a.y, dz = b.z - a.z;
  const float len = std::sqrt(dy * dy + dz * dz);
  const float y = a.y + dy * t, z = a.z + dz * t;
  // The profile runs clockwise, so (-dz, dy) points out of the body.
  return {u * (HalfWidthAt(z) + lift), y - dz / len * lift, z + dy / len * lift};
}

// A rectangle lying on a profile segment, across u0..u1 and t0..t1.
std::vector<Vec3> Patch(ProfilePoint a, ProfilePoint b, float u0, float u1, float t0, float t1) {
  constexpr float kLift = 0.012f;
  return {OnSegment(a, b, u0, t0, kLift), OnSegment(a, b, u1, t0, kLift),
          OnSegment(a, b, u1, t1, kLift), OnSegment(a, b, u0, t1, kLift)};
}

void AddBody(std::vector<Face>& out) {
  AddSlab(out, kLowerProfile, LowerColour);
  AddSlab(out, kUpperProfile, UpperColour);
}

// The glasshouse: a tapered block whose sides and ends are windows.
void AddCabin(std::vector<Face>& out) {
  constexpr float kBase = 0.96f, kRoof = kCarHeight;
  constexpr float kBaseHalf = 0.74f, kRoofHalf = 0.60f;
  constexpr float kRearBase = -1.26f, kRearRoof = -0.72f, kFrontRoof = 0.36f, kFrontBase = 0.94f;
  Part cabin(out, {0, -0.2f, 1.2f});
  const Vec3 rb[] = {{-kBaseHalf, kRearBase, kBase}, {kBaseHalf, kRearBase, kBase}};
  const Vec3 rr[] = {{-kRoofHalf, kRearRoof, kRoof}, {kRoofHalf, kRearRoof, kRoof}};
  const Vec3 fr[] = {{-kRoofHalf, kFrontRoof, kRoof}, {kRoofHalf, kFrontRoof, kRoof}};
  const Vec3 fb[] = {{-kBaseHalf, kFrontBase, kBase}, {kBaseHalf, kFrontBase, kBase}};
  cabin.Add({rr[0], rr[1], fr[1], fr[0]}, kBodyColour);   // roof
  cabin.Add({fr[0], fr[1], fb[1], fb[0]}, kWindscreenColour);  // windscreen
  cabin.Add({rb[0], rb[1], rr[1], rr[0]}, kGlassColour);  // rear window
  for (int s = 0; s < 2; ++s) {
    cabin.Add({rb[s], rr[s], fr[s], fb[s]}, kGlassColour);  // side windows
  }
  // A pillar band down the middle of each side window, in paint colour.
  for (int s = 0; s < 2; ++s) {
    const float sign = s == 0 ? -1.0f : 1.0f;
    const float out = 0.012f * sign;
    const float y0 = -0.30f, y1 = -0.16f;
    cabin.Add({{sign * kBaseHalf + out, y0, kBase}, {sign * kBaseHalf + out, y1, kBase},
               {sign * kRoofHalf + out, y1, kRoof}, {sign * kRoofHalf + out, y0, kRoof}},
              kBodyColour);
  }
}

// A wheel as a many-sided prism on its side, with a hub cap on the outer face.
void AddWheel(std::vector<Face>& out, float side, float y) {
  constexpr int kSides = 14;
  constexpr float kRadius = 0.34f, kInner = 0.70f, kOuter = 0.95f, kHub = 0.19f;
  const Vec3 centre{side * (kInner + kOuter) / 2, y, kRadius};
  Part wheel(out, centre);
  std::vector<Vec3> inner, outer, hub;
  for (int k = 0; k < kSides; ++k) {
    const float a = 2 * std::numbers::pi_v<float> * k / kSides;
    const float dy = std::cos(a), dz = std::sin(a);
    inner.push_back({side * kInner, y + kRadius * dy, kRadius + kRadius * dz});
    outer.push_back({side * kOuter, y + kRadius * dy, kRadius + kRadius * dz});
    hub.push_back({side * (kOuter + 0.01f), y + kHub * dy, kRadius + kHub * dz});
  }
  wheel.Add(inner, kTyreColour);
  wheel.Add(outer, kTyreColour);
  for (int k = 0; k < kSides; ++k) {
    const int n = (k + 1) % kSides;
    wheel.Add({inner[k], inner[n], outer[n], outer[k]}, kTyreColour);
  }
  wheel.Add(hub, kHubColour);
}

void AddBox(std::vector<Face>& out, Vec3 lo, Vec3 hi, Rgb colour) {
  Part box(out, (lo + hi) * 0.5f);
  const float xs[] = {lo.x, hi.x}, ys[] = {lo.y, hi.y}, zs[] = {lo.z, hi.z};
  for (int i = 0; i < 2; ++i) {
    box.Add({{xs[i], lo.y, lo.z}, {xs[i], hi.y, lo.z}, {xs[i], hi.y, hi.z}, {xs[i], lo.y, hi.z}}, colour);
    box.Add({{lo.x, ys[i], lo.z}, {hi.x, ys[i], lo.z}, {hi.x, ys[i], hi.z}, {lo.x, ys[i], hi.z}}, colour);
    box.Add({{lo.x, lo.y, zs[i]}, {hi.x, lo.y, zs[i]}, {hi.x, hi.y, zs[i]}, {lo.x, hi.y, zs[i]}}, colour);
  }
}

void AddLamps(std::vector<Face>& out, bool lightsOn) {
  Part lamps(out, {0, 0, 0.6f});
  const Rgb head = lightsOn ? kHeadlightOnColour : kHeadlightOffColour;
  const Rgb tail = lightsOn ? kTailLightOnColour : kTailLightOffColour;
  const ProfilePoint f0 = kLowerProfile[kFrontSegment], f1 = kLowerProfile[kFrontSegment + 1];
  const ProfilePoint r0 = kUpperProfile[kRearSegment], r1 = kUpperProfile[kRearSegment + 1];
  lamps.Add(Patch(f0, f1, -0.45f, 0.45f, 0.20f, 0.75f), kTrimColour);  // grille
  for (float side : {-1.0f, 1.0f}) {
    lamps.Add(Patch(f0, f1, side * 0.55f, side * 0.92f, 0.08f, 0.60f), head, lightsOn);
    lamps.Add(Patch(r0, r1, side * 0.50f, side * 0.92f, 0.12f, 0.88f), tail, lightsOn);
  }
}

// A lit tail lamp glows onto the paint around it: a darker red rim, one
// step further out from the body than the plain paint but under the lamp.
void AddTailHalo(std::vector<Face>& out) {
  Part halo(out, {0, 0, 0.6f});
  const ProfilePoint r0 = kUpperProfile[kRearSegment], r1 = kUpperProfile[kRearSegment + 1];
  constexpr float kLift = 0.006f;
  for (float side : {-1.0f, 1.0f}) {
    const float u0 = side * 0.40f, u1 = side * 0.99f;
    halo.Add({OnSegment(r0, r1, u0, 0.0f, kLift), OnSegment(r0, r1, u1, 0.0f, kLift),
              OnSegment(r0, r1, u1, 1.0f, kLift), OnSegment(r0, r1, u0, 1.0f, kLift)},
             kTailGlowColour, true);
  }
}

// One layer of the headlights' pool of light on the road: a fan from under
// the nose (so no gap shows between car and light) out to `reach` beyond the
// bumper, `spread` wide at its widest. Later layers lie higher, on top.
std::vector<Vec3> BeamFan(float reach, float spread, float z) {
  constexpr float kStart = 1.90f, kStartHalf = 0.82f;
  const float tip = kLowerProfile[kFrontSegment + 1].y + reach;
  const float shoulder = tip - 0.30f * reach;
  return {{-kStartHalf, kStart, z}, {kStartHalf, kStart, z}, {spread, shoulder, z},
          {spread * 0.70f, tip, z}, {-spread * 0.70f, tip, z}, {-spread, shoulder, z}};
}

void AddBeams(std::vector<Face>& out) {
  const struct {
    float reach, spread;
    Rgb colour;
  } layers[] = {
      {kBeamReach, 1.10f, kBeamEdgeColour},
      {kBeamReach * 0.70f, 1.00f, kBeamMidColour},
      {kBeamReach * 0.40f, 0.92f, kBeamColour},
  };
  float z = 0.010f;
  for (const auto& layer : layers) {
    out.push_back(Face{BeamFan(layer.reach, layer.spread, z), {0, 0, 1}, layer.colour, true});
    z += 0.005f;
  }
}

}  // namespace

std::vector<Face> BuildCarModel(bool lightsOn) {
  std::vector<Face> faces;
  AddBody(faces);
  AddCabin(faces);
  for (float side : {-1.0f, 1.0f}) {
    for (float y : {-1.38f, 1.40f}) AddWheel(faces, side, y);
    AddBox(faces, {side * 0.72f, 0.70f, 0.90f}, {side * 0.98f, 0.84f, 1.04f}, kBodyColour);  // mirror
  }
  AddLamps(faces, lightsOn);
  if (lightsOn) {
    AddTailHalo(faces);
    AddBeams(faces);
  }
  return faces;
}

}  // namespace velkor::sample
