#include "commands/command_table.h"

#include <QAction>

#include "commands/icons.h"

namespace terravue::gui {
namespace {

using C = CommandId;

// The table. Captions are those of the main menu; the Edit sub-menus, the editor bar and the
// context menu give some commands captions of their own.
constexpr CommandRow Rows[] = {
    {C::New, "&New", nullptr, "Create a new file", "New|Create a new file"},
    {C::OpenSurface, "&Open Surface...", nullptr, "Open an existing file", "Open|Open an existing file"},
    {C::SaveSurface, "&Save Surface...", nullptr, "Save surface", "Save|Save the current data"},
    {C::SaveSurfaceAs, "Sa&ve Surface As...", nullptr, "Save surface with a new file name",
     "Save as|Save the current data with a new file name"},
    {C::PrintSetup, "P&rint Setup...", nullptr, "Change printer setup", "Printer Setup|Change printer setup"},
    {C::Print, "&Print", nullptr, "Print current file", "Print|Print current map"},
    {C::OutputToCad, "Output To &CAD...", nullptr, "Create CAD output file (DXF or MCR)",
     "Output to CAD|Output the current map to CAD"},
    {C::Preferences, "Pre&ferences", nullptr, "Set user preferences"},
    {C::SurfaceProperties, "S&urface Properties", nullptr,
     "Display general information about the current surface model"},
    {C::Exit, "E&xit", nullptr, "Exit program", "Exit|Exit program"},
    {C::ClearRecentFiles, "&Clear Recent Files", "Alt+F1"},

    {C::View3D, "&3D View", "F3"},
    {C::CursorOptions, "&Cursor Options", "F2"},
    {C::JumpToPoint, "&Jump To Point", "F5"},
    {C::Length, "&Length", "F9"},
    {C::MapOptions, "&Map Options", "F4", nullptr, "Set map options|Set mapping options for drawing"},
    {C::QueryPoint, "&Query Point", "F6"},
    {C::SetScale, "Set &Scale", "F7", nullptr, "Set scale|Set scale for drawing"},
    {C::ZoomOptions, "&Zoom Options", "F8"},
    {C::ZoomIn, "Zoom &In [ + ]", nullptr, nullptr, "Zoom in|Zoom into drawing"},
    {C::ZoomOut, "Zoom &Out [ - ]", nullptr, nullptr, "Zoom out|Zoom out from drawing"},
    {C::Redraw, "&Redraw"},
    {C::Regenerate, "Re&generate"},

    {C::SelectCoordinateEditor, "&Coordinate Editor", nullptr, nullptr, "Edit Coordinates|Coordinate Editor"},
    {C::SelectBorderEditor, "&Border Editor", nullptr, nullptr, "Edit Border|Border Editor"},
    {C::SelectBreaklineEditor, "Break&line Editor", nullptr, nullptr, "Edit Breaklines|Breakline Editor"},
    {C::SelectAnalyzer, "&Surface Analyzer"},
    {C::TrackNearestPoint, "&Track Nearest Point"},
    {C::QuickZoom, "Quick Zoom"},
    {C::QuickUnzoom, "Quick Unzoom"},
    {C::CentreOnCursor, "Centre On Cursor"},

    {C::CoordinateAdd, "&Add"},
    {C::CoordinateComment, "&Comment"},
    {C::CoordinateDelete, "&Delete"},
    {C::CoordinateEdit, "&Edit"},
    {C::CoordinateFactor, "&Factor"},
    {C::CoordinatePrint, "&Print"},
    {C::CoordinateRemove, "&Remove"},
    {C::CoordinateRotate, "R&otate"},
    {C::CoordinateSearch, "&Search"},
    {C::CoordinateTextEditor, "Text Ed&itor"},
    {C::CoordinateTranslate, "&Translate"},
    {C::CoordinateUndelete, "&Undelete"},
    {C::CoordinateVerify, "&Verify"},

    {C::BorderConvex, "&Convex"},
    {C::BorderDeletePoint, "&Delete Border Pt."},
    {C::BorderInsertPoint, "&Insert Border Pt."},
    {C::BorderNew, "&New"},
    {C::BorderNewSeries, "New - &Series"},
    {C::BorderPrint, "&Print"},
    {C::BorderVerify, "&Verify Border"},
    {C::BorderErrorNext, "E&rror - Next"},
    {C::BorderErrorPrevious, "&Error - Previous"},

    {C::BreaklineAdd, "&Add"},
    {C::BreaklineAddSeries, "Add - Ser&ies"},
    {C::BreaklineDelete, "&Delete"},
    {C::BreaklineErrorNext, "E&rror - Next"},
    {C::BreaklineErrorPrevious, "&Error - Previous"},
    {C::BreaklineExecute, "E&xecute"},
    {C::BreaklineJump, "&Jump"},
    {C::BreaklineKill, "&Kill"},
    {C::BreaklinePrint, "&Print"},
    {C::BreaklineQuery, "&Query"},
    {C::BreaklineSwap, "&Swap"},
    {C::BreaklineUndelete, "&Undelete"},

    {C::AnalyzerContourLine, "&Contour Line", nullptr, "Draw contour line a cursors elevation"},
    {C::AnalyzerElevationJump, "&Elevation Jump", nullptr, "Move the cursor to a specified elevation"},
    {C::AnalyzerQueryTriangle, "&Query Triangle", nullptr, "Display information about any triangle(s)"},
    {C::AnalyzerTextOutput, "&Text Output", nullptr, "Perform slope analysis or elevation analysis"},
    {C::AnalyzerWaterDrop, "Water &Drop", nullptr, "Show water flow path"},
    {C::AnalyzerWatershed, "&Watershed", nullptr, "Show watershed for current location"},
    {C::AnalyzerVectorAccumulator, "&Vector Accumulator", nullptr, "Erase vector accumulator"},

    {C::AutoProcess, "&Auto Process..."},
    {C::ImportCoordinates, "&Coordinate Data"},
    {C::ImportBorder, "&Border Data"},
    {C::ImportBreaklines, "B&reakline Data"},
    {C::ExportCoordinates, "&Coordinates"},
    {C::ExportBorder, "&Border"},
    {C::ExportBreaklines, "B&reakline"},
    {C::ImportLandXml, "&LandXML...", nullptr, "Import a surface, its border and breaklines from a LandXML file"},
    {C::ExportLandXml, "&LandXML...", nullptr, "Export the surface, its border and breaklines as a LandXML file"},
    {C::Triangulate, "&Triangulate/Build Surface Model", nullptr, nullptr,
     "Triangulate data|Build the surface model by triangulating the points"},

    {C::VolumeSingleSurface, "&Single Surface", nullptr, "Calculate the volume of the current surface"},
    {C::VolumeTwoSurfaces, "&Two Surfaces", nullptr,
     "Calculate the volumetric difference between the current surface and another surface"},

    {C::QuitActiveCommand, "&Quit Active Command", nullptr, "Quits the current, active command"},
    {C::Undo, "&Undo", nullptr, "Takes back the last change to the surface model"},
    {C::Redo, "&Redo", nullptr, "Makes the change taken back again"},

    {C::HelpContents, "Terravue Help"},
    {C::HelpHowTo, "&How To!"},
    {C::HelpTutorials, "&Tutorials"},
    {C::HelpBreaklines, "&Breakline Technical Report"},
    {C::HelpAnalyzer, "Surface &Analyzer Help"},
    {C::HelpAnalyzerTutorial, "Surface Analyzer T&utorial"},
    {C::About, "&About..."},
};

static_assert(std::size(Rows) == app::CommandCount, "every command has a row");

constexpr bool RowsInOrder() {
  for (std::size_t i = 0; i < std::size(Rows); ++i)
    if (app::IndexOf(Rows[i].id) != i) return false;
  return true;
}
static_assert(RowsInOrder(), "rows are in the order of the command ids");

// The desktop's usual shortcuts, beside the function keys of the rows; none of them is a key
// the map takes for itself. Spelled out rather than taken from the platform's tables, which
// leave some of them out on some desktops.
struct DesktopKey {
  CommandId id;
  const char* key;
};
constexpr DesktopKey DesktopKeys[] = {
    {C::New, "Ctrl+N"},   {C::OpenSurface, "Ctrl+O"}, {C::SaveSurface, "Ctrl+S"}, {C::SaveSurfaceAs, "Ctrl+Shift+S"},
    {C::Print, "Ctrl+P"}, {C::Exit, "Ctrl+Q"},        {C::HelpContents, "F1"},
};

// "tooltip|status": the part before the bar, or the part after it.
QString HintPart(const char* hint, bool afterBar) {
  const QString text = QString::fromLatin1(hint);
  const qsizetype bar = text.indexOf(QLatin1Char('|'));
  if (bar < 0) return text;
  return afterBar ? text.mid(bar + 1) : text.left(bar);
}

}  // namespace

std::span<const CommandRow> CommandRows() { return Rows; }
const CommandRow& RowOf(CommandId id) { return Rows[app::IndexOf(id)]; }

CommandId CommandOf(const QAction* action) {
  bool ok = false;
  const int index = action->property(CommandIdProperty).toInt(&ok);
  return ok && index >= 0 && index < static_cast<int>(app::CommandCount) ? static_cast<CommandId>(index)
                                                                            : CommandId::Count_;
}

CommandTable::CommandTable(QObject* parent) : QObject(parent) {
  for (const CommandRow& row : Rows) {
    const QList<QKeySequence> keys = KeysOf(row.id);
    // Alt+F1 empties the recent files on its release, which the window takes itself.
    if (keys.isEmpty() || row.id == C::ClearRecentFiles) continue;
    auto* action = new QAction(QString::fromLatin1(row.caption), this);
    action->setProperty(CommandIdProperty, static_cast<int>(app::IndexOf(row.id)));
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    action->setEnabled(false);
    connect(action, &QAction::triggered, this, [this, id = row.id] { Run(id); });
    keyActions_[app::IndexOf(row.id)] = action;
  }
}

QList<QKeySequence> CommandTable::KeysOf(CommandId id) const {
  QList<QKeySequence> keys;
  const CommandRow& row = RowOf(id);
  if (row.functionKey) keys << QKeySequence(QString::fromLatin1(row.functionKey));
  for (const DesktopKey& k : DesktopKeys)
    if (k.id == id) keys << QKeySequence(QString::fromLatin1(k.key));
  // Esc ends an active command wherever the focus is in the window.
  if (id == C::QuitActiveCommand) keys << QKeySequence(Qt::Key_Escape);
  return keys;
}

QList<QAction*> CommandTable::KeyActions() const {
  QList<QAction*> actions;
  for (QAction* a : keyActions_)
    if (a) actions << a;
  return actions;
}

void CommandTable::SetHandler(CommandId id, std::function<void()> handler) {
  handlers_[app::IndexOf(id)] = std::move(handler);
  Apply(state_, enabling_);
}

bool CommandTable::HasHandler(CommandId id) const { return static_cast<bool>(handlers_[app::IndexOf(id)]); }

bool CommandTable::CanRun(CommandId id) const { return HasHandler(id) && enabling_.Runs(id); }

bool CommandTable::CanRunFromFolder(app::Editor folder, CommandId id) const {
  return CanRun(id) && app::EditorBarItemAllowed(folder, id, state_.active);
}

bool CommandTable::Run(CommandId id) {
  if (!CanRun(id)) return false;
  // The handler may replace itself (or the table may change) while it runs.
  const std::function<void()> handler = handlers_[app::IndexOf(id)];
  if (wrapper_ && id != CommandId::Undo && id != CommandId::Redo)
    wrapper_(id, handler);
  else
    handler();
  emit Ran(id);
  return true;
}

void CommandTable::SetCaption(CommandId id, const QString& caption) {
  for (const Entry& e : entries_)
    if (e.id == id && e.action) e.action->setText(caption);
}

bool CommandTable::RunFromFolder(app::Editor folder, CommandId id) {
  if (!CanRunFromFolder(folder, id)) return false;
  return Run(id);
}

QAction* CommandTable::NewAction(CommandId id, EntryPlace place, QObject* parent, const QString& caption,
                                 app::Editor folder) {
  const CommandRow& row = RowOf(id);
  auto* action = new QAction(caption.isEmpty() ? QString::fromLatin1(row.caption) : caption, parent);
  action->setProperty(CommandIdProperty, static_cast<int>(app::IndexOf(id)));
  if (place == EntryPlace::ToolBar && row.toolHint) {
    action->setToolTip(HintPart(row.toolHint, false));
    action->setStatusTip(HintPart(row.toolHint, true));
  } else if (row.hint) {
    action->setStatusTip(QString::fromLatin1(row.hint));
  } else {
    action->setStatusTip(QString());
  }
  // The menus show the command's key beside the caption; the key itself belongs to the
  // command's own action.
  const QList<QKeySequence> keys = KeysOf(id);
  if (!keys.isEmpty() && id != C::QuitActiveCommand &&
      (place == EntryPlace::Menu || place == EntryPlace::EditSubMenu || place == EntryPlace::ContextMenu))
    action->setText(action->text() + QLatin1Char('\t') + keys.front().toString(QKeySequence::NativeText));
  if (place == EntryPlace::ToolBar || place == EntryPlace::EditorBar) action->setIcon(CommandIcon(id));
  if (place == EntryPlace::EditorBar)
    connect(action, &QAction::triggered, this, [this, folder, id] { RunFromFolder(folder, id); });
  else
    connect(action, &QAction::triggered, this, [this, id] { Run(id); });
  entries_.push_back({action, id, place, folder});
  const app::Availability a = AvailabilityOf(entries_.back());
  action->setVisible(a.visible);
  action->setEnabled(a.enabled);
  return action;
}

app::Availability CommandTable::AvailabilityOf(const Entry& entry) const {
  app::Place rules = app::Place::Menu;
  switch (entry.place) {
    case EntryPlace::Menu: rules = app::Place::Menu; break;
    case EntryPlace::EditSubMenu: rules = app::Place::EditSubMenu; break;
    case EntryPlace::ToolBar: rules = app::Place::ToolBar; break;
    case EntryPlace::ContextMenu: rules = app::Place::ContextMenu; break;
    case EntryPlace::EditorBar: return {true, CanRunFromFolder(entry.folder, entry.id)};
  }
  app::Availability a = enabling_.At(rules, entry.id);
  a.enabled = a.enabled && HasHandler(entry.id);
  return a;
}

void CommandTable::Apply(const app::UiState& state, const app::Enabling& enabling) {
  state_ = state;
  enabling_ = enabling;
  std::erase_if(entries_, [](const Entry& e) { return e.action.isNull(); });
  for (QAction* action : keyActions_)
    if (action) action->setEnabled(CanRun(CommandOf(action)));
  for (const Entry& entry : entries_) {
    const app::Availability a = AvailabilityOf(entry);
    entry.action->setVisible(a.visible);
    entry.action->setEnabled(a.enabled);
  }
}

}  // namespace terravue::gui
