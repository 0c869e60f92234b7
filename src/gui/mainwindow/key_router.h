#pragma once

#include <QString>
#include <Qt>

#include "app/commands.h"
#include "app/cursor.h"

namespace terravue::gui {

// What a key press on the main window means. Keys are decided by the text they produce and by
// Shift: on common layouts "+" and "_" already need Shift, so "=" and the keypad's "+" zoom in,
// and Shift with them quick-zooms. The keypad modifier is masked off before Shift is looked at.
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
