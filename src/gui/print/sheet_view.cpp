#include "print/sheet_view.h"

#include <QPaintEvent>
#include <QPainter>

#include "common/app_settings.h"
#include "render/map_fonts.h"
#include "print/screen_device.h"

namespace terravue::gui {

SheetView::SheetView(QWidget* parent) : QWidget(parent) {
  // Every pixel is painted on each repaint: nothing needs clearing first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  resize(1, 1);
}

SheetView::~SheetView() = default;

bool SheetView::SetUp(const SettingsRecord& settings, QSize clientArea, int zoom) {
  const auto g = device::ComputeScreenGeometry(settings, clientArea.width(), clientArea.height(), zoom);
  if (!g) return false;
  geometry_ = g;
  frame_ = device::ScreenFrame(settings, *g);
  background_ = render::MapColour(settings.Get(settings::MapBackgroundColour)).rgb();
  setFixedSize(g->imageWidth, g->imageHeight);
  update();
  return true;
}

std::unique_ptr<ScreenDevice> SheetView::StartMap(const device::ViewTransform& transform) {
  map_.Clear();
  overlay_.Clear();
  highlights_.Clear();
  return std::make_unique<ScreenDevice>(device::DeviceKind::ScreenMap, transform, frame_, map_);
}

std::unique_ptr<ScreenDevice> SheetView::StartOverlay(const device::ViewTransform& transform) {
  return std::make_unique<ScreenDevice>(device::DeviceKind::ScreenOverlay, transform, frame_, overlay_);
}

std::unique_ptr<ScreenDevice> SheetView::StartHighlight(const device::ViewTransform& transform) {
  return std::make_unique<ScreenDevice>(transform, frame_, overlay_, highlights_,
                                        [this](const QRect& area) { update(area); });
}

void SheetView::SetBackground(QRgb colour) {
  background_ = colour;
  update();
}

void SheetView::ClearOverlay() {
  overlay_.Clear();
  update();
}

void SheetView::ClearHighlights() {
  highlights_.Clear();
  update();
}

void SheetView::paintEvent(QPaintEvent* event) {
  const QRect exposed = event->rect();
  QPainter painter(this);
  painter.fillRect(exposed, QColor(background_));
  if (!geometry_) return;
  const device::ClipRect& c = frame_.clip;
  const QRect sheet(QPoint(static_cast<int>(c.left), static_cast<int>(c.top)),
                    QPoint(static_cast<int>(c.right), static_cast<int>(c.bottom)));
  const QRect area = exposed & sheet;
  if (area.isEmpty()) return;
  // Lines were clipped when they were drawn; texts and fills are clipped here.
  painter.setClipRect(area);
  // Smooth lines at their widths; the half-pixel shift puts the whole-pixel positions of the
  // lists on pixel centres, so that straight lines stay sharp instead of smeared over two.
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.translate(0.5, 0.5);
  map_.Replay(painter, area);
  overlay_.Replay(painter, area);
  painter.restore();
  highlights_.Replay(painter, area);
}

}  // namespace terravue::gui
