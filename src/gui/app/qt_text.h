#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include <QByteArray>
#include <QFile>
#include <QString>

// Conversions at the border between the engine's byte strings and Qt. Engine messages and
// paths are UTF-8; the text fields of the settings and the model (labels, comment, company,
// font names) are Latin-1, one byte per character.
namespace terravue::gui {

inline QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline QString FromLatin1(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// Engine messages break lines with "\r\n"; Qt wants plain line feeds.
inline QString MessageText(std::string_view text) {
  QString s = FromUtf8(text);
  s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return s;
}

// True when every character fits one Latin-1 byte.
inline bool IsLatin1(const QString& text) {
  for (const QChar c : text)
    if (c.unicode() > 0xFF) return false;
  return true;
}

inline std::string ToLatin1(const QString& text) { return text.toLatin1().toStdString(); }

inline std::filesystem::path ToFsPath(const QString& path) {
  return std::filesystem::path(QFile::encodeName(path).toStdString());
}

// Paths from the engine and the settings are file-system bytes.
inline QString PathFromBytes(const std::string& bytes) {
  return QFile::decodeName(QByteArray::fromStdString(bytes));
}

}  // namespace terravue::gui
