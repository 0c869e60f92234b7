#include "mapping/analysis_drawing.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "analysis/cut_fill_map.h"
#include "analysis/facets.h"
#include "analysis/flow.h"
#include "analysis/surface_info.h"
#include "analysis/vector_accumulator.h"
#include "common/app_settings.h"
#include "common/format.h"
#include "common/messages.h"
#include "common/session.h"
#include "common/settings_record.h"
#include "common/user_port.h"
#include "common/view3d_settings.h"
#include "device/drawing_device.h"
#include "device/map_options.h"
#include "mapping/line_mode_3d.h"
#include "mapping/map_options_edit.h"
#include "mapping/title_block.h"
#include "model/surface_model.h"

namespace terravue::mapping {
namespace {

using analysis::DiagramStyle;
using analysis::TracePoint;
using device::DeviceKind;
using device::DrawingDevice;
using device::WorldPoint;
namespace opt = device::AnalyzerOptions;

constexpr double NearZeroBound = 0.0001;
// The cut/fill labels' marker: a cross.
constexpr int CutFillMarkerKind = 2;

WorldPoint At(const TracePoint& p) { return {p.x, p.y, p.z}; }

bool SamePlan(const WorldPoint& a, const WorldPoint& b) {
  return std::fabs(a.x - b.x) < NearZeroBound && std::fabs(a.y - b.y) < NearZeroBound;
}

// Traces and edges of the flow path and ridge diagrams drawn as arrows, each part in its
// colour, layer and width.
class DiagramDrawer : public analysis::DiagramSink {
 public:
  DiagramDrawer(const SettingsRecord& s, DrawingDevice& d) : s_(s), d_(d) {}

  void Start(const TracePoint&) override {}
  bool Segment(const TracePoint& a, const TracePoint& b, bool closedHead) override {
    device::PlotArrow(d_, At(a), At(b), closedHead);
    return true;
  }
  void SetStyle(DiagramStyle style) override {
    if (style_ == style) return;
    style_ = style;
    switch (style) {
      case DiagramStyle::Flow:
        d_.DeviceSetLayer(s_.Get(opt::FlowColour), s_.Get(opt::FlowLayer));
        d_.DeviceSetWidth(s_.Get(opt::FlowWidth));
        break;
      case DiagramStyle::Watershed:
        d_.DeviceSetLayer(s_.Get(opt::WatershedColour), s_.Get(opt::WatershedLayer));
        d_.DeviceSetWidth(s_.Get(opt::WatershedWidth));
        break;
      case DiagramStyle::Ridge:
        d_.DeviceSetLayer(s_.Get(opt::RidgeColour), s_.Get(opt::RidgeLayer));
        d_.DeviceSetWidth(s_.Get(opt::RidgeWidth));
        break;
    }
  }

