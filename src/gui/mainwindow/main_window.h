#pragma once

#include <QMainWindow>

class QLabel;
class QScrollArea;

namespace terravue {
struct Session;
}

namespace terravue::gui {

class HelpViewer;

// The main window: caption, menus, the sheet in its scroll area and the three status lines.
// It composes; the flows behind its commands live in the engine.
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  MainWindow(Session& session, HelpViewer& help, QWidget* parent = nullptr);

  // "Terravue <No Data Loaded>", "Terravue <SITE.MDL> (unmodified)", ...
  void RefreshCaption();

  // The stored window state: 0 normal, 1 minimised, 2 maximised.
  void ApplyWindowState(int state);
  int WindowStateCode() const;

  QLabel& MouseLine() { return *mouseLine_; }
  QLabel& CursorLine() { return *cursorLine_; }
  QLabel& CommandLine() { return *commandLine_; }

 signals:
  // Once, queued after the window is activated for the first time.
  void FirstActivated();
  // The user closed the window and did not take it back.
  void Closed();

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenus();
  QWidget* BuildStatusLines();

  Session& session_;
  HelpViewer& help_;
  QScrollArea* sheetArea_;
  QLabel* mouseLine_;
  QLabel* cursorLine_;
  QLabel* commandLine_;
  bool activated_ = false;
};

}  // namespace terravue::gui
