#pragma once

#include "app/analyzer_commands.h"
#include "app/command_state.h"
#include "app/commands.h"
#include "tin/border.h"
#include "tin/breaklines.h"
#include "tin/point_edit.h"

namespace terravue {
struct Session;
}

// The editor the main window is in and the work areas the editors own while they are active:
// the Coordinate Editor's undelete stack, emptied whenever that editor is entered; the Border
// Editor's error flags and the Breakline Editor's error flags, cursor and undelete ring, made
// fresh when their editor is entered and released when it is left; and the Surface Analyzer's
// state, whose vector accumulator is emptied when that editor is left.
namespace terravue::app {

struct EditorState {
  Editor active = Editor::General;
  tin::UndeleteStack undeletePoints;
  tin::BorderErrors borderErrors;
  tin::BreaklineEditorState breaklineEditor;
  AnalyzerState analyzer;
};

struct EditorSwitch {
  bool switched = false;
  // Border, Breakline or Analyzer was left or entered: their work marks come and go with the
  // map, which must be drawn again.
  bool redraw = false;
  Editor left = Editor::General;
  Editor entered = Editor::General;
};

// Selecting an editor: refused while an interactive command is active; otherwise the old
// editor's leave step and the new one's enter step. Selecting the active editor changes
// nothing. The steps that belong to the window (the overlay the vectors were shown on) are the
// caller's, told by `left` and `entered`.
EditorSwitch SelectEditor(Session& session, EditorState& editors, const ActiveCommands& active, Editor target);

}  // namespace terravue::app
