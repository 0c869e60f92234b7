#pragma once

#include <QObject>

#include "dialogs/point_edit/remove_form.h"
#include "tin/point_edit.h"

namespace terravue::gui {

class ViewController;
struct WindowContext;

// The Coordinate Editor's commands on single points and on the whole set of points: Add,
// Delete, Edit and Undelete Point (from the editor bar, the menus, the letter keys and the
// map's pop-up menu alike), Verify and Remove. Each runs through the command table, so each is
// one step of Undo.
class PointEditController : public QObject {
  Q_OBJECT

 public:
  PointEditController(WindowContext& context, ViewController& view, QObject* parent = nullptr);

  void RegisterCommands();

  // The Verify and Remove Points dialogs over `parent`, the Verify location preset at (x, y);
  // true when they changed the points. The commands run them over the window; the point text
  // editor runs them over its table, inside its own editing session.
  bool RunVerify(QWidget* parent, double x, double y);
  bool RunRemove(QWidget* parent);

 private:
  void AfterPointCommand(const tin::PointEditResult& result);
  void AfterChange(bool pageRefitted);
  void Verify();
  void Remove();

  WindowContext& c_;
  ViewController& view_;
  // The Remove Points boxes as the user last left them, for this run of the program.
  RemoveChoice removeChoice_;
};

}  // namespace terravue::gui
