#include "app/app_controller.h"

#include <exception>

#include <QRect>
#include <string>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "app/application.h"
#include "app/file_commands.h"
#include "app/qt_text.h"
#include "app/qt_user_port.h"
#include "app/single_instance.h"
#include "app/unhandled_error.h"
#include "common/app_settings.h"
#include "common/messages.h"
#include "common/session.h"
#include "app/settings_file.h"
#include "common/settings_record.h"
#include "dialogs/import_export/landxml_dialogs.h"
#include "dialogs/welcome_window.h"
#include "help/help_viewer.h"
#include "mainwindow/main_window.h"
#include "model/model_document.h"
#include "model/surface_model.h"

namespace terravue::gui {

struct AppController::RunState {
  model::SurfaceModel model;
  SettingsRecord settings = DefaultSettings();
  QtUserPort port{settings};
  std::unique_ptr<QTemporaryDir> workDirectory;
  Session session{model, settings, port, {}};
};

namespace {

// Report work files get a folder of their own for the run, private to the user, so that their
// fixed names cannot be prepared in advance by someone else.
std::unique_ptr<QTemporaryDir> MakeWorkDirectory() {
  auto dir = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/terravue-XXXXXX"));
  if (dir->isValid()) return dir;
  const QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
  if (config.isEmpty() || !QDir().mkpath(config)) return nullptr;
  dir = std::make_unique<QTemporaryDir>(config + QStringLiteral("/work-XXXXXX"));
  return dir->isValid() ? std::move(dir) : nullptr;
}

// The main window's size and place when it is neither minimised nor maximised. The settings
// file has no room for it, so it is kept beside that file, as the desktop's programs keep theirs.
constexpr const char* PlaceKey = "MainWindow/place";
QSettings WindowPlaceFile(const QString& settingsPath) {
  return QSettings(QFileInfo(settingsPath).dir().filePath(QStringLiteral("window.ini")), QSettings::IniFormat);
}

}  // namespace

AppController::AppController(Options options)
    : options_(options), state_(std::make_unique<RunState>()) {}

AppController::~AppController() { Shutdown(); }

Session& AppController::GetSession() { return state_->session; }
QtUserPort& AppController::Port() { return state_->port; }

QString AppController::SettingsFilePath() {
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
  if (folder.isEmpty()) return {};
  return folder + QLatin1Char('/') + FromUtf8(msg::SettingsFileName);
}

int AppController::Run(const QStringList& arguments) {
  if (auto* app = qobject_cast<Application*>(QCoreApplication::instance()))
    app->SetUnhandledErrorHandler([this](std::string_view what) { HandleUnhandledError(what); });

  int code = 0;
  try {
    if (!Start(arguments)) {
      Shutdown();
      return exitCode_;
    }
    code = QCoreApplication::exec();
  } catch (const std::exception& e) {
    HandleUnhandledError(e.what());
  } catch (...) {
    HandleUnhandledError({});
  }
  if (endedByError_) code = 1;
  Shutdown();
  return code;
}

bool AppController::Start(const QStringList& arguments) {
  RunState& run = *state_;
  QCoreApplication::setApplicationName(QStringLiteral("terravue"));

  // A second copy leaves before it reads or writes anything.
  instance_ = std::make_unique<SingleInstance>();
  if (instance_->Acquire() == SingleInstance::Result::AlreadyRunning) {
    run.port.ShowError(std::string(msg::ProductName) + std::string(msg::AlreadyRunningSuffix));
    instance_.reset();
    exitCode_ = 1;
    return false;
  }

  LoadSettingsFile();
  programDirectory_ = QCoreApplication::applicationDirPath() + QLatin1Char('/');
  // The field only informs; a folder too long for it is left out rather than cut.
  if (!run.settings.Set(settings::ProgramDirectory, QFile::encodeName(programDirectory_).toStdString()))
    run.settings.Set(settings::ProgramDirectory, std::string_view{});
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  ResolveDirectories(run.settings, ToFsPath(documents), ToFsPath(QDir::homePath()));

  if (!run.model.AllocateStore()) {
    run.port.ShowError(msg::ErrorAllocatingMemory);
    run.port.ShowError(msg::InsufficientMemoryForProgram);
    instance_.reset();
    exitCode_ = 1;
    return false;
  }
  started_ = true;
  run.settings.Set(settings::ModelSaved, true);
  run.workDirectory = MakeWorkDirectory();
  // Without a temporary folder the user's own configuration folder stands in: still private.
  run.session.workDirectory =
      ToFsPath(run.workDirectory ? run.workDirectory->path()
                                 : QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));

