#pragma once

#include <functional>

#include <QPolygon>
#include <QRect>

#include "device/drawing_device.h"

namespace terravue::render {
class DisplayList;
class HighlightList;
}

namespace terravue::gui {

// The screen devices: the map and the overlay record into their display lists, the highlight
// toggles its polylines. What they receive is already in screen pixels and clipped.
class ScreenDevice : public device::PageDevice {
 public:
  // The map or the overlay, recording into `list`.
  ScreenDevice(device::DeviceKind kind, const device::ViewTransform& transform,
               const device::DeviceFrame& frame, render::DisplayList& list);
  // The highlight: each pen-down run is toggled in `highlights`; `changed` gets the area to
  // repaint.
  ScreenDevice(const device::ViewTransform& transform, const device::DeviceFrame& frame,
               render::DisplayList& fonts, render::HighlightList& highlights, std::function<void(const QRect&)> changed);
  ~ScreenDevice() override;

 protected:
  void CanvasPenColour(std::uint32_t colour) override;
  void CanvasPenWidth(int pixels) override;
  void CanvasMoveTo(device::IntPoint p) override;
  void CanvasLineTo(device::IntPoint p) override;
  void CanvasPenLifted() override;
  void CanvasFont(const device::FontRequest& font) override;
  device::TextExtent CanvasTextExtent(std::string_view text) override;
  void CanvasText(device::IntPoint anchor, int tenths, std::string_view text) override;
  void CanvasStipple(const std::vector<device::IntPoint>& polygon, double density) override;
  void CanvasFill(const std::vector<device::IntPoint>& polygon, std::uint32_t colour) override;

 private:
  void FlushHighlight();

  render::DisplayList& list_;
  render::HighlightList* highlights_ = nullptr;
  std::function<void(const QRect&)> changed_;
  QPolygon run_;  // the highlight run being drawn
  std::uint32_t penColour_ = 0;
  int penWidth_ = 1;
  int font_ = -1;
  std::uint32_t fontColour_ = 0;
};

}  // namespace terravue::gui
