#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

// The commands of the main window by name, the five editors, the folders of the editor bar with
// their letter keys, and which letters and folder items an active command lets through. The
// front end attaches captions, icons and handlers to the same names; every way of starting a
// command (menu, tool button, editor bar, letter or function key, context menu) ends in one id.
namespace terravue::app {

enum class Editor : std::uint8_t {
  General = 0,
  Coordinate = 1,
  Border = 2,
  Breakline = 3,
  Analyzer = 4,
};
inline constexpr std::size_t EditorCount = 5;

enum class CommandId : std::uint16_t {
  // File
  New,
  OpenSurface,
  SaveSurface,
  SaveSurfaceAs,
  PrintSetup,
  Print,
  OutputToCad,
  Preferences,
  SurfaceProperties,
  Exit,
  ClearRecentFiles,
  // General commands
  View3D,
  CursorOptions,
  JumpToPoint,
  Length,
  MapOptions,
  QueryPoint,
  SetScale,
  ZoomOptions,
  ZoomIn,
  ZoomOut,
  Redraw,
  Regenerate,
  // View
  SelectCoordinateEditor,
  SelectBorderEditor,
  SelectBreaklineEditor,
  SelectAnalyzer,
  TrackNearestPoint,
  // Keys without a menu item
  QuickZoom,
  QuickUnzoom,
  CentreOnCursor,
  // Coordinate Editor
  CoordinateAdd,
  CoordinateComment,
  CoordinateDelete,
  CoordinateEdit,
  CoordinateFactor,
  CoordinatePrint,
  CoordinateRemove,
  CoordinateRotate,
  CoordinateSearch,
  CoordinateTextEditor,
  CoordinateTranslate,
  CoordinateUndelete,
  CoordinateVerify,
  // Border Editor
  BorderConvex,
  BorderDeletePoint,
  BorderInsertPoint,
  BorderNew,
  BorderNewSeries,
  BorderPrint,
  BorderVerify,
  BorderErrorNext,
  BorderErrorPrevious,
  // Breakline Editor (its Triangulate is the Process menu's)
  BreaklineAdd,
  BreaklineAddSeries,
  BreaklineDelete,
  BreaklineErrorNext,
  BreaklineErrorPrevious,
  BreaklineExecute,
  BreaklineJump,
  BreaklineKill,
  BreaklinePrint,
  BreaklineQuery,
  BreaklineSwap,
  BreaklineUndelete,
  // Surface Analyzer
  AnalyzerContourLine,
  AnalyzerElevationJump,
  AnalyzerQueryTriangle,
  AnalyzerTextOutput,
  AnalyzerWaterDrop,
  AnalyzerWatershed,
  AnalyzerVectorAccumulator,
  // Process
  AutoProcess,
  ImportCoordinates,
  ImportBorder,
  ImportBreaklines,
  ExportCoordinates,
  ExportBorder,
  ExportBreaklines,
  ImportLandXml,
  ExportLandXml,
  Triangulate,
  // Volume
  VolumeSingleSurface,
  VolumeTwoSurfaces,
  // Active commands
  QuitActiveCommand,
  // Undo and redo of changes to the model
  Undo,
  Redo,
  // Help
  HelpContents,
  HelpHowTo,
  HelpTutorials,
  HelpBreaklines,
  HelpAnalyzer,
  HelpAnalyzerTutorial,
  About,

  Count_
};
inline constexpr std::size_t CommandCount = static_cast<std::size_t>(CommandId::Count_);

constexpr std::size_t IndexOf(CommandId id) { return static_cast<std::size_t>(id); }

// One item of an editor-bar folder: the command, its caption there, and the keys that start it
// while that editor is active (upper case).
struct FolderItem {
  CommandId id;
  std::string_view caption;
  std::string_view keys;
};

std::string_view FolderTitle(Editor editor);
std::span<const FolderItem> FolderItems(Editor editor);
// The editor a command belongs to as an item of its folder; nothing for commands outside the
// folders.
std::optional<Editor> FolderOf(CommandId id);

// The editor that the View menu item or editor button selects.
std::optional<Editor> EditorSelectedBy(CommandId id);
CommandId SelectCommandOf(Editor editor);

// ---- What an active command lets through ----------------------------------------------------

class ActiveCommands;

// The command a letter key starts while `editor` is active, after the limits of the running
// interactive commands; nothing for keys without an entry. `key` is taken in upper case.
std::optional<CommandId> LetterKeyCommand(Editor editor, char key, const ActiveCommands& active);

// Whether a click on a folder item of the editor bar goes through while commands are active.
bool EditorBarItemAllowed(Editor folder, CommandId id, const ActiveCommands& active);

}  // namespace terravue::app
