#pragma once

#include <array>
#include <functional>
#include <span>
#include <vector>

#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include "app/commands.h"
#include "app/enabling.h"

class QAction;

namespace terravue::gui {

using app::CommandId;

// One row of the command table: the caption the main menu gives it, the function key shown
// beside it, and the hint. A tool-bar hint reads "tooltip|status text".
struct CommandRow {
  CommandId id;
  const char* caption;
  const char* functionKey = nullptr;  // "F2", ...
  const char* hint = nullptr;
  const char* toolHint = nullptr;
};

std::span<const CommandRow> CommandRows();
const CommandRow& RowOf(CommandId id);

// Every action made by the table carries its command's id under this property.
inline constexpr const char* CommandIdProperty = "commandId";
CommandId CommandOf(const QAction* action);

// Where an action offers its command; editor-bar items also name their folder.
enum class EntryPlace { Menu, EditSubMenu, ToolBar, ContextMenu, EditorBar };

// The one table every entry point goes through: a handler per command, the command's own action,
// and the entries of the menus, tool bar, editor bar and context menu that run it. The command's
// action alone holds the command's keys (its function key, the desktop's usual shortcut) for
// the whole window, so a key is never claimed twice; the entries show the key beside their
// caption. Which entries are shown and usable follows the enabling rules; a command without a
// handler yet is shown but never usable.
class CommandTable : public QObject {
  Q_OBJECT

 public:
  explicit CommandTable(QObject* parent = nullptr);

  void SetHandler(CommandId id, std::function<void()> handler);
  // Every command but Undo and Redo runs through the wrapper (which calls the handler it is
  // given): the one place that records changes to the model.
  using RunWrapper = std::function<void(CommandId, const std::function<void()>&)>;
  void SetRunWrapper(RunWrapper wrapper) { wrapper_ = std::move(wrapper); }
  // Gives every action of the command a new caption (Undo and Redo name their step).
  void SetCaption(CommandId id, const QString& caption);
  bool HasHandler(CommandId id) const;

  // Runs the command when the rules let it run now; true when it ran. Every entry point,
  // keys included, comes here.
  bool Run(CommandId id);
  bool CanRun(CommandId id) const;
  // An editor-bar item: the command's own rule and the folder's limit while commands run.
  bool CanRunFromFolder(app::Editor folder, CommandId id) const;
  bool RunFromFolder(app::Editor folder, CommandId id);

  // An entry that runs `id` from `place`, with the row's caption unless one is given.
  QAction* NewAction(CommandId id, EntryPlace place, QObject* parent, const QString& caption = {},
                     app::Editor folder = app::Editor::General);

  // The actions of the commands that have keys, for the window to take (window-wide keys).
  QList<QAction*> KeyActions() const;
  // The keys of a command, as the menus show them ("F4", "Ctrl+S"); empty when it has none.
  QList<QKeySequence> KeysOf(CommandId id) const;

  // Takes new rules and brings every action in step.
  void Apply(const app::UiState& state, const app::Enabling& enabling);
  const app::Enabling& Enabling() const { return enabling_; }
  const app::UiState& State() const { return state_; }

 signals:
  // After a command ran (the window recomputes the rules).
  void Ran(CommandId id);

 private:
  struct Entry {
    QPointer<QAction> action;
    CommandId id;
    EntryPlace place;
    app::Editor folder;
  };
  app::Availability AvailabilityOf(const Entry& entry) const;

  std::array<std::function<void()>, app::CommandCount> handlers_;
  std::array<QAction*, app::CommandCount> keyActions_{};
  RunWrapper wrapper_;
  app::UiState state_;
  app::Enabling enabling_;
  std::vector<Entry> entries_;
};

}  // namespace terravue::gui
