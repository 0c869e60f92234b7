#pragma once

#include <QString>
#include <Qt>

#include "app/commands.h"
#include "app/cursor.h"

namespace terravue::gui {

// What a key press on the map means. Keys are decided by the text they produce and by Shift.
// "+" and "=" zoom in, whether "+" needed Shift on the keyboard or not; the quick zoom is Shift
// with the keypad's "+", a key of its own on every layout. "-" zooms out and "_" (Shift with
// "-") quick-unzooms. Function keys, Esc and the desktop's shortcuts are not taken here: they
// belong to the commands' own actions (CommandTable), which take them anywhere in the window.
struct KeyAction {
  enum class Kind { None, Command, Step, Letter, Step3D };
  Kind kind = Kind::None;
  app::CommandId command = app::CommandId::Count_;
  app::StepKey step = app::StepKey::Up;
  bool shift = false;
  char letter = 0;     // upper case
  int direction = 0;   // Step3D: -1 "<", +1 ">"
};

KeyAction ClassifyKeyPress(int key, const QString& text, Qt::KeyboardModifiers modifiers);

// Alt+F1 is taken on its release: it empties the recent files.
bool IsClearRecentFilesRelease(int key, Qt::KeyboardModifiers modifiers);

// A map click counts as a shift-click only when the modifiers are exactly Shift.
bool IsShiftClick(Qt::KeyboardModifiers modifiers);

}  // namespace terravue::gui
