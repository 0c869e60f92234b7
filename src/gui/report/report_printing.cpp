#include "report/report_printing.h"

#include <algorithm>

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

namespace terravue::gui {
namespace {

QStringList CutLines(QStringList lines) {
  for (QString& line : lines) line.truncate(MaxPrintedLineLength);
  return lines;
}

}  // namespace

QStringList PrintableLines(const QString& text) { return CutLines(text.split(QLatin1Char('\n'))); }

QStringList PrintableLines(const QString& text, int selectionStart, int selectionEnd) {
  const int size = static_cast<int>(text.size());
  const int start = std::clamp(std::min(selectionStart, selectionEnd), 0, size);
  const int end = std::clamp(std::max(selectionStart, selectionEnd), 0, size);
  // lastIndexOf would take -1 as "from the end", so the first position is handled apart.
  const int lineStart =
      start == 0 ? 0 : static_cast<int>(text.lastIndexOf(QLatin1Char('\n'), start - 1)) + 1;
  QString part = QString(start - lineStart, QLatin1Char(' ')) + text.mid(start, end - start);
  return CutLines(part.split(QLatin1Char('\n')));
}

bool PrintTextLines(QPrinter& printer, const QFont& font, const QStringList& lines) {
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  // Point sizes must be resolved against the printer's resolution, not the screen's.
  painter.setFont(QFont(font, painter.device()));
  const QFontMetrics metrics = painter.fontMetrics();
  const int pageHeight = printer.pageLayout().paintRectPixels(printer.resolution()).height();
  const int lineSpacing = std::max(1, metrics.lineSpacing());

  int y = 0;
  for (const QString& line : lines) {
    if (y > 0 && y + lineSpacing > pageHeight) {
      printer.newPage();
      y = 0;
    }
    painter.drawText(0, y + metrics.ascent(), line);
    y += lineSpacing;
  }
  return painter.end();
}

}  // namespace terravue::gui
