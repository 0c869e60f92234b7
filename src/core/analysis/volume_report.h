#pragma once

#include <string>
#include <vector>

#include "analysis/volume.h"

namespace terravue {
class TextReport;
struct Session;
namespace model {
class SurfaceModel;
}
}  // namespace terravue

// The Volume Analysis report: the two surfaces, the common, cut and fill areas, the volumes with
// their factored ("Net") values and ratios, where the largest cut and fill are, the comments,
// and the Cut/Fill Data Listings.
namespace terravue::analysis {

// One surface as the report names and lists it.
struct VolumeReportSurface {
  std::string fileName;  // "Border of SITE.MDL" for the existing surface of a single-surface run
  std::string comment;   // Latin-1; empty prints "none"
  const model::SurfaceModel* model = nullptr;       // the points listed
  const std::vector<double>* cutFill = nullptr;     // per point, 1-based
};

struct VolumeReportData {
  VolumeReportSurface existing;
  VolumeReportSurface proposed;
  VolumeTotals totals;
};

// The lines after the standard header. Metric: areas in hectares and volumes in cubic meters;
// English: acres and cubic yards. eastingFirst: X before Y, else Northing before Easting.
void WriteVolumeReportBody(TextReport& report, const VolumeReportData& data, const VolumeReportOptions& options,
                           bool metric, bool eastingFirst);

// Writes the whole report to its work file (header from the session's model and settings, units
// and coordinate order from the settings) and shows it. False, after "Unable to display output.",
// when the work file cannot be created.
bool ShowVolumeReport(Session& session, const VolumeReportData& data, const VolumeReportOptions& options);

}  // namespace terravue::analysis
