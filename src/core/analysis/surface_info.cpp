#include "analysis/surface_info.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "analysis/facets.h"
#include "analysis/vector_accumulator.h"
#include "common/app_settings.h"
#include "common/format.h"
#include "common/messages.h"
#include "common/session.h"
#include "common/settings_record.h"
#include "common/text_report.h"
#include "common/user_port.h"
#include "device/map_options.h"
#include "model/surface_model.h"

namespace terravue::analysis {
namespace {

constexpr double SquareMetresPerHectare = 10000;
constexpr double SquareFeetPerSquareYard = 9;
constexpr double SquareFeetPerAcre = 43560;
constexpr int VectorRuleWidth = 70;

std::string Real(double v, int width, int decimals = 3) { return FormatReal(v, width, decimals); }

std::string Join(std::initializer_list<std::string_view> parts) {
  std::string text;
  for (std::string_view part : parts) text += part;
  return text;
}

// A share of a whole in percent; nothing of nothing is 0.
double Share(double part, double whole) { return whole > 0 ? part / whole * 100 : 0; }

void WriteExtents(TextReport& r, const model::SurfaceModel& m, bool eastingFirst) {
  const std::string x = Join({msg::SurfaceInfoMinimumX, Real(m.MinX, 12), msg::SurfaceInfoMaximumX, Real(m.MaxX, 12)});
  const std::string y = Join({msg::SurfaceInfoMinimumY, Real(m.MinY, 12), msg::SurfaceInfoMaximumY, Real(m.MaxY, 12)});
  r.WriteLine(msg::SurfaceInfoFieldExtents);
  r.WriteLine(eastingFirst ? x : y);
  r.WriteLine(eastingFirst ? y : x);
  r.WriteLine(Join({msg::SurfaceInfoMinimumZ, Real(m.MinZ, 12), msg::SurfaceInfoMaximumZ, Real(m.MaxZ, 12)}));
}

void WriteAreas(TextReport& r, const SurfaceStats& st, bool metric) {
  if (metric) {
    r.WriteLine(Join({msg::SurfaceInfoArea2DMetres, Real(st.Area2D, 16)}));
    r.WriteLine(Join({msg::SurfaceInfoHectares, Real(st.Area2D / SquareMetresPerHectare, 16)}));
    r.WriteLine("");
    r.WriteLine(Join({msg::SurfaceInfoArea3DMetres, Real(st.Area3D, 16)}));
    r.WriteLine(Join({msg::SurfaceInfoHectares, Real(st.Area3D / SquareMetresPerHectare, 16)}));
    return;
  }
  for (const bool true3D : {false, true}) {
    const double area = true3D ? st.Area3D : st.Area2D;
    if (true3D) r.WriteLine("");
    r.WriteLine(Join({true3D ? msg::SurfaceInfoArea3DFeet : msg::SurfaceInfoArea2DFeet, Real(area, 16)}));
    r.WriteLine(Join({msg::SurfaceInfoSquareYards, Real(area / SquareFeetPerSquareYard, 16)}));
    r.WriteLine(Join({msg::SurfaceInfoAcres, Real(area / SquareFeetPerAcre, 16)}));
  }
}

void WriteSlopeZones(TextReport& r, const SurfaceStats& st, const SlopeZones& zones) {
  r.WriteLine("");
  r.WriteLine(msg::SlopeAnalysisTitle);
  r.WriteLine(msg::SlopeSineNote);
  r.WriteLine(Join({msg::SlopeMinimum, Real(st.MinSlopeFound, 12, 5), msg::PercentSuffix}));
  r.WriteLine(Join({msg::SlopeMaximum, Real(st.MaxSlopeFound, 12, 5), msg::PercentSuffix}));
  r.WriteLine(Join({msg::SlopeAverage, Real(st.AverageSlope, 12, 5), msg::PercentSuffix}));
  r.WriteLine("");
  r.WriteLine(msg::SlopeZoneColumns);
  r.WriteLine(msg::SlopeZoneRule);
  const int last = zones.zoneCount + 1;
  for (int k = 0; k <= last && static_cast<std::size_t>(k) < st.ZoneArea2D.size(); ++k) {
    const auto zone = static_cast<std::size_t>(k);
    r.WriteLine(Join({k == last ? msg::SlopeZoneFrom : msg::SlopeZoneBelow, Real(zones.UpperBound(k), 12), "   ",
                      Real(st.ZoneArea2D[zone], 16), " ", Real(Share(st.ZoneArea2D[zone], st.Area2D), 6, 2), "   ",
                      Real(st.ZoneArea3D[zone], 16), " ", Real(Share(st.ZoneArea3D[zone], st.Area3D), 6, 2)}));
  }
}

}  // namespace

// ---- Zones and statistics ---------------------------------------------------------------------

SlopeZones SlopeZones::FromSettings(const SettingsRecord& s) {
  using namespace device::AnalyzerOptions;
  SlopeZones z;
  z.minSlope = s.Get(MinSlope);
  z.maxSlope = s.Get(MaxSlope);
  z.zoneCount = std::clamp<int>(s.Get(ZoneCount), 1, MaxZoneCount);
  return z;
}

int SlopeZones::ZoneOf(double slope) const {
  const double w = Width();
  for (int k = 0; k <= zoneCount; ++k)
    if (minSlope + k * w > slope) return k;
  return zoneCount + 1;
}

double SlopeZones::UpperBound(int zone) const {
  if (zone > zoneCount) return maxSlope;
  return minSlope + zone * Width();
}

SurfaceStats ComputeSurfaceStats(const model::SurfaceModel& m, const SlopeZones* zones) {
  SurfaceStats st;
  double sumZ = 0;
  for (PointIndex p = 1; p <= m.PointCount; ++p) sumZ += m.PointZ[p];
  if (m.PointCount > 0) st.SimpleAverage = sumZ / m.PointCount;

  if (zones) {
    st.slopes = true;
    st.ZoneArea2D.assign(static_cast<std::size_t>(zones->zoneCount) + 2, 0.0);
    st.ZoneArea3D.assign(st.ZoneArea2D.size(), 0.0);
  }
  double minSlope = 1.7e308, maxSlope = -1.7e308;
  std::size_t triangles = 0;
  double sumMeans = 0;
  for (TriangleIndex t = 1; t <= m.TriangleCount; ++t) {
    if (!ValidTriangle(m, t)) continue;
    const Facet f = FacetOf(m, t);
    ++triangles;
    st.Area2D += f.area2D;
    st.Area3D += f.area3D;
    sumMeans += f.meanZ;
    st.SurfaceMean += f.meanZ * f.area2D;
    if (!zones) continue;
    const double s = SlopePercent(f);
    minSlope = std::min(minSlope, s);
    maxSlope = std::max(maxSlope, s);
    st.AverageSlope += s * f.area2D;
    const auto k = static_cast<std::size_t>(zones->ZoneOf(s));
    st.ZoneArea2D[k] += f.area2D;
    st.ZoneArea3D[k] += f.area3D;
  }
  if (triangles > 0) st.TriangleAverage = sumMeans / static_cast<double>(triangles);
  if (st.Area2D > 0) {
    st.SurfaceMean /= st.Area2D;
    st.AverageSlope /= st.Area2D;
  } else {
    st.SurfaceMean = st.AverageSlope = 0;
  }
  if (triangles > 0 && zones) {
    st.MinSlopeFound = minSlope;
    st.MaxSlopeFound = maxSlope;
  }
  return st;
}

// ---- Reports ----------------------------------------------------------------------------------

void WriteSurfaceInformation(TextReport& r, const model::SurfaceModel& m, const SurfaceStats& st,
                             const SlopeZones& zones, bool metric, bool eastingFirst) {
  r.WriteLine("");
  r.WriteLine(Join({msg::SurfaceInfoThereAre, FormatInteger(m.PointCount, 0), msg::SurfaceInfoDataPoints}));
  r.WriteLine("");
  WriteExtents(r, m, eastingFirst);
  r.WriteLine("");
  r.WriteLine(Join({msg::SurfaceInfoSimpleAverage, Real(st.SimpleAverage, 12)}));
  r.WriteLine(Join({msg::SurfaceInfoTriangleAverage, Real(st.TriangleAverage, 12)}));
  r.WriteLine(Join({msg::SurfaceInfoSurfaceMean, Real(st.SurfaceMean, 12)}));
  r.WriteLine("");
  WriteAreas(r, st, metric);
  r.WriteLine("");
  if (st.slopes) WriteSlopeZones(r, st, zones);
}

void WriteVectorInformation(TextReport& r, const VectorAccumulator& vectors, bool eastingFirst) {
  const std::string rule(VectorRuleWidth, '-');
  r.WriteLine("");
  r.WriteLine(Join({msg::TotalVertices, FormatInteger(static_cast<std::int64_t>(vectors.VertexCount()), 0)}));
  r.WriteLine(Join({msg::TotalVectors, FormatInteger(static_cast<std::int64_t>(vectors.VectorCount()), 0)}));
  if (vectors.AnyClosedHead()) r.WriteLine(msg::ClosedHeadNote);
  r.WriteLine("");
  r.WriteLine(eastingFirst ? msg::VectorColumnsXY : msg::VectorColumnsYX);
  r.WriteLine(rule);
  for (std::size_t k = 1; k <= vectors.VertexCount(); ++k) {
    const VectorVertex& v = vectors.Vertex(k);
    if (k > 1 && !v.ContinuesPrevious) r.WriteLine(rule);
    r.WriteLine(Join({" ", FormatInteger(static_cast<std::int64_t>(k), 5), " ", Real(eastingFirst ? v.X : v.Y, 20), " ",
                      Real(eastingFirst ? v.Y : v.X, 20), " ", Real(v.Z, 20), " ",
                      v.ContinuesPrevious && v.ClosedHead ? "*" : ""}));
  }
}

// ---- The dialog and the commands --------------------------------------------------------------

SlopeZoneForm LoadSlopeZoneForm(const SettingsRecord& s, bool densityMode, bool includeSlopeZones,
                                bool accumulatorHasVertices) {
  const SlopeZones zones = SlopeZones::FromSettings(s);
  SlopeZoneForm f;
  f.densityMode = densityMode;
  f.offerVectorInformation = !densityMode && accumulatorHasVertices;
  f.vectorInformation = f.offerVectorInformation;
  f.includeSlopeZones = densityMode || includeSlopeZones;
  f.minSlope = Real(zones.minSlope, 12);
  f.maxSlope = Real(zones.maxSlope, 12);
  f.zoneCount = zones.zoneCount;
  return f;
}

bool StoreSlopeZoneForm(UserPort& port, SettingsRecord& s, const SlopeZoneForm& f) {
  using namespace device::AnalyzerOptions;
  bool include = f.includeSlopeZones;
  if (include) {
    const auto low = ParseReal(f.minSlope);
    const auto high = ParseReal(f.maxSlope);
    if (!low) port.ShowError(msg::InvalidMinimumSlope);
    else s.Set(MinSlope, *low);
    if (!high) port.ShowError(msg::InvalidMaximumSlope);
    else s.Set(MaxSlope, *high);
    if (!low || !high) {
      include = false;
    } else if (*low > *high) {
      include = false;
      port.ShowError(msg::MinimumSlopeAboveMaximum);
    }
    s.Set(ZoneCount, std::clamp(f.zoneCount, 1, MaxZoneCount));
  }
  return include;
}

bool TextOutputCommand(Session& session, const VectorAccumulator& vectors, bool& includeSlopeZones,
                       const SlopeZoneDialog& dialog) {
  SettingsRecord& s = session.settings;
  const SlopeZoneForm shown = LoadSlopeZoneForm(s, false, includeSlopeZones, vectors.VertexCount() > 0);
  const std::optional<SlopeZoneForm> chosen = dialog(shown);
  if (!chosen) return false;
  const bool vectorList = shown.offerVectorInformation && chosen->vectorInformation;
  if (!vectorList) includeSlopeZones = StoreSlopeZoneForm(session.port, s, *chosen);
  const bool eastingFirst = settings::EastingFirst(s);

  const ReportKind& kind = vectorList ? reports::VectorInformation : reports::SurfaceInformation;
  TextReport report;
  if (!report.Open(session.workDirectory, kind.workName)) {
    session.port.ShowError(vectorList ? msg::UnableToDisplayVectors : msg::UnableToDisplaySurfaceInformation);
    return false;
  }
  report.WriteHeader(kind.title, s, session.model.Comment(), session.clock());
  if (vectorList) {
    WriteVectorInformation(report, vectors, eastingFirst);
  } else {
    model::SurfaceModel& m = session.model;
    m.ComputeExtents();
    const SlopeZones zones = SlopeZones::FromSettings(s);
    const SurfaceStats stats = ComputeSurfaceStats(m, includeSlopeZones ? &zones : nullptr);
    WriteSurfaceInformation(report, m, stats, zones, s.Get(settings::Units) == 1, eastingFirst);
  }
  ShowReport(session, report, kind);
  return true;
}

bool SlopeDensityCommand(UserPort& port, SettingsRecord& s, bool& includeSlopeZones, const SlopeZoneDialog& dialog) {
  includeSlopeZones = true;
  const std::optional<SlopeZoneForm> chosen = dialog(LoadSlopeZoneForm(s, true, true, false));
  if (!chosen) return includeSlopeZones;
  SlopeZoneForm form = *chosen;
  form.includeSlopeZones = true;
  includeSlopeZones = StoreSlopeZoneForm(port, s, form);
  return includeSlopeZones;
}

}  // namespace terravue::analysis
