// Start-up and shutdown of the whole program: settings in the user's configuration folder,
// one running copy, the command line, the welcome window, and unhandled errors.

#include <QCheckBox>
#include <QFileInfo>
#include <QSettings>
#include <QLockFile>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <stdexcept>

#include "app/app_controller.h"
#include "help/help_viewer.h"
#include "app/application.h"
#include "app/qt_user_port.h"
#include "app/single_instance.h"
#include "app/unhandled_error.h"
#include "common/app_settings.h"
#include "common/session.h"
#include "app/settings_file.h"
#include "mainwindow/main_window.h"
#include "model/model_file.h"
#include "model/surface_model.h"
#include "modal.h"
#include "support/fake_port.h"
#include "private_home.h"

namespace settings = terravue::settings;
using terravue::gui::AppController;
using terravue::gui::HelpViewer;
using terravue::testing::FakePort;
using terravue::testing::OnNextModal;

namespace {

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

QByteArray Image(const terravue::SettingsRecord& record) {
  return QByteArray(reinterpret_cast<const char*>(record.bytes.data()),
                    static_cast<qsizetype>(record.bytes.size()));
}

terravue::SettingsRecord FromImage(const QByteArray& bytes) {
  terravue::SettingsRecord record;
  std::copy_n(bytes.constData(), std::min<qsizetype>(bytes.size(), record.bytes.size()),
              reinterpret_cast<char*>(record.bytes.data()));
  return record;
}

// Answers the next message box with OK and keeps its title and text.
struct BoxSeen {
  QString title, text;
};
std::shared_ptr<BoxSeen> AcceptNextBox() {
  auto seen = std::make_shared<BoxSeen>();
  OnNextModal([seen](QWidget* w) {
    seen->title = w->windowTitle();
    seen->text = w->property("text").toString();
    if (auto* box = qobject_cast<QMessageBox*>(w)) box->accept();
  });
  return seen;
}

// A small site model with three points, as the engine writes it.
void FillSite(terravue::model::SurfaceModel& model) {
  model.PointCount = 3;
  for (int i = 1; i <= 3; ++i) {
    model.PointX[i] = 100.0 * i;
    model.PointY[i] = 50.0 * i * i;
    model.PointZ[i] = 10.0 + i;
  }
  model.ComputeExtents();
}

class Thrower : public QObject {
 public:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::User) throw std::runtime_error("Disk on fire.");
    return QObject::event(e);
  }
};

}  // namespace

class AppTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    home_ = MakePrivateHome();
    QVERIFY(home_->isValid());
    settingsFile_ = home_->filePath("config/terravue/TERRAVUE_SURFACE.VSF");
  }

  void firstStartWritesTheSettingsAtExit() {
    AppController app({.showWelcome = false});
    QVERIFY(app.Start({"terravue"}));
    QCOMPARE(AppController::SettingsFilePath(), settingsFile_);
    QCOMPARE(app.Window()->windowTitle(), QString("Terravue <No Data Loaded>"));
    QVERIFY(QFile::exists(terravue::gui::SingleInstance::LockPath()));
    QVERIFY(!QFile::exists(settingsFile_));
    app.Shutdown();

    const QByteArray saved = ReadAll(settingsFile_);
    QCOMPARE(saved.size(), qsizetype(terravue::SettingsRecord::Size));
    const auto record = FromImage(saved);
    QCOMPARE(QString::fromStdString(record.Get(settings::ProgramDirectory)),
             QCoreApplication::applicationDirPath() + "/");
    QCOMPARE(QString::fromStdString(record.Get(settings::DataDirectory)), home_->path() + "/");
    QVERIFY(record.Get(settings::ModelSaved));
    QVERIFY(!QFile::exists(terravue::gui::SingleInstance::LockPath()));
  }

  void storedSettingsAreUsedAndWindowStateRoundTrips() {
    auto stored = terravue::DefaultSettings();
    stored.Set(settings::MainWindowState, 2);
    stored.Set(settings::CompanyName, "Acme Surveys");
    QDir().mkpath(home_->filePath("Documents"));
    WriteAll(settingsFile_, Image(stored));

    AppController app({.showWelcome = false});
    QVERIFY(app.Start({"terravue"}));
    QVERIFY(app.Window()->isMaximized());
    app.Window()->showNormal();
    app.Shutdown();

    const auto record = FromImage(ReadAll(settingsFile_));
    QCOMPARE(record.Get(settings::MainWindowState), std::uint8_t{0});
    QCOMPARE(record.Get(settings::CompanyName), std::string("Acme Surveys"));
    QCOMPARE(QString::fromStdString(record.Get(settings::DataDirectory)),
             home_->filePath("Documents") + "/");
  }

  // The window comes back with the size and place it had when the program ended.
  void windowPlaceRoundTrips() {
    WriteAll(settingsFile_, Image(terravue::DefaultSettings()));
    const QString placeFile = QFileInfo(settingsFile_).dir().filePath("window.ini");
    QSettings(placeFile, QSettings::IniFormat).setValue("MainWindow/place", QRect(30, 20, 700, 500));

    AppController app({.showWelcome = false});
    QVERIFY(app.Start({"terravue"}));
    QCOMPARE(app.Window()->size(), QSize(700, 500));
    QCOMPARE(app.Window()->pos(), QPoint(30, 20));
    app.Window()->setGeometry(40, 50, 640, 480);
    app.Shutdown();

    QCOMPARE(QSettings(placeFile, QSettings::IniFormat).value("MainWindow/place").toRect(), QRect(40, 50, 640, 480));
  }

  void secondCopyIsRefusedWithoutTouchingTheSettings() {
    const QByteArray image = Image(terravue::DefaultSettings());
    WriteAll(settingsFile_, image);
    const QDateTime before = QFileInfo(settingsFile_).lastModified();

    QLockFile running(terravue::gui::SingleInstance::LockPath());
    QVERIFY(running.tryLock(0));

    AppController app({.showWelcome = false});
    auto seen = AcceptNextBox();
    QVERIFY(!app.Start({"terravue"}));
    QCOMPARE(app.ExitCode(), 1);
    QCOMPARE(seen->title, QString("Error"));
    QCOMPARE(seen->text, QString("Terravue is already running"));
    QVERIFY(app.Window() == nullptr);
    app.Shutdown();
    QCOMPARE(ReadAll(settingsFile_), image);
    QCOMPARE(QFileInfo(settingsFile_).lastModified(), before);
  }

  void lockOfAnEndedProcessIsTakenOver() {
    // The lock of a process that has ended, as it would be left by a crash.
    QProcess ended;
    ended.start("true", QStringList{});
    QVERIFY(ended.waitForStarted());
    const qint64 pid = ended.processId();
    QVERIFY(ended.waitForFinished());
    WriteAll(terravue::gui::SingleInstance::LockPath(),
             QByteArray::number(pid) + "\nterravue\n" + QSysInfo::machineHostName().toUtf8() + "\n");

    AppController app({.showWelcome = false});
    QVERIFY(app.Start({"terravue"}));
    app.Shutdown();
  }

  void commandLineNamingNoFile() {
    AppController app({.showWelcome = false});
    auto seen = AcceptNextBox();
    QVERIFY(app.Start({"terravue", home_->filePath("missing.MDL")}));
    QCOMPARE(seen->title, QString("Terravue"));
    QCOMPARE(seen->text, QString("Invalid command line parameter or file not found."));
    QCOMPARE(app.GetSession().model.PointCount, std::uint16_t{0});
    app.Shutdown();
  }

  void commandLineModelOpensAndIsReopenedNextTime() {
    // Written under a lower-case name, which must reach the caption unchanged.
    const QString site = home_->filePath("Site Survey/site.mdl");
    QDir().mkpath(QFileInfo(site).absolutePath());
    {
      terravue::model::SurfaceModel model;
      QVERIFY(model.AllocateStore());
      FillSite(model);
      auto record = terravue::DefaultSettings();
      FakePort port;
      terravue::Session session{model, record, port, {}};
      QVERIFY(terravue::model::WriteModelFile(session, site.toStdString(), 1, 3,
                                              terravue::model::ModelFileTypeMdl));
    }
    {
      AppController app({.showWelcome = false});
      const QString previous = QDir::currentPath();
      QDir::setCurrent(QFileInfo(site).absolutePath());
      const bool started = app.Start({"terravue", "site.mdl"});  // relative to the current folder
      QDir::setCurrent(previous);
      QVERIFY(started);
      QCOMPARE(app.GetSession().model.PointCount, std::uint16_t{3});
      QCOMPARE(app.Window()->windowTitle(), QString("Terravue <site.mdl> (unmodified)"));
      app.Shutdown();
    }
    {
      AppController app({.showWelcome = false});
      QVERIFY(app.Start({"terravue"}));
      QCOMPARE(app.GetSession().model.PointCount, std::uint16_t{3});
      QCOMPARE(app.Window()->windowTitle(), QString("Terravue <site.mdl> (unmodified)"));
      app.Shutdown();
    }
  }

  void welcomeWindowStoresItsCheckBoxInverted() {
    AppController app({.showWelcome = true});
    QString title;
    OnNextModal([&](QWidget* w) {
      title = w->windowTitle();
      w->findChild<QCheckBox*>("CBDoNotShow")->setChecked(true);
      w->findChild<QPushButton*>("ButtonStart")->click();
    });
    QVERIFY(app.Start({"terravue"}));
    app.Window()->activateWindow();
    QTRY_COMPARE(title, QString("Welcome to the world of Terravue!"));
    QVERIFY(!app.GetSession().settings.Get(settings::ShowSplash));
    app.Shutdown();
    QVERIFY(!FromImage(ReadAll(settingsFile_)).Get(settings::ShowSplash));
  }

  // "What to do next..." opens the first job's walkthrough in front of the welcome window; it
  // stays open once the welcome window is gone.
  void whatToDoNextOpensTheWalkthrough() {
    AppController app({.showWelcome = true});
    app.UseHelpDirectory(TERRAVUE_HELP_DIR);
    QString shown;
    bool inFront = false, usable = false;
    OnNextModal([&](QWidget* w) {
      w->findChild<QPushButton*>("ButtonWhatNext")->click();
      HelpViewer* help = app.Help();
      shown = QFileInfo(help->CurrentFile()).fileName();
      inFront = help->isVisible() && help->parentWidget() == w;
      usable = help->isEnabled();
      w->findChild<QPushButton*>("ButtonStart")->click();
    });
    QVERIFY(app.Start({"terravue"}));
    app.Window()->activateWindow();
    QTRY_COMPARE(shown, QString("TVU_TUTORIAL.html"));
    QVERIFY(inFront);
    QVERIFY(usable);
    QTRY_VERIFY(app.Help()->isVisible());
    QCOMPARE(app.Help()->parentWidget(), nullptr);
    app.Shutdown();
  }

  void exceptionsInEventHandlersReachTheHandler() {
    auto* app = qobject_cast<terravue::gui::Application*>(QCoreApplication::instance());
    QVERIFY(app);
    QStringList caught;
    app->SetUnhandledErrorHandler([&](std::string_view what) { caught << QString::fromUtf8(what.data(), qsizetype(what.size())); });
    Thrower thrower;
    QEvent event(QEvent::User);
    QCOMPARE(QCoreApplication::sendEvent(&thrower, &event), false);
    app->SetUnhandledErrorHandler({});
    QCOMPARE(caught, QStringList{"Disk on fire."});
  }

  void unsavedModelIsOfferedForSavingAfterAnError() {
    terravue::model::SurfaceModel model;
    QVERIFY(model.AllocateStore());
    auto record = terravue::DefaultSettings();
    FakePort port;
    terravue::Session session{model, record, port, {}};
    FillSite(model);
    record.Set(settings::ModelSaved, false);

    // No: nothing is written and no file is asked for.
    int asked = 0;
    auto choose = [&] {
      ++asked;
      return home_->filePath("rescued.MDL");
    };
    QVERIFY(!terravue::gui::OfferRescueSave(session, choose));
    QCOMPARE(asked, 0);

    port.yesNoAnswers = {true};
    QVERIFY(terravue::gui::OfferRescueSave(session, choose));
    QCOMPARE(asked, 1);
    QVERIFY(QFileInfo(home_->filePath("rescued.MDL")).size() > 0);

    // Saved models are left alone.
    port.shown.clear();
    record.Set(settings::ModelSaved, true);
    QVERIFY(!terravue::gui::OfferRescueSave(session, choose));
    QVERIFY(port.shown.empty());
  }

 private:
  std::unique_ptr<QTemporaryDir> home_;
  QString settingsFile_;
};

int main(int argc, char** argv) {
  terravue::gui::Application app(argc, argv);
  AppTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "app_test.moc"
