#pragma once

#include <functional>
#include <memory>

#include <QObject>

#include "app/active_commands.h"
#include "app/commands.h"

class QPainter;

namespace terravue::gui {

class ViewController;
struct WindowContext;

// The editors and the interactive commands: choosing an editor with its leave and enter steps,
// the commands of the Coordinate, Border and Breakline folders that exist so far (with the
// breakline query), Triangulate, the active commands with their map clicks, result dialogs and
// QuitActiveCommand, and the work marks they draw over the map.
class EditorController : public QObject, private app::ActiveCommandUi {
  Q_OBJECT

 public:
  EditorController(WindowContext& context, ViewController& view, QObject* parent = nullptr);
  ~EditorController() override;

  void RegisterCommands();
  const app::ActiveCommands& Active() const { return commands_->Active(); }
  app::ActiveCommandState& Commands() { return *commands_; }

  // Selecting an editor (View menu, editor buttons, editor bar). Refused while a command runs.
  void SelectEditor(app::Editor editor);
  // A map click, once the cursor stands on it.
  void Click(double x, double y, bool shift);
  // Whether the map leaves the border or breaklines to their editors' marks.
  void EditorMarks(bool& border, bool& breaklines) const;

 private:
  // ActiveCommandUi
  void CommandsChanged() override;
  void ShowCommandStatus(std::string_view text) override;
  void PicksChanged() override;
  void RegenerateMap() override;
  bool ShowLengthResult(const std::vector<analysis::LengthPick>& picks) override;
  bool ShowQueryTriangleResult(const std::vector<TriangleIndex>& triangles) override;

  void PaintMarks(QPainter& painter) const;
  // The result dialogs' Help button, when there is help.
  std::function<void()> Help() const;
  void AfterEdit();
  PointIndex PointAtCursor() const;

  void Triangulate();
  void Comment();
  void BreaklineQuery();

  WindowContext& c_;
  ViewController& view_;
  std::unique_ptr<app::ActiveCommandState> commands_;
  // The breakline the query dialog was opened on, marked while it is open.
  BreaklineIndex queried_ = NoBreakline;
};

}  // namespace terravue::gui
