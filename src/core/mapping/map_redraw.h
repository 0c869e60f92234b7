#pragma once

namespace terravue {
struct Session;
}
namespace terravue::analysis {
class CutFillMap;
class VectorAccumulator;
}  // namespace terravue::analysis
namespace terravue::device {
class DrawingDevice;
}
namespace terravue::tin {
struct LocateState;
}

// The whole map of the current surface onto one device, in a fixed order: the cut/fill map, triangles,
// breaklines and their numbers, the surface grid, contours, the surface analysis diagrams,
// accumulated vectors, the border, the point travel path, markers and labels, then the sheet
// furniture (not in CAD files). Each element is drawn when its map option group is on and holds
// usable values, on its own layer in its own colour and width. The same routine fills the
// screen, the printer and CAD files; the caller chooses the device and prepares it (the screen
// cleared, the 3-D projection of the view set up).
namespace terravue::mapping {

struct RedrawOptions {
  // While an editor shows its own element on the screen, the map there leaves it out; paper
  // and CAD files still get it.
  bool borderEditorOpen = false;
  bool breaklineEditorOpen = false;
  // What the program keeps beside the model: the Surface Analyzer's accumulated vectors, and
  // the differences of the last volume run for the cut/fill map (painted first, beneath
  // everything else, while its option is on and the model is the one it was computed over).
  const analysis::VectorAccumulator* vectors = nullptr;
  const analysis::CutFillMap* cutFill = nullptr;
};

// False when the user declined to draw an element whose lines would have been too many (see
// TraceLevelLines): the map was drawn without it.
bool RedrawMap(Session& session, device::DrawingDevice& device, tin::LocateState& state);
bool RedrawMap(Session& session, device::DrawingDevice& device, tin::LocateState& state,
               const RedrawOptions& options);

}  // namespace terravue::mapping
