// The main window's caption and its close question.

#include <QAbstractButton>
#include <QSignalSpy>
#include <QtTest>

#include "app/qt_user_port.h"
#include "common/app_settings.h"
#include "common/session.h"
#include "app/settings_file.h"
#include "help/help_viewer.h"
#include "mainwindow/main_window.h"
#include "model/model_document.h"
#include "model/surface_model.h"
#include "modal.h"

namespace settings = terravue::settings;
using terravue::gui::MainWindow;
using terravue::testing::OnNextModal;

class MainWindowTest : public QObject {
  Q_OBJECT

  struct Fixture {
    terravue::model::SurfaceModel model;
    terravue::SettingsRecord settings = terravue::DefaultSettings();
    terravue::gui::QtUserPort port{settings};
    terravue::Session session{model, settings, port, {}};
    terravue::gui::HelpViewer help{port, QString()};
    MainWindow window{session, help};

    Fixture() {
      model.AllocateStore();
      port.SetParentWindow(&window);
      port.SetModelStateHandler([this] { window.RefreshCaption(); });
    }
    // A loaded model as the engine leaves it after opening SITE.MDL.
    void LoadSite() {
      model.PointCount = 3;
      settings.Set(settings::ModelFileName, "SITE.MDL");
      settings.Set(settings::ModelSaved, true);
      window.RefreshCaption();
    }
  };

 private slots:
  void captionFollowsTheModel() {
    Fixture f;
    QCOMPARE(f.window.windowTitle(), QString("Terravue <No Data Loaded>"));
    f.LoadSite();
    QCOMPARE(f.window.windowTitle(), QString("Terravue <SITE.MDL> (unmodified)"));
    terravue::model::MarkModified(f.session);  // the engine tells the port, the port the window
    QCOMPARE(f.window.windowTitle(), QString("Terravue <SITE.MDL>"));
  }

  void closeAsksAboutUnsavedChanges_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("closes");
    QTest::newRow("no keeps the program running") << "&No" << false;
    QTest::newRow("yes closes") << "&Yes" << true;
  }

  void closeAsksAboutUnsavedChanges() {
    QFETCH(QString, answer);
    QFETCH(bool, closes);
    Fixture f;
    f.LoadSite();
    terravue::model::MarkModified(f.session);
    f.window.show();
    QSignalSpy closed(&f.window, &MainWindow::Closed);
    QString question;
    OnNextModal([&](QWidget* w) {
      question = w->property("text").toString();
      for (auto* b : w->findChildren<QAbstractButton*>())
        if (b->text() == answer) b->click();
    });
    f.window.close();
    QCOMPARE(question, QString("WARNING - The current file has changes that have not been "
                               "written to disk.\nExit anyway?"));
    QCOMPARE(f.window.isVisible(), !closes);
    QCOMPARE(closed.count(), closes ? 1 : 0);
  }

  void closeWithoutChangesAsksNothing() {
    Fixture f;
    f.LoadSite();
    f.window.show();
    QSignalSpy closed(&f.window, &MainWindow::Closed);
    QVERIFY(f.window.close());
    QCOMPARE(closed.count(), 1);
  }

  void windowStateRoundTrips() {
    Fixture f;
    for (int state : {2, 0, 1}) {
      f.window.ApplyWindowState(state);
      QCOMPARE(f.window.WindowStateCode(), state);
    }
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
