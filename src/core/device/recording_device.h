#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "device/drawing_device.h"

namespace terravue::device {

// One canvas operation in device pixels, as a page device issued it.
struct DeviceOp {
  enum class Type : std::uint8_t {
    PenColour,  // colour
    PenWidth,   // value = pixels
    MoveTo,     // at
    LineTo,     // at
    PenLifted,
    Font,       // text = font name, value = pixel height, colour
    Text,       // at = anchor, value = tenths of degrees, text
    EndText,
    Stipple,    // polygon, density
    Fill,       // polygon, colour
  };
  Type type = Type::MoveTo;
  IntPoint at;
  int value = 0;
  std::uint32_t colour = 0;
  std::string text;
  std::vector<IntPoint> polygon;
  double density = 0;
};

// The fixed font metrics of the recording device: a cell as wide as `charWidth` times the
// pixel height per character and `cellHeight` times the pixel height high.
struct RecordedMetrics {
  double charWidth = 0.6;
  double cellHeight = 1.2;
};

// A page device that keeps what it was asked to draw: the seam the drawing routines are tested
// on, without any canvas.
class RecordingDevice : public PageDevice {
 public:
  RecordingDevice(DeviceKind kind, const ViewTransform& transform, const DeviceFrame& frame,
                  RecordedMetrics metrics = {});

  std::vector<DeviceOp> ops;

  // The drawn lines as segments, in order.
  std::vector<std::pair<IntPoint, IntPoint>> Lines() const;
  std::vector<DeviceOp> OfType(DeviceOp::Type type) const;

 protected:
  void CanvasPenColour(std::uint32_t colour) override;
  void CanvasPenWidth(int pixels) override;
  void CanvasMoveTo(IntPoint p) override;
  void CanvasLineTo(IntPoint p) override;
  void CanvasPenLifted() override;
  void CanvasFont(const FontRequest& font) override;
  TextExtent CanvasTextExtent(std::string_view text) override;
  void CanvasText(IntPoint anchor, int tenths, std::string_view text) override;
  void CanvasEndText() override;
  void CanvasStipple(const std::vector<IntPoint>& polygon, double density) override;
  void CanvasFill(const std::vector<IntPoint>& polygon, std::uint32_t colour) override;

 private:
  RecordedMetrics metrics_;
  int pixelHeight_ = 1;
};

}  // namespace terravue::device
