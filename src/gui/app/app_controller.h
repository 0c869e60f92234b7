#pragma once

#include <memory>
#include <string_view>

#include <QObject>
#include <QString>
#include <QStringList>

namespace terravue {
struct Session;
class SettingsRecord;
}  // namespace terravue

namespace terravue::gui {

class HelpViewer;
class MainWindow;
class QtUserPort;
class SingleInstance;

// Start-up and shutdown of the program, in one place and in order. Owns what one run works on
// (model, settings, user port, work folder) and the windows that are handed references to it.
class AppController : public QObject {
  Q_OBJECT

 public:
  struct Options {
    bool showWelcome = true;  // tests turn the modal welcome window off
  };

  explicit AppController(Options options);
  AppController() : AppController(Options{}) {}
  ~AppController() override;

  // The whole run: Start, the event loop, Shutdown. Returns the exit code.
  int Run(const QStringList& arguments);

  // Everything up to the shown main window with its model opened. False when the program must
  // end at once (second copy, no memory); ExitCode() then says how.
  bool Start(const QStringList& arguments);
  // Takes the window state, writes the settings, releases the store and the lock. Safe to
  // call more than once.
  void Shutdown();

  // The help files' folder instead of the program's own (before Start).
  void UseHelpDirectory(const QString& folder) { helpDirectory_ = folder; }

  // Shows an error that nothing else handled, offers to save unsaved work, and ends the run.
  void HandleUnhandledError(std::string_view what);

  int ExitCode() const { return exitCode_; }
  Session& GetSession();
  QtUserPort& Port();
  MainWindow* Window() const { return window_.get(); }
  HelpViewer* Help() const { return help_.get(); }
  QString ProgramDirectory() const { return programDirectory_; }

  // "$XDG_CONFIG_HOME/terravue/TERRAVUE_SURFACE.VSF" or its platform equivalent.
  static QString SettingsFilePath();

 private:
  struct RunState;

  void LoadSettingsFile();
  void OpenFromCommandLine(const QStringList& arguments);
  void ShowWelcome();

  Options options_;
  std::unique_ptr<RunState> state_;
  std::unique_ptr<SingleInstance> instance_;
  std::unique_ptr<HelpViewer> help_;
  std::unique_ptr<MainWindow> window_;
  QString settingsPath_;
  QString programDirectory_;
  QString helpDirectory_;
  bool started_ = false;
  bool handlingError_ = false;
  bool endedByError_ = false;
  int exitCode_ = 0;
};

}  // namespace terravue::gui
