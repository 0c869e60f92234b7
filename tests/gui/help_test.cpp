// Help routing and the shipped help files.

#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QtTest>

#include "help/help_viewer.h"
#include "modal.h"
#include "support/fake_port.h"

using terravue::gui::HelpViewer;
using terravue::testing::FakePort;
using terravue::testing::OnNextModal;

class HelpTest : public QObject {
  Q_OBJECT

 private slots:
  void contextsChooseTheirFile_data() {
    QTest::addColumn<int>("context");
    QTest::addColumn<QString>("file");
    const std::pair<int, const char*> rows[] = {
        {0, "Terravue"},     {999, "Terravue"},           {1000, "SURVEXA"},
        {1099, "SURVEXA"},   {1100, "SURVEXA TUTORIAL"}, {1199, "SURVEXA TUTORIAL"},
        {1200, "Terravue"}, {-5, "Terravue"}};
    for (const auto& [context, file] : rows)
      QTest::addRow("%d", context) << context << QString(file);
  }

  void contextsChooseTheirFile() {
    QFETCH(int, context);
    QFETCH(QString, file);
    QCOMPARE(QString::fromUtf8(terravue::gui::HelpFileForContext(context).data()), file);
  }

  void everyFileOpensAndItsLinksLead() {
    FakePort port;
    HelpViewer viewer(port, TERRAVUE_HELP_DIR);
    const QDir dir(TERRAVUE_HELP_DIR);
    for (std::string_view name : {terravue::gui::help::Main, terravue::gui::help::HowTo,
                                  terravue::gui::help::Tutorial, terravue::gui::help::Breaklines,
                                  terravue::gui::help::Analyzer,
                                  terravue::gui::help::AnalyzerTutorial}) {
      QVERIFY(viewer.ShowHelpFile(name));
      QVERIFY(!viewer.findChild<QTextBrowser*>()->documentTitle().isEmpty());
      QFile file(viewer.CurrentFile());
      QVERIFY(file.open(QIODevice::ReadOnly));
      const QString html = QString::fromUtf8(file.readAll());
      static const QRegularExpression link("href=\"([^\"#]+)\"");
      for (auto m = link.globalMatch(html); m.hasNext();) {
        const QString target = m.next().captured(1);
        QVERIFY2(dir.exists(target), qPrintable(file.fileName() + " -> " + target));
      }
    }
    QVERIFY(port.shown.empty());
  }

  // A dialog's Help button: its page, in front of the dialog and usable beside it, and still
  // open after the dialog has closed.
  void helpFromAModalDialogComesInFront() {
    FakePort port;
    HelpViewer viewer(port, TERRAVUE_HELP_DIR);
    QDialog dialog;
    QWidget* parentWhileOpen = nullptr;
    QString file, anchor;
    OnNextModal([&](QWidget* modal) {
      viewer.ShowContext(terravue::gui::ImportHelpContext);
      parentWhileOpen = viewer.parentWidget();
      file = QFileInfo(viewer.CurrentFile()).fileName();
      anchor = viewer.CurrentAnchor();
      qobject_cast<QDialog*>(modal)->accept();
    });
    dialog.exec();
    QCOMPARE(parentWhileOpen, &dialog);
    QCOMPARE(file, QString("TVU_HOWTO.html"));
    QCOMPARE(anchor, QString("import"));
    QVERIFY(viewer.isVisible());
    QCOMPARE(viewer.parentWidget(), nullptr);
    // Every dialog page's place exists in its file.
    for (int context : {terravue::gui::ImportHelpContext, terravue::gui::ExportHelpContext,
                        terravue::gui::PrintSetupHelpContext}) {
      QFile html(QString(TERRAVUE_HELP_DIR) + terravue::gui::HelpFileForContext(context).data() + ".html");
      QVERIFY(html.open(QIODevice::ReadOnly));
      QVERIFY(html.readAll().contains(QByteArray("name=\"") + terravue::gui::HelpAnchorForContext(context).data() + "\""));
    }
  }

  void missingFileIsReported() {
    FakePort port;
    HelpViewer viewer(port, QDir::tempPath() + "/no-help-here/");
    QVERIFY(!viewer.ShowContext(1000));
    const auto errors = port.Texts(FakePort::Kind::Error);
    QCOMPARE(errors.size(), std::size_t{1});
    QVERIFY(QString::fromStdString(errors[0]).contains("no-help-here/SURVEXA.html"));
  }
};

QTEST_MAIN(HelpTest)
#include "help_test.moc"
