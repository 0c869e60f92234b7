#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "device/drawing_device.h"

namespace terravue::bench {

// A page device whose canvas only counts the lines, texts and fills it gets: the engine's share
// of a redraw, without painting.
class CountingCanvas : public device::PageDevice {
 public:
  using PageDevice::PageDevice;
  long lines = 0, texts = 0, fills = 0;

 protected:
  void CanvasPenColour(std::uint32_t) override {}
  void CanvasPenWidth(int) override {}
  void CanvasMoveTo(device::IntPoint) override {}
  void CanvasLineTo(device::IntPoint) override { ++lines; }
  void CanvasFont(const device::FontRequest& font) override { height_ = font.pixelHeight; }
  device::TextExtent CanvasTextExtent(std::string_view text) override {
    return {0.6 * height_ * static_cast<double>(text.size()), 1.2 * height_};
  }
  void CanvasText(device::IntPoint, int, std::string_view) override { ++texts; }
  void CanvasStipple(const std::vector<device::IntPoint>&, double) override {}
  void CanvasFill(const std::vector<device::IntPoint>&, std::uint32_t) override { ++fills; }

 private:
  int height_ = 1;
};

}  // namespace terravue::bench