  help_ = std::make_unique<HelpViewer>(
      run.port, helpDirectory_.isEmpty() ? programDirectory_ : helpDirectory_);
  window_ = std::make_unique<MainWindow>(run.session, *help_);
  run.port.SetParentWindow(window_.get());
  run.port.SetModelStateHandler([this] {
    if (window_) window_->RefreshCaption();
  });
  connect(window_.get(), &MainWindow::FirstActivated, this, &AppController::ShowWelcome);
  connect(window_.get(), &MainWindow::Closed, qApp, &QCoreApplication::quit, Qt::QueuedConnection);

  if (!settingsPath_.isEmpty()) window_->RestorePlace(WindowPlaceFile(settingsPath_).value(PlaceKey).toRect());
  window_->ApplyWindowState(run.settings.Get(settings::MainWindowState));
  OpenFromCommandLine(arguments);
  // An empty name reopens the last model; with none recorded nothing happens.
  if (run.model.PointCount == 0 && run.settings.Get(settings::AutoLoad))
    model::OpenModelByName(run.session, {});
  // The view fitted to what was opened, the menus in step with it.
  window_->ModelLoaded();
  return true;
}

void AppController::LoadSettingsFile() {
  RunState& run = *state_;
  settingsPath_ = SettingsFilePath();
  run.settings = DefaultSettings();
  if (!settingsPath_.isEmpty()) LoadSettings(run.settings, ToFsPath(settingsPath_));
}

void AppController::OpenFromCommandLine(const QStringList& arguments) {
  if (arguments.size() < 2) return;
  // The name is taken as given: made absolute, never changed in case.
  const QFileInfo file(arguments.at(1));
  if (!file.isFile()) {
    state_->port.ShowPlain(msg::InvalidCommandLine);
    return;
  }
  app::OpenFileByName(state_->session, ToFsPath(file.absoluteFilePath()), [this](const auto& surfaces) {
    return ChooseLandXmlSurface(window_.get(), surfaces);
  });
}

void AppController::ShowWelcome() {
  RunState& run = *state_;
  if (!options_.showWelcome || run.model.PointCount != 0 || !run.settings.Get(settings::ShowSplash))
    return;
  WelcomeWindow welcome(run.port, window_.get());
  welcome.whatNext = [this] { help_->ShowHelpFile(help::Tutorial); };
  if (welcome.exec() == QDialog::Accepted)
    run.settings.Set(settings::ShowSplash, !welcome.DoNotShowAgain());
}

void AppController::HandleUnhandledError(std::string_view what) {
  endedByError_ = true;
  exitCode_ = 1;
  if (!handlingError_) {
    handlingError_ = true;
    QtUserPort& port = state_->port;
    try {
      port.ShowError(what.empty() ? msg::UnhandledErrorUnknown : what);
      if (started_) {
        OfferRescueSave(state_->session,
                        [this] { return ChooseRescueFile(window_.get(), state_->settings); });
      }
    } catch (...) {
      // Already on the way out: a second failure must not stop the program from ending.
    }
  }
  QCoreApplication::exit(1);
}

void AppController::Shutdown() {
  RunState& run = *state_;
  if (started_) {
    started_ = false;
    if (window_) {
      run.settings.Set(settings::MainWindowState, static_cast<std::uint8_t>(window_->WindowStateCode()));
      const QRect place = window_->NormalPlace();
      if (place.isValid() && !settingsPath_.isEmpty()) WindowPlaceFile(settingsPath_).setValue(PlaceKey, place);
    }
    if (!settingsPath_.isEmpty()) {
      // Not reported: the program is ending, and a failed save leaves the old file whole.
      try {
        QDir().mkpath(QFileInfo(settingsPath_).absolutePath());
        SaveSettings(run.settings, ToFsPath(settingsPath_));
      } catch (const std::exception&) {
      }
    }
    run.port.SetParentWindow(nullptr);
    window_.reset();
    help_.reset();
    run.model.FreeStore();
    run.workDirectory.reset();
  }
  instance_.reset();
}

}  // namespace terravue::gui
