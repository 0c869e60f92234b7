#include "app/editors.h"

#include "common/session.h"
#include "model/surface_model.h"

namespace terravue::app {
namespace {

bool RedrawsOnChange(Editor e) { return e == Editor::Border || e == Editor::Breakline || e == Editor::Analyzer; }

void Leave(EditorState& editors, Editor editor) {
  switch (editor) {
    case Editor::Border: editors.borderErrors = {}; break;
    case Editor::Breakline: editors.breaklineEditor = {}; break;
    case Editor::Analyzer: editors.analyzer.vectors.Clear(); break;
    default: break;
  }
}

void Enter(Session& session, EditorState& editors, Editor editor) {
  switch (editor) {
    case Editor::Coordinate: editors.undeletePoints.Reset(); break;
    case Editor::Border: tin::AllocateBorderErrors(session, editors.borderErrors); break;
    // A failed allocation was reported; the editor works on without error flags.
    case Editor::Breakline: tin::EnterBreaklineEditor(session, editors.breaklineEditor); break;
    default: break;
  }
}

}  // namespace

EditorSwitch SelectEditor(Session& session, EditorState& editors, const ActiveCommands& active, Editor target) {
  EditorSwitch result{false, false, editors.active, editors.active};
  if (active.Any() || target == editors.active) return result;
  Leave(editors, editors.active);
  Enter(session, editors, target);
  result.switched = true;
  result.entered = target;
  result.redraw = RedrawsOnChange(result.left) || RedrawsOnChange(target);
  editors.active = target;
  return result;
}

}  // namespace terravue::app
