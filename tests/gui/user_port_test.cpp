// The Qt user port: message boxes, the yes/no question, the input box and the progress window.

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

#include "app/qt_user_port.h"
#include "app/settings_file.h"
#include "dialogs/progress_window.h"
#include "modal.h"

using terravue::MessageKind;
using terravue::gui::QtUserPort;
using terravue::testing::OnNextModal;

Q_DECLARE_METATYPE(terravue::MessageKind)

namespace {

struct SeenBox {
  QString title;
  QString text;
  Qt::TextFormat format = Qt::AutoText;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QStringList buttons;
};

SeenBox Inspect(QWidget* widget) {
  SeenBox seen;
  auto* box = qobject_cast<QMessageBox*>(widget);
  if (!box) return seen;
  seen.title = box->windowTitle();
  seen.text = box->text();
  seen.format = box->textFormat();
  seen.icon = box->icon();
  for (QAbstractButton* b : box->buttons()) seen.buttons << b->text();
  return seen;
}

QAbstractButton* ButtonNamed(QWidget* widget, const QString& text) {
  for (auto* b : widget->findChildren<QAbstractButton*>())
    if (b->text() == text) return b;
  return nullptr;
}

// Types any characters, one key event each (QTest's key clicks know only ASCII).
void TypeText(QWidget* widget, const QString& text) {
  for (const QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &press);
  }
}

}  // namespace

class UserPortTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { settings_ = terravue::DefaultSettings(); }

  void messageBoxes_data() {
    QTest::addColumn<MessageKind>("kind");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("icon");
    QTest::newRow("error") << MessageKind::Error << "Error" << int(QMessageBox::Critical);
    QTest::newRow("warning") << MessageKind::Warning << "Warning" << int(QMessageBox::Warning);
    QTest::newRow("info") << MessageKind::Info << "Information" << int(QMessageBox::Information);
    QTest::newRow("plain") << MessageKind::Plain << "Terravue" << int(QMessageBox::NoIcon);
  }

  void messageBoxes() {
    QFETCH(MessageKind, kind);
    QFETCH(QString, title);
    QFETCH(int, icon);
    QtUserPort port(settings_);
    SeenBox seen;
    OnNextModal([&](QWidget* w) {
      seen = Inspect(w);
      if (auto* ok = ButtonNamed(w, "OK")) ok->click();
    });
    port.Show(kind, "The file <A.MDL> could not be loaded.\r\n<b>second</b> line");
    QCOMPARE(seen.title, title);
    QCOMPARE(int(seen.icon), icon);
    QCOMPARE(seen.format, Qt::PlainText);
    QCOMPARE(seen.text, QString("The file <A.MDL> could not be loaded.\n<b>second</b> line"));
    QCOMPARE(seen.buttons, QStringList{"OK"});
  }

  void yesNo_data() {
    QTest::addColumn<QString>("press");
    QTest::addColumn<bool>("expected");
    QTest::newRow("yes") << "&Yes" << true;
    QTest::newRow("no") << "&No" << false;
    QTest::newRow("escape") << "" << false;
  }

  void yesNo() {
    QFETCH(QString, press);
    QFETCH(bool, expected);
    QtUserPort port(settings_);
    SeenBox seen;
    OnNextModal([&](QWidget* w) {
      seen = Inspect(w);
      if (press.isEmpty())
        QTest::keyClick(w, Qt::Key_Escape);
      else if (auto* b = ButtonNamed(w, press))
        b->click();
    });
    const bool answer = port.AskYesNo("WARNING - changes.\r\nExit anyway?");
    QCOMPARE(answer, expected);
    QCOMPARE(seen.title, QString("Confirm"));
    QCOMPARE(seen.text, QString("WARNING - changes.\nExit anyway?"));
    QCOMPARE(seen.format, Qt::PlainText);
    QCOMPARE(seen.buttons.size(), 2);
    QVERIFY(seen.buttons.contains("&Yes"));
    QVERIFY(seen.buttons.contains("&No"));
  }

  // Enter presses the default button: Yes for an ordinary question, No where Yes loses work.
  void enterTakesTheDefaultAnswer_data() {
    QTest::addColumn<bool>("discarding");
    QTest::addColumn<bool>("expected");
    QTest::newRow("question") << false << true;
    QTest::newRow("discarding work") << true << false;
  }

  void enterTakesTheDefaultAnswer() {
    QFETCH(bool, discarding);
    QFETCH(bool, expected);
    QtUserPort port(settings_);
    OnNextModal([](QWidget* w) { QTest::keyClick(w, Qt::Key_Return); });
    const char* text = "WARNING - The current file has changes that have not been written to disk.\r\nExit anyway?";
    QCOMPARE(discarding ? port.AskToDiscard(text) : port.AskYesNo(text), expected);
  }

  // The progress window stays on top of everything: while a box is up it steps aside.
  void boxesAreNeverUnderTheProgressWindow() {
    QtUserPort port(settings_);
    port.BeginProgress("Loading Coordinate >      0", false);
    bool progressShownDuringBox = true;
    OnNextModal([&](QWidget* w) {
      progressShownDuringBox = port.Progress().isVisible();
      ButtonNamed(w, "OK")->click();
    });
    port.ShowError("Error Reading File");
    QVERIFY(!progressShownDuringBox);
    QVERIFY(port.Progress().isVisible());
    port.EndProgress();
  }

  void promptLineReturnsTypedLatin1Text() {
    QtUserPort port(settings_);
    QString title, prompt, selected;
    int maxLength = 0;
    OnNextModal([&](QWidget* w) {
      title = w->windowTitle();
      prompt = w->findChild<QLabel*>("LabelPrompt")->text();
      auto* edit = w->findChild<QLineEdit*>("EditValue");
      selected = edit->selectedText();
      maxLength = edit->maxLength();
      TypeText(edit, QString::fromUtf8("Caf\u00e9\u20ac!"));  // the euro sign is refused
      w->findChild<QPushButton*>("ButtonOK")->click();
    });
    const auto result = port.PromptLine("Comment", "Enter the comment:\r\nline two", "old \u00e9", 78);
    QCOMPARE(title, QString("Comment"));
    QCOMPARE(prompt, QString("Enter the comment:\nline two"));
    QCOMPARE(selected, QString::fromUtf8("old \u00e9"));  // fully selected
    QCOMPARE(maxLength, 78);
    QVERIFY(result.has_value());
    QCOMPARE(*result, std::string("Caf\u00e9!"));
  }

  void promptLineWithoutLimitTakesLongEntries() {
    // The engine asks with no limit and judges the length itself, to say why it refuses.
    QtUserPort port(settings_);
    OnNextModal([](QWidget* w) {
      TypeText(w->findChild<QLineEdit*>("EditValue"), QString(100, 'x'));
      w->findChild<QPushButton*>("ButtonOK")->click();
    });
    QCOMPARE(port.PromptLine("Title", "Prompt", "", 0), std::optional<std::string>(std::string(100, 'x')));
  }

  void promptLineCancelGivesNothing() {
    QtUserPort port(settings_);
    OnNextModal([](QWidget* w) { w->findChild<QPushButton*>("ButtonCancel")->click(); });
    QVERIFY(!port.PromptLine("Title", "Prompt", "12.500", 255).has_value());
  }

  void progressWindowRunsThenCompletes() {
    QtUserPort port(settings_);
    port.BeginProgress("Triangulating...", true);
    auto& window = port.Progress();
    QVERIFY(window.isVisible());
    QVERIFY(!window.isModal());
    QVERIFY(window.windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(window.windowTitle(), QString("Progress"));
    QCOMPARE(window.Note(), QString("Triangulating..."));
    QVERIFY(window.GaugeVisible());
    port.SetProgress(40);
    port.SetProgress(140);
    QCOMPARE(window.Percent(), 100);
    port.EndProgress();
    QVERIFY(!window.isVisible());

    bool wasModal = false;
    QString note;
    OnNextModal([&](QWidget* w) {
      wasModal = w == &window;
      note = window.Note();
      ButtonNamed(w, "Continue")->click();
    });
    port.ShowCompletion("Triangulation complete.");
    QVERIFY(wasModal);
    QCOMPARE(note, QString("Triangulation complete."));
    QVERIFY(!window.isVisible());
  }

 private:
  terravue::SettingsRecord settings_;
};

QTEST_MAIN(UserPortTest)
#include "user_port_test.moc"
