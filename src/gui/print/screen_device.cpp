#include "print/screen_device.h"

#include "app/qt_text.h"
#include "render/display_list.h"
#include "render/map_fonts.h"

namespace terravue::gui {

ScreenDevice::ScreenDevice(device::DeviceKind kind, const device::ViewTransform& transform,
                           const device::DeviceFrame& frame, render::DisplayList& list)
    : PageDevice(kind, transform, frame), list_(list) {}

ScreenDevice::ScreenDevice(const device::ViewTransform& transform, const device::DeviceFrame& frame,
                           render::DisplayList& fonts, render::HighlightList& highlights,
                           std::function<void(const QRect&)> changed)
    : PageDevice(device::DeviceKind::ScreenHighlight, transform, frame),
      list_(fonts),
      highlights_(&highlights),
      changed_(std::move(changed)) {}

ScreenDevice::~ScreenDevice() {
  if (highlights_)
    FlushHighlight();
  else
    list_.EndRun();
}

void ScreenDevice::CanvasPenColour(std::uint32_t colour) {
  penColour_ = colour;
  if (!highlights_) list_.SetPen(render::MapColour(colour).rgb(), penWidth_);
}

void ScreenDevice::CanvasPenWidth(int pixels) {
  penWidth_ = pixels;
  if (!highlights_) list_.SetPen(render::MapColour(penColour_).rgb(), penWidth_);
}

void ScreenDevice::CanvasMoveTo(device::IntPoint p) {
  if (highlights_) {
    FlushHighlight();
    run_ << QPoint(p.x, p.y);
    return;
  }
  list_.SetPen(render::MapColour(penColour_).rgb(), penWidth_);
  list_.MoveTo(QPoint(p.x, p.y));
}

void ScreenDevice::CanvasLineTo(device::IntPoint p) {
  if (highlights_) {
    if (!run_.isEmpty() && run_.back() != QPoint(p.x, p.y)) run_ << QPoint(p.x, p.y);
    return;
  }
  list_.LineTo(QPoint(p.x, p.y));
}

void ScreenDevice::CanvasPenLifted() {
  if (highlights_)
    FlushHighlight();
  else
    list_.EndRun();
}

void ScreenDevice::FlushHighlight() {
  if (run_.size() >= 2) {
    const QRect area = highlights_->Toggle(run_);
    if (changed_) changed_(area);
  }
  run_.clear();
}

void ScreenDevice::CanvasFont(const device::FontRequest& font) {
  font_ = list_.Font(font.name, font.pixelHeight);
  fontColour_ = font.colour;
}

device::TextExtent ScreenDevice::CanvasTextExtent(std::string_view text) {
  if (font_ < 0) return {};
  const QFontMetricsF& m = list_.Metrics(font_);
  return {m.horizontalAdvance(FromLatin1(text)), m.height()};
}

void ScreenDevice::CanvasText(device::IntPoint anchor, int tenths, std::string_view text) {
  // Highlights are lines only: an inverted glyph would not come back whole when drawn again.
  if (highlights_ || font_ < 0) return;
  list_.AddText(font_, render::MapColour(fontColour_).rgb(), QPoint(anchor.x, anchor.y), tenths, FromLatin1(text));
}

void ScreenDevice::CanvasStipple(const std::vector<device::IntPoint>& polygon, double density) {
  if (highlights_) return;
  QPolygon p;
  for (const device::IntPoint& v : polygon) p << QPoint(v.x, v.y);
  list_.AddFill(p, render::MapColour(penColour_).rgb(), density);
}

void ScreenDevice::CanvasFill(const std::vector<device::IntPoint>& polygon, std::uint32_t colour) {
  if (highlights_) return;
  QPolygon p;
  for (const device::IntPoint& v : polygon) p << QPoint(v.x, v.y);
  list_.AddFill(p, render::MapColour(colour).rgb(), 1.0);
}

}  // namespace terravue::gui
