#pragma once

#include <QIcon>

#include "app/commands.h"

namespace terravue::gui {

// The program's own icons, drawn here with a few strokes each: the tool bar, the editor bar
// and the program itself. Commands without a picture get an empty icon.
QIcon CommandIcon(app::CommandId id);
QIcon ProgramIcon();

}  // namespace terravue::gui
