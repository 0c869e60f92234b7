#include "mainwindow/key_router.h"

namespace terravue::gui {
namespace {

using C = app::CommandId;

Qt::KeyboardModifiers Masked(Qt::KeyboardModifiers modifiers) { return modifiers & ~Qt::KeypadModifier; }

KeyAction Command(C id) {
  KeyAction a;
  a.kind = KeyAction::Kind::Command;
  a.command = id;
  return a;
}

KeyAction Step(app::StepKey key, bool shift) {
  KeyAction a;
  a.kind = KeyAction::Kind::Step;
  a.step = key;
  a.shift = shift;
  return a;
}

}  // namespace

bool IsShiftClick(Qt::KeyboardModifiers modifiers) { return Masked(modifiers) == Qt::ShiftModifier; }

bool IsClearRecentFilesRelease(int key, Qt::KeyboardModifiers modifiers) {
  return key == Qt::Key_F1 && Masked(modifiers) == Qt::AltModifier;
}

KeyAction ClassifyKeyPress(int key, const QString& text, Qt::KeyboardModifiers modifiers) {
  const Qt::KeyboardModifiers mods = Masked(modifiers);
  const bool shift = mods.testFlag(Qt::ShiftModifier);
  const bool command = mods.testFlag(Qt::ControlModifier) || mods.testFlag(Qt::AltModifier) ||
                       mods.testFlag(Qt::MetaModifier);

  switch (key) {
    case Qt::Key_Up: return Step(app::StepKey::Up, shift);
    case Qt::Key_Down: return Step(app::StepKey::Down, shift);
    case Qt::Key_Left: return Step(app::StepKey::Left, shift);
    case Qt::Key_Right: return Step(app::StepKey::Right, shift);
    case Qt::Key_PageUp: return Step(app::StepKey::PageUp, shift);
    case Qt::Key_PageDown: return Step(app::StepKey::PageDown, shift);
    case Qt::Key_End: return Step(app::StepKey::End, shift);
    case Qt::Key_Home: return Step(app::StepKey::Home, shift);
    default: break;
  }
  if (command || text.size() != 1) return {};
  const QChar c = text.front();
  const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
  if (c == QLatin1Char('+') || c == QLatin1Char('=')) return Command(shift && keypad ? C::QuickZoom : C::ZoomIn);
  if (c == QLatin1Char('-') || c == QLatin1Char('_')) return Command(shift ? C::QuickUnzoom : C::ZoomOut);
  if (c == QLatin1Char(' ')) return Command(C::CentreOnCursor);
  if (c == QLatin1Char('<') || c == QLatin1Char('>')) {
    KeyAction a;
    a.kind = KeyAction::Kind::Step3D;
    a.direction = c == QLatin1Char('<') ? -1 : 1;
    return a;
  }
  if (c.unicode() > 0x20 && c.unicode() < 0x7F) {
    KeyAction a;
    a.kind = KeyAction::Kind::Letter;
    a.letter = static_cast<char>(c.toUpper().unicode());
    return a;
  }
  return {};
}

}  // namespace terravue::gui
