#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace terravue {
class SettingsRecord;
class TextReport;
class UserPort;
struct Session;
namespace model {
class SurfaceModel;
}
}  // namespace terravue

// Surface Analyzer > Text Output: the surface statistics with the slope zone table (the
// "Surface Model Information" report) or the list of the vector accumulator's vertices (the
// "Vector Information" report), and the slope zone settings, which the density diagram shares.
namespace terravue::analysis {

class VectorAccumulator;

// [minSlope, maxSlope] cut into zoneCount equal widths; zone 0 collects the slopes below
// minSlope, zone k (1..zoneCount) those from minSlope + (k - 1) w up to below minSlope + k w,
// and zone zoneCount + 1 those of maxSlope and above. Percent, as SlopePercent measures.
struct SlopeZones {
  double minSlope = 0;
  double maxSlope = 0;
  int zoneCount = 1;  // 1..100

  static SlopeZones FromSettings(const SettingsRecord& settings);
  double Width() const { return (maxSlope - minSlope) / zoneCount; }
  // The zone of a slope, 0..zoneCount + 1. Equal bounds leave every zone between them empty.
  int ZoneOf(double slope) const;
  // The upper bound printed for zone k.
  double UpperBound(int zone) const;
};

struct SurfaceStats {
  double Area2D = 0, Area3D = 0;
  double SimpleAverage = 0, TriangleAverage = 0, SurfaceMean = 0;
  // Filled when the slope zones were asked for; 0 without triangles.
  bool slopes = false;
  double AverageSlope = 0, MinSlopeFound = 0, MaxSlopeFound = 0;
  std::vector<double> ZoneArea2D, ZoneArea3D;  // zone 0 .. zoneCount + 1
};

// The statistics of the model's triangles; the zones only when given. A model without
// triangles has no areas; its area-weighted means and slopes read 0.
SurfaceStats ComputeSurfaceStats(const model::SurfaceModel& m, const SlopeZones* zones);

// The report bodies after the standard header. The model's extents must be current.
void WriteSurfaceInformation(TextReport& report, const model::SurfaceModel& m, const SurfaceStats& stats,
                             const SlopeZones& zones, bool metric, bool eastingFirst);
void WriteVectorInformation(TextReport& report, const VectorAccumulator& vectors, bool eastingFirst);

// ---- The dialog -------------------------------------------------------------------------------

// What the slope zone dialog shows and hands back. In density mode (opened by the map options
// when the density diagram is based on slope) it only edits the zones.
struct SlopeZoneForm {
  bool densityMode = false;
  bool offerVectorInformation = false;  // the output type choice is shown
  bool vectorInformation = false;       // "Vector Information" chosen
  bool includeSlopeZones = true;
  std::string minSlope, maxSlope;       // (12:3) texts
  int zoneCount = 1;
};

SlopeZoneForm LoadSlopeZoneForm(const SettingsRecord& settings, bool densityMode, bool includeSlopeZones,
                                bool accumulatorHasVertices);
// "Continue": the zone settings stored from the form. A bound that does not read as a number,
// or a minimum above the maximum, turns the slope zones off with its message; the zone count is
// held within 1..100. Returns whether the slope zones stay included.
bool StoreSlopeZoneForm(UserPort& port, SettingsRecord& settings, const SlopeZoneForm& form);

// The dialog as the front end shows it: the form handed back on Continue, nothing on Cancel.
using SlopeZoneDialog = std::function<std::optional<SlopeZoneForm>(const SlopeZoneForm&)>;

// Surface Analyzer > Text Output. `includeSlopeZones` is the dialog's choice kept while the
// program runs. Returns false when nothing was shown (cancelled, or the work file failed).
bool TextOutputCommand(Session& session, const VectorAccumulator& vectors, bool& includeSlopeZones,
                       const SlopeZoneDialog& dialog);
// The map options' density base set to "Slope": the zone dialog in density mode. False when the
// slope zones ended up off (or the dialog was cancelled): the density diagram goes back to None.
bool SlopeDensityCommand(UserPort& port, SettingsRecord& settings, bool& includeSlopeZones,
                         const SlopeZoneDialog& dialog);

}  // namespace terravue::analysis
