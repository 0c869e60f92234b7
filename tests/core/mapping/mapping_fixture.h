#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/settings_record.h"
#include "model/surface_model.h"
#include "device/drawing_device.h"

// Small surfaces with explicit triangles, and a device that keeps what it was asked to draw in
// world coordinates, for the map drawing tests.
namespace terravue::testing {

struct XYZ {
  double x, y, z;
};

// Points 1..n and triangles 1..m as given; neighbours are linked across shared edges; the
// extents are computed and the contour work list filled.
inline void BuildSurface(model::SurfaceModel& m, const std::vector<XYZ>& points,
                         const std::vector<std::array<PointIndex, 3>>& triangles) {
  if (!m.IsAllocated()) m.AllocateStore();
  m.ClearModel();
  for (std::size_t i = 0; i < points.size(); ++i) {
    const auto p = static_cast<PointIndex>(i + 1);
    m.PointX[p] = points[i].x;
    m.PointY[p] = points[i].y;
    m.PointZ[p] = points[i].z;
    m.BorderNext[p] = NoPoint;
  }
  m.PointCount = static_cast<std::uint16_t>(points.size());
  std::map<std::pair<PointIndex, PointIndex>, std::vector<TriangleIndex>> edges;
  for (std::size_t k = 0; k < triangles.size(); ++k) {
    const auto t = static_cast<TriangleIndex>(k + 1);
    m.TriVertex[t] = triangles[k];
    m.TriNeighbour[t] = {0, 0, 0};
    for (int i = 0; i < 3; ++i) {
      PointIndex a = triangles[k][static_cast<std::size_t>(i)];
      PointIndex b = triangles[k][static_cast<std::size_t>((i + 1) % 3)];
      if (a > b) std::swap(a, b);
      edges[{a, b}].push_back(t);
    }
  }
  m.TriangleCount = static_cast<std::uint16_t>(triangles.size());
  for (const auto& [edge, owners] : edges) {
    if (owners.size() != 2) continue;
    for (int side = 0; side < 2; ++side) {
      auto& slots = m.TriNeighbour[owners[static_cast<std::size_t>(side)]];
      for (auto& slot : slots)
        if (slot == NoTriangle) {
          slot = owners[static_cast<std::size_t>(1 - side)];
          break;
        }
    }
  }
  m.ComputeExtents();
  m.ResetContourTriList();
}

// The border ring through the given points, in order.
inline void SetBorder(model::SurfaceModel& m, const std::vector<PointIndex>& ring) {
  for (std::size_t i = 0; i < ring.size(); ++i) m.BorderNext[ring[i]] = ring[(i + 1) % ring.size()];
}

struct Stroke {
  std::vector<device::WorldPoint> points;
  std::uint32_t colour = 0;
  std::string layer;
  int width = 0;
};

struct TextCall {
  std::string text;
  double angle = 0, x = 0, y = 0, z = 0;
  bool centred = false, rightAligned = false;
  std::uint32_t colour = 0;
  double height = 0;
};

// Each pen-down run as a polyline in world coordinates, with the colour, layer and width it
// was drawn in; texts, axis texts and markers as they were asked for.
class WorldRecorder : public device::DrawingDevice {
 public:
  explicit WorldRecorder(device::DeviceKind kind = device::DeviceKind::ScreenMap, double charWidth = 1.0)
      : device::DrawingDevice(kind), charWidth_(charWidth) {}

  std::vector<Stroke> runs;
  std::vector<TextCall> texts;
  std::vector<TextCall> axisTexts;
  std::vector<device::WorldPoint> markers;
  std::vector<std::uint32_t> layerColours;  // every DeviceSetLayer, in order
  int titleBlocks = 0;
  int plots = 0;

  void DeviceSetLayer(std::uint32_t colour, const CadLayer& layer) override {
    device::DrawingDevice::DeviceSetLayer(colour, layer);
    layerColours.push_back(colour);
  }
  void DeviceSetWidth(int widthIndex) override { width_ = widthIndex; }
  void DevicePlot(bool, double x, double y, double z) override {
    ++plots;
    if (down_) {
      if (!inRun_) {
        Stroke run;
        run.colour = colour_;
        run.layer = layer_.LayerName;
        run.width = width_;
        if (last_) run.points.push_back(*last_);
        runs.push_back(std::move(run));
        inRun_ = true;
      }
      runs.back().points.push_back({x, y, z});
    }
    last_ = device::WorldPoint{x, y, z};
  }
  void DevicePenDown() override { down_ = true; }
  void DevicePenUp() override {
    down_ = false;
    inRun_ = false;
  }
  void DeviceSetTextStyle(std::uint32_t colour, double height) override {
    text.TextHeight = height;
    text.TextCharWidth = charWidth_ * height;
    textColour_ = colour;
  }
  void DeviceText(std::string_view s, double angle, double x, double y, double z, double) override {
    texts.push_back({std::string(s), angle, x, y, z, text.TextCentred, text.TextRightAligned, colour_,
                     text.TextHeight});
  }
  void DeviceAxisText(std::string_view s, bool vertical, double x, double y, double z) override {
    axisTexts.push_back({std::string(s), vertical ? 1.0 : 0.0, x, y, z});
  }
  void DeviceEndText() override {}
  void DeviceMarker(int, double x, double y, double z, double) override { markers.push_back({x, y, z}); }
  void DeviceTitleBlock() override { ++titleBlocks; }
  void DeviceDensityFill(const std::array<device::WorldPoint, 3>&, double) override {}
  void DeviceFillPolygon(std::span<const device::WorldPoint>, std::uint32_t) override {}

  bool PenDown() const { return down_; }

 private:
  double charWidth_;
  int width_ = 0;
  std::uint32_t textColour_ = 0;
  bool down_ = false;
  bool inRun_ = false;
  std::optional<device::WorldPoint> last_;
};

}  // namespace terravue::testing
