#include "render/printer_device.h"

#include <QPainter>

#include "render/map_fonts.h"

namespace terravue::render {

PrinterDevice::PrinterDevice(const device::ViewTransform& transform, const device::DeviceFrame& frame,
                             QPainter& painter)
    : PageDevice(device::DeviceKind::Printer, transform, frame),
      painter_(painter),
      font_(MapFont(frame.fontName, 1)),
      metrics_(font_, painter.device()) {
  const device::ClipRect& c = frame.clip;
  painter_.setClipRect(QRect(QPoint(static_cast<int>(c.left), static_cast<int>(c.top)),
                             QPoint(static_cast<int>(c.right), static_cast<int>(c.bottom))));
  painter_.setBrush(Qt::NoBrush);
}

PrinterDevice::~PrinterDevice() = default;

void PrinterDevice::Finish() { FlushRun(); }

QPen PrinterDevice::CurrentPen() const {
  QPen pen(MapColour(penColour_), penWidth_, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  return pen;
}

void PrinterDevice::FlushRun() {
  if (run_.size() >= 2) {
    painter_.setPen(CurrentPen());
    painter_.setBrush(Qt::NoBrush);
    painter_.drawPolyline(run_.data(), static_cast<int>(run_.size()));
  }
  run_.clear();
}

void PrinterDevice::CanvasPenColour(std::uint32_t colour) {
  FlushRun();
  penColour_ = colour;
}

void PrinterDevice::CanvasPenWidth(int pixels) {
  FlushRun();
  penWidth_ = pixels;
}

void PrinterDevice::CanvasMoveTo(device::IntPoint p) {
  FlushRun();
  run_.push_back(QPoint(p.x, p.y));
  penAt_ = run_.back();
}

void PrinterDevice::CanvasLineTo(device::IntPoint p) {
  // A line after a change of pen or a text carries on from where the pen stands.
  if (run_.empty()) {
    if (!penAt_) return;
    run_.push_back(*penAt_);
  }
  run_.push_back(QPoint(p.x, p.y));
  penAt_ = run_.back();
}

void PrinterDevice::CanvasPenLifted() { FlushRun(); }

void PrinterDevice::CanvasFont(const device::FontRequest& font) {
  font_ = MapFont(font.name, font.pixelHeight);
  metrics_ = QFontMetricsF(font_, painter_.device());
  fontColour_ = font.colour;
}

device::TextExtent PrinterDevice::CanvasTextExtent(std::string_view text) {
  return {metrics_.horizontalAdvance(MapText(text)), metrics_.height()};
}

void PrinterDevice::CanvasText(device::IntPoint anchor, int tenths, std::string_view text) {
  FlushRun();
  painter_.save();
  painter_.setFont(font_);
  painter_.setPen(MapColour(fontColour_));
  painter_.translate(anchor.x, anchor.y);
  if (tenths != 0) painter_.rotate(-tenths / 10.0);
  painter_.drawText(QPointF(0, metrics_.ascent()), MapText(text));
  painter_.restore();
}

void PrinterDevice::CanvasStipple(const std::vector<device::IntPoint>& polygon, double density) {
  FlushRun();
  QPolygon p;
  for (const device::IntPoint& v : polygon) p << QPoint(v.x, v.y);
  painter_.save();
  painter_.setPen(Qt::NoPen);
  painter_.setBrush(stipples_.Brush(MapColour(penColour_).rgb(), density));
  painter_.drawPolygon(p);
  painter_.restore();
}

void PrinterDevice::CanvasFill(const std::vector<device::IntPoint>& polygon, std::uint32_t colour) {
  FlushRun();
  QPolygon p;
  for (const device::IntPoint& v : polygon) p << QPoint(v.x, v.y);
  painter_.save();
  // Neighbouring fills meet exactly, but a smoothing painter or PDF viewer leaves a light seam
  // along each shared edge; the thinnest line in the fill's own colour closes it.
  painter_.setPen(QPen(MapColour(colour), 0));
  painter_.setBrush(MapColour(colour));
  painter_.drawPolygon(p);
  painter_.restore();
}

}  // namespace terravue::render
