#pragma once

#include <functional>

#include "app/cursor.h"
#include "app/model_history.h"
#include "app/editors.h"
#include "common/session.h"
#include "app/zoom.h"
#include "tin/geometry.h"

class QWidget;

namespace terravue::gui {

class CommandTable;
class MapArea;
class SheetPrinter;
class StatusPanel;

// What the main window's controllers share: the run's session, the command table, the map and
// status lines, and the window's own state (cursor, zoom, editors, where the map's last point
// location ended).
struct WindowContext {
  Session& session;
  CommandTable& commands;
  MapArea& map;
  StatusPanel& status;
  SheetPrinter& printer;
  QWidget& window;

  app::CursorState cursor;
  app::ZoomState zoom;
  app::EditorState editors;
  tin::LocateState locate;
  // Every change to the model, for Edit > Undo and Redo.
  app::ModelHistory history;

  // Brings menus, buttons and the editor bar in step with the state (the enabling rules).
  std::function<void()> refresh;

  app::CursorContext Cursor() { return {session.model, session.settings, locate, session.port}; }
};

}  // namespace terravue::gui
