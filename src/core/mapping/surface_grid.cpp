#include "mapping/surface_grid.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "common/format.h"
#include "mapping/contour_smoothing.h"
#include "mapping/level_lines.h"
#include "device/map_options.h"
#include "mapping/map_options_edit.h"
#include "mapping/title_block.h"
#include "model/surface_model.h"
#include "device/drawing_device.h"

namespace terravue::mapping {
namespace {

using namespace device::SurfaceGridOptions;

constexpr double NearZeroBound = 0.0001;
constexpr double MaxLineIndex = 4503599627370496.0;  // 2^52: beyond it lines cannot be told apart

bool NearZero(double v) { return std::fabs(v) < NearZeroBound; }

bool Shows(int mode, bool indexLine) {
  const auto selection = static_cast<LineSelection>(mode);
  return selection == LineSelection::All ||
         selection == (indexLine ? LineSelection::Multiple : LineSelection::NonMultiple);
}

// One direction's lines in both styles, each from `low` to `high` across, and only those from
// `first` to `last` along. Consecutive lines run in opposite directions, which saves the pen its
// way back on a plotter.
void DrawLines(LineOutput& out, const SettingsRecord& s, const GridLines& lines, bool vertical, double low,
               double high, double first, double last, double z) {
  if (lines.Count() == 0 || !(low <= high)) return;
  device::DrawingDevice& device = out.Device();
  const int multiple = s.Get(Multiple);
  const int dashMode = s.Get(DashMode);
  double from = low, to = high;
  const auto line = [&](double at) {
    const device::WorldPoint a = vertical ? device::WorldPoint{at, from, z} : device::WorldPoint{from, at, z};
    const device::WorldPoint b = vertical ? device::WorldPoint{at, to, z} : device::WorldPoint{to, at, z};
    out.PrepareLine(false, 0);
    out.Point(a);
    out.BeginLinePen();
    out.Point(b);
    out.EndLine();
    std::swap(from, to);
  };
  if (multiple > 0) {
    out.SetDashFlag(Shows(dashMode, true));
    device.DeviceSetLayer(s.Get(MultipleColour), s.Get(MultipleLayer));
    device.DeviceSetWidth(s.Get(MultipleWidth));
    for (std::int64_t k = lines.first; k <= lines.last; ++k)
      if (IsIndexLevel(k, multiple) && lines.At(k) >= first && lines.At(k) <= last) line(lines.At(k));
  }
  if (multiple != 1) {
    out.SetDashFlag(Shows(dashMode, false));
    device.DeviceSetLayer(s.Get(PrimaryColour), s.Get(PrimaryLayer));
    device.DeviceSetWidth(s.Get(PrimaryWidth));
    for (std::int64_t k = lines.first; k <= lines.last; ++k)
      if (!IsIndexLevel(k, multiple) && lines.At(k) >= first && lines.At(k) <= last) line(lines.At(k));
  }
  out.SetDashFlag(false);
}

}  // namespace

GridLines PlanGridLines(double low, double high, double interval, std::int64_t cap) {
  GridLines g;
  g.interval = interval;
  g.start = low;
  g.end = high;
  if (NearZero(interval) || !std::isfinite(interval) || !std::isfinite(low) || !std::isfinite(high) ||
      high < low || cap < 0)
    return g;
  const double a = std::fabs(interval);
  g.interval = a;
  const double lowSteps = low / a, highSteps = high / a;
  if (!(std::fabs(lowSteps) < MaxLineIndex) || !(std::fabs(highSteps) < MaxLineIndex)) return g;
  // Strictly outside the data on both sides: an extent on a line is still passed by one more.
  const auto at = [a](std::int64_t k) { return static_cast<double>(k) * a; };
  std::int64_t first = static_cast<std::int64_t>(std::floor(lowSteps));
  for (int i = 0; i < 4 && at(first) >= low; ++i) --first;
  for (int i = 0; i < 4 && at(first + 1) < low; ++i) ++first;
  std::int64_t last = static_cast<std::int64_t>(std::ceil(highSteps));
  for (int i = 0; i < 4 && at(last) <= high; ++i) ++last;
  for (int i = 0; i < 4 && at(last - 1) > high; ++i) --last;
  g.start = at(first);
  g.end = at(last);
  g.first = first;
  g.last = last;
  if (g.Count() > cap) {
    g.last = first + cap - 1;
    g.capped = true;
  }
  return g;
}

PlanGrid LayOutPlanGrid(const SettingsRecord& s, const model::SurfaceModel& m) {
  PlanGrid grid;
  grid.x = PlanGridLines(m.MinX, m.MaxX, s.Get(IntervalX), MaxLinesPerRedraw);
  grid.y = PlanGridLines(m.MinY, m.MaxY, s.Get(IntervalY), MaxLinesPerRedraw - grid.x.Count());
  grid.capped = grid.x.capped || grid.y.capped;
  return grid;
}

void DrawPlanGrid(LineOutput& out, const SettingsRecord& s, const model::SurfaceModel& m, const PlanGrid& grid,
                  const SheetArea* within) {
  out.dashes = {s.Get(DashLength), s.Get(SpaceLength)};
  out.smoothing.on = false;
  double left = grid.x.start, right = grid.x.end, bottom = grid.y.start, top = grid.y.end;
  double firstX = left, lastX = right, firstY = bottom, lastY = top;
  if (within) {
    left = std::max(left, within->left);
    right = std::min(right, within->right);
    bottom = std::max(bottom, within->bottom);
    top = std::min(top, within->top);
    firstX = within->left;
    lastX = within->right;
    firstY = within->bottom;
    lastY = within->top;
  }
  DrawLines(out, s, grid.x, true, bottom, top, firstX, lastX, m.MinZ);
  DrawLines(out, s, grid.y, false, left, right, firstY, lastY, m.MinZ);
}

void DrawGridLabels(device::DrawingDevice& device, const SettingsRecord& s, const model::SurfaceModel& m,
                    const PlanGrid& grid, const SheetArea* within) {
  device.DeviceSetTextStyle(s.Get(TextColour), s.Get(TextHeight));
  const int decimals = std::clamp<int>(s.Get(TextDecimals), 0, 3);
  device.text.TextDecimals = decimals;
  device.text.AnchorLeft();
  const int multiple = s.Get(Multiple);
  const int mode = s.Get(TextMode);
  for (std::int64_t k = grid.x.first; k <= grid.x.last; ++k) {
    if (!Shows(mode, IsIndexLevel(k, multiple))) continue;
    const double x = grid.x.At(k);
    if (within && (x < within->left || x > within->right)) continue;
    const std::string text = FormatReal(x, 0, decimals);
    double lowerEdge = grid.y.start;
    // The text reads upwards and ends at the edge: room for it (and the blank after it) below.
    if (within)
      lowerEdge =
          std::max(lowerEdge, within->bottom + static_cast<double>(text.size() + 1) * device.text.TextCharWidth);
    device.DeviceAxisText(text, true, x, lowerEdge, m.MinZ);
  }
  for (std::int64_t k = grid.y.first; k <= grid.y.last; ++k) {
    if (!Shows(mode, IsIndexLevel(k, multiple))) continue;
    const double y = grid.y.At(k);
    if (within && (y < within->bottom || y > within->top)) continue;
    const std::string text = FormatReal(y, 0, decimals);
    double leftEdge = grid.x.start;
    // The text ends at the edge: room for it (and the blank after it) on the sheet.
    if (within)
      leftEdge = std::max(leftEdge, within->left + static_cast<double>(text.size() + 1) * device.text.TextCharWidth);
    device.DeviceAxisText(text, false, leftEdge, y, m.MinZ);
  }
  device.DeviceEndText();
}

}  // namespace terravue::mapping
