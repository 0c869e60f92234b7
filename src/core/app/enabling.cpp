#include "app/enabling.h"

#include <algorithm>
#include <initializer_list>

namespace terravue::app {
namespace {

using C = CommandId;

bool OneOf(CommandId id, std::initializer_list<CommandId> ids) {
  return std::find(ids.begin(), ids.end(), id) != ids.end();
}

bool IsEditorCommand(CommandId id) {
  const auto folder = FolderOf(id);
  return folder && *folder != Editor::General;
}

bool IsProcessCommand(CommandId id) {
  return OneOf(id, {C::AutoProcess, C::ImportCoordinates, C::ImportBorder, C::ImportBreaklines,
                    C::ExportCoordinates, C::ExportBorder, C::ExportBreaklines, C::ImportLandXml,
                    C::ExportLandXml, C::Triangulate});
}

bool IsEditorSelection(CommandId id) { return EditorSelectedBy(id).has_value(); }

// The rules for the command itself, wherever it is offered.
bool CommandRuns(CommandId id, const UiState& s) {
  const bool points = s.pointCount > 0;
  const bool holding = s.active.AnyHolding();

  if (!points) {
    if (OneOf(id, {C::SaveSurface, C::SaveSurfaceAs, C::Print, C::OutputToCad, C::SurfaceProperties,
                   C::ImportBorder, C::ImportBreaklines, C::ExportCoordinates, C::ExportBorder,
                   C::ExportBreaklines, C::ExportLandXml, C::Triangulate, C::VolumeSingleSurface,
                   C::VolumeTwoSurfaces}))
      return false;
    // Nothing to point at or zoom into; the editors cannot be chosen without data.
    if (OneOf(id, {C::JumpToPoint, C::Length, C::QueryPoint, C::ZoomIn, C::ZoomOut, C::QuickZoom,
                   C::QuickUnzoom, C::BorderNew, C::BreaklineAdd, C::BreaklineSwap,
                   C::AnalyzerQueryTriangle}) ||
        IsEditorSelection(id))
      return false;
  }
  if (id == C::Print && !s.printerAvailable) return false;
  if (id == C::ExportBorder && !s.bordered) return false;
  if (id == C::ExportBreaklines && !s.hasBreaklines) return false;
  if (id == C::ZoomIn && s.zoomLevel >= s.highestZoom) return false;
  if (id == C::ZoomOut && s.zoomLevel <= 1) return false;

  // The query dialogs lock only the choice of editor.
  if (s.active.Any() && IsEditorSelection(id)) return false;
  if (holding) {
    if (OneOf(id, {C::New, C::OpenSurface, C::ClearRecentFiles, C::SaveSurface, C::SaveSurfaceAs, C::Print,
                   C::OutputToCad, C::VolumeSingleSurface, C::VolumeTwoSurfaces, C::CursorOptions,
                   C::JumpToPoint, C::QueryPoint, C::SetScale, C::ZoomOptions}) ||
        IsProcessCommand(id))
      return false;
    if (id == C::Length && !s.active.Has(CommandKind::Length)) return false;
    if (IsEditorCommand(id) && !EndsActiveCommand(id, s.active)) return false;
  }
  if (id == C::QuitActiveCommand) return holding;
  // A command holding the map works on the model as it is.
  if (id == C::Undo) return s.canUndo && !holding;
  if (id == C::Redo) return s.canRedo && !holding;
  return true;
}

}  // namespace

bool EndsActiveCommand(CommandId id, const ActiveCommands& active) {
  switch (id) {
    case C::BorderNew: return active.Has(CommandKind::NewBorder);
    case C::BreaklineAdd: return active.Has(CommandKind::NewBreakline);
    case C::BreaklineSwap: return active.Has(CommandKind::Swap);
    case C::Length: return active.Has(CommandKind::Length);
    case C::AnalyzerQueryTriangle: return active.Has(CommandKind::QueryTriangle);
    case C::View3D: return active.Has(CommandKind::Animate);
    default: return false;
  }
}

Enabling ComputeEnabling(const UiState& s) {
  Enabling e;
  const bool points = s.pointCount > 0;
  const bool holding = s.active.AnyHolding();

  e.editorBarVisible = points;
  e.viewMenuVisible = points;
  e.volumeMenuVisible = points;
  e.zoomListVisible = points;
  e.contextMenuAvailable = points;
  e.fileMenuEnabled = !holding;
  e.processMenuEnabled = !holding;
  e.volumeMenuEnabled = !holding;
  e.exportMenuEnabled = points;
  e.reopenEnabled = s.hasRecentFiles && !holding;
  e.quitVisible = holding;
  e.checkedEditor = s.activeEditor;
  for (std::size_t k = 0; k < EditorCount; ++k)
    e.editSubMenuEnabled[k] = k == 0 || static_cast<Editor>(k) == s.activeEditor;
  e.contextEditorSeparator =
      points && (s.activeEditor == Editor::Coordinate || s.activeEditor == Editor::Border ||
                 s.activeEditor == Editor::Breakline);

  for (std::size_t i = 0; i < CommandCount; ++i) {
    const auto id = static_cast<CommandId>(i);
    const bool runs = CommandRuns(id, s);
    e.runs[i] = runs;

    e.places[static_cast<std::size_t>(Place::Menu)][i] = {true, runs};
    if (id == C::QuitActiveCommand) e.places[static_cast<std::size_t>(Place::Menu)][i].visible = holding;

    const auto folder = FolderOf(id);
    const bool subMenuOn = folder ? e.editSubMenuEnabled[static_cast<std::size_t>(*folder)] : true;
    e.places[static_cast<std::size_t>(Place::EditSubMenu)][i] = {
        true, runs && subMenuOn && (!holding || EndsActiveCommand(id, s.active))};

    const bool alwaysOnToolBar = OneOf(id, {C::New, C::OpenSurface, C::PrintSetup, C::Exit});
    e.places[static_cast<std::size_t>(Place::ToolBar)][i] = {points || alwaysOnToolBar, runs};

    bool inContext = true;
    if (OneOf(id, {C::CoordinateAdd, C::CoordinateEdit, C::CoordinateDelete}))
      inContext = s.activeEditor == Editor::Coordinate;
    if (OneOf(id, {C::BorderDeletePoint, C::BorderInsertPoint, C::BorderVerify}))
      inContext = s.activeEditor == Editor::Border;
    if (OneOf(id, {C::BreaklineAdd, C::BreaklineDelete, C::BreaklineSwap}))
      inContext = s.activeEditor == Editor::Breakline;
    if (id == C::CoordinateEdit) inContext = inContext && points;
    if (id == C::CoordinateDelete) inContext = inContext && s.pointCount > 3;
    if (id == C::QuitActiveCommand) inContext = holding;
    e.places[static_cast<std::size_t>(Place::ContextMenu)][i] = {inContext && points, runs};
  }
  return e;
}

}  // namespace terravue::app
