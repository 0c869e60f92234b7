#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "common/settings_record.h"
#include "device/drawing_device.h"

namespace terravue {
class UserPort;
}
namespace terravue::model {
class SurfaceModel;
}
namespace terravue::tin {
struct LocateState;
}

// The road from a traced line to the device: optional smoothing into a curve, optional dashes
// measured along the emitted path, and optional gaps with a label of the line's level. Labels
// are collected and drawn in one batch after all levels, so that they lie above every line.
namespace terravue::mapping {

struct SmoothingOptions {
  bool on = false;
  int segments = 3;      // curve points per piece at most
  double tension = 0;    // 0..10
};

struct DashLengths {
  double line = 1;   // pen down
  double space = 1;  // pen up
};

enum class LabelOrientation : std::uint8_t { Uphill = 0, North = 1 };

struct LabelOptions {
  int decimals = 2;
  LabelOrientation direction = LabelOrientation::North;
  double frequency = 10;  // 1..50: more labels as it grows
  std::uint32_t colour = 0;
  CadLayer layer;
};

// Where uphill labels look up elevations; all three live as long as the run.
struct LabelSurface {
  const model::SurfaceModel* model = nullptr;
  tin::LocateState* state = nullptr;
  UserPort* port = nullptr;
};

struct StoredLabel {
  double x = 0, y = 0;
  double value = 0;  // the level
  double angle = 0;  // radians
};

// Labels kept by one run at most; a full store is drawn and emptied before the next one.
inline constexpr std::size_t LabelCapacity = 32767;
// Points of a possible label gap kept at most; a longer gap is drawn without a label.
inline constexpr std::size_t GapCapacity = 32765;

// One line at a time: the caller marks a line's start with PrepareLine, hands over its first
// point, calls BeginLinePen, hands over the following points and ends with EndLine. Smoothing
// makes the same calls with the curve points.
class LineOutput {
 public:
  explicit LineOutput(device::DrawingDevice& device);

  device::DrawingDevice& Device() { return device_; }

  // Set by the caller before a run.
  SmoothingOptions smoothing;
  DashLengths dashes;
  LabelOptions labelOptions;
  LabelSurface labelSurface;
  // Curve points per unit of piece length: segments x 10 / the plan diagonal of the extents.
  double smoothingDensity = 0;

  // Dashing for the lines of the current pass.
  void SetDashFlag(bool on) { dashFlag_ = on; }

  // The label store of a run. False (with its message) when it cannot be had: the run then
  // draws its lines without labels.
  bool SetUpLabels(UserPort& port);
  bool LabelsSetUp() const { return labelsSetUp_; }
  // Draws the stored labels on the label layer and empties the store.
  void DrawLabels();
  void ReleaseLabels();
  const std::vector<StoredLabel>& Labels() const { return labels_; }
  // Flipped at the start of every traced line, so that neighbouring lines stagger their labels.
  void TogglePhase() { phase_ = 1 - phase_; }

  // Whether the next line is labelled, and its plan length (labels are spaced along it).
  void PrepareLine(bool labelled, double planLength);
  void Point(const device::WorldPoint& p);
  void BeginLinePen();
  void EndLine();

  // A traced line through the three stages, smoothed when asked (a closed line repeats its
  // first point at its end).
  void StraightLine(std::span<const device::WorldPoint> points);
  void SmoothLine(std::span<const device::WorldPoint> points, bool closed);

 private:
  struct GapPoint {
    device::WorldPoint p;
    int dashState;
  };

  void FirstPoint(const device::WorldPoint& p);
  void PrepareSpacing();
  void DashStage(const device::WorldPoint& p);
  void LabelStage(const device::WorldPoint& p);
  // Where a gap that began at the gap start ends on the piece from the last point to p.
  void GapEnd(const device::WorldPoint& p, device::WorldPoint& end, double& covered) const;
  void PlaceLabel(const device::WorldPoint& start, const device::WorldPoint& end);
  bool Upright(const device::WorldPoint& start, double alpha) const;
  void DrawGap();
  void TogglePen();
  void DrawPiece(const device::WorldPoint& a, const device::WorldPoint& b, const device::WorldPoint& ta,
                 const device::WorldPoint& tb);
  void Plot(const device::WorldPoint& p) { device_.DevicePlot(false, p.x, p.y, p.z); }

  device::DrawingDevice& device_;
  UserPort* port_ = nullptr;

  // The line being drawn.
  bool started_ = false;
  bool lineLabelled_ = false;  // asked for by PrepareLine
  double planLength_ = 0;
  device::WorldPoint last_;
  bool dashFlag_ = false;
  int dashState_ = 1;  // 1 inside a dash (pen down), 0 inside a space
  double dashRun_ = 0;
  bool labelled_ = false;  // this line carries labels after all
  int labelMode_ = 1;      // 1 towards the next label, 0 inside a possible gap
  device::WorldPoint gapStart_;
  double pathRun_ = 0;
  double labelWidth_ = 0;
  double spacing_ = 0;
  std::vector<GapPoint> gap_;
  bool gapAllocated_ = false;
  bool gapFailed_ = false;

  // The run's labels.
  bool labelsSetUp_ = false;
  std::vector<StoredLabel> labels_;
  double phase_ = 0.3333;
};

// The label text of a level.
std::string LabelText(double value, int decimals);

}  // namespace terravue::mapping
