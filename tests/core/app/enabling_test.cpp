// The enabling rules of the main window: one table of (state, place, command) -> shown, usable.

#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/enabling.h"

namespace terravue::app {
namespace {

using C = CommandId;
using K = CommandKind;

UiState NoData() {
  UiState s;
  s.printerAvailable = true;
  s.hasRecentFiles = true;
  s.highestZoom = 8;
  return s;
}

UiState Loaded(Editor editor = Editor::General, ActiveCommands active = {}) {
  UiState s = NoData();
  s.pointCount = 10;
  s.activeEditor = editor;
  s.active = active;
  return s;
}

UiState With(UiState s, void (*change)(UiState&)) {
  change(s);
  return s;
}

struct Row {
  std::string name;
  UiState state;
  Place place;
  CommandId id;
  Availability expected;
};

void PrintTo(const Row& row, std::ostream* os) { *os << row.name; }

constexpr Availability Usable{true, true};
constexpr Availability Disabled{true, false};
constexpr Availability Hidden{false, true};
constexpr Availability HiddenDisabled{false, false};

std::vector<Row> Rows() {
  return {
      // No data: only the file basics, Edit, importing coordinates and help.
      {"NoDataNew", NoData(), Place::Menu, C::New, Usable},
      {"NoDataOpen", NoData(), Place::Menu, C::OpenSurface, Usable},
      {"NoDataSave", NoData(), Place::Menu, C::SaveSurface, Disabled},
      {"NoDataSaveAs", NoData(), Place::Menu, C::SaveSurfaceAs, Disabled},
      {"NoDataPrint", NoData(), Place::Menu, C::Print, Disabled},
      {"NoDataCad", NoData(), Place::Menu, C::OutputToCad, Disabled},
      {"NoDataProperties", NoData(), Place::Menu, C::SurfaceProperties, Disabled},
      {"NoDataPreferences", NoData(), Place::Menu, C::Preferences, Usable},
      {"NoDataImportCoordinates", NoData(), Place::Menu, C::ImportCoordinates, Usable},
      {"NoDataImportBorder", NoData(), Place::Menu, C::ImportBorder, Disabled},
      {"NoDataImportBreaklines", NoData(), Place::Menu, C::ImportBreaklines, Disabled},
      {"NoDataExport", NoData(), Place::Menu, C::ExportCoordinates, Disabled},
      {"NoDataImportLandXml", NoData(), Place::Menu, C::ImportLandXml, Usable},
      {"NoDataExportLandXml", NoData(), Place::Menu, C::ExportLandXml, Disabled},
      {"NoDataTriangulate", NoData(), Place::Menu, C::Triangulate, Disabled},
      {"NoDataAutoProcess", NoData(), Place::Menu, C::AutoProcess, Usable},
      {"NoDataHelp", NoData(), Place::Menu, C::HelpContents, Usable},
      {"NoDataToolNew", NoData(), Place::ToolBar, C::New, Usable},
      {"NoDataToolOpen", NoData(), Place::ToolBar, C::OpenSurface, Usable},
      {"NoDataToolPrinterSetup", NoData(), Place::ToolBar, C::PrintSetup, Usable},
      {"NoDataToolExit", NoData(), Place::ToolBar, C::Exit, Usable},
      {"NoDataToolSave", NoData(), Place::ToolBar, C::SaveSurface, HiddenDisabled},
      {"NoDataToolMapOptions", NoData(), Place::ToolBar, C::MapOptions, Hidden},
      {"NoDataToolEditor", NoData(), Place::ToolBar, C::SelectBorderEditor, HiddenDisabled},
      {"NoDataContext", NoData(), Place::ContextMenu, C::Redraw, Hidden},
      {"NoDataZoomIn", NoData(), Place::Menu, C::ZoomIn, Disabled},

      // Data loaded: everything, with the printer, border, breakline and zoom conditions.
      {"LoadedSave", Loaded(), Place::Menu, C::SaveSurface, Usable},
      {"LoadedToolSave", Loaded(), Place::ToolBar, C::SaveSurface, Usable},
      {"LoadedPrint", Loaded(), Place::Menu, C::Print, Usable},
      {"NoPrinterPrint", With(Loaded(), [](UiState& s) { s.printerAvailable = false; }), Place::Menu, C::Print,
       Disabled},
      {"UnborderedExportBorder", Loaded(), Place::Menu, C::ExportBorder, Disabled},
      {"BorderedExportBorder", With(Loaded(), [](UiState& s) { s.bordered = true; }), Place::Menu, C::ExportBorder,
       Usable},
      {"NoBreaklinesExport", Loaded(), Place::Menu, C::ExportBreaklines, Disabled},
      {"BreaklinesExport", With(Loaded(), [](UiState& s) { s.hasBreaklines = true; }), Place::Menu,
       C::ExportBreaklines, Usable},
      {"LoadedExportLandXml", Loaded(), Place::Menu, C::ExportLandXml, Usable},
      {"ZoomOutAtLevel1", Loaded(), Place::Menu, C::ZoomOut, Disabled},
      {"ZoomInBelowHighest", Loaded(), Place::Menu, C::ZoomIn, Usable},
      {"ZoomInAtHighest", With(Loaded(), [](UiState& s) { s.zoomLevel = 8; }), Place::Menu, C::ZoomIn, Disabled},
      {"ZoomOutAboveLevel1", With(Loaded(), [](UiState& s) { s.zoomLevel = 2; }), Place::Menu, C::ZoomOut, Usable},
      {"QuitHiddenWhenIdle", Loaded(), Place::Menu, C::QuitActiveCommand, HiddenDisabled},

      // Edit sub-menus: only the checked editor's (General always).
      {"GeneralSubMenu", Loaded(Editor::Border), Place::EditSubMenu, C::CursorOptions, Usable},
      {"CheckedEditorSubMenu", Loaded(Editor::Border), Place::EditSubMenu, C::BorderConvex, Usable},
      {"OtherEditorSubMenu", Loaded(Editor::Border), Place::EditSubMenu, C::BreaklineKill, Disabled},

      // The context menu's editor entries.
      {"ContextAddPointInCoordinate", Loaded(Editor::Coordinate), Place::ContextMenu, C::CoordinateAdd, Usable},
      {"ContextAddPointElsewhere", Loaded(Editor::Border), Place::ContextMenu, C::CoordinateAdd, Hidden},
      {"ContextDeletePointFewPoints",
       With(Loaded(Editor::Coordinate), [](UiState& s) { s.pointCount = 3; }), Place::ContextMenu,
       C::CoordinateDelete, Hidden},
      {"ContextDeletePoint", Loaded(Editor::Coordinate), Place::ContextMenu, C::CoordinateDelete, Usable},
      {"ContextBorderVerify", Loaded(Editor::Border), Place::ContextMenu, C::BorderVerify, Usable},
      {"ContextSwapInBreakline", Loaded(Editor::Breakline), Place::ContextMenu, C::BreaklineSwap, Usable},
      {"ContextSwapElsewhere", Loaded(Editor::Coordinate), Place::ContextMenu, C::BreaklineSwap, Hidden},
      {"ContextQuitWhenIdle", Loaded(), Place::ContextMenu, C::QuitActiveCommand, HiddenDisabled},

      // An active command locks files, processing, volumes, most dialogs and the editors.
      {"NewBorderOpen", Loaded(Editor::Border, {K::NewBorder}), Place::Menu, C::OpenSurface, Disabled},
      {"NewBorderToolOpen", Loaded(Editor::Border, {K::NewBorder}), Place::ToolBar, C::OpenSurface, Disabled},
      {"NewBorderTriangulate", Loaded(Editor::Border, {K::NewBorder}), Place::ToolBar, C::Triangulate, Disabled},
      {"NewBorderVolume", Loaded(Editor::Border, {K::NewBorder}), Place::Menu, C::VolumeTwoSurfaces, Disabled},
      {"NewBorderEditorButton", Loaded(Editor::Border, {K::NewBorder}), Place::ToolBar, C::SelectCoordinateEditor,
       Disabled},
      {"NewBorderCursorOptions", Loaded(Editor::Border, {K::NewBorder}), Place::Menu, C::CursorOptions, Disabled},
      {"NewBorderLength", Loaded(Editor::Border, {K::NewBorder}), Place::Menu, C::Length, Disabled},
      {"NewBorderMapOptionsInView", Loaded(Editor::Border, {K::NewBorder}), Place::Menu, C::MapOptions, Usable},
      {"NewBorderMapOptionsInEdit", Loaded(Editor::Border, {K::NewBorder}), Place::EditSubMenu, C::MapOptions,
       Disabled},
      {"NewBorderEndsItself", Loaded(Editor::Border, {K::NewBorder}), Place::EditSubMenu, C::BorderNew, Usable},
      {"NewBorderOtherBorderItem", Loaded(Editor::Border, {K::NewBorder}), Place::EditSubMenu, C::BorderConvex,
       Disabled},
      {"NewBorderContextItem", Loaded(Editor::Border, {K::NewBorder}), Place::ContextMenu, C::BorderVerify,
       Disabled},
      {"NewBorderQuit", Loaded(Editor::Border, {K::NewBorder}), Place::Menu, C::QuitActiveCommand, Usable},
      {"NewBorderContextQuit", Loaded(Editor::Border, {K::NewBorder}), Place::ContextMenu, C::QuitActiveCommand,
       Usable},
      {"NewBorderPrinterSetupButton", Loaded(Editor::Border, {K::NewBorder}), Place::ToolBar, C::PrintSetup, Usable},
      {"NewBreaklineEndsItself", Loaded(Editor::Breakline, {K::NewBreakline}), Place::EditSubMenu, C::BreaklineAdd,
       Usable},
      {"NewBreaklineSwap", Loaded(Editor::Breakline, {K::NewBreakline}), Place::EditSubMenu, C::BreaklineSwap,
       Disabled},
      {"SwapEndsItself", Loaded(Editor::Breakline, {K::Swap}), Place::EditSubMenu, C::BreaklineSwap, Usable},
      {"SwapAdd", Loaded(Editor::Breakline, {K::Swap}), Place::EditSubMenu, C::BreaklineAdd, Disabled},
      {"LengthEndsItself", Loaded(Editor::General, {K::Length}), Place::Menu, C::Length, Usable},
      {"LengthJump", Loaded(Editor::General, {K::Length}), Place::Menu, C::JumpToPoint, Disabled},
      {"LengthZoomIn", Loaded(Editor::General, {K::Length}), Place::Menu, C::ZoomIn, Usable},
      {"QueryTriangleEndsItself", Loaded(Editor::Analyzer, {K::QueryTriangle}), Place::EditSubMenu,
       C::AnalyzerQueryTriangle, Usable},
      {"QueryTriangleWatershed", Loaded(Editor::Analyzer, {K::QueryTriangle}), Place::EditSubMenu,
       C::AnalyzerWatershed, Disabled},
      {"AnimateStopsFrom3DView", Loaded(Editor::General, {K::Animate}), Place::EditSubMenu, C::View3D, Usable},

      // The query dialogs lock only the choice of editor.
      {"QueryPointEditorButton", Loaded(Editor::General, {K::QueryPoint}), Place::ToolBar, C::SelectBorderEditor,
       Disabled},
      {"QueryPointSave", Loaded(Editor::General, {K::QueryPoint}), Place::Menu, C::SaveSurface, Usable},
      {"QueryPointNoQuit", Loaded(Editor::General, {K::QueryPoint}), Place::Menu, C::QuitActiveCommand,
       HiddenDisabled},
  };
}

class EnablingTable : public ::testing::TestWithParam<Row> {};

TEST_P(EnablingTable, ShowsAndEnables) {
  const Row& row = GetParam();
  EXPECT_EQ(ComputeEnabling(row.state).At(row.place, row.id), row.expected);
}

INSTANTIATE_TEST_SUITE_P(Rules, EnablingTable, ::testing::ValuesIn(Rows()),
                         [](const ::testing::TestParamInfo<Row>& info) { return info.param.name; });

TEST(Enabling, ContainersFollowDataAndCommands) {
  const Enabling none = ComputeEnabling(NoData());
  EXPECT_FALSE(none.editorBarVisible);
  EXPECT_FALSE(none.viewMenuVisible);
  EXPECT_FALSE(none.volumeMenuVisible);
  EXPECT_FALSE(none.contextMenuAvailable);
  EXPECT_FALSE(none.exportMenuEnabled);
  EXPECT_TRUE(none.fileMenuEnabled);
  EXPECT_TRUE(none.reopenEnabled);

  const Enabling loaded = ComputeEnabling(Loaded(Editor::Breakline));
  EXPECT_TRUE(loaded.editorBarVisible && loaded.viewMenuVisible && loaded.volumeMenuVisible);
  EXPECT_TRUE(loaded.contextEditorSeparator);
  EXPECT_EQ(loaded.checkedEditor, Editor::Breakline);
  EXPECT_TRUE(loaded.editSubMenuEnabled[0]);
  EXPECT_TRUE(loaded.editSubMenuEnabled[3]);
  EXPECT_FALSE(loaded.editSubMenuEnabled[2]);
  EXPECT_FALSE(ComputeEnabling(Loaded(Editor::Analyzer)).contextEditorSeparator);

  const Enabling active = ComputeEnabling(Loaded(Editor::Breakline, {K::Swap}));
  EXPECT_FALSE(active.fileMenuEnabled);
  EXPECT_FALSE(active.processMenuEnabled);
  EXPECT_FALSE(active.volumeMenuEnabled);
  EXPECT_FALSE(active.reopenEnabled);
  EXPECT_TRUE(active.quitVisible);

  UiState empty = Loaded();
  empty.hasRecentFiles = false;
  EXPECT_FALSE(ComputeEnabling(empty).reopenEnabled);
}

}  // namespace
}  // namespace terravue::app
