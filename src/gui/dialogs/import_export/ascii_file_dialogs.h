#pragma once

#include <QString>

#include "exchange/ascii_import.h"

class QLabel;
class QLineEdit;

namespace terravue::gui {

// The file dialog filter of a kind of ASCII file, then "All Files"; each pattern matches its
// extension in either case.
QString AsciiFileFilter(exchange::AsciiKind kind);
// The LandXML filter (".xml" in either case), then "All Files".
QString LandXmlFileFilter();

// Shows a path in the file name label, shortened to fit, or "No file specified.".
void ShowFileName(QLabel* label, const QString& path);

// Removes what the format letters do not allow from a custom format box, the caret at the end.
void KeepFormatCharacters(QLineEdit* edit, exchange::LetterTable letters);

}  // namespace terravue::gui
