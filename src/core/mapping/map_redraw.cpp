#include "mapping/map_redraw.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "common/format.h"
#include "common/session.h"
#include "common/settings_record.h"
#include "common/user_port.h"
#include "mapping/analysis_drawing.h"
#include "mapping/contour_smoothing.h"
#include "mapping/level_lines.h"
#include "mapping/line_mode_3d.h"
#include "device/map_options.h"
#include "mapping/map_options_edit.h"
#include "mapping/shaded_surface.h"
#include "mapping/surface_grid.h"
#include "mapping/title_block.h"
#include "model/surface_model.h"
#include "device/cad_settings.h"
#include "device/drawing_device.h"
#include "common/view3d_settings.h"

namespace terravue::mapping {
namespace {

using device::DeviceKind;
using device::DrawingDevice;
using model::SurfaceModel;

constexpr double Pi = std::numbers::pi;
constexpr double NearZeroBound = 0.0001;
// Label lines are this many text heights apart.
constexpr double LabelLineSpacing = 1.2;

bool NearZero(double v) { return std::fabs(v) < NearZeroBound; }

bool ValidPoint(const SurfaceModel& m, PointIndex p) { return p != NoPoint && p <= m.PointCount; }

void Plot(DrawingDevice& d, const SurfaceModel& m, PointIndex p) {
  d.DevicePlot(false, m.PointX[p], m.PointY[p], m.PointZ[p]);
}

// While it lives, a page device draws its title block with the sheet frame of this session.
class SheetFrameDrawer {
 public:
  SheetFrameDrawer(DrawingDevice& device, const Session& session)
      : page_(dynamic_cast<device::PageDevice*>(&device)) {
    if (!page_) return;
    page_->SetTitleBlockDrawer([&session](DrawingDevice& d) {
      if (auto* page = dynamic_cast<device::PageDevice*>(&d)) DrawSheetFrame(*page, session);
    });
  }
  ~SheetFrameDrawer() {
    if (page_) page_->SetTitleBlockDrawer({});
  }
  SheetFrameDrawer(const SheetFrameDrawer&) = delete;
  SheetFrameDrawer& operator=(const SheetFrameDrawer&) = delete;

