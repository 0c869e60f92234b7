#pragma once

namespace terravue {
class SettingsRecord;
}

// The zoom level of the map (1 = the whole sheet fits the window) and the commands that change
// it. The level is held inside 1..highest, the highest level being what the screen set-up
// allows for the window's size.
namespace terravue::app {

struct ZoomState {
  int level = 1;
  int highest = 1;
  int previous = 1;  // remembered by the zoom commands for the quick keys
};

// Each returns the new level (already held inside 1..highest and stored in the state).
// Zoom In: level + ZoomFactor ("Constant") or level x ZoomFactor ("Factor").
int ZoomIn(ZoomState& zoom, const SettingsRecord& settings);
// Zoom Out: level - ZoomFactor, or level div ZoomFactor (integer division).
int ZoomOut(ZoomState& zoom, const SettingsRecord& settings);
// Shift with "+": to QuickZoomLevel, or back to the previous level when already there.
int QuickZoom(ZoomState& zoom, const SettingsRecord& settings);
// Shift with "-": to level 1, or back to the previous level when already there.
int QuickUnzoom(ZoomState& zoom);
// The zoom list: level n (nothing changes when n is the present level).
int ZoomTo(ZoomState& zoom, int level);
// A new highest level (the window changed size): the level is held inside it.
void SetHighestZoom(ZoomState& zoom, int highest);

}  // namespace terravue::app
