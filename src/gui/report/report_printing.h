#pragma once

#include <QStringList>

class QFont;
class QPrinter;

namespace terravue::gui {

// Lines never go to the printer longer than this.
inline constexpr int MaxPrintedLineLength = 1024;

// The lines of `text` ("\n" separated) to print. With a selection [start, end) only the lines
// it touches are kept: the part of the first line before the selection becomes blanks, so that
// columns stay where they were, and the last line is cut where the selection ends.
QStringList PrintableLines(const QString& text);
QStringList PrintableLines(const QString& text, int selectionStart, int selectionEnd);

// Prints plain lines top to bottom in `font`, as many pages as they need. False when the
// printer could not be started.
bool PrintTextLines(QPrinter& printer, const QFont& font, const QStringList& lines);

}  // namespace terravue::gui