 private:
  device::PageDevice* page_;
};

// The neighbour of t across the edge a-b; none when it is missing or out of range.
TriangleIndex NeighbourAcross(const SurfaceModel& m, TriangleIndex t, PointIndex a, PointIndex b) {
  for (int slot = 2; slot >= 0; --slot) {
    const TriangleIndex u = m.TriNeighbour[t][static_cast<std::size_t>(slot)];
    if (u == NoTriangle || u > m.TriangleCount) continue;
    const model::TriangleCorners& c = m.TriVertex[u];
    const bool hasA = c[0] == a || c[1] == a || c[2] == a;
    const bool hasB = c[0] == b || c[1] == b || c[2] == b;
    if (hasA && hasB) return u;
  }
  return NoTriangle;
}

// ---- Under the lines: the shaded surface of the 3-D view ------------------------------------

// Only the sheets that project in perspective take it: CAD files get world coordinates, where
// an order of filling seen from the view point means nothing.
void DrawShading(const SettingsRecord& s, const SurfaceModel& m, DrawingDevice& d) {
  const auto* page = dynamic_cast<const device::PageDevice*>(&d);
  if (const device::Projection3D* projection = page ? page->Transform().Perspective() : nullptr)
    DrawShadedSurface(s, m, d, *projection);
}

// ---- Step 1: triangles ----------------------------------------------------------------------

// Every edge once, with the lower-numbered of its two triangles; joined edges as one stroke.
void DrawTriangles(const SettingsRecord& s, const SurfaceModel& m, DrawingDevice& d) {
  d.DeviceSetLayer(s.Get(device::TriangleOptions::Colour), s.Get(device::TriangleOptions::Layer));
  d.DeviceSetWidth(s.Get(device::TriangleOptions::Width));
  d.DevicePenUp();
  bool down = false;
  PointIndex at = NoPoint;
  const auto edge = [&](PointIndex a, PointIndex b) {
    if (down && at == b) std::swap(a, b);
    if (!(down && at == a)) {
      if (down) d.DevicePenUp();
      Plot(d, m, a);
      d.DevicePenDown();
      down = true;
    }
    Plot(d, m, b);
    at = b;
  };
  for (TriangleIndex t = 1; t <= m.TriangleCount; ++t) {
    const model::TriangleCorners& c = m.TriVertex[t];
    if (!ValidPoint(m, c[0]) || !ValidPoint(m, c[1]) || !ValidPoint(m, c[2])) continue;
    std::array<bool, 3> drawn{};
    int undrawn = -1;
    for (int i = 0; i < 3; ++i) {
      const TriangleIndex u = NeighbourAcross(m, t, c[static_cast<std::size_t>(i)],
                                              c[static_cast<std::size_t>((i + 1) % 3)]);
      drawn[static_cast<std::size_t>(i)] = u == NoTriangle || u > t;
      if (!drawn[static_cast<std::size_t>(i)]) undrawn = i;
    }
    // Starting after an edge that is not drawn, the drawn ones follow each other round.
    const int start = undrawn < 0 ? 0 : undrawn + 1;
    for (int j = 0; j < 3; ++j) {
      const int i = (start + j) % 3;
      if (drawn[static_cast<std::size_t>(i)])
        edge(c[static_cast<std::size_t>(i)], c[static_cast<std::size_t>((i + 1) % 3)]);
    }
  }
  if (down) d.DevicePenUp();
}

// ---- Step 2: breaklines and their numbers ---------------------------------------------------

void DrawBreaklines(const SettingsRecord& s, const SurfaceModel& m, DrawingDevice& d) {
  d.DeviceSetLayer(s.Get(device::BreaklineOptions::Colour), s.Get(device::BreaklineOptions::Layer));
  d.DeviceSetWidth(s.Get(device::BreaklineOptions::Width));
  d.DevicePenUp();
  for (BreaklineIndex b = 1; b <= m.BreaklineCount; ++b) {
    const model::Breakline& line = m.Breaklines[b];
    if (!ValidPoint(m, line.From) || !ValidPoint(m, line.To)) continue;
    Plot(d, m, line.From);
    d.DevicePenDown();
    Plot(d, m, line.To);
    d.DevicePenUp();
  }
}

void DrawBreaklineNumbers(const SettingsRecord& s, const SurfaceModel& m, DrawingDevice& d) {
  using namespace device::BreaklineOptions;
  d.DeviceSetLayer(s.Get(TextColour), s.Get(TextLayer));
  d.DeviceSetTextStyle(s.Get(TextColour), s.Get(TextHeight));
  d.text.AnchorLeft();
  const bool north = s.Get(device::ContourOptions::LabelDirection) == static_cast<int>(LabelOrientation::North);
  for (BreaklineIndex b = 1; b <= m.BreaklineCount; ++b) {
    const model::Breakline& line = m.Breaklines[b];
    if (!ValidPoint(m, line.From) || !ValidPoint(m, line.To)) continue;
    const double dx = m.PointX[line.To] - m.PointX[line.From];
    const double dy = m.PointY[line.To] - m.PointY[line.From];
    double a = 0;
    if (NearZero(dx) && NearZero(dy))
      a = 0;
    else if (NearZero(dx))
      a = Pi / 2;
    else
      a = std::atan2(dy, dx);
    // North-up numbers read left to right: turned round when they would read downwards.
    if (north) {
      double n = std::fmod(a, 2 * Pi);
      if (n < 0) n += 2 * Pi;
      if (n > 105 * Pi / 180 && n < 285 * Pi / 180) a += Pi;
    }
    const std::string text = std::to_string(b);
    const double back = 0.75 * (static_cast<double>(text.size()) / 1.666) * d.text.TextCharWidth;
    const double h = d.text.TextHeight;
    const double x = (m.PointX[line.From] + m.PointX[line.To]) / 2 - back * std::cos(a) - h * std::sin(a);
    const double y = (m.PointY[line.From] + m.PointY[line.To]) / 2 - back * std::sin(a) + h * std::cos(a);
    const double z = (m.PointZ[line.From] + m.PointZ[line.To]) / 2;
    d.DeviceText(text, a, x, y, z, 1);
  }
  d.DeviceEndText();
}

// ---- Step 3: surface grid -------------------------------------------------------------------

LevelStyle GridStyle(const SettingsRecord& s, bool index) {
  using namespace device::SurfaceGridOptions;
  return index ? LevelStyle{s.Get(MultipleColour), s.Get(MultipleLayer), s.Get(MultipleWidth)}
               : LevelStyle{s.Get(PrimaryColour), s.Get(PrimaryLayer), s.Get(PrimaryWidth)};
}

// What drawing an element of lines came to.
struct LinesDrawn {
  bool capped = false;   // only the first MaxLinesPerRedraw lines or levels
  bool refused = false;  // too many segments, and the user said not to draw them
  void Add(const TraceOutcome& outcome) {
    capped |= outcome.capped;
    refused |= outcome.refused;
  }
};

// The grid lines draped over the surface in the 3-D view: lines of constant X, then of
// constant Y, traced through the triangles.
LinesDrawn DrawDrapedGrid(Session& session, DrawingDevice& d) {
  using namespace device::SurfaceGridOptions;
  const SettingsRecord& s = session.settings;
  LineOutput out(d);
  out.smoothing = {s.Get(Smooth), s.Get(Segments), s.Get(Tension)};
  out.dashes = {s.Get(DashLength), s.Get(SpaceLength)};
  LevelLineRun run;
  run.base = 0;
  run.multiple = s.Get(Multiple);
  run.labels = LineSelection::None;
  run.dashes = static_cast<LineSelection>(s.Get(DashMode));
  run.primary = GridStyle(s, false);
  run.index = GridStyle(s, true);
  LinesDrawn drawn;
  if (s.Get(IntervalX) > 0) {
    run.coordinate = TracedCoordinate::X;
    run.interval = s.Get(IntervalX);
    drawn.Add(TraceLevelLines(session.model, out, session.port, run));
  }
  if (s.Get(IntervalY) > 0 && !drawn.refused) {
    run.coordinate = TracedCoordinate::Y;
    run.interval = s.Get(IntervalY);
    drawn.Add(TraceLevelLines(session.model, out, session.port, run));
  }
  return drawn;
}

LinesDrawn DrawSurfaceGrid(Session& session, DrawingDevice& d) {
  const SettingsRecord& s = session.settings;
  const PlanGrid grid = LayOutPlanGrid(s, session.model);
  // On a sheet the lines and labels stay on the part of it left to the map, clear of the title
  // block and the scale bar; CAD files have no sheet.
  std::optional<SheetArea> area;
  if (dynamic_cast<const device::PageDevice*>(&d) && d.Kind() != DeviceKind::CadFile) area = ClearMapArea(session);
  LineOutput out(d);
  DrawPlanGrid(out, s, session.model, grid, area ? &*area : nullptr);
  if (s.Get(device::SurfaceGridOptions::TextMode) != static_cast<int>(LineSelection::None)) {
    d.DeviceSetLayer(s.Get(device::SurfaceGridOptions::TextColour), s.Get(device::SurfaceGridOptions::TextLayer));
    DrawGridLabels(d, s, session.model, grid, area ? &*area : nullptr);
  }
  return {.capped = grid.capped};
}

// ---- Step 4: contours -----------------------------------------------------------------------

LinesDrawn DrawContours(Session& session, DrawingDevice& d, tin::LocateState& state) {
  using namespace device::ContourOptions;
  const SettingsRecord& s = session.settings;
  LineOutput out(d);
  out.smoothing = {s.Get(Smooth), s.Get(Segments), s.Get(Tension)};
  out.dashes = {s.Get(DashLength), s.Get(SpaceLength)};
  out.labelOptions = {s.Get(LabelDecimals), static_cast<LabelOrientation>(s.Get(LabelDirection)),
                      s.Get(LabelFrequency), s.Get(TextColour), s.Get(TextLayer)};
  out.labelSurface = {&session.model, &state, &session.port};
  d.DeviceSetTextStyle(s.Get(TextColour), s.Get(TextHeight));
  d.text.TextDecimals = std::clamp<int>(s.Get(LabelDecimals), 0, 3);
  d.text.AnchorLeft();

  LevelLineRun run;
  run.coordinate = TracedCoordinate::Z;
  run.interval = s.Get(Interval);
  run.base = s.Get(Base);
  run.rangeSpecified = s.Get(RangeSpecified);
  run.minimum = s.Get(Minimum);
  run.maximum = s.Get(Maximum);
  run.multiple = s.Get(Multiple);
  run.labels = static_cast<LineSelection>(s.Get(LabelMode));
  run.dashes = static_cast<LineSelection>(s.Get(DashMode));
  run.primary = {s.Get(PrimaryColour), s.Get(PrimaryLayer), s.Get(PrimaryWidth)};
  run.index = {s.Get(MultipleColour), s.Get(MultipleLayer), s.Get(MultipleWidth)};
  LinesDrawn drawn;
  drawn.Add(TraceLevelLines(session.model, out, session.port, run));
  d.DeviceEndText();
  return drawn;
}

// ---- Step 7: border -------------------------------------------------------------------------

void DrawBorderRing(const SurfaceModel& m, DrawingDevice& d, PointIndex start, bool atMinimum) {
  const auto plot = [&](PointIndex p) {
    d.DevicePlot(false, m.PointX[p], m.PointY[p], atMinimum ? m.MinZ : m.PointZ[p]);
  };
  plot(start);
  d.DevicePenDown();
  PointIndex p = m.BorderNext[start];
  // A ring that does not close within the point count is drawn as far as it goes.
  for (int steps = 0; steps < m.PointCount && ValidPoint(m, p); ++steps) {
    plot(p);
    if (p == start) break;
    p = m.BorderNext[p];
  }
  d.DevicePenUp();
}

void DrawBorder(SettingsRecord& s, const SurfaceModel& m, DrawingDevice& d, bool view3D) {
  using namespace device::BorderOptions;
  const PointIndex start = m.FirstBorderPoint(1, m.PointCount);
  if (start == NoPoint) return;
  d.DeviceSetLayer(s.Get(Colour), s.Get(Layer));
  d.DeviceSetWidth(s.Get(Width));
  {
    const LineMode3D mode(s);
    DrawBorderRing(m, d, start, false);
  }
  if (!view3D) return;
  if (s.Get(DrawAtMinimumElevation)) DrawBorderRing(m, d, start, true);
  if (s.Get(ProjectToMinimumElevation)) {
    const LineMode3D mode(s);
    PointIndex p = start;
    for (int steps = 0; steps < m.PointCount && ValidPoint(m, p); ++steps) {
      if (std::fabs(m.PointZ[p] - m.MinZ) >= NearZeroBound) {
        d.DevicePlot(false, m.PointX[p], m.PointY[p], m.MinZ);
        d.DevicePenDown();
        d.DevicePlot(false, m.PointX[p], m.PointY[p], m.PointZ[p]);
        d.DevicePenUp();
      }
      p = m.BorderNext[p];
      if (p == start) break;
    }
  }
}

// ---- Steps 8 to 10: points ------------------------------------------------------------------

void DrawTravelPath(const SettingsRecord& s, const SurfaceModel& m, DrawingDevice& d) {
  using namespace device::PointOptions;
  d.DeviceSetLayer(s.Get(MarkerColour), s.Get(MarkerLayer));
  d.DeviceSetWidth(s.Get(PathWidth));
  if (!s.Get(PathArrowHeads)) {
    for (PointIndex p = 1; p <= m.PointCount; ++p) {
      Plot(d, m, p);
      if (p == 1) d.DevicePenDown();
    }
    d.DevicePenUp();
    return;
  }
  for (PointIndex p = 1; p < m.PointCount; ++p) {
    const PointIndex q = static_cast<PointIndex>(p + 1);
    if (NearZero(m.PointX[q] - m.PointX[p]) && NearZero(m.PointY[q] - m.PointY[p])) continue;
    device::PlotArrow(d, {m.PointX[p], m.PointY[p], m.PointZ[p]}, {m.PointX[q], m.PointY[q], m.PointZ[q]}, false);
  }
}

void DrawMarkers(const SettingsRecord& s, const SurfaceModel& m, DrawingDevice& d) {
  using namespace device::PointOptions;
  d.DeviceSetLayer(s.Get(MarkerColour), s.Get(MarkerLayer));
  d.DeviceSetWidth(0);
  const int kind = s.Get(MarkerKind);
  const double size = s.Get(MarkerHeight);
  // Border points first, so that their markers lie under the others.
  for (int pass = 0; pass < 2; ++pass)
    for (PointIndex p = 1; p <= m.PointCount; ++p)
      if ((m.BorderNext[p] != NoPoint) == (pass == 0))
        d.DeviceMarker(kind, m.PointX[p], m.PointY[p], m.PointZ[p], size);
}

std::string WithoutBlanks(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
  return text;
}

// The labels kept so far, as boxes in the labels' own frame (u along the text, v across it; all
// labels share one angle, so the boxes are upright there). A grid of cells about one label in
// size keeps each test to the few boxes near it.
class LabelBoxes {
 public:
  struct Box {
    double u0, v0, u1, v1;
  };

