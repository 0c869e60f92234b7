// The first job of a new user, driven through the real program: File > New with a PNEZD point
// file, Triangulate, the contoured sheet, Save As SITE, quit, start again (the model comes back
// by itself and heads the Reopen list), export the points and read them back, and Preferences
// showing the other unit's presets as soon as the units are switched. Every window that opens
// is answered as the user would answer it: message boxes, the file dialogs, the import and
// export dialogs. Pictures of the sheet are left beside the test program.

#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <cmath>
#include <fstream>
#include <functional>
#include <memory>
#include <vector>

#include "app/app_controller.h"
#include "commands/command_table.h"
#include "common/app_settings.h"
#include "device/scale_presets.h"
#include "common/session.h"
#include "controllers/view_controller.h"
#include "mainwindow/main_window.h"
#include "mainwindow/map_area.h"
#include "device/map_options.h"
#include "model/model_document.h"
#include "model/surface_model.h"
#include "device/page_setup_settings.h"
#include "print/sheet_view.h"
#include "modal.h"
#include "private_home.h"

using terravue::app::CommandId;
using terravue::gui::AppController;
using terravue::testing::TypeFileName;
namespace map = terravue::device;

namespace {

QString Plain(QString text) { return text.remove(QLatin1Char('&')); }

QAbstractButton* ButtonByText(QWidget* w, const QString& text) {
  for (auto* b : w->findChildren<QAbstractButton*>())
    if (b->isVisible() && Plain(b->text()).startsWith(text)) return b;
  return nullptr;
}

// The user at the keyboard: the steps are taken in order, each on the first modal window it
// wants; a message box no step waits for is answered with its default button and the progress
// window with "Continue". Every message box text is kept.
class User : public QObject {
 public:
  using Match = std::function<bool(QWidget*)>;
  using Act = std::function<void(QWidget*)>;

  User() {
    connect(&timer_, &QTimer::timeout, this, [this] { Look(); });
    timer_.start(20);
  }

  // The next modal window that `match` accepts is handled by `act`.
  void Expect(Match match, Act act) { steps_.push_back({std::move(match), std::move(act)}); }
  void AnswerBox(const QString& containing, const QString& button) {
    Expect(
        [containing](QWidget* w) {
          auto* box = qobject_cast<QMessageBox*>(w);
          return box && box->text().contains(containing);
        },
        [button](QWidget* w) {
          if (auto* b = ButtonByText(w, button)) b->click();
        });
  }
  void ChooseFile(const QString& path) {
    Expect([](QWidget* w) { return qobject_cast<QFileDialog*>(w) != nullptr; },
           [path](QWidget* w) { TypeFileName(static_cast<QFileDialog*>(w), path, 20); });
  }
  void InDialog(const QString& title, Act act) {
    Expect([title](QWidget* w) { return w->windowTitle() == title; }, std::move(act));
  }

  bool Done() const { return steps_.empty(); }
  QStringList boxes;

 private:
  struct Step {
    Match match;
    Act act;
  };

  void Look() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible() || busy_) return;
    busy_ = true;
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (box) boxes << box->text();
    if (!steps_.empty() && steps_.front().match(modal)) {
      Act act = std::move(steps_.front().act);
      steps_.erase(steps_.begin());
      act(modal);
    } else if (box) {
      if (box->defaultButton())
        box->defaultButton()->click();
      else
        box->accept();
    } else if (auto* go = ButtonByText(modal, QStringLiteral("Continue"))) {
      go->click();
    }
    busy_ = false;
  }

  QTimer timer_;
  std::vector<Step> steps_;
  bool busy_ = false;
};

struct Point {
  double x, y, z;
};

std::vector<Point> Points(const terravue::model::SurfaceModel& m) {
  std::vector<Point> points;
  for (int i = 1; i <= m.PointCount; ++i) points.push_back({m.PointX[i], m.PointY[i], m.PointZ[i]});
  return points;
}

// A small rolling site as a surveyor's PNEZD file: number, Northing, Easting, elevation and a
// description.
void WritePnezd(const QString& path) {
  std::ofstream out(path.toStdString(), std::ios::binary);
  int number = 1;
  for (int row = 0; row < 9; ++row)
    for (int column = 0; column < 9; ++column) {
      const double n = 5000 + 25.0 * row, e = 3000 + 25.0 * column;
      const double z = 100 + 6 * std::sin(column / 2.5) + 4 * std::cos(row / 3.0) + 0.01 * number;
      out << number++ << ',' << n << ',' << e << ',' << z << ",GROUND\r\n";
    }
}

