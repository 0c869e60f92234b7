#include "mainwindow/main_window.h"

#include <cstdlib>

#include <QActionGroup>
#include <QGuiApplication>
#include <QScreen>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QShortcut>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/qt_text.h"
#include "commands/command_layout.h"
#include "commands/command_table.h"
#include "commands/icons.h"
#include "common/app_settings.h"
#include "app/cursor_settings.h"
#include "app/enabling.h"
#include "common/session.h"
#include "controllers/analysis_controller.h"
#include "controllers/editor_controller.h"
#include "controllers/coordinate_controller.h"
#include "controllers/exchange_controller.h"
#include "controllers/file_controller.h"
#include "controllers/help_controller.h"
#include "controllers/output_controller.h"
#include "controllers/point_edit_controller.h"
#include "controllers/view3d_controller.h"
#include "controllers/view_controller.h"
#include "dialogs/editor_bar_form.h"
#include "dialogs/import_export/import_coord_form.h"
#include "help/help_viewer.h"
#include "mainwindow/editor_bar.h"
#include "mainwindow/key_router.h"
#include "mainwindow/map_area.h"
#include "mainwindow/status_panel.h"
#include "mainwindow/window_context.h"
#include "app/file_commands.h"
#include "model/model_document.h"
#include "model/surface_model.h"
#include "device/page_setup_settings.h"
#include "print/print_commands.h"
#include "print/sheet_printer.h"
#include "render/map_fonts.h"

