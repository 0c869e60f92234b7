#pragma once

class QWidget;

namespace terravue {
struct Session;
}
namespace terravue::tin {
struct LocateState;
}

namespace terravue::gui {

// Output To CAD with the toolkit's save dialog; the engine does the rest. The map on the
// screen is not redrawn.
void OutputToCadCommand(QWidget* parent, Session& session, tin::LocateState& state);

}  // namespace terravue::gui
