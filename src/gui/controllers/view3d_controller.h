#pragma once

#include <QObject>
#include <QPoint>

class QTimer;

namespace terravue::gui {

class EditorController;
class ViewController;
struct WindowContext;

// The 3-D view in the window: the 3-D View command with its options dialog, the "<" and ">"
// steps, the animation's timer, and turning, nearing and moving the view with the mouse. The
// view itself lives in the settings, which the engine steps and checks; a frame is a
// regenerated map, and the window handles its events between frames.
class View3DController : public QObject {
  Q_OBJECT

 public:
  View3DController(WindowContext& context, ViewController& view, EditorController& editors,
                   QObject* parent = nullptr);

  void RegisterCommands();
  // "<" (-1) and ">" (+1).
  void Step(int direction);
  // Ends a running animation, as ESC would: before the window closes or another model opens.
  void StopAnimation();

  bool Animating() const;

 private:
  void View3DCommand();
  void ShowOptions();
  void StartTimer();
  void Frame();
  bool Drag(QPoint delta, Qt::KeyboardModifiers modifiers);
  bool Wheel(int notches);
  // Mouse moves come faster than a full map can be drawn: one regeneration after the last.
  void RegenerateSoon();

  WindowContext& c_;
  ViewController& view_;
  EditorController& editors_;
  QTimer* frames_;
  bool regeneratePending_ = false;
};

}  // namespace terravue::gui
