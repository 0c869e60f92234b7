#pragma once

namespace terravue {
class SettingsRecord;
struct Session;
}  // namespace terravue
namespace terravue::analysis {
class CutFillMap;
class VectorAccumulator;
}  // namespace terravue::analysis
namespace terravue::device {
class DrawingDevice;
}

// The surface analysis on the map: the diagrams the analyzer options switch on, the vectors the
// analyzer's commands accumulated, and the cut/fill map of the last volume run. The analysis
// computes them (analysis/); this draws them through the device, so that they print and go to
// CAD files like everything else.
namespace terravue::mapping {

// The density (not into CAD files), down slope, flow path and ridge diagrams, each when its own
// option is on, in its own colour, layer and width. Cut-short diagrams and failed pivots are
// reported to the user once the diagrams are drawn.
void DrawAnalysisDiagrams(Session& session, device::DrawingDevice& device);

// Every accumulated vector as an arrow, in the vector colour, layer and width.
void DrawAccumulatedVectors(const SettingsRecord& settings, const analysis::VectorAccumulator& vectors,
                            device::DrawingDevice& device);

// Whether the cut/fill map is to be drawn: switched on, in the plan view, and computed over the
// model as it now is.
bool CutFillMapDrawable(const Session& session, const analysis::CutFillMap& map);
// The differences painted in colour bands, on the map's own layer: first, beneath the lines.
void DrawCutFillBands(Session& session, const analysis::CutFillMap& map, device::DrawingDevice& device);
// The largest cut and fill marked and labelled, over the map's lines.
void DrawCutFillLabels(Session& session, const analysis::CutFillMap& map, device::DrawingDevice& device);
// The legend of the bands, with the sheet's furniture (not in CAD files).
void DrawCutFillLegend(Session& session, const analysis::CutFillMap& map, device::DrawingDevice& device);

}  // namespace terravue::mapping
