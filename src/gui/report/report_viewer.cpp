#include "report/report_viewer.h"

#include <algorithm>
#include <exception>

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QPageSetupDialog>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QToolBar>
#include <QVBoxLayout>

#include "app/qt_text.h"
#include "common/app_settings.h"
#include "common/messages.h"
#include "common/settings_record.h"
#include "common/text_report.h"
#include "common/user_port.h"
#include "report/report_printing.h"

namespace terravue::gui {
namespace {

// A preview may be pointed at any file; showing more than this would only stall the view.
constexpr qint64 MaxShownBytes = 32 * 1024 * 1024;

constexpr int DefaultFontSize = 10;
constexpr int MaxFontSize = 400;

QString ShownText(const QByteArray& bytes) {
  QString text = QString::fromLatin1(bytes);
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  text.replace(QChar(0), QLatin1Char(' '));
  return text;
}

}  // namespace

ReportViewer::ReportViewer(SettingsRecord& settings, UserPort& port, QWidget* parent)
    : QDialog(parent),
      settings_(settings),
      port_(port),
      toolBar_(new QToolBar(this)),
      view_(new QPlainTextEdit(this)) {
  setWindowTitle(FromUtf8(msg::ViewerTitle));
  setSizeGripEnabled(true);
  resize(760, 560);

  toolBar_->setToolButtonStyle(Qt::ToolButtonTextOnly);
  const auto addButton = [this](const QString& caption, auto slot) {
    QAction* action = toolBar_->addAction(caption, this, slot);
    action->setIconText(caption);  // a tool button would otherwise drop the "..."
  };
  addButton(QStringLiteral("Print"), &ReportViewer::Print);
  addButton(QStringLiteral("Save As..."), &ReportViewer::SaveAs);
  addButton(QStringLiteral("Printer Setup"), &ReportViewer::PrinterSetup);
  addButton(QStringLiteral("Font"), &ReportViewer::ChooseFont);
  addButton(QStringLiteral("Close"), &QDialog::accept);

  view_->setReadOnly(true);
  view_->setLineWrapMode(QPlainTextEdit::NoWrap);
  view_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  view_->setFont(FontFromSettings(settings_));

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(toolBar_);
  layout->addWidget(view_);
}

ReportViewer::~ReportViewer() = default;

QFont ReportViewer::FontFromSettings(const SettingsRecord& settings) {
  const QString family = FromLatin1(settings.Get(settings::ViewerFontName));
  QFont font = QFontDatabase::hasFamily(family) ? QFont(family)
                                                : QFontDatabase::systemFont(QFontDatabase::FixedFont);
  const int size = settings.Get(settings::ViewerFontSize);
  font.setPointSize(size >= 1 && size <= MaxFontSize ? size : DefaultFontSize);
  return font;
}

bool ReportViewer::Open(const QString& path, bool preview, const QString& defaultSaveName,
                        const QString& saveTitle) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  const QByteArray bytes = file.read(MaxShownBytes);
  if (file.error() != QFileDevice::NoError) return false;

  file_ = path;
  defaultSaveName_ = defaultSaveName;
  saveTitle_ = saveTitle;
  view_->setPlainText(ShownText(bytes));
  view_->setFont(FontFromSettings(settings_));
  toolBar_->setVisible(!preview);
  setWindowTitle(preview ? FromUtf8(msg::ViewerPreviewTitlePrefix) + QFileInfo(path).fileName()
                         : FromUtf8(msg::ViewerTitle));
  return true;
}

QFont ReportViewer::ViewFont() const { return view_->font(); }
QString ReportViewer::Text() const { return view_->toPlainText(); }
bool ReportViewer::ToolBarVisible() const { return !toolBar_->isHidden(); }

QPrinter& ReportViewer::Printer() {
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *printer_;
}

void ReportViewer::Print() {
  QPrinter& printer = Printer();
  const QTextCursor cursor = view_->textCursor();
  QPrintDialog dialog(&printer, this);
  dialog.setOption(QAbstractPrintDialog::PrintSelection, cursor.hasSelection());
  if (dialog.exec() != QDialog::Accepted) return;

  const QString text = view_->toPlainText();
  const bool selectionOnly =
      cursor.hasSelection() && printer.printRange() == QPrinter::Selection;
  const QStringList lines =
      selectionOnly ? PrintableLines(text, cursor.selectionStart(), cursor.selectionEnd())
                    : PrintableLines(text);
  if (!PrintTextLines(printer, view_->font(), lines)) port_.ShowError(msg::ReportPrintingFailed);
}

void ReportViewer::SaveAs() {
  QString directory = PathFromBytes(settings_.Get(settings::DataDirectory));
  if (directory.isEmpty() || !QFileInfo(directory).isDir()) directory = QDir::homePath();

  QFileDialog dialog(this, saveTitle_, directory);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilters({QStringLiteral("Text Files (*.TXT *.txt)"),
                         QStringLiteral("All Files (*)")});
  dialog.setDefaultSuffix(QStringLiteral("TXT"));
  if (!defaultSaveName_.isEmpty()) dialog.selectFile(defaultSaveName_);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  SaveCopyTo(dialog.selectedFiles().constFirst());
}

bool ReportViewer::SaveCopyTo(const QString& destination) {
  bool saved = false;
  if (!file_.isEmpty() && !destination.isEmpty()) {
    try {
      saved = CopyReportFile(ToFsPath(file_), ToFsPath(destination));
    } catch (const std::exception&) {
      saved = false;  // a file-system error is one more way of not saving
    }
  }
  if (!saved) port_.ShowError(msg::ErrorSavingFile);
  return saved;
}

void ReportViewer::PrinterSetup() {
  QPageSetupDialog dialog(&Printer(), this);
  dialog.exec();
}

void ReportViewer::ChooseFont() {
  bool ok = false;
  const QFont font = QFontDialog::getFont(&ok, view_->font(), this, QString(),
                                          QFontDialog::MonospacedFonts);
  if (ok) ApplyFont(font);
}

void ReportViewer::ApplyFont(const QFont& font) {
  view_->setFont(font);
  // The name field holds Latin-1; a family it cannot spell is used now but not stored.
  const QString family = font.family().left(static_cast<qsizetype>(settings::ViewerFontName.capacity));
  if (IsLatin1(family)) settings_.Set(settings::ViewerFontName, ToLatin1(family));
  int size = font.pointSize();
  if (size <= 0) size = QFontInfo(font).pointSize();
  settings_.Set(settings::ViewerFontSize, std::clamp(size, 1, MaxFontSize));
}

}  // namespace terravue::gui
