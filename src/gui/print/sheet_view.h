#pragma once

#include <memory>
#include <optional>

#include <QRgb>
#include <QWidget>

#include "device/drawing_device.h"
#include "render/display_list.h"

namespace terravue {
class SettingsRecord;
}

namespace terravue::gui {

class ScreenDevice;

// The sheet on the screen: the map and the overlay replayed from their display lists, the
// highlights inverted over them. Never a picture of the whole sheet: at the largest zoom that
// would take gigabytes; every repaint draws only what the exposed area needs.
class SheetView : public QWidget {
  Q_OBJECT

 public:
  explicit SheetView(QWidget* parent = nullptr);
  ~SheetView() override;

  // Lays the sheet out for a client area and zoom; false (and nothing changed) while the client
  // area is empty. The widget takes the image's size.
  bool SetUp(const SettingsRecord& settings, QSize clientArea, int zoom);
  const std::optional<device::ScreenGeometry>& Geometry() const { return geometry_; }
  const device::DeviceFrame& Frame() const { return frame_; }

  // A device that draws the map afresh (the map list is cleared, the overlay and highlights
  // with it), one that adds to the overlay, and one that toggles highlights. Repaint when the
  // drawing is done (the highlight device repaints what it changes itself).
  std::unique_ptr<ScreenDevice> StartMap(const device::ViewTransform& transform);
  std::unique_ptr<ScreenDevice> StartOverlay(const device::ViewTransform& transform);
  std::unique_ptr<ScreenDevice> StartHighlight(const device::ViewTransform& transform);

  void SetBackground(QRgb colour);
  const render::DisplayList& Map() const { return map_; }
  const render::DisplayList& Overlay() const { return overlay_; }
  const render::HighlightList& Highlights() const { return highlights_; }
  void ClearOverlay();
  void ClearHighlights();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::optional<device::ScreenGeometry> geometry_;
  device::DeviceFrame frame_;
  QRgb background_ = qRgb(255, 255, 255);
  render::DisplayList map_;
  render::DisplayList overlay_;
  render::HighlightList highlights_;
};

}  // namespace terravue::gui
