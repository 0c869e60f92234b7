#include "app/zoom.h"

#include <algorithm>

#include "app/cursor_settings.h"

namespace terravue::app {
namespace {

namespace opt = app::CursorOptions;

int Clamp(const ZoomState& zoom, long long level) {
  return static_cast<int>(std::clamp<long long>(level, 1, std::max(1, zoom.highest)));
}

int Go(ZoomState& zoom, long long level) {
  zoom.previous = zoom.level;
  zoom.level = Clamp(zoom, level);
  return zoom.level;
}

int Factor(const SettingsRecord& settings) { return std::max(1, int{settings.Get(opt::ZoomFactor)}); }

}  // namespace

int ZoomIn(ZoomState& zoom, const SettingsRecord& settings) {
  const long long f = Factor(settings);
  return Go(zoom, settings.Get(opt::ZoomMethodConstant) ? zoom.level + f : zoom.level * f);
}

int ZoomOut(ZoomState& zoom, const SettingsRecord& settings) {
  const long long f = Factor(settings);
  return Go(zoom, settings.Get(opt::ZoomMethodConstant) ? zoom.level - f : zoom.level / f);
}

int QuickZoom(ZoomState& zoom, const SettingsRecord& settings) {
  // Compared as the level it lands on: a quick level above the highest one would otherwise
  // never be "reached" and the key could not go back.
  const int quick = Clamp(zoom, settings.Get(opt::QuickZoomLevel));
  if (zoom.level == quick) {
    zoom.level = Clamp(zoom, zoom.previous);
    return zoom.level;
  }
  return Go(zoom, quick);
}

int QuickUnzoom(ZoomState& zoom) {
  if (zoom.level == 1) {
    zoom.level = Clamp(zoom, zoom.previous);
    return zoom.level;
  }
  return Go(zoom, 1);
}

int ZoomTo(ZoomState& zoom, int level) {
  if (level == zoom.level) return zoom.level;
  return Go(zoom, level);
}

void SetHighestZoom(ZoomState& zoom, int highest) {
  zoom.highest = std::max(1, highest);
  zoom.level = Clamp(zoom, zoom.level);
  zoom.previous = Clamp(zoom, zoom.previous);
}

}  // namespace terravue::app
