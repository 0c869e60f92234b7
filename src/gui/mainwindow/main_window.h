#pragma once

#include <array>
#include <memory>

#include <QMainWindow>

#include "app/commands.h"

class QActionGroup;
class QLabel;
class QMenu;
class QToolBar;

namespace terravue {
struct Session;
}

namespace terravue::gui {

class AnalysisController;
class CommandTable;
class EditorBar;
class EditorController;
class FileController;
class HelpController;
class HelpViewer;
class MapArea;
class OutputController;
class SheetPrinter;
class StatusPanel;
class ViewController;
class View3DController;
struct WindowContext;

// The main window. It composes: the command table with the menus, tool bar, editor bar and
// context menu built from its lists, the map area and the status lines, and the controllers
// that own the commands (file, view and cursor, editors, output, analysis, help). After every
// command it brings menus and buttons in step with the enabling rules.
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  MainWindow(Session& session, HelpViewer& help, QWidget* parent = nullptr);
  ~MainWindow() override;

  // "Terravue <No Data Loaded>", "Terravue <SITE.MDL> (unmodified)", ...
  void RefreshCaption();
  // After a model was opened or imported: the view fitted and drawn, menus in step.
  void ModelLoaded();
  // The enabling rules applied to menus, buttons, editor bar and context menu.
  void RefreshUi();
  // Records every change to the model for Undo and Redo, and gives them their keys.
  void InstallHistory();

  // The stored window state: 0 normal, 1 minimised, 2 maximised.
  void ApplyWindowState(int state);
  int WindowStateCode() const;
  // The window's place and size when neither minimised nor maximised; restoring skips a size
  // below the window's minimum and a place on no screen.
  void RestorePlace(QRect normal);
  QRect NormalPlace() const;

  QLabel& MouseLine();
  QLabel& CursorLine();
  QLabel& CommandLine();
  CommandTable& Commands() { return *commands_; }
  MapArea& Map() { return *map_; }
  EditorBar& Editors() { return *editorBar_; }
  QToolBar& ToolBar() { return *toolBar_; }
  QMenu& ContextMenu() { return *contextMenu_; }
  WindowContext& Context() { return *context_; }
  EditorController& EditorCommands() { return *editorController_; }
  ViewController& View() { return *viewController_; }

  // A key as the window takes it; true when it was used.
  bool HandleKey(QKeyEvent* event);

 signals:
  // Once, queued after the window is activated for the first time.
  void FirstActivated();
  // The user closed the window and did not take it back.
  void Closed();

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  QMenu* BuildMenu(int list, const QString& title, QWidget* parent);
  void BuildMenus();
  void BuildToolBar();
  void BuildContextMenu();
  void ChooseEditorBarColour();
  void ShowContextMenu(QPoint globalPos);

  Session& session_;
  std::unique_ptr<SheetPrinter> printer_;
  CommandTable* commands_;
  MapArea* map_;
  StatusPanel* status_;
  EditorBar* editorBar_;
  QToolBar* toolBar_;
  QMenu* contextMenu_;
  std::unique_ptr<WindowContext> context_;
  ViewController* viewController_;
  EditorController* editorController_;
  View3DController* view3DController_;
  FileController* fileController_;
  OutputController* outputController_;
  AnalysisController* analysisController_;
  HelpController* helpController_;

  QMenu* fileMenu_ = nullptr;
  QMenu* viewMenu_ = nullptr;
  QMenu* processMenu_ = nullptr;
  QMenu* exportMenu_ = nullptr;
  QMenu* volumeMenu_ = nullptr;
  QMenu* reopenMenu_ = nullptr;
  std::array<QMenu*, app::EditorCount> editMenus_{};
  std::vector<QAction*> checkables_;  // editor choices and Track Nearest Point, wherever offered
  QAction* zoomListAction_ = nullptr;
  QAction* contextQuitSeparator_ = nullptr;
  QAction* contextEditorSeparator_ = nullptr;
  QActionGroup* editorButtons_ = nullptr;
  bool activated_ = false;
  bool refreshing_ = false;
};

}  // namespace terravue::gui
