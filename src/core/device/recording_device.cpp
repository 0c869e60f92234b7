#include "device/recording_device.h"

namespace terravue::device {

RecordingDevice::RecordingDevice(DeviceKind kind, const ViewTransform& transform,
                                 const DeviceFrame& frame, RecordedMetrics metrics)
    : PageDevice(kind, transform, frame), metrics_(metrics) {}

std::vector<std::pair<IntPoint, IntPoint>> RecordingDevice::Lines() const {
  std::vector<std::pair<IntPoint, IntPoint>> lines;
  IntPoint pen;
  for (const DeviceOp& op : ops) {
    if (op.type == DeviceOp::Type::MoveTo) pen = op.at;
    if (op.type == DeviceOp::Type::LineTo) {
      lines.emplace_back(pen, op.at);
      pen = op.at;
    }
  }
  return lines;
}

std::vector<DeviceOp> RecordingDevice::OfType(DeviceOp::Type type) const {
  std::vector<DeviceOp> found;
  for (const DeviceOp& op : ops)
    if (op.type == type) found.push_back(op);
  return found;
}

void RecordingDevice::CanvasPenColour(std::uint32_t colour) {
  DeviceOp op;
  op.type = DeviceOp::Type::PenColour;
  op.colour = colour;
  ops.push_back(std::move(op));
}

void RecordingDevice::CanvasPenWidth(int pixels) {
  DeviceOp op;
  op.type = DeviceOp::Type::PenWidth;
  op.value = pixels;
  ops.push_back(std::move(op));
}

void RecordingDevice::CanvasMoveTo(IntPoint p) {
  DeviceOp op;
  op.type = DeviceOp::Type::MoveTo;
  op.at = p;
  ops.push_back(std::move(op));
}

void RecordingDevice::CanvasLineTo(IntPoint p) {
  DeviceOp op;
  op.type = DeviceOp::Type::LineTo;
  op.at = p;
  ops.push_back(std::move(op));
}

void RecordingDevice::CanvasPenLifted() {
  DeviceOp op;
  op.type = DeviceOp::Type::PenLifted;
  ops.push_back(std::move(op));
}

void RecordingDevice::CanvasFont(const FontRequest& font) {
  pixelHeight_ = font.pixelHeight;
  DeviceOp op;
  op.type = DeviceOp::Type::Font;
  op.text = font.name;
  op.value = font.pixelHeight;
  op.colour = font.colour;
  ops.push_back(std::move(op));
}

TextExtent RecordingDevice::CanvasTextExtent(std::string_view text) {
  return {metrics_.charWidth * pixelHeight_ * static_cast<double>(text.size()),
          metrics_.cellHeight * pixelHeight_};
}

void RecordingDevice::CanvasText(IntPoint anchor, int tenths, std::string_view text) {
  DeviceOp op;
  op.type = DeviceOp::Type::Text;
  op.at = anchor;
  op.value = tenths;
  op.text = std::string(text);
  ops.push_back(std::move(op));
}

void RecordingDevice::CanvasEndText() {
  DeviceOp op;
  op.type = DeviceOp::Type::EndText;
  ops.push_back(std::move(op));
}

void RecordingDevice::CanvasStipple(const std::vector<IntPoint>& polygon, double density) {
  DeviceOp op;
  op.type = DeviceOp::Type::Stipple;
  op.polygon = polygon;
  op.density = density;
  ops.push_back(std::move(op));
}

void RecordingDevice::CanvasFill(const std::vector<IntPoint>& polygon, std::uint32_t colour) {
  DeviceOp op;
  op.type = DeviceOp::Type::Fill;
  op.polygon = polygon;
  op.colour = colour;
  ops.push_back(std::move(op));
}

}  // namespace terravue::device