  LabelBoxes(double cellU, double cellV) : cellU_(cellU), cellV_(cellV) {}

  // Adds the box unless it meets one added before; false when it does.
  bool TryAdd(const Box& b) {
    const CellRange r = CellsOf(b);
    for (std::int64_t i = r.i0; i <= r.i1; ++i)
      for (std::int64_t j = r.j0; j <= r.j1; ++j) {
        const auto cell = cells_.find(Key(i, j));
        if (cell == cells_.end()) continue;
        for (const std::size_t k : cell->second)
          if (Meet(boxes_[k], b)) return false;
      }
    boxes_.push_back(b);
    for (std::int64_t i = r.i0; i <= r.i1; ++i)
      for (std::int64_t j = r.j0; j <= r.j1; ++j) cells_[Key(i, j)].push_back(boxes_.size() - 1);
    return true;
  }

 private:
  struct CellRange {
    std::int64_t i0, i1, j0, j1;
  };

  static bool Meet(const Box& a, const Box& b) { return a.u0 < b.u1 && b.u0 < a.u1 && a.v0 < b.v1 && b.v0 < a.v1; }
  static std::uint64_t Key(std::int64_t i, std::int64_t j) {
    return static_cast<std::uint64_t>(i) * 0x9E3779B97F4A7C15ULL ^ static_cast<std::uint64_t>(j);
  }
  // Far-off coordinates are held to a range the cell numbers can take.
  static std::int64_t Cell(double v, double size) {
    return static_cast<std::int64_t>(std::clamp(std::floor(v / size), -1e15, 1e15));
  }
  CellRange CellsOf(const Box& b) const {
    return {Cell(b.u0, cellU_), Cell(b.u1, cellU_), Cell(b.v0, cellV_), Cell(b.v1, cellV_)};
  }

