#pragma once

#include <cstdint>

#include "common/settings_record.h"

namespace terravue::model {
class SurfaceModel;
}
namespace terravue::device {
class DrawingDevice;
}

// The plan surface grid: lines of constant Easting and Northing at fixed intervals across the
// extents of the model at its lowest elevation, every n-th line in a second style, and their
// coordinates along the lower and left edges. (In the 3-D view the same lines are draped over
// the surface by the level-line tracer.)
namespace terravue::mapping {

class LineOutput;
struct SheetArea;

// The lines of one direction: k x interval for k = first..last. The window runs from the
// greatest multiple of the interval strictly below the data to the smallest strictly above it.
// No lines when the interval is (near) zero; the window is then the data's extent.
struct GridLines {
  double interval = 0;
  double start = 0, end = 0;
  std::int64_t first = 0, last = -1;
  bool capped = false;
  std::int64_t Count() const { return last >= first ? last - first + 1 : 0; }
  double At(std::int64_t k) const { return static_cast<double>(k) * interval; }
};
GridLines PlanGridLines(double low, double high, double interval, std::int64_t cap);

struct PlanGrid {
  GridLines x, y;
  bool capped = false;  // together they would have passed the lines drawn by one redraw
};
// The grid of the model's extents, at most MaxLinesPerRedraw lines in all.
PlanGrid LayOutPlanGrid(const SettingsRecord& settings, const model::SurfaceModel& model);

// The lines, through the line output so that dashes apply. On a sheet (`within` given) they are
// kept to the part of the sheet left to the map: cut short at its edges, and left out where they
// lie wholly off it, so that none runs through the title block or the scale bar.
void DrawPlanGrid(LineOutput& output, const SettingsRecord& settings, const model::SurfaceModel& model,
                  const PlanGrid& grid, const SheetArea* within = nullptr);
// The coordinates: vertical texts ending at the lower edge, horizontal ones at the left edge,
// on the layer the caller chose. On a sheet (`within` given) an edge that lies off the part of
// the sheet left to the map is pulled in to its side, and labels of lines outside that part are
// left out, so that none runs off the paper or into the title block.
void DrawGridLabels(device::DrawingDevice& device, const SettingsRecord& settings,
                    const model::SurfaceModel& model, const PlanGrid& grid, const SheetArea* within = nullptr);

}  // namespace terravue::mapping
