#include "app/commands.h"

#include <array>

#include "app/command_state.h"

namespace terravue::app {
namespace {

using C = CommandId;

constexpr std::array GeneralItems{
    FolderItem{C::View3D, "&3-D View", "3"},
    FolderItem{C::CursorOptions, "&Cursor Options", "C"},
    FolderItem{C::JumpToPoint, "&Jump To Point", "J"},
    FolderItem{C::Length, "&Length", "L"},
    FolderItem{C::MapOptions, "&Map Options", "M"},
    FolderItem{C::QueryPoint, "&Query Point", "Q"},
    FolderItem{C::SetScale, "Set &Scale", "S"},
    FolderItem{C::ZoomOptions, "&Zoom Options", "Z"},
    FolderItem{C::ZoomIn, "Zoom &In [ + ]", "I"},
    FolderItem{C::ZoomOut, "Zoom &Out [ - ]", "O"},
    FolderItem{C::Redraw, "&Redraw", "R"},
    FolderItem{C::Regenerate, "Re&generate", "G"},
};

constexpr std::array CoordinateItems{
    FolderItem{C::CoordinateAdd, "&Add", "A"},
    FolderItem{C::CoordinateComment, "&Comment", "C"},
    FolderItem{C::CoordinateDelete, "&Delete", "D"},
    FolderItem{C::CoordinateEdit, "&Edit", "E"},
    FolderItem{C::CoordinateFactor, "&Factor", "F"},
    FolderItem{C::CoordinatePrint, "&Print", "P"},
    FolderItem{C::CoordinateRemove, "&Remove", "R"},
    FolderItem{C::CoordinateRotate, "R&otate", "O"},
    FolderItem{C::CoordinateSearch, "&Search", "S"},
    FolderItem{C::CoordinateTextEditor, "Text Ed&itor", "I"},
    FolderItem{C::CoordinateTranslate, "&Translate", "T"},
    FolderItem{C::CoordinateUndelete, "&Undelete", "U"},
    FolderItem{C::CoordinateVerify, "&Verify", "V"},
};

constexpr std::array BorderItems{
    FolderItem{C::BorderConvex, "&Convex", "C"},
    FolderItem{C::BorderDeletePoint, "&Delete Border Pt", "D"},
    FolderItem{C::BorderInsertPoint, "&Insert Border Pt", "I"},
    FolderItem{C::BorderNew, "&New", "N"},
    FolderItem{C::BorderNewSeries, "New - &Series", "S"},
    FolderItem{C::BorderPrint, "&Print", "P"},
    FolderItem{C::BorderVerify, "&Verify Border", "V"},
    FolderItem{C::BorderErrorNext, "E&rror - Next", "R."},
    FolderItem{C::BorderErrorPrevious, "&Error - Previous", "E,"},
};

constexpr std::array BreaklineItems{
    FolderItem{C::BreaklineAdd, "&Add", "A"},
    FolderItem{C::BreaklineAddSeries, "Add - Ser&ies", "I"},
    FolderItem{C::BreaklineDelete, "&Delete", "D"},
    FolderItem{C::BreaklineErrorNext, "E&rror - Next", "R."},
    FolderItem{C::BreaklineErrorPrevious, "&Error - Previous", "E,"},
    FolderItem{C::BreaklineExecute, "E&xecute", "X"},
    FolderItem{C::BreaklineJump, "&Jump", "J"},
    FolderItem{C::BreaklineKill, "&Kill", "K"},
    FolderItem{C::BreaklinePrint, "&Print", "P"},
    FolderItem{C::BreaklineQuery, "&Query", "Q"},
    FolderItem{C::BreaklineSwap, "&Swap", "S"},
    FolderItem{C::Triangulate, "&Triangulate", "T"},
    FolderItem{C::BreaklineUndelete, "&Undelete", "U"},
};

constexpr std::array AnalyzerItems{
    FolderItem{C::AnalyzerContourLine, "&Contour Line", "C"},
    FolderItem{C::AnalyzerElevationJump, "&Elevation Jump", "E"},
    FolderItem{C::AnalyzerQueryTriangle, "&Query Triangle", "Q"},
    FolderItem{C::AnalyzerTextOutput, "&Text Output", "T"},
    FolderItem{C::AnalyzerWaterDrop, "Water &Drop", "D"},
    FolderItem{C::AnalyzerWatershed, "&Watershed", "W"},
    FolderItem{C::AnalyzerVectorAccumulator, "&Vector Accumulator", "V"},
};

// The one key of a folder that an active command still takes, or none at all.
enum class KeyLimit { Everything, Nothing, Only };
struct Limit {
  KeyLimit limit = KeyLimit::Everything;
  std::string_view only;
};

Limit KeyLimitFor(Editor editor, const ActiveCommands& active) {
  const bool animate = active.Has(CommandKind::Animate);
  if (editor == Editor::General) return animate ? Limit{KeyLimit::Only, "3MIO"} : Limit{};
  if (active.Has(CommandKind::Length) || animate) return {KeyLimit::Nothing, {}};
  if (editor == Editor::Border && active.Has(CommandKind::NewBorder)) return {KeyLimit::Only, "N"};
  if (editor == Editor::Breakline) {
    if (active.Has(CommandKind::NewBreakline)) return {KeyLimit::Only, "A"};
    if (active.Has(CommandKind::Swap)) return {KeyLimit::Only, "S"};
  }
  return {};
}

}  // namespace

std::string_view FolderTitle(Editor editor) {
  switch (editor) {
    case Editor::General: return "General Commands";
    case Editor::Coordinate: return "Coordinate Editor";
    case Editor::Border: return "Border Editor";
    case Editor::Breakline: return "Breakline Editor";
    case Editor::Analyzer: return "Surface Analyzer";
  }
  return {};
}

std::span<const FolderItem> FolderItems(Editor editor) {
  switch (editor) {
    case Editor::General: return GeneralItems;
    case Editor::Coordinate: return CoordinateItems;
    case Editor::Border: return BorderItems;
    case Editor::Breakline: return BreaklineItems;
    case Editor::Analyzer: return AnalyzerItems;
  }
  return {};
}

std::optional<Editor> FolderOf(CommandId id) {
  for (std::size_t e = 0; e < EditorCount; ++e) {
    const auto editor = static_cast<Editor>(e);
    for (const FolderItem& item : FolderItems(editor))
      if (item.id == id) return editor;
  }
  return std::nullopt;
}

std::optional<Editor> EditorSelectedBy(CommandId id) {
  switch (id) {
    case C::SelectCoordinateEditor: return Editor::Coordinate;
    case C::SelectBorderEditor: return Editor::Border;
    case C::SelectBreaklineEditor: return Editor::Breakline;
    case C::SelectAnalyzer: return Editor::Analyzer;
    default: return std::nullopt;
  }
}

CommandId SelectCommandOf(Editor editor) {
  switch (editor) {
    case Editor::Coordinate: return C::SelectCoordinateEditor;
    case Editor::Border: return C::SelectBorderEditor;
    case Editor::Breakline: return C::SelectBreaklineEditor;
    case Editor::Analyzer:
    case Editor::General: break;
  }
  return C::SelectAnalyzer;
}

std::optional<CommandId> LetterKeyCommand(Editor editor, char key, const ActiveCommands& active) {
  if (key >= 'a' && key <= 'z') key = static_cast<char>(key - 'a' + 'A');
  const Limit limit = KeyLimitFor(editor, active);
  if (limit.limit == KeyLimit::Nothing) return std::nullopt;
  if (limit.limit == KeyLimit::Only && limit.only.find(key) == std::string_view::npos) return std::nullopt;
  for (const FolderItem& item : FolderItems(editor))
    if (item.keys.find(key) != std::string_view::npos) return item.id;
  return std::nullopt;
}

bool EditorBarItemAllowed(Editor folder, CommandId id, const ActiveCommands& active) {
  if (active.Has(CommandKind::Animate)) return id == C::View3D;
  if (active.Has(CommandKind::Length)) return folder == Editor::General;
  if (active.Has(CommandKind::NewBorder)) return id == C::BorderNew;
  if (active.Has(CommandKind::NewBreakline)) return id == C::BreaklineAdd;
  if (active.Has(CommandKind::Swap)) return id == C::BreaklineSwap;
  return true;
}

}  // namespace terravue::app