  double cellU_, cellV_;
  std::vector<Box> boxes_;
  std::unordered_map<std::uint64_t, std::vector<std::size_t>> cells_;
};

void DrawPointLabels(const SettingsRecord& s, const SurfaceModel& m, DrawingDevice& d) {
  using namespace device::PointOptions;
  d.DeviceSetLayer(s.Get(LabelColour), s.Get(LabelLayer));
  d.DeviceSetTextStyle(s.Get(LabelColour), s.Get(TextHeight));
  d.text.AnchorLeft();
  double h = d.text.TextHeight;
  double charWidth = d.text.TextCharWidth;
  double marker = s.Get(MarkerHeight);
  // Labels that keep their screen size while zooming keep their distances with them.
  if (const auto* page = dynamic_cast<const device::PageDevice*>(&d);
      page && d.Kind() != DeviceKind::Printer && !page->Frame().maintainPointScale && page->Frame().zoom > 0) {
    const double zoom = page->Frame().zoom;
    h /= zoom;
    charWidth /= zoom;
    marker /= zoom;
  }
  const double angle = s.Get(TextAngle);
  const double along = std::fabs(marker) / 2 + 0.75 * charWidth;
  const double c = std::cos(angle), sn = std::sin(angle);
  const int decimals = std::clamp<int>(s.Get(ElevationDecimals), 0, 3);
  // Decluttering measures in world units; sizes it cannot measure with leave every label in.
  const bool declutter = s.Get(Declutter) && std::isfinite(h) && h > 0 && std::isfinite(charWidth) && charWidth > 0;
  LabelBoxes kept(8 * charWidth, 3 * LabelLineSpacing * h);
  std::vector<std::string> lines;
  for (PointIndex p = 1; p <= m.PointCount; ++p) {
    lines.clear();
    if (s.Get(ShowNumber)) lines.push_back(std::to_string(p));
    if (s.Get(ShowLabel)) lines.push_back(WithoutBlanks(m.GetPointLabel(p)));
    if (s.Get(ShowElevation)) lines.push_back(FormatReal(m.PointZ[p], 0, decimals));
    if (declutter) {
      // The lines' middles run through their anchors: the bottom line spans 0..h across the
      // text, the top one ends a text height above its own anchor's offset.
      std::size_t chars = 0;
      for (const std::string& line : lines) chars = std::max(chars, line.size());
      const double u = m.PointX[p] * c + m.PointY[p] * sn + along;
      const double v = -m.PointX[p] * sn + m.PointY[p] * c;
      const double top = static_cast<double>(lines.size() - 1) * LabelLineSpacing * h + h;
      if (!kept.TryAdd({u, v, u + static_cast<double>(chars) * charWidth, v + top})) continue;
    }
    for (std::size_t j = 0; j < lines.size(); ++j) {
      const double k = static_cast<double>(lines.size() - 1 - j);  // 0 at the bottom line
      const double up = k * LabelLineSpacing * h + 0.5 * h;
      d.DeviceText(lines[j], angle, m.PointX[p] + along * c - up * sn, m.PointY[p] + along * sn + up * c,
                   m.PointZ[p], 1);
    }
  }
  d.DeviceEndText();
}

// ---- Steps 11 and 12: sheet furniture -------------------------------------------------------

bool TitleBoxes(const SettingsRecord& s) {
  return GroupDrawable(s, MapOptionPage::Titles) && s.Get(device::TitleOptions::UseTitleBoxes);
}

void DrawMiscellaneous(Session& session, DrawingDevice& d, bool view3D) {
  const SettingsRecord& s = session.settings;
  d.DeviceSetLayer(s.Get(device::MiscOptions::Colour), s.Get(device::MiscOptions::Layer));
  d.DeviceSetWidth(0);
  // With title boxes the titles draw the frame with the block.
  if (s.Get(device::MiscOptions::ShowLimits) && !TitleBoxes(s)) d.DeviceTitleBlock();
  if (s.Get(device::MiscOptions::ShowNorthArrow) && !view3D) DrawNorthArrow(session, d);
  if (s.Get(device::MiscOptions::ShowScaleBar) && !view3D) DrawScaleBar(session, d);
}

void DrawTitles(Session& session, DrawingDevice& d) {
  using namespace device::TitleOptions;
  const SettingsRecord& s = session.settings;
  if (!s.Get(UseTitleBoxes)) {
    DrawTitleLines(session, d);
    return;
  }
  d.DeviceSetLayer(s.Get(MiscTextColour), s.Get(TitleLayer));
  d.DeviceSetWidth(0);
  d.DeviceSetTextStyle(s.Get(MiscTextColour), s.Get(MiscTextHeight));
  d.DeviceTitleBlock();
  d.DeviceEndText();
}

}  // namespace

bool RedrawMap(Session& session, DrawingDevice& device, tin::LocateState& state) {
  return RedrawMap(session, device, state, RedrawOptions{});
}

bool RedrawMap(Session& session, DrawingDevice& device, tin::LocateState& state, const RedrawOptions& options) {
  SettingsRecord& s = session.settings;
  SurfaceModel& m = session.model;
  const SheetFrameDrawer frameDrawer(device, session);
  const bool cad = device.Kind() == DeviceKind::CadFile;
  const bool screenMap = device.Kind() == DeviceKind::ScreenMap;
  const bool view3D = s.Get(settings::View3DOptions::View3D);
  const auto shown = [&](MapOptionPage page) { return GroupDrawable(s, page); };
  LinesDrawn contours;
  LinesDrawn grid;

  m.ResetContourTriList();
  // The DXF writer's 3-D faces go first into a CAD file, when it asks for them.
  if (view3D && m.TriangleCount > 0 && s.Get(settings::View3DOptions::ShadedSurface)) DrawShading(s, m, device);

  // Areas painted solid go beneath every line.
  const bool cutFill = options.cutFill && CutFillMapDrawable(session, *options.cutFill);
  if (cutFill) DrawCutFillBands(session, *options.cutFill, device);

  if (m.TriangleCount > 0 && shown(MapOptionPage::Triangles)) {
    const LineMode3D mode(s);
    DrawTriangles(s, m, device);
  }
  if (m.BreaklineCount > 0 && shown(MapOptionPage::Breaklines) && !(options.breaklineEditorOpen && screenMap)) {
    {
      const LineMode3D mode(s);
      DrawBreaklines(s, m, device);
    }
    if (s.Get(device::BreaklineOptions::ShowNumbers)) DrawBreaklineNumbers(s, m, device);
  }
  if (m.PointCount > 0 && shown(MapOptionPage::SurfaceGrid)) {
    if (view3D) {
      if (m.TriangleCount > 0) {
        const LineMode3D mode(s);
        grid = DrawDrapedGrid(session, device);
      }
    } else {
      grid = DrawSurfaceGrid(session, device);
    }
  }
  if (m.TriangleCount > 0 && shown(MapOptionPage::Contours)) contours = DrawContours(session, device, state);
  if (m.TriangleCount > 0 && shown(MapOptionPage::SurfaceAnalyzer)) DrawAnalysisDiagrams(session, device);
  if (cutFill) DrawCutFillLabels(session, *options.cutFill, device);
  if (options.vectors) DrawAccumulatedVectors(s, *options.vectors, device);
  if (m.PointCount > 0 && shown(MapOptionPage::Border) && !(options.borderEditorOpen && screenMap))
    DrawBorder(s, m, device, view3D);
  if (m.PointCount > 0 && shown(MapOptionPage::Points)) {
    if (s.Get(device::PointOptions::ShowPath)) DrawTravelPath(s, m, device);
    device.pointLabelScaling = true;
    DrawMarkers(s, m, device);
    if (s.Get(device::PointOptions::ShowNumber) || s.Get(device::PointOptions::ShowLabel) || s.Get(device::PointOptions::ShowElevation))
      DrawPointLabels(s, m, device);
    device.pointLabelScaling = false;
  }
  if (m.PointCount > 0 && !cad) {
    if (shown(MapOptionPage::Miscellaneous)) DrawMiscellaneous(session, device, view3D);
    if (shown(MapOptionPage::Titles)) DrawTitles(session, device);
    if (cutFill) DrawCutFillLegend(session, *options.cutFill, device);
  }

  if (contours.capped && !contours.refused) session.port.ShowWarning(TooManyLinesWarning(true));
  if (grid.capped && !grid.refused) session.port.ShowWarning(TooManyLinesWarning(false));
  return !contours.refused && !grid.refused;
}

}  // namespace terravue::mapping
