#include "commands/command_layout.h"

namespace terravue::gui::layout {
namespace {

using C = CommandId;

constexpr Item Cmd(C id, const char* caption = nullptr) { return {ItemKind::Command, id, caption}; }
constexpr Item Sep() { return {ItemKind::Separator}; }
constexpr Item Sub(ListId list, const char* caption) { return {ItemKind::SubMenu, C::Count_, caption, list}; }

constexpr Item FileMenu[] = {
    Cmd(C::New),
    Cmd(C::OpenSurface),
    {ItemKind::RecentFiles, C::Count_, "R&eopen Surface"},
    Cmd(C::SaveSurface),
    Cmd(C::SaveSurfaceAs),
    Sep(),
    Cmd(C::PrintSetup),
    Cmd(C::Print),
    Cmd(C::OutputToCad),
    Sep(),
    Cmd(C::Preferences),
    Sep(),
    Cmd(C::SurfaceProperties),
    Cmd(C::Exit),
};

constexpr Item EditMenu[] = {
    Cmd(C::Undo),
    Cmd(C::Redo),
    Sep(),
    Sub(ListId::EditGeneral, "&General Commands"),
    Sep(),
    Sub(ListId::EditCoordinate, "&Coordinate Editor"),
    Sub(ListId::EditBorder, "&Border Editor"),
    Sub(ListId::EditBreakline, "Break&line Editor"),
    Sub(ListId::EditAnalyzer, "Surface &Analyzer"),
};

constexpr Item EditGeneral[] = {
    Cmd(C::View3D, "&3-D View"), Cmd(C::CursorOptions), Cmd(C::JumpToPoint), Cmd(C::Length),
    Cmd(C::MapOptions),          Cmd(C::SetScale),      Cmd(C::QueryPoint),  Cmd(C::ZoomOptions),
};

constexpr Item EditCoordinate[] = {
    Cmd(C::CoordinateAdd),        Cmd(C::CoordinateComment),   Cmd(C::CoordinateDelete), Cmd(C::CoordinateEdit),
    Cmd(C::CoordinateFactor),     Cmd(C::CoordinatePrint),     Cmd(C::CoordinateRemove), Cmd(C::CoordinateRotate),
    Cmd(C::CoordinateSearch),     Cmd(C::CoordinateTextEditor), Cmd(C::CoordinateTranslate),
    Cmd(C::CoordinateUndelete),   Cmd(C::CoordinateVerify),
};

// The menu spells two of the editor bar's items with a full stop.
constexpr Item EditBorder[] = {
    Cmd(C::BorderConvex),    Cmd(C::BorderDeletePoint, "&Delete Border Pt."),
    Cmd(C::BorderInsertPoint, "&Insert Border Pt."), Cmd(C::BorderNew),
    Cmd(C::BorderNewSeries), Cmd(C::BorderPrint),
    Cmd(C::BorderVerify),    Cmd(C::BorderErrorNext),
    Cmd(C::BorderErrorPrevious),
};

constexpr Item EditBreakline[] = {
    Cmd(C::BreaklineAdd),      Cmd(C::BreaklineAddSeries), Cmd(C::BreaklineDelete),
    Cmd(C::BreaklineErrorNext), Cmd(C::BreaklineErrorPrevious), Cmd(C::BreaklineExecute),
    Cmd(C::BreaklineJump),     Cmd(C::BreaklineKill),      Cmd(C::BreaklinePrint),
    Cmd(C::BreaklineQuery),    Cmd(C::BreaklineSwap),      Cmd(C::Triangulate, "&Triangulate"),
    Cmd(C::BreaklineUndelete),
};

constexpr Item EditAnalyzer[] = {
    Cmd(C::AnalyzerContourLine), Cmd(C::AnalyzerElevationJump), Cmd(C::AnalyzerQueryTriangle),
    Cmd(C::AnalyzerTextOutput),  Cmd(C::AnalyzerWaterDrop),     Cmd(C::AnalyzerWatershed),
    Cmd(C::AnalyzerVectorAccumulator),
};

constexpr Item ViewMenu[] = {
    Cmd(C::SelectCoordinateEditor), Cmd(C::SelectBorderEditor), Cmd(C::SelectBreaklineEditor), Cmd(C::SelectAnalyzer),
    Sep(),
    Cmd(C::View3D), Cmd(C::CursorOptions), Cmd(C::MapOptions), Cmd(C::SetScale), Cmd(C::ZoomOptions),
    Sep(),
    Cmd(C::ZoomIn), Cmd(C::ZoomOut),
    Sep(),
    Cmd(C::Redraw), Cmd(C::Regenerate),
    Sep(),
    Cmd(C::TrackNearestPoint),
};

constexpr Item ProcessMenu[] = {
    Cmd(C::AutoProcess),
    Sep(),
    Sub(ListId::ImportMenu, "&Import"),
    Sub(ListId::ExportMenu, "&Export"),
    Sep(),
    Cmd(C::Triangulate),
};

constexpr Item ImportMenu[] = {Cmd(C::ImportCoordinates), Cmd(C::ImportBorder), Cmd(C::ImportBreaklines), Sep(),
                               Cmd(C::ImportLandXml)};
constexpr Item ExportMenu[] = {Cmd(C::ExportCoordinates), Cmd(C::ExportBorder), Cmd(C::ExportBreaklines), Sep(),
                               Cmd(C::ExportLandXml)};
constexpr Item VolumeMenu[] = {Cmd(C::VolumeSingleSurface), Cmd(C::VolumeTwoSurfaces)};

constexpr Item HelpMenu[] = {
    Cmd(C::HelpContents), Cmd(C::HelpHowTo), Cmd(C::HelpTutorials), Cmd(C::HelpBreaklines),
    Cmd(C::HelpAnalyzer), Cmd(C::HelpAnalyzerTutorial), Sep(), Cmd(C::About),
};

constexpr Item ToolBar[] = {
    Cmd(C::Exit),       Cmd(C::New),      Cmd(C::OpenSurface), Cmd(C::SaveSurface), Cmd(C::SaveSurfaceAs),
    Cmd(C::PrintSetup), Cmd(C::Print),    Cmd(C::OutputToCad), Cmd(C::Triangulate), Cmd(C::MapOptions),
    Cmd(C::SetScale),   Cmd(C::ZoomIn),   Cmd(C::ZoomOut),     {ItemKind::ZoomList},
    Cmd(C::SelectCoordinateEditor), Cmd(C::SelectBorderEditor), Cmd(C::SelectBreaklineEditor),
};

// The quit entry and its separator show only while a command runs, the editor entries only for
// their editor; the window shows and hides the separators with them.
constexpr Item ContextMenu[] = {
    Cmd(C::QuitActiveCommand, "&Quit Command [ESC]"),
    Sep(),
    Cmd(C::CoordinateAdd, "&Add Point"),
    Cmd(C::CoordinateEdit, "&Edit Point"),
    Cmd(C::CoordinateDelete, "&Delete Point"),
    Cmd(C::BorderDeletePoint, "&Delete Border Pt."),
    Cmd(C::BorderInsertPoint, "&Insert Border Pt."),
    Cmd(C::BorderVerify),
    Cmd(C::BreaklineAdd),
    Cmd(C::BreaklineDelete),
    Cmd(C::BreaklineSwap),
    Sep(),
    Cmd(C::View3D),
    Cmd(C::CursorOptions),
    Cmd(C::JumpToPoint),
    Cmd(C::Length),
    Cmd(C::MapOptions),
    Cmd(C::QueryPoint),
    Cmd(C::SetScale, "&Set Scale"),
    Cmd(C::ZoomOptions),
    Sep(),
    Cmd(C::ZoomIn),
    Cmd(C::ZoomOut),
    Sep(),
    Cmd(C::Redraw),
    Cmd(C::Regenerate),
    Sep(),
    Cmd(C::TrackNearestPoint),
};

}  // namespace

std::span<const Item> Items(ListId list) {
  switch (list) {
    case ListId::FileMenu: return FileMenu;
    case ListId::EditMenu: return EditMenu;
    case ListId::EditGeneral: return EditGeneral;
    case ListId::EditCoordinate: return EditCoordinate;
    case ListId::EditBorder: return EditBorder;
    case ListId::EditBreakline: return EditBreakline;
    case ListId::EditAnalyzer: return EditAnalyzer;
    case ListId::ViewMenu: return ViewMenu;
    case ListId::ProcessMenu: return ProcessMenu;
    case ListId::ImportMenu: return ImportMenu;
    case ListId::ExportMenu: return ExportMenu;
    case ListId::VolumeMenu: return VolumeMenu;
    case ListId::HelpMenu: return HelpMenu;
    case ListId::ToolBar: return ToolBar;
    case ListId::ContextMenu: return ContextMenu;
  }
  return {};
}

}  // namespace terravue::gui::layout
