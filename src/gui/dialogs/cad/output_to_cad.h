#pragma once

class QWidget;

namespace terravue {
struct Session;
}
namespace terravue::tin {
struct LocateState;
}
namespace terravue::mapping {
struct RedrawOptions;
}

namespace terravue::gui {

// Output To CAD with the toolkit's save dialog; the engine does the rest, with what the map
// shows beside the model. The map on the screen is not redrawn.
void OutputToCadCommand(QWidget* parent, Session& session, tin::LocateState& state,
                        const mapping::RedrawOptions& extras);

}  // namespace terravue::gui