 private:
  const SettingsRecord& s_;
  DrawingDevice& d_;
  std::optional<DiagramStyle> style_;
};

void DrawDensity(const SettingsRecord& s, const model::SurfaceModel& m, DrawingDevice& d) {
  d.DeviceSetLayer(s.Get(opt::DensityColour), s.Get(opt::DensityLayer));
  d.DeviceSetWidth(0);
  analysis::DensityOptions o;
  o.bySlope = s.Get(opt::DensityBySlope);
  o.zones = analysis::SlopeZones::FromSettings(s);
  o.reversed = s.Get(opt::ReversePattern);
  for (TriangleIndex t = 1; t <= m.TriangleCount; ++t) {
    if (!analysis::ValidTriangle(m, t)) continue;
    const auto& c = m.TriVertex[t];
    const std::array<WorldPoint, 3> corners = {WorldPoint{m.PointX[c[0]], m.PointY[c[0]], m.PointZ[c[0]]},
                                               WorldPoint{m.PointX[c[1]], m.PointY[c[1]], m.PointZ[c[1]]},
                                               WorldPoint{m.PointX[c[2]], m.PointY[c[2]], m.PointZ[c[2]]}};
    d.DeviceDensityFill(corners, analysis::TriangleDensity(analysis::FacetOf(m, t), o, m.MinZ, m.MaxZ));
  }
}

// False when the grid points ran out.
bool DrawDownSlope(const SettingsRecord& s, const model::SurfaceModel& m, DrawingDevice& d) {
  d.DeviceSetLayer(s.Get(opt::DownSlopeColour), s.Get(opt::DownSlopeLayer));
  d.DeviceSetWidth(s.Get(opt::DownSlopeWidth));
  analysis::ArrowOptions o;
  o.magnitude = s.Get(opt::ArrowMagnitude);
  o.proportional = s.Get(opt::ProportionalArrows);
  o.atCentres = s.Get(opt::ArrowsAtTriangleCentres);
  o.atGridPoints = s.Get(opt::ArrowsAtGridPoints);
  o.spacing = s.Get(opt::DownSlopeGridSpacing);
  return analysis::DownSlopeArrows(
      m, o, [&](const TracePoint& a, const TracePoint& b) { device::PlotArrow(d, At(a), At(b), false); });
}

}  // namespace

void DrawAnalysisDiagrams(Session& session, DrawingDevice& d) {
  SettingsRecord& s = session.settings;
  const model::SurfaceModel& m = session.model;
  bool capped = false, arrowsCapped = false, pivotError = false;
  try {
    if (s.Get(opt::ShowDensity) && d.Kind() != DeviceKind::CadFile) DrawDensity(s, m, d);
    const LineMode3D mode(s);
    if (s.Get(opt::ShowDownSlope)) arrowsCapped = !DrawDownSlope(s, m, d);
    DiagramDrawer drawer(s, d);
    if (s.Get(opt::ShowFlowPath)) {
      analysis::FlowOptions o;
      o.fromDataPoints = s.Get(opt::StartAtPoints);
      o.fromTriangleCentres = s.Get(opt::StartAtTriangleCentres);
      o.fromGridPoints = s.Get(opt::StartAtGridPoints);
      o.spacing = s.Get(opt::FlowGridSpacing);
      o.continueFromEnds = s.Get(opt::ContinueFromEnds);
      o.watersheds = s.Get(opt::ShowWatersheds);
      const analysis::DiagramOutcome outcome = analysis::FlowPathDiagram(m, o, drawer);
      capped |= outcome.capped;
      pivotError |= outcome.pivotError;
    }
    if (s.Get(opt::ShowRidges)) {
      const analysis::DiagramOutcome outcome = analysis::RidgeDiagram(m, s.Get(opt::ContinueFromRidgeEnds), drawer);
      capped |= outcome.capped;
      pivotError |= outcome.pivotError;
    }
  } catch (const std::bad_alloc&) {
    session.port.ShowError(msg::InsufficientMemoryForFlowPath);
    return;
  }
  if (arrowsCapped)
    session.port.ShowWarning(std::string(msg::ArrowsCappedPrefix) + std::to_string(analysis::GridPointBudget) +
                             std::string(msg::ArrowsCappedSuffix));
  if (capped) session.port.ShowWarning(analysis::TraceCappedMessage(analysis::SurfaceTracer::DefaultSegmentBudget));
  if (pivotError) session.port.ShowError(msg::ErrorInPivoting);
}

void DrawAccumulatedVectors(const SettingsRecord& s, const analysis::VectorAccumulator& vectors, DrawingDevice& d) {
  if (vectors.VertexCount() < 2) return;
  d.DeviceSetLayer(s.Get(opt::VectorColour), s.Get(opt::VectorLayer));
  d.DeviceSetWidth(s.Get(opt::VectorWidth));
  for (std::size_t k = 2; k <= vectors.VertexCount(); ++k) {
    const analysis::VectorVertex& v = vectors.Vertex(k);
    if (!v.ContinuesPrevious) continue;
    const analysis::VectorVertex& u = vectors.Vertex(k - 1);
    const WorldPoint a{u.X, u.Y, u.Z}, b{v.X, v.Y, v.Z};
    if (!SamePlan(a, b)) device::PlotArrow(d, a, b, v.ClosedHead);
  }
}

// ---- The cut/fill map ---------------------------------------------------------------------------

bool CutFillMapDrawable(const Session& session, const analysis::CutFillMap& map) {
  const SettingsRecord& s = session.settings;
  return !map.Empty() && s.Get(opt::ShowCutFill) && GroupDrawable(s, MapOptionPage::SurfaceAnalyzer) &&
         !s.Get(settings::View3DOptions::View3D) && session.model.TriangleCount > 0 &&
         analysis::SurfaceKey(session.model) == map.surfaceKey;
}

namespace {

struct BandCorner {
  double x, y, d;
};

// The part of a convex polygon where d >= level (keepAbove) or d <= level; d is linear over it.
std::vector<BandCorner> ClipAtLevel(const std::vector<BandCorner>& in, double level, bool keepAbove) {
  std::vector<BandCorner> out;
  const std::size_t n = in.size();
  for (std::size_t i = 0; i < n; ++i) {
    const BandCorner& p = in[i];
    const BandCorner& q = in[(i + 1) % n];
    const double sp = keepAbove ? p.d - level : level - p.d;
    const double sq = keepAbove ? q.d - level : level - q.d;
    if (sp >= 0) out.push_back(p);
    if ((sp >= 0) != (sq >= 0)) {
      const double t = sp / (sp - sq);
      out.push_back({p.x + t * (q.x - p.x), p.y + t * (q.y - p.y), level});
    }
  }
  return out;
}

}  // namespace

void DrawCutFillBands(Session& session, const analysis::CutFillMap& map, DrawingDevice& d) {
  const SettingsRecord& s = session.settings;
  const analysis::CutFillScale scale = analysis::CutFillScale::For(map.deepestCut, map.highestFill);
  d.DeviceSetLayer(s.Get(settings::MapInkColour), s.Get(opt::CutFillLayer));
  d.DeviceSetWidth(0);
  const double z = session.model.MinZ;
  std::vector<BandCorner> polygon;
  std::vector<WorldPoint> corners;
  const auto fill = [&](const std::vector<BandCorner>& part, int band) {
    if (part.size() < 3) return;
    corners.clear();
    for (const BandCorner& c : part) corners.push_back({c.x + map.originX, c.y + map.originY, z});
    d.DeviceFillPolygon(corners, scale.Colour(band));
  };
  for (std::size_t i = 0; i < map.PolygonCount(); ++i) {
    polygon.clear();
    double low = HUGE_VAL, high = -HUGE_VAL;
    for (const auto* c = map.Begin(i); c != map.End(i); ++c) {
      polygon.push_back({c->x, c->y, c->d});
      low = std::min(low, double{c->d});
      high = std::max(high, double{c->d});
    }
    const int first = scale.BandOf(low), last = scale.BandOf(high);
    if (first == last) {
      fill(polygon, first);
      continue;
    }
    for (int band = first; band <= last; ++band) {
      if (band == 0) continue;
      std::vector<BandCorner> part = polygon;
      // The outermost bands are open-ended; the zero level parts cut from fill.
      if (band != first) part = ClipAtLevel(part, scale.Lower(band), true);
      if (band != last) part = ClipAtLevel(part, scale.Upper(band), false);
      fill(part, band);
    }
  }
}

void DrawCutFillLabels(Session& session, const analysis::CutFillMap& map, DrawingDevice& d) {
  const SettingsRecord& s = session.settings;
  const std::uint32_t ink = s.Get(device::MiscOptions::Colour);
  d.DeviceSetLayer(ink, s.Get(opt::CutFillLayer));
  d.DeviceSetWidth(0);
  d.DeviceSetTextStyle(ink, s.Get(device::PointOptions::TextHeight));
  d.text.AnchorLeft();
  const double z = session.model.MinZ;
  const double size = s.Get(device::PointOptions::MarkerHeight);
  const auto label = [&](std::string_view caption, double value, double x, double y) {
    if (!(value > 0)) return;
    d.DeviceMarker(CutFillMarkerKind, x, y, z, size);
    d.DeviceText(std::string(caption) + FormatReal(value, 0, 3), 0, x + std::fabs(size) / 2 + d.text.TextCharWidth,
                 y, z, 1);
  };
  label(msg::LargestCut, map.deepestCut, map.cutX, map.cutY);
  label(msg::LargestFill, map.highestFill, map.fillX, map.fillY);
  d.DeviceEndText();
}

void DrawCutFillLegend(Session& session, const analysis::CutFillMap& map, DrawingDevice& d) {
  const analysis::CutFillScale scale = analysis::CutFillScale::For(map.deepestCut, map.highestFill);
  d.DeviceSetLayer(session.settings.Get(device::MiscOptions::Colour), session.settings.Get(opt::CutFillLayer));
  std::vector<LegendEntry> entries;
  const auto text = [&](int band) {
    const auto level = [&](double v) { return FormatReal(v, 0, scale.decimals); };
    return level(scale.Lower(band)) + std::string(msg::CutFillLegendTo) + level(scale.Upper(band));
  };
  for (int band = scale.fillBands; band >= 1; --band) entries.push_back({scale.Colour(band), text(band)});
  for (int band = -1; band >= -scale.cutBands; --band) entries.push_back({scale.Colour(band), text(band)});
  DrawLegend(session, d, msg::CutFillLegendTitle, entries);
}

}  // namespace terravue::mapping
