#include "sample_site.h"

#include <algorithm>
#include <array>
#include <numbers>
#include <string_view>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "common/app_settings.h"
#include "common/settings_record.h"
#include "device/map_options.h"
#include "model/surface_model.h"

namespace terravue::cli {
namespace {

constexpr double OriginX = 5000, OriginY = 3000;
constexpr double SiteWidth = 600, SiteHeight = 500;
// The parcel: a rectangle with its south-east corner cut off along the old lane.
constexpr double ChamferX = 5520, ChamferY = 3080;

// Field shots in rows every 25 ft of Northing, every 30 ft along a row.
constexpr int Rows = 19;
constexpr int ShotsPerRow = 19;
constexpr double RowSpacing = 25;
constexpr double ShotSpacing = 30;
// Boundary shots along the property lines, at most this far apart.
constexpr double BoundarySpacing = 30;

// The road: 24 ft of pavement on an even grade across the north of the parcel, crowned a
// quarter of a foot, with 3:1 side slopes down to the swale and up into the knoll's shoulder.
constexpr double RoadY = 3430, RoadHalfWidth = 12, Crown = 0.25, SideSlope = 3;
constexpr double RoadWestZ = 119, RoadEastZ = 127;
// Where the cut is deepest a retaining wall holds the hill back, 10 ft off the north edge of
// pavement; its face leans back half a foot.
constexpr double WallWest = 5360, WallEast = 5520, WallOffset = 10, WallBatter = 0.5;
constexpr double WallStep = 20;

// The swale's flow line runs straight from (5120, 3500) on the north line to (5300, 3000); it
// is shot from the south line up to the toe of the road's fill.
constexpr double SwaleNorthX = 5120, SwaleNorthY = 3500, SwaleSouthX = 5300, SwaleSouthY = 3000;
constexpr double SwaleFirstY = OriginY + RowSpacing / 2;
constexpr double SwaleLastY = 3387.5;

// A small linear congruential generator with a fixed seed: the standard distributions are
// not the same on every library, and the sample must be.
class Scatter {
 public:
  // Uniform in [-1, 1).
  double Next() {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<double>(state_ >> 11) / 4503599627370496.0 - 1.0;
  }

 private:
  std::uint64_t state_ = 20240605;
};

double RoundTo(double v, double step) { return std::round(v / step) * step; }

double SwaleX(double y) {
  return SwaleNorthX + (SwaleNorthY - y) / (SwaleNorthY - SwaleSouthY) * (SwaleSouthX - SwaleNorthX);
}

double SwaleDistance(double x, double y) {
  const double ax = SwaleNorthX, ay = SwaleNorthY, bx = SwaleSouthX, by = SwaleSouthY;
  return ((bx - ax) * (y - ay) - (by - ay) * (x - ax)) / std::hypot(bx - ax, by - ay);
}

// The ground before the road was built: a gentle rise to the north-east, a knoll, and the
// swale draining to the south line.
double NaturalGround(double x, double y) {
  const double dx = x - OriginX, dy = y - OriginY;
  double z = 106 + 0.032 * dy + 0.012 * dx;
  z += 14 * std::exp(-((x - 5440) * (x - 5440) + (y - 3330) * (y - 3330)) / (2 * 80.0 * 80.0));
  const double swale = SwaleDistance(x, y);
  z -= 7 * std::exp(-(swale * swale) / (2 * 30.0 * 30.0));
  z += 1.1 * std::sin(dx / 70) * std::cos(dy / 55);
  return z;
}

double EdgeOfPavementZ(double x) { return RoadWestZ + (x - OriginX) / SiteWidth * (RoadEastZ - RoadWestZ); }

bool AlongWall(double x) { return x >= WallWest && x <= WallEast; }

// The ground as built: pavement between the edges, side slopes out to where they meet the
// natural ground, and the wall where it stands.
double Ground(double x, double y) {
  const double edge = EdgeOfPavementZ(x);
  const double off = std::fabs(y - RoadY);
  if (off <= RoadHalfWidth) return edge + Crown * (1 - off / RoadHalfWidth);
  const double natural = NaturalGround(x, y);
  const double beyond = off - RoadHalfWidth;
  if (y > RoadY && AlongWall(x)) {
    if (beyond <= WallOffset) return edge;
    if (beyond >= WallOffset + WallBatter) return natural;
    return edge + (natural - edge) * (beyond - WallOffset) / WallBatter;
  }
  return std::clamp(natural, edge - beyond / SideSlope, edge + beyond / SideSlope);
}

bool InsideParcel(double x, double y, double margin) {
  return x > OriginX + margin && x < OriginX + SiteWidth - margin && y > OriginY + margin &&
         y < OriginY + SiteHeight - margin &&
         // The cut corner: margin / sqrt(2) off the line through the chamfer's ends.
         (y - OriginY) - (x - ChamferX) > margin * std::numbers::sqrt2;
}

// Row shots the crew leaves out: on the road and its wall, and on the swale's flow line,
// which are shot on their own.
bool ShotOnItsOwn(double x, double y) {
  if (std::fabs(y - RoadY) < RoadHalfWidth + 3) return true;
  if (AlongWall(x + 5) && AlongWall(x - 5) && std::fabs(y - (RoadY + RoadHalfWidth + WallOffset)) < 6) return true;
  return y >= SwaleFirstY - 2 && y <= SwaleLastY + 2 && std::fabs(SwaleDistance(x, y)) < 2;
}

class Shots {
 public:
  explicit Shots(model::SurfaceModel& m) : m_(m) {}