int ContourSegments(terravue::gui::MainWindow& window, terravue::Session& session) {
  terravue::gui::SheetView& sheet = window.Map().Sheet();
  const int with = sheet.Map().SegmentCount();
  session.settings.Set(map::ContourOptions::Show, false);
  window.View().Regenerate();
  const int without = sheet.Map().SegmentCount();
  session.settings.Set(map::ContourOptions::Show, true);
  window.View().Regenerate();
  return with - without;
}

// Preferences opened, the units switched to Metric and back, then Cancel: the first preset
// scale shown each time, with the scale label while Metric.
QStringList PresetPagesSeen(terravue::gui::MainWindow& window) {
  QStringList seen;
  User user;
  user.InDialog("Preferences", [&seen](QWidget* w) {
    auto* list = w->findChild<QListWidget*>("ListScales");
    auto first = [list] { return list->count() ? list->item(0)->text() : QString(); };
    seen << first();
    w->findChild<QRadioButton*>("RBMetric")->click();
    seen << first() << w->findChild<QLabel*>("LabelScale")->text();
    w->findChild<QRadioButton*>("RBEnglish")->click();
    seen << first();
    w->findChild<QPushButton*>("ButtonCancel")->click();
  });
  window.Commands().Run(CommandId::Preferences);
  return seen;
}

void Picture(QWidget& window, const char* name) {
  QCoreApplication::processEvents();
  window.grab().save(QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromLatin1(name)));
}

}  // namespace

class NewUserWalkthroughTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    home_ = MakePrivateHome();
    QVERIFY(home_->isValid());
    QDir().mkpath(home_->filePath("jobs"));
  }

  void firstJobFromPointsToASavedContourMap() {
    const QString jobs = home_->filePath("jobs");
    const QString survey = jobs + "/SURVEY.TXT";
    WritePnezd(survey);
    const QString site = jobs + "/SITE.MDL";
    std::vector<Point> saved;
    {
      AppController app({.showWelcome = false});
      QVERIFY(app.Start({"terravue"}));
      terravue::gui::MainWindow& window = *app.Window();
      terravue::Session& session = app.GetSession();
      window.show();
      QVERIFY(QTest::qWaitForWindowExposed(&window));
      QCOMPARE(window.windowTitle(), QString("Terravue <No Data Loaded>"));

      // Preferences: the preset page follows the units before OK; Cancel keeps English.
      QCOMPARE(PresetPagesSeen(window), (QStringList{"10.000", "1.000", "Scale: m/cm", "10.000"}));
      QCOMPARE(int{session.settings.Get(terravue::settings::Units)}, 0);

      // File > New: no file known yet, so the file dialog comes first, then the format.
      User user;
      user.ChooseFile(survey);
      user.InDialog("Import Coordinates", [](QWidget* w) {
        ButtonByText(w, QStringLiteral("Point Number, Northing, Easting, Elevation"))->click();
        w->findChild<QPushButton*>("ButtonOK")->click();
      });
      QVERIFY(window.Commands().Run(CommandId::New));
      QTRY_VERIFY(user.Done());
      QCOMPARE(int{session.model.PointCount}, 81);
      QCOMPARE(session.model.PointY[10], 5025.0);  // Northing second, Easting third
      QCOMPARE(session.model.PointX[10], 3000.0);
      QCOMPARE(window.windowTitle(), QString("Terravue <SURVEY.TXT>"));

      QVERIFY(window.Commands().Run(CommandId::Triangulate));
      QVERIFY(session.model.TriangleCount > 100);
      // Contours are off in a new settings file: the user turns them on in the map options.
      user.Expect([](QWidget* w) { return w->findChild<QCheckBox*>("CBContours") != nullptr; },
                  [](QWidget* w) {
                    w->findChild<QCheckBox*>("CBContours")->setChecked(true);
                    w->findChild<QPushButton*>("ButtonOK")->click();
                  });
      QVERIFY(window.Commands().Run(CommandId::MapOptions));
      QVERIFY(user.Done());
      QVERIFY2(ContourSegments(window, session) > 50, "no contour lines on the sheet");
      Picture(window, "WALKTHROUGH_CONTOURS.png");

      // Save As SITE: the file dialog's name without extension gets the model extension.
      user.ChooseFile(jobs + "/SITE");
      QVERIFY(window.Commands().Run(CommandId::SaveSurfaceAs));
      QTRY_VERIFY(user.Done());
      QVERIFY(QFile::exists(site));
      QCOMPARE(window.windowTitle(), QString("Terravue <SITE.MDL> (unmodified)"));
      saved = Points(session.model);
      // Label heights changed by hand give way to the scale's preset when a model is loaded.
      session.settings.Set(map::ContourOptions::TextHeight, 9.99);
      app.Shutdown();
      QVERIFY(!app.Window());
    }
    {
      AppController app({.showWelcome = false});
      QVERIFY(app.Start({"terravue"}));
      terravue::gui::MainWindow& window = *app.Window();
      terravue::Session& session = app.GetSession();
      window.show();
      QVERIFY(QTest::qWaitForWindowExposed(&window));
      QCOMPARE(window.windowTitle(), QString("Terravue <SITE.MDL> (unmodified)"));
      QVERIFY(session.model.TriangleCount > 100);
      QVERIFY(ContourSegments(window, session) > 50);
      Picture(window, "WALKTHROUGH_REOPENED.png");
      const double scale = session.settings.Get(terravue::device::PageSetup::MapScale);
      const int preset = terravue::device::ChooseScalePreset(session.settings, 0, scale);
      QCOMPARE(session.settings.Get(map::ContourOptions::TextHeight),
               session.settings.Get(terravue::settings::ScalePresetSizes(0, preset, 2)));

      QMenu* reopen = nullptr;
      for (auto* menu : window.findChildren<QMenu*>())
        if (Plain(menu->title()) == "Reopen Surface") reopen = menu;
      QVERIFY(reopen);
      QVERIFY(reopen->menuAction()->isEnabled());
      emit reopen->aboutToShow();
      QVERIFY(!reopen->actions().isEmpty());
      QCOMPARE(QDir::cleanPath(reopen->actions().first()->statusTip()), QDir::cleanPath(site));

      // Export the points as number, Northing, Easting, elevation; read them back in place of
      // the model.
      User user;
      user.InDialog("Export Coordinates", [](QWidget* w) {
        ButtonByText(w, QStringLiteral("Point Number, Northing, Easting, Elevation"))->click();
        w->findChild<QPushButton*>("ButtonOK")->click();
      });
      QVERIFY(window.Commands().Run(CommandId::ExportCoordinates));
      QTRY_VERIFY(user.Done());
      const QString exported = jobs + "/SITE.ASC";
      QVERIFY(QFile::exists(exported));

      user.AnswerBox("Add to current file?", "No");
      user.InDialog("Import Coordinates", [exported](QWidget* w) {
        User inner;  // the file dialog opens from inside this one
        inner.ChooseFile(exported);
        w->findChild<QPushButton*>("ButtonChange")->click();
        ButtonByText(w, QStringLiteral("Point Number, Northing, Easting, Elevation"))->click();
        w->findChild<QPushButton*>("ButtonOK")->click();
      });
      QVERIFY(window.Commands().Run(CommandId::ImportCoordinates));
      QTRY_VERIFY(user.Done());
      const std::vector<Point> back = Points(session.model);
      QCOMPARE(back.size(), saved.size());
      for (std::size_t i = 0; i < back.size(); ++i) {
        QVERIFY(std::abs(back[i].x - saved[i].x) < 0.0005);
        QVERIFY(std::abs(back[i].y - saved[i].y) < 0.0005);
        QVERIFY(std::abs(back[i].z - saved[i].z) < 0.0005);
      }
      QCOMPARE(window.windowTitle(), QString("Terravue <SITE.ASC>"));

      // A recent file that has turned bad: the read fails, the model is gone, and the window
      // says so instead of naming the model it no longer holds.
      const QString bad = jobs + "/BAD.MDL";
      {
        QFile file(bad);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a model");
      }
      terravue::model::AddRecentFile(session.settings, bad.toStdString());
      emit reopen->aboutToShow();
      user.AnswerBox("Load new data anyway?", "Yes");
      reopen->actions().first()->trigger();
      QTRY_VERIFY(user.Done());
      QCOMPARE(int{session.model.PointCount}, 0);
      QCOMPARE(window.windowTitle(), QString("Terravue <No Data Loaded>"));
      QVERIFY(!user.boxes.isEmpty());  // the reason was shown
      app.Shutdown();
    }
  }

 private:
  std::unique_ptr<QTemporaryDir> home_;
};

QTEST_MAIN(NewUserWalkthroughTest)
#include "new_user_walkthrough_test.moc"
