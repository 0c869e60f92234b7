#include "dialogs/import_export/ascii_file_dialogs.h"

#include <QLabel>
#include <QLineEdit>
#include <QStringList>

#include "app/qt_text.h"
#include "common/format.h"
#include "common/messages.h"
#include "exchange/import_commands.h"

namespace terravue::gui {
namespace {

// "Name (*.A,*.B)|*.A;*.B" pairs to Qt's "Name (*.A *.B *.a *.b)" entries.
QStringList QtFilters(std::string_view filterText) {
  const QStringList parts = FromUtf8(filterText).split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString name = parts[i];
    const qsizetype paren = name.indexOf(QLatin1String(" ("));
    if (paren >= 0) name.truncate(paren);
    QStringList patterns;
    for (const QString& p : parts[i + 1].split(QLatin1Char(';'))) {
      if (p == QLatin1String("*.*")) {
        patterns << QStringLiteral("*");
        continue;
      }
      patterns << p.toUpper();
      if (p.toLower() != p.toUpper()) patterns << p.toLower();
    }
    filters << name + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
  }
  return filters;
}

}  // namespace

QString AsciiFileFilter(exchange::AsciiKind kind) {
  return (QtFilters(msg::AsciiFilters[static_cast<int>(kind)]) + QtFilters(msg::AllFilesFilter))
      .join(QStringLiteral(";;"));
}

QString LandXmlFileFilter() {
  return (QtFilters(msg::LandXmlFilter) + QtFilters(msg::AllFilesFilter)).join(QStringLiteral(";;"));
}

void ShowFileName(QLabel* label, const QString& path) {
  if (path.isEmpty()) {
    label->setText(FromUtf8(msg::NoFileSpecified));
    label->setToolTip({});
    return;
  }
  const QString shown = label->fontMetrics().elidedText(path, Qt::ElideMiddle, label->minimumWidth());
  label->setText(shown);
  label->setToolTip(path);
}

void KeepFormatCharacters(QLineEdit* edit, exchange::LetterTable letters) {
  const std::string typed = edit->text().toLatin1().toStdString();
  const QString kept = FromLatin1(exchange::KeepFormatCharacters(letters, typed));
  if (kept == edit->text()) return;
  edit->setText(kept);
  edit->setCursorPosition(static_cast<int>(kept.size()));
}

}  // namespace terravue::gui
