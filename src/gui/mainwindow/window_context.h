#pragma once

#include <functional>

#include "analysis/cut_fill_map.h"
#include "app/cursor.h"
#include "app/model_history.h"
#include "app/editors.h"
#include "common/session.h"
#include "app/zoom.h"
#include "mapping/map_redraw.h"
#include "tin/geometry.h"

class QWidget;

namespace terravue::gui {

class CommandTable;
class MapArea;
class SheetPrinter;
class StatusPanel;

// What the main window's controllers share: the run's session, the command table, the map and
// status lines, and the window's own state (cursor, zoom, editors, where the map's last point
// location ended, the last volume run's differences).
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
  // The differences of the last volume run, for the cut/fill map.
  analysis::CutFillMap cutFill;
  // Opens the help at a context number.
  std::function<void(int context)> help;

  // What every device's map shows beside the model: the accumulated vectors and the cut/fill map.
  mapping::RedrawOptions MapExtras() const {
    mapping::RedrawOptions options;
    options.vectors = &editors.analyzer.vectors;
    options.cutFill = &cutFill;
    return options;
  }

  app::CursorContext Cursor() { return {session.model, session.settings, locate, session.port}; }
};

}  // namespace terravue::gui
