// The report viewer: what it shows, saving a copy, the stored font, and the printed lines.

#include <QFile>
#include <QFontDatabase>
#include <QTemporaryDir>
#include <QtTest>

#include "common/app_settings.h"
#include "app/settings_file.h"
#include "report/report_printing.h"
#include "report/report_viewer.h"
#include "support/fake_port.h"

using terravue::gui::PrintableLines;
using terravue::gui::ReportViewer;
using terravue::testing::FakePort;
namespace settings = terravue::settings;

class ReportViewerTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    settings_ = terravue::DefaultSettings();
    port_ = FakePort{};
    QVERIFY(dir_.isValid());
    report_ = dir_.filePath("XXPoints.OUT");
    QFile file(report_);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("                              Data Point Listing\r\n"
               "Caf\xE9 <b>1</b>\r\n");
  }

  void showsTheFileAsLatin1Text() {
    ReportViewer viewer(settings_, port_);
    QVERIFY(viewer.Open(report_, false, "Point Listing.TXT", "Save Point Listing"));
    QCOMPARE(viewer.Text(), QString::fromUtf8("                              Data Point Listing\n"
                                              "Caf\u00e9 <b>1</b>\n"));
    QCOMPARE(viewer.windowTitle(), QString("View File"));
    QVERIFY(viewer.ToolBarVisible());

    QVERIFY(viewer.Open(report_, true));
    QCOMPARE(viewer.windowTitle(), QString("View File: XXPoints.OUT"));
    QVERIFY(!viewer.ToolBarVisible());

    QVERIFY(!viewer.Open(dir_.filePath("missing.OUT"), false));
  }

  void saveCopy() {
    ReportViewer viewer(settings_, port_);
    QVERIFY(viewer.Open(report_, false, "Point Listing.TXT", "Save Point Listing"));

    const QString copy = dir_.filePath("Point Listing.TXT");
    QVERIFY(viewer.SaveCopyTo(copy));
    QFile original(report_), saved(copy);
    QVERIFY(original.open(QIODevice::ReadOnly) && saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), original.readAll());
    QVERIFY(port_.shown.empty());

    // A folder that does not exist, and a destination that is itself a folder.
    for (const QString& bad : {dir_.filePath("no/such/folder/x.TXT"), dir_.path()}) {
      port_.shown.clear();
      QVERIFY(!viewer.SaveCopyTo(bad));
      QCOMPARE(port_.Texts(FakePort::Kind::Error), std::vector<std::string>{"Error saving the file."});
    }
  }

  void missingFontFallsBackButKeepsTheStoredName() {
    settings_.Set(settings::ViewerFontName, "No Such Font Family");
    settings_.Set(settings::ViewerFontSize, 13);
    ReportViewer viewer(settings_, port_);
    QVERIFY(viewer.Open(report_, false));
    QCOMPARE(viewer.ViewFont().family(),
             QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
    QCOMPARE(viewer.ViewFont().pointSize(), 13);
    QCOMPARE(settings_.Get(settings::ViewerFontName), std::string("No Such Font Family"));
  }

  void chosenFontIsStored() {
    ReportViewer viewer(settings_, port_);
    QVERIFY(viewer.Open(report_, false));
    const QFont chosen(QFontDatabase::systemFont(QFontDatabase::FixedFont).family(), 15);
    viewer.ApplyFont(chosen);
    QCOMPARE(viewer.ViewFont().family(), chosen.family());
    QCOMPARE(settings_.Get(settings::ViewerFontName), chosen.family().toStdString());
    QCOMPARE(settings_.Get(settings::ViewerFontSize), 15);

    // The name field holds 80 Latin-1 characters; a family it cannot hold is not stored.
    viewer.ApplyFont(QFont(QString(90, 'A'), 9));
    QCOMPARE(settings_.Get(settings::ViewerFontName), std::string(80, 'A'));
    viewer.ApplyFont(QFont(QString::fromUtf8("\u6587\u6cc9"), 11));
    QCOMPARE(settings_.Get(settings::ViewerFontName), std::string(80, 'A'));
    QCOMPARE(settings_.Get(settings::ViewerFontSize), 11);
  }

  void printedLines_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<QStringList>("expected");
    const QString text = "alpha one\nbravo two\ncharlie three";
    QTest::newRow("everything") << text << -1 << -1
                                << QStringList{"alpha one", "bravo two", "charlie three"};
    QTest::newRow("inside one line") << text << 16 << 19 << QStringList{"      two"};
    QTest::newRow("from the very start") << text << 0 << 5 << QStringList{"alpha"};
    QTest::newRow("across lines") << text << 6 << 17
                                  << QStringList{"      one", "bravo t"};
    QTest::newRow("ends at a line start") << text << 10 << 20
                                          << QStringList{"bravo two", ""};
    QTest::newRow("reversed ends") << text << 19 << 16 << QStringList{"      two"};
    QTest::newRow("long line is cut") << QString(1500, 'x') << -1 << -1
                                      << QStringList{QString(1024, 'x')};
    QTest::newRow("long selection is cut") << QString(1500, 'x') << 1000 << 1500
                                           << QStringList{QString(1000, ' ') + QString(24, 'x')};
  }

  void printedLines() {
    QFETCH(QString, text);
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(QStringList, expected);
    const QStringList lines = start < 0 ? PrintableLines(text) : PrintableLines(text, start, end);
    QCOMPARE(lines, expected);
  }

 private:
  QTemporaryDir dir_;
  QString report_;
  terravue::SettingsRecord settings_;
  FakePort port_;
};

QTEST_MAIN(ReportViewerTest)
#include "report_viewer_test.moc"
