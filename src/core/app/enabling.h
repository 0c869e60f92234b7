#pragma once

#include <array>
#include <cstdint>

#include "app/command_state.h"
#include "app/commands.h"

// Which commands, menus and buttons of the main window are shown and usable: one pure function
// of the model's state, the active commands and the printer, recomputed after every load,
// import, edit and command start or end. Nothing of it is stored.
namespace terravue::app {

struct UiState {
  std::uint16_t pointCount = 0;
  bool bordered = false;
  bool hasBreaklines = false;
  bool printerAvailable = false;
  bool hasRecentFiles = false;
  int zoomLevel = 1;
  int highestZoom = 1;
  Editor activeEditor = Editor::General;
  bool canUndo = false;
  bool canRedo = false;
  ActiveCommands active;
};

struct Availability {
  bool visible = true;
  bool enabled = true;
  friend bool operator==(const Availability&, const Availability&) = default;
};

// Where a command is offered. Letter keys and editor-bar items follow the command itself after
// their own filters (LetterKeyCommand, EditorBarItemAllowed).
enum class Place : std::uint8_t {
  Menu,         // the main menu outside the Edit sub-menus, and function keys
  EditSubMenu,  // the five sub-menus of Edit
  ToolBar,
  ContextMenu,  // the map's context menu
};
inline constexpr std::size_t PlaceCount = 4;

struct Enabling {
  // The command itself: false means no entry point may run it.
  std::array<bool, CommandCount> runs{};
  std::array<std::array<Availability, CommandCount>, PlaceCount> places{};

  bool editorBarVisible = false;
  bool viewMenuVisible = false;
  bool volumeMenuVisible = false;
  bool fileMenuEnabled = true;
  bool processMenuEnabled = true;
  bool exportMenuEnabled = true;
  bool volumeMenuEnabled = true;
  bool reopenEnabled = true;
  bool zoomListVisible = false;
  bool contextMenuAvailable = false;
  // The separator after the editor entries of the context menu.
  bool contextEditorSeparator = false;
  // "&Quit Active Command" and the context menu's quit entry.
  bool quitVisible = false;
  std::array<bool, EditorCount> editSubMenuEnabled{};
  // The editor whose View item is checked and whose button is down (General: none).
  Editor checkedEditor = Editor::General;

  bool Runs(CommandId id) const { return runs[IndexOf(id)]; }
  Availability At(Place place, CommandId id) const {
    return places[static_cast<std::size_t>(place)][IndexOf(id)];
  }
};

// The item of the Edit sub-menus that ends the running command, which stays usable while
// everything else there is off (New Border: the Border Editor's "&New", ...).
bool EndsActiveCommand(CommandId id, const ActiveCommands& active);

Enabling ComputeEnabling(const UiState& state);

}  // namespace terravue::app