  PointIndex Add(double x, double y, double z, std::string_view label) {
    const PointIndex p = ++next_;
    m_.PointX[p] = RoundTo(x, 0.001);
    m_.PointY[p] = RoundTo(y, 0.001);
    m_.PointZ[p] = RoundTo(z, 0.01);
    m_.PointCutFill[p] = 0;
    m_.BorderNext[p] = NoPoint;
    m_.SetPointLabel(p, label);
    m_.PointCount = next_;
    return p;
  }
  PointIndex AddGround(double x, double y, std::string_view label) { return Add(x, y, Ground(x, y), label); }

  void Breakline(PointIndex from, PointIndex to) {
    ++m_.BreaklineCount;
    m_.Breaklines[m_.BreaklineCount] = {from, to};
  }
  // A chain of breaklines through the points in order.
  void Chain(const std::vector<PointIndex>& points) {
    for (std::size_t i = 1; i < points.size(); ++i) Breakline(points[i - 1], points[i]);
  }

 private:
  model::SurfaceModel& m_;
  PointIndex next_ = 0;
};

// The boundary traverse, counter-clockwise from the south-west corner, each property line
// divided evenly; the edges of pavement meet the west and east lines at boundary shots.
// Returns the shots in ring order and the four edge-of-pavement ends (south-west, north-west,
// south-east, north-east).
std::vector<PointIndex> ShootBoundary(Shots& shots, std::array<PointIndex, 4>& roadEnds) {
  const double west = OriginX, east = OriginX + SiteWidth, south = OriginY, north = OriginY + SiteHeight;
  const double roadSouth = RoadY - RoadHalfWidth, roadNorth = RoadY + RoadHalfWidth;
  struct Corner {
    double x, y;
  };
  const Corner corners[] = {{west, south}, {ChamferX, south}, {east, ChamferY}, {east, north}, {west, north}};
  std::vector<PointIndex> ring;
  for (std::size_t c = 0; c < std::size(corners); ++c) {
    const Corner a = corners[c], b = corners[(c + 1) % std::size(corners)];
    // Stations along the line, as fractions; the road's edges split the west and east lines.
    std::vector<double> stops;
    const auto divide = [&](double from, double to) {
      const double length = std::fabs(to - from) * std::hypot(b.x - a.x, b.y - a.y);
      const int pieces = std::max(1, static_cast<int>(std::ceil(length / BoundarySpacing - 1e-9)));
      for (int i = 0; i < pieces; ++i) stops.push_back(from + (to - from) * i / pieces);
    };
    if (a.x == b.x) {
      const double f1 = (roadSouth - a.y) / (b.y - a.y), f2 = (roadNorth - a.y) / (b.y - a.y);
      const double lo = std::min(f1, f2), hi = std::max(f1, f2);
      divide(0, lo);
      divide(lo, hi);
      divide(hi, 1);
    } else {
      divide(0, 1);
    }
    for (double f : stops) {
      const double x = a.x + (b.x - a.x) * f, y = a.y + (b.y - a.y) * f;
      const PointIndex p = shots.AddGround(x, y, "BDY");
      ring.push_back(p);
      const int side = x == west ? 0 : x == east ? 2 : -1;
      if (side >= 0 && y == roadSouth) roadEnds[static_cast<std::size_t>(side)] = p;
      if (side >= 0 && y == roadNorth) roadEnds[static_cast<std::size_t>(side + 1)] = p;
    }
  }
  return ring;
}

}  // namespace

void BuildSampleSite(model::SurfaceModel& m) {
  m.ClearModel();
  Shots shots(m);
  std::array<PointIndex, 4> roadEnds{};
  const std::vector<PointIndex> ring = ShootBoundary(shots, roadEnds);
  for (std::size_t j = 0; j < ring.size(); ++j) m.BorderNext[ring[j]] = ring[(j + 1) % ring.size()];

  // Ground shots in rows, walked back and forth as a field crew does.
  Scatter scatter;
  for (int r = 1; r <= Rows; ++r) {
    for (int s = 1; s <= ShotsPerRow; ++s) {
      const int k = r % 2 == 1 ? s : ShotsPerRow + 1 - s;
      const double x = OriginX + k * ShotSpacing + 3 * scatter.Next();
      const double y = OriginY + r * RowSpacing + 3 * scatter.Next();
      const double noise = scatter.Next();
      if (!InsideParcel(x, y, 8) || ShotOnItsOwn(x, y)) continue;
      shots.Add(x, y, Ground(x, y) + 0.1 * noise, "GS");
    }
  }

  // The road: both edges of pavement from the west line to the east line, each a chain of
  // breaklines, and the crown between them.
  std::vector<PointIndex> southEdge{roadEnds[0]}, northEdge{roadEnds[1]};
  for (int i = 1; i < 20; ++i) {
    const double x = OriginX + i * ShotSpacing;
    southEdge.push_back(shots.AddGround(x, RoadY - RoadHalfWidth, "EP"));
  }
  for (int i = 19; i >= 1; --i) {
    const double x = OriginX + i * ShotSpacing + ShotSpacing / 2;
    shots.AddGround(x, RoadY, "CL");
  }
  for (int i = 1; i < 20; ++i) {
    const double x = OriginX + i * ShotSpacing;
    northEdge.push_back(shots.AddGround(x, RoadY + RoadHalfWidth, "EP"));
  }
  southEdge.push_back(roadEnds[2]);
  northEdge.push_back(roadEnds[3]);
  shots.Chain(southEdge);
  shots.Chain(northEdge);

  // The retaining wall: its foot and its top, shot along its length.
  std::vector<PointIndex> foot, top;
  const double footY = RoadY + RoadHalfWidth + WallOffset;
  for (double x = WallWest; x <= WallEast + 1e-9; x += WallStep) {
    foot.push_back(shots.AddGround(x, footY, "BW"));
    top.push_back(shots.AddGround(x, footY + WallBatter, "TW"));
  }
  shots.Chain(foot);
  shots.Chain(top);

  // The swale's flow line, from the toe of the road's fill down to the south line.
  std::vector<PointIndex> flow;
  for (double y = SwaleLastY; y >= SwaleFirstY - 1e-9; y -= RowSpacing)
    flow.push_back(shots.AddGround(SwaleX(y), y, "FL"));
  shots.Chain(flow);

  m.SetComment("Sample site - generated");
}

void SetSampleSheetOptions(SettingsRecord& s) {
  namespace map = device;
  s.Set(settings::CompanyName, "Pine Hill LS");
  s.Set(settings::CompanyLocation, "Sample Co.");
  {
    using namespace map::ContourOptions;
    s.Set(Show, true);
    s.Set(Interval, 1.0);
    s.Set(Multiple, 5);
    s.Set(PrimaryColour, MakeColour(176, 110, 60));
    s.Set(MultipleColour, MakeColour(120, 60, 20));
    s.Set(PrimaryWidth, 0);
    s.Set(MultipleWidth, 2);
    s.Set(LabelMode, 2);  // the index contours
    s.Set(LabelDecimals, 0);
    s.Set(LabelDirection, 1);  // north-up: read from the foot of the sheet
    s.Set(TextColour, MakeColour(120, 60, 20));
    s.Set(Smooth, true);
    s.Set(Segments, 6);
    s.Set(Tension, 0.0);
  }
  s.Set(map::TriangleOptions::Show, false);
  {
    using namespace map::BreaklineOptions;
    s.Set(Show, true);
    s.Set(Colour, MakeColour(0, 90, 170));
    s.Set(Width, 1);
  }
  {
    using namespace map::SurfaceGridOptions;
    s.Set(Show, true);
    s.Set(IntervalX, 100.0);
    s.Set(IntervalY, 100.0);
    s.Set(Multiple, 0);
    s.Set(PrimaryColour, MakeColour(190, 190, 190));
    s.Set(TextMode, 1);
    s.Set(TextDecimals, 0);
    s.Set(TextColour, MakeColour(110, 110, 110));
  }
  {
    using namespace map::BorderOptions;
    s.Set(Show, true);
    s.Set(Colour, MakeColour(128, 0, 0));
    s.Set(Width, 3);
  }
  {
    using namespace map::PointOptions;
    s.Set(Show, true);
    s.Set(MarkerKind, 2);  // a small cross
    s.Set(MarkerColour, MakeColour(90, 90, 90));
  }
  {
    using namespace map::MiscOptions;
    s.Set(Show, true);
    s.Set(ShowLimits, true);
    s.Set(ShowNorthArrow, true);
    s.Set(ShowScaleBar, true);
  }
  {
    using namespace map::TitleOptions;
    s.Set(Show, true);
    s.Set(UseTitleBoxes, true);
    s.Set(ShowTitle, true);
    s.Set(TitleText, "SAMPLE SITE - TOPOGRAPHY");
    s.Set(Client1, "Harlow Ridge");
    s.Set(Client2, "Phase 2");
    s.Set(Location1, "Lot 7");
    s.Set(Location2, "Mill Road");
    s.Set(Comment1, "C.I. 1 ft");
    s.Set(Comment2, "Sample data");
  }
}

}  // namespace terravue::cli
