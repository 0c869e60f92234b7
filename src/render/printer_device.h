#pragma once

#include <optional>
#include <vector>

#include <QFont>
#include <QFontMetricsF>
#include <QPen>
#include <QPoint>

#include "device/drawing_device.h"
#include "render/stipple.h"

class QPainter;

namespace terravue::render {

// The printer device: draws straight onto a painter whose origin is the printable area's
// top-left corner, in printer pixels. Consecutive line-tos go out as one polyline.
class PrinterDevice : public device::PageDevice {
 public:
  PrinterDevice(const device::ViewTransform& transform, const device::DeviceFrame& frame, QPainter& painter);
  ~PrinterDevice() override;

  // Draws what is still pending; call before the painter ends.
  void Finish();

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
  void FlushRun();
  QPen CurrentPen() const;

  QPainter& painter_;
  std::vector<QPoint> run_;
  std::optional<QPoint> penAt_;
  std::uint32_t penColour_ = 0;
  int penWidth_ = 1;
  QFont font_;
  QFontMetricsF metrics_;
  std::uint32_t fontColour_ = 0;
  StippleBrushes stipples_;
};

}  // namespace terravue::render