namespace terravue::gui {
namespace {

using C = app::CommandId;
using app::Editor;
using layout::ItemKind;
using layout::ListId;

// The Edit sub-menus in the order of the editors.
constexpr ListId EditLists[] = {ListId::EditGeneral, ListId::EditCoordinate, ListId::EditBorder, ListId::EditBreakline,
                                ListId::EditAnalyzer};

bool IsCheckable(C id) { return app::EditorSelectedBy(id).has_value() || id == C::TrackNearestPoint; }

std::uint32_t ToSettingsColour(QRgb rgb) {
  return MakeColour(static_cast<std::uint8_t>(qRed(rgb)), static_cast<std::uint8_t>(qGreen(rgb)),
                    static_cast<std::uint8_t>(qBlue(rgb)));
}

}  // namespace

MainWindow::MainWindow(Session& session, HelpViewer& help, QWidget* parent)
    : QMainWindow(parent),
      session_(session),
      printer_(std::make_unique<SheetPrinter>()),
      commands_(new CommandTable(this)),
      map_(new MapArea),
      status_(new StatusPanel),
      editorBar_(new EditorBar(*commands_)),
      toolBar_(nullptr),
      contextMenu_(nullptr) {
  setWindowIcon(ProgramIcon());
  setMinimumSize(250, 300);
  context_ = std::make_unique<WindowContext>(
      WindowContext{session, *commands_, *map_, *status_, *printer_, *this, {}, {}, {}, {}, {}, {}, {}, {}});
  context_->refresh = [this] { RefreshUi(); };
  context_->help = [&help](int context) { help.ShowContext(context); };
  // The sheet is laid out from the current printer before anything is drawn on it.
  SetUpPageFromPrinter(session, *printer_);

  viewController_ = new ViewController(*context_, this);
  editorController_ = new EditorController(*context_, *viewController_, this);
  view3DController_ = new View3DController(*context_, *viewController_, *editorController_, this);
  fileController_ = new FileController(*context_, this);
  outputController_ = new OutputController(*context_, *viewController_, this);
  analysisController_ = new AnalysisController(*context_, *viewController_, this);
  helpController_ = new HelpController(*context_, help, this);
  viewController_->RegisterCommands();
  editorController_->RegisterCommands();
  view3DController_->RegisterCommands();
  fileController_->RegisterCommands();
  outputController_->RegisterCommands();
  analysisController_->RegisterCommands();
  helpController_->RegisterCommands();
  auto* exchangeController = new ExchangeController(*context_, *viewController_, this);
  exchangeController->RegisterCommands();
  auto* pointEditController = new PointEditController(*context_, *viewController_, this);
  pointEditController->RegisterCommands();
  exchangeController->onModelLoaded = [this] { ModelLoaded(); };
  exchangeController->helpViewer = &help;
  fileController_->importHelp = [&help] { help.ShowContext(ImportHelpContext); };
  auto* coordinateController = new CoordinateController(*context_, *viewController_, this);
  coordinateController->RegisterCommands();
  coordinateController->onModelLoaded = [this] { ModelLoaded(); };
  coordinateController->importDialog = [this, &help](const exchange::ImportDialogRequest& r) {
    return RunImportDialog(this, session_.port, session_.settings, r, [&help] { help.ShowContext(ImportHelpContext); });
  };
  // The text editor's Verify and Remove are the Coordinate Editor's dialogs.
  coordinateController->verifyPoints = [pointEditController](QWidget* over, double x, double y) {
    return pointEditController->RunVerify(over, x, y);
  };
  coordinateController->removePoints = [pointEditController](QWidget* over) {
    return pointEditController->RunRemove(over);
  };

  viewController_->onMapClick = [this](double x, double y, bool shift) { editorController_->Click(x, y, shift); };
  viewController_->editorMarks = [this](bool& border, bool& breaklines) {
    editorController_->EditorMarks(border, breaklines);
  };
  viewController_->onQueryFlag = [this](bool on) {
    editorController_->Commands().SetQueryFlag(app::CommandKind::QueryPoint, on);
  };
  fileController_->onModelLoaded = [this] { ModelLoaded(); };
  InstallHistory();
  connect(commands_, &CommandTable::Ran, this, [this] {
    RefreshCaption();
    RefreshUi();
  });

  auto* central = new QWidget;
  auto* rows = new QVBoxLayout(central);
  rows->setContentsMargins(0, 0, 0, 0);
  rows->setSpacing(0);
  auto* columns = new QHBoxLayout;
  columns->setContentsMargins(0, 0, 0, 0);
  columns->setSpacing(0);
  columns->addWidget(editorBar_);
  columns->addWidget(map_, 1);
  rows->addLayout(columns, 1);
  rows->addWidget(status_);
  setCentralWidget(central);

  BuildMenus();
  BuildToolBar();
  BuildContextMenu();
  // The commands' keys work wherever the focus is in the window.
  addActions(commands_->KeyActions());

  map_->SetKeyHandler([this](QKeyEvent* e) { return HandleKey(e); });
  connect(map_, &MapArea::SpaceTapped, this, [this] { commands_->Run(C::CentreOnCursor); });
  connect(map_, &MapArea::ZoomWheel, this, [this](int steps) {
    for (int i = 0; i < std::abs(steps); ++i) commands_->Run(steps > 0 ? C::ZoomIn : C::ZoomOut);
  });
  connect(map_, &MapArea::ContextMenuWanted, this, &MainWindow::ShowContextMenu);
  connect(editorBar_, &EditorBar::FolderChosen, this, [this](Editor e) { editorController_->SelectEditor(e); });
  connect(editorBar_, &EditorBar::ColourWanted, this, &MainWindow::ChooseEditorBarColour);
  connect(status_, &StatusPanel::CursorMarginChanged, this,
          [this](int margin) { session_.settings.Set(app::CursorOptions::CursorLineMargin, margin); });
  editorBar_->SetColour(render::MapColour(session_.settings.Get(settings::EditorBarColour)).rgb());
  status_->SetMouseText(QStringLiteral("Mouse:"));

  resize(1000, 760);
  map_->setFocus();
  RefreshCaption();
  RefreshUi();
  viewController_->RefreshCursorLine();
}

MainWindow::~MainWindow() = default;

QLabel& MainWindow::MouseLine() { return status_->MouseLine(); }
QLabel& MainWindow::CursorLine() { return status_->CursorLine(); }
QLabel& MainWindow::CommandLine() { return status_->CommandLine(); }

// ---- Building from the lists ----------------------------------------------------------------

QMenu* MainWindow::BuildMenu(int listId, const QString& title, QWidget* parent) {
  const auto list = static_cast<ListId>(listId);
  auto* menu = new QMenu(title, parent);
  const auto editIndex = std::find(std::begin(EditLists), std::end(EditLists), list) - std::begin(EditLists);
  const EntryPlace place = editIndex < static_cast<std::ptrdiff_t>(std::size(EditLists)) ? EntryPlace::EditSubMenu
                                                                                          : EntryPlace::Menu;
  for (const layout::Item& item : layout::Items(list)) {
    switch (item.kind) {
      case ItemKind::Separator: menu->addSeparator(); break;
      case ItemKind::SubMenu: {
        QMenu* sub = BuildMenu(static_cast<int>(item.subMenu), QString::fromLatin1(item.caption), menu);
        menu->addMenu(sub);
        const auto edit = std::find(std::begin(EditLists), std::end(EditLists), item.subMenu);
        if (edit != std::end(EditLists)) editMenus_[static_cast<std::size_t>(edit - std::begin(EditLists))] = sub;
        if (item.subMenu == ListId::ExportMenu) exportMenu_ = sub;
        break;
      }
      case ItemKind::RecentFiles: {
        reopenMenu_ = menu->addMenu(QString::fromLatin1(item.caption));
        fileController_->AttachRecentFilesMenu(reopenMenu_);
        break;
      }
      case ItemKind::ZoomList: break;
      case ItemKind::Command: {
        QAction* action = commands_->NewAction(
            item.id, place, menu, item.caption ? QString::fromLatin1(item.caption) : QString());
        if (IsCheckable(item.id)) {
          action->setCheckable(true);
          checkables_.push_back(action);
        }
        menu->addAction(action);
        break;
      }
    }
  }
  return menu;
}

void MainWindow::BuildMenus() {
  QMenuBar* bar = menuBar();
  fileMenu_ = BuildMenu(static_cast<int>(ListId::FileMenu), QStringLiteral("&File"), bar);
  bar->addMenu(fileMenu_);
  QMenu* edit = BuildMenu(static_cast<int>(ListId::EditMenu), QStringLiteral("&Edit"), bar);
  bar->addMenu(edit);
  // With no points, Edit opens the point text editor at once, so that points can be typed in.
  connect(edit, &QMenu::aboutToShow, this, [this, edit] {
    if (session_.model.PointCount != 0 || !commands_->CanRun(C::CoordinateTextEditor)) return;
    QTimer::singleShot(0, this, [this, edit] {
      edit->hide();
      commands_->Run(C::CoordinateTextEditor);
    });
  });
  viewMenu_ = BuildMenu(static_cast<int>(ListId::ViewMenu), QStringLiteral("&View"), bar);
  bar->addMenu(viewMenu_);
  processMenu_ = BuildMenu(static_cast<int>(ListId::ProcessMenu), QStringLiteral("&Process"), bar);
  bar->addMenu(processMenu_);
  volumeMenu_ = BuildMenu(static_cast<int>(ListId::VolumeMenu), QStringLiteral("&Volume"), bar);
  bar->addMenu(volumeMenu_);
  bar->addAction(commands_->NewAction(C::QuitActiveCommand, EntryPlace::Menu, bar));
  bar->addMenu(BuildMenu(static_cast<int>(ListId::HelpMenu), QStringLiteral("&Help"), bar));
}

void MainWindow::BuildToolBar() {
  toolBar_ = addToolBar(QStringLiteral("SpeedBar"));
  toolBar_->setObjectName(QStringLiteral("SpeedBar"));
  toolBar_->setMovable(false);
  toolBar_->setFloatable(false);
  toolBar_->setIconSize(QSize(22, 22));
  toolBar_->setContextMenuPolicy(Qt::PreventContextMenu);
  editorButtons_ = new QActionGroup(this);
  editorButtons_->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
  for (const layout::Item& item : layout::Items(ListId::ToolBar)) {
    if (item.kind == ItemKind::ZoomList) {
      zoomListAction_ = toolBar_->addWidget(viewController_->ZoomList());
      continue;
    }
    QAction* action = commands_->NewAction(item.id, EntryPlace::ToolBar, toolBar_);
    toolBar_->addAction(action);
    const auto editor = app::EditorSelectedBy(item.id);
    if (!editor) continue;
    action->setCheckable(true);
    checkables_.push_back(action);
    editorButtons_->addAction(action);
    // While its editor is active, the button offers the editor's commands on a right click.
    QWidget* button = toolBar_->widgetForAction(action);
    button->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(button, &QWidget::customContextMenuRequested, this, [this, button, editor](QPoint pos) {
      QMenu* commandsMenu = editMenus_[static_cast<std::size_t>(*editor)];
      if (context_->editors.active == *editor && commandsMenu) commandsMenu->exec(button->mapToGlobal(pos));
    });
  }
  for (QAction* a : toolBar_->actions())
    if (QWidget* w = toolBar_->widgetForAction(a)) w->setFocusPolicy(Qt::NoFocus);
}

void MainWindow::BuildContextMenu() {
  contextMenu_ = new QMenu(this);
  contextMenu_->setObjectName(QStringLiteral("MainImagePopupMenu"));
  int separators = 0;
  for (const layout::Item& item : layout::Items(ListId::ContextMenu)) {
    if (item.kind == ItemKind::Separator) {
      QAction* separator = contextMenu_->addSeparator();
      // The first follows the quit entry, the second the editors' entries.
      if (separators == 0) contextQuitSeparator_ = separator;
      if (separators == 1) contextEditorSeparator_ = separator;
      ++separators;
      continue;
    }
    QAction* action = commands_->NewAction(item.id, EntryPlace::ContextMenu, contextMenu_,
                                           item.caption ? QString::fromLatin1(item.caption) : QString());
    if (IsCheckable(item.id) && item.id == C::TrackNearestPoint) {
      action->setCheckable(true);
      checkables_.push_back(action);
    }
    contextMenu_->addAction(action);
  }
}

void MainWindow::ShowContextMenu(QPoint globalPos) {
  if (!commands_->Enabling().contextMenuAvailable) return;
  contextMenu_->exec(globalPos);
}

// ---- State ----------------------------------------------------------------------------------

void MainWindow::RefreshCaption() {
  setWindowTitle(FromUtf8(model::CaptionText(session_.model, session_.settings)));
}

void MainWindow::ModelLoaded() {
  // An animation of the model before would go on turning the new one.
  view3DController_->StopAnimation();
  app::ApplyLoadedModelDefaults(session_.settings, session_.model);
  viewController_->ModelLoaded();
  RefreshCaption();
  RefreshUi();
}

void MainWindow::RefreshUi() {
  if (refreshing_) return;
  refreshing_ = true;
  const model::SurfaceModel& m = session_.model;
  WindowContext& c = *context_;

  // Without points the zoom goes back to the whole sheet.
  if (m.PointCount == 0 && c.zoom.level != 1) {
    viewController_->ResetZoom();
    viewController_->SetUpScreen();
  }

  app::UiState state;
  state.pointCount = m.PointCount;
  state.bordered = m.IsBordered();
  state.hasBreaklines = m.BreaklineCount > 0;
  state.printerAvailable = session_.settings.Get(device::PageSetup::PrinterPresent);
  state.hasRecentFiles = !model::RecentFiles(session_.settings).empty();
  state.zoomLevel = c.zoom.level;
  state.highestZoom = c.zoom.highest;
  state.activeEditor = c.editors.active;
  state.active = editorController_->Active();
  state.canUndo = c.history.CanUndo();
  state.canRedo = c.history.CanRedo();
  const app::Enabling e = app::ComputeEnabling(state);
  commands_->Apply(state, e);
  commands_->SetCaption(C::Undo, "&" + FromLatin1(c.history.UndoText()) + "\tCtrl+Z");
  commands_->SetCaption(C::Redo, "&" + FromLatin1(c.history.RedoText()) + "\tCtrl+Shift+Z");

  viewMenu_->menuAction()->setVisible(e.viewMenuVisible);
  volumeMenu_->menuAction()->setVisible(e.volumeMenuVisible);
  volumeMenu_->menuAction()->setEnabled(e.volumeMenuEnabled);
  fileMenu_->menuAction()->setEnabled(e.fileMenuEnabled);
  processMenu_->menuAction()->setEnabled(e.processMenuEnabled);
  if (exportMenu_) exportMenu_->menuAction()->setEnabled(e.exportMenuEnabled);
  if (reopenMenu_) reopenMenu_->menuAction()->setEnabled(e.reopenEnabled);
  for (std::size_t k = 0; k < editMenus_.size(); ++k)
    if (editMenus_[k]) editMenus_[k]->menuAction()->setEnabled(e.editSubMenuEnabled[k]);
  editorBar_->setVisible(e.editorBarVisible);
  editorBar_->ShowFolder(e.checkedEditor);
  if (zoomListAction_) zoomListAction_->setVisible(e.zoomListVisible);
  if (contextQuitSeparator_) contextQuitSeparator_->setVisible(e.quitVisible);
  if (contextEditorSeparator_) contextEditorSeparator_->setVisible(e.contextEditorSeparator);

  const bool tracking = session_.settings.Get(app::CursorOptions::TrackNearestPoint);
  for (QAction* action : checkables_) {
    const C id = CommandOf(action);
    const auto editor = app::EditorSelectedBy(id);
    action->setChecked(editor ? *editor == e.checkedEditor : tracking);
  }
  refreshing_ = false;
}

void MainWindow::ChooseEditorBarColour() {
  const QRgb current = render::MapColour(session_.settings.Get(settings::EditorBarColour)).rgb();
  TEditorBarForm form(current, this);
  if (form.exec() != QDialog::Accepted) return;
  session_.settings.Set(settings::EditorBarColour, ToSettingsColour(form.Colour()));
  editorBar_->SetColour(form.Colour());
}

void MainWindow::RestorePlace(QRect normal) {
  if (normal.width() < minimumWidth() || normal.height() < minimumHeight()) return;
  resize(normal.size());
  // A place on a screen that is no longer there is not kept: the window would be out of reach.
  if (QGuiApplication::screenAt(normal.center())) move(normal.topLeft());
}

QRect MainWindow::NormalPlace() const {
  return isMaximized() || isMinimized() || isFullScreen() ? normalGeometry() : geometry();
}

void MainWindow::ApplyWindowState(int state) {
  switch (state) {
    case 1: showMinimized(); break;
    case 2: showMaximized(); break;
    default: showNormal(); break;
  }
}

int MainWindow::WindowStateCode() const {
  if (isMinimized()) return 1;
  if (isMaximized()) return 2;
  return 0;
}

// ---- Events ---------------------------------------------------------------------------------

bool MainWindow::HandleKey(QKeyEvent* event) {
  const KeyAction a = ClassifyKeyPress(event->key(), event->text(), event->modifiers());
  switch (a.kind) {
    case KeyAction::Kind::Command: commands_->Run(a.command); return true;
    case KeyAction::Kind::Step:
      if (session_.model.PointCount > 0) viewController_->StepCursor(a.step, a.shift);
      return true;
    case KeyAction::Kind::Letter: {
      const auto id = app::LetterKeyCommand(context_->editors.active, a.letter, editorController_->Active());
      if (!id) return false;
      commands_->Run(*id);
      return true;
    }
    case KeyAction::Kind::Step3D: view3DController_->Step(a.direction); return true;
    case KeyAction::Kind::None: break;
  }
  return false;
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
  if (!HandleKey(event)) QMainWindow::keyPressEvent(event);
}

void MainWindow::keyReleaseEvent(QKeyEvent* event) {
  if (IsClearRecentFilesRelease(event->key(), event->modifiers())) {
    commands_->Run(C::ClearRecentFiles);
    return;
  }
  QMainWindow::keyReleaseEvent(event);
}

bool MainWindow::event(QEvent* event) {
  if (event->type() == QEvent::StatusTip) {
    status_->ShowHint(static_cast<QStatusTipEvent*>(event)->tip());
    return true;
  }
  if (event->type() == QEvent::WindowActivate && !activated_) {
    activated_ = true;
    // Leave the activation first: a modal window opened from inside it would nest in it.
    QTimer::singleShot(0, this, &MainWindow::FirstActivated);
  }
  return QMainWindow::event(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // The animation ends first: its frames would go on under the question below.
  view3DController_->StopAnimation();
  if (model::ConfirmDiscard(session_, /*exiting=*/true)) {
    event->accept();
    emit Closed();
  } else {
    event->ignore();
  }
}

namespace {

// The name a change goes by in the Edit menu ("Undo Delete Point"): the command's caption
// without its accelerator and dots, the point commands by their full names.
QString StepName(C id) {
  switch (id) {
    case C::CoordinateAdd: return QStringLiteral("Add Point");
    case C::CoordinateDelete: return QStringLiteral("Delete Point");
    case C::CoordinateEdit: return QStringLiteral("Edit Point");
    case C::CoordinateUndelete: return QStringLiteral("Undelete Point");
    case C::CoordinateRemove: return QStringLiteral("Remove Points");
    default: break;
  }
  QString name = QString::fromLatin1(RowOf(id).caption);
  name.remove(QLatin1Char('&'));
  name.remove(QStringLiteral("..."));
  return name.trimmed();
}

QString ClickStepName(const app::ActiveCommands& active) {
  if (active.Has(app::CommandKind::NewBorder)) return QStringLiteral("New Border");
  if (active.Has(app::CommandKind::NewBreakline)) return QStringLiteral("Add Breakline");
  if (active.Has(app::CommandKind::Swap)) return QStringLiteral("Swap Edge");
  return QStringLiteral("Map Click");
}

}  // namespace

void MainWindow::InstallHistory() {
  WindowContext& c = *context_;
  commands_->SetRunWrapper([&c](C id, const std::function<void()>& handler) {
    c.history.Begin(c.session.model);
    handler();
    c.history.End(c.session, StepName(id).toStdString());
  });
  const auto step = [this, &c](bool redo) {
    if (!(redo ? c.history.Redo(c.session) : c.history.Undo(c.session))) return;
    c.locate.LastTriangle = 1;
    // The surface under the cursor may have changed, and its elevation there with it.
    if (c.session.model.PointCount > 0) app::MoveCursorOnSurface(c.Cursor(), c.cursor, c.cursor.x, c.cursor.y);
    viewController_->Regenerate();
  };
  commands_->SetHandler(C::Undo, [step] { step(false); });
  commands_->SetHandler(C::Redo, [step] { step(true); });
  const std::pair<const char*, C> keys[] = {
      {"Ctrl+Z", C::Undo}, {"Ctrl+Shift+Z", C::Redo}, {"Ctrl+Y", C::Redo}};
  for (const auto& [sequence, id] : keys) {
    auto* shortcut = new QShortcut(QKeySequence(QString::fromLatin1(sequence)), this);
    connect(shortcut, &QShortcut::activated, this, [this, id = id] { commands_->Run(id); });
  }
  // The active commands' map clicks change the model outside the table.
  viewController_->onMapClick = [this, &c](double x, double y, bool shift) {
    const QString name = ClickStepName(editorController_->Active());
    c.history.Begin(c.session.model);
    editorController_->Click(x, y, shift);
    c.history.End(c.session, name.toStdString());
    RefreshUi();
  };
}

}  // namespace terravue::gui
