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
#include "support/built_surface.h"

// A device that keeps what it was asked to draw in world coordinates, for the map drawing tests;
// the small surfaces they draw are built by support/built_surface.h.
namespace terravue::testing {

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
  // Solid fills in their own colour, and stipples in the pen colour with their density; each
  // with the number of line runs drawn before it.
  struct Fill {
    std::vector<device::WorldPoint> corners;
    std::uint32_t colour = 0;
    std::string layer;
    double density = 0;
    std::size_t runsBefore = 0;
  };
  std::vector<Fill> fills;
  std::vector<Fill> densities;
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
  void DeviceDensityFill(const std::array<device::WorldPoint, 3>& corners, double density) override {
    densities.push_back({{corners.begin(), corners.end()}, colour_, layer_.LayerName, density, runs.size()});
  }
  void DeviceFillPolygon(std::span<const device::WorldPoint> corners, std::uint32_t colour) override {
    fills.push_back({{corners.begin(), corners.end()}, colour, layer_.LayerName, 0, runs.size()});
  }

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
