#pragma once

#include <memory>

#include <QDialog>
#include <QFont>
#include <QString>

class QPlainTextEdit;
class QPrinter;
class QToolBar;

namespace terravue {
class SettingsRecord;
class UserPort;
}  // namespace terravue

namespace terravue::gui {

// The report viewer: a read-only view of a text file with a tool bar for printing, saving a
// copy and choosing the display font. Without the tool bar it previews input files.
class ReportViewer : public QDialog {
  Q_OBJECT

 public:
  ReportViewer(SettingsRecord& settings, UserPort& port, QWidget* parent = nullptr);
  ~ReportViewer() override;

  // Loads the file to show (Latin-1 text); false when it cannot be read. A preview hides the
  // tool bar and names the file in the caption.
  bool Open(const QString& path, bool preview, const QString& defaultSaveName = {},
            const QString& saveTitle = {});

  // Copies the shown file to `destination`; on failure shows "Error saving the file." and
  // returns false (the viewer stays open).
  bool SaveCopyTo(const QString& destination);
  // Shows the text in `font` and remembers its family and size in the settings.
  void ApplyFont(const QFont& font);

  QFont ViewFont() const;
  QString Text() const;
  bool ToolBarVisible() const;

  // The font the settings ask for; the system's fixed font when that family is not installed.
  static QFont FontFromSettings(const SettingsRecord& settings);

 private slots:
  void Print();
  void SaveAs();
  void PrinterSetup();
  void ChooseFont();

 private:
  QPrinter& Printer();

  SettingsRecord& settings_;
  UserPort& port_;
  QToolBar* toolBar_;
  QPlainTextEdit* view_;
  std::unique_ptr<QPrinter> printer_;  // made on first use, then kept with its set-up
  QString file_;
  QString defaultSaveName_;
  QString saveTitle_;
};

}  // namespace terravue::gui
