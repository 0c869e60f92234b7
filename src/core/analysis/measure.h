#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "analysis/flow.h"
#include "model/indices.h"

namespace terravue {
class SettingsRecord;
namespace model {
class SurfaceModel;
}
}  // namespace terravue

// The measuring tools: Length over picked data points and accumulator vertices, Query Triangle
// over picked triangles, and the breakline query. Each gives its dialog the texts it shows;
// numbers have 3 decimals, angles are degrees, areas square model units.
namespace terravue::analysis {

class VectorAccumulator;

// One Length pick: a data point or a vertex of the vector accumulator (numbered from 1).
struct LengthPick {
  std::uint16_t index = 0;
  bool dataPoint = true;
  friend bool operator==(const LengthPick&, const LengthPick&) = default;
};

// The candidate a click at (x, y) picks: the nearest data point, unless an accumulator vertex
// lies strictly nearer. Nothing (index 0) on an empty model.
LengthPick NearestLengthPick(const model::SurfaceModel& m, const VectorAccumulator& vectors, double x, double y);
// Where a pick lies; a pick that no longer exists lies at the origin.
TracePoint PickPosition(const model::SurfaceModel& m, const VectorAccumulator& vectors, const LengthPick& pick);
// "P: 12" or "V: 3", as the pick list shows it.
std::string PickText(const LengthPick& pick);

// A caption and its value in a dialog; hidden rows are not shown.
struct InfoRow {
  std::string caption;
  std::string value;
  bool visible = true;
};

struct LengthInfo {
  std::string totalPoints;  // "Total points: 3"
  std::string slopeDistance, horizontalDistance, verticalDistance;
  bool showElevation = false;
  std::string highest, lowest, difference;
  bool showOther = false;
  InfoRow other1, other2;
  bool closed = false;
};
// For two picks or more. Two picks give the grade between them (N/A when they share a plan
// position) and the direction; three the angle at the middle one; a closed path its area.
LengthInfo DescribeLength(const std::vector<TracePoint>& path, bool closed, const SettingsRecord& settings);

struct TriangleQueryInfo {
  std::string totalTriangles;            // "Total triangles: 2"
  std::vector<std::string> triangles;    // the list, in pick order
  std::string lastSlope, lastArea2D, lastArea3D;  // slopes with " %"
  std::string averageSlope, minimumSlope, maximumSlope;
  std::string area2D, area3D, area2DLarge, area3DLarge;
  std::string largeCaption;  // "Hectares:" or "Acres:"
};
// Slopes here are 100 x the sine of the inclination, as the slope zones measure them.
TriangleQueryInfo DescribeTriangles(const model::SurfaceModel& m, const std::vector<TriangleIndex>& triangles,
                                    const SettingsRecord& settings);

struct BreaklineQueryInfo {
  std::string number;                 // "Breakline number: 4"
  std::string fromPoint, toPoint;     // "Point #12"
  std::string firstCaption, secondCaption, thirdCaption;  // the coordinate columns
  std::string fromFirst, fromSecond, fromZ, toFirst, toSecond, toZ;
  std::string slopeDistance, horizontalDistance, verticalDistance;
  std::string slope;                  // the grade, or "N/A" for a vertical breakline
  std::string angleCaption, angle;
  bool previousEnabled = false, nextEnabled = false;
};
// Nothing (an empty number) for an index out of range or a breakline with a spoiled end.
BreaklineQueryInfo DescribeBreakline(const model::SurfaceModel& m, BreaklineIndex i, const SettingsRecord& settings);

}  // namespace terravue::analysis
