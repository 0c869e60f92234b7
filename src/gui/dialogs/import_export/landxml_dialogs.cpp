#include "dialogs/import_export/landxml_dialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QStringList>

#include "app/qt_text.h"
#include "common/format.h"
#include "common/messages.h"
#include "dialogs/import_export/ascii_file_dialogs.h"

namespace terravue::gui {

std::optional<std::string> ChooseLandXmlFile(QWidget* parent, const std::string& directory) {
  QString start = PathFromBytes(directory);
  while (start.size() > 1 && (start.endsWith(QLatin1Char('/')) || start.endsWith(QLatin1Char('\\')))) start.chop(1);
  const QString file = QFileDialog::getOpenFileName(parent, FromUtf8(msg::LandXmlOpenTitle), start, LandXmlFileFilter());
  if (file.isEmpty()) return std::nullopt;
  return ToFsPath(file).string();
}

std::optional<std::size_t> ChooseLandXmlSurface(QWidget* parent,
                                                const std::vector<exchange::LandXmlSurfaceEntry>& surfaces) {
  QStringList items;
  for (const auto& s : surfaces) {
    const auto count = [](std::size_t n) { return FormatInteger(static_cast<std::int64_t>(n), 0); };
    QString item = FromUtf8(FillText(msg::LandXmlSurfaceChoice, {s.name, count(s.points), count(s.faces)}));
    // Two surfaces alike in name and size still need two entries to choose from.
    if (items.contains(item)) item += QStringLiteral(" #%1").arg(items.size() + 1);
    items << item;
  }
  bool ok = false;
  const QString chosen = QInputDialog::getItem(parent, FromUtf8(msg::LandXmlChooseSurfaceTitle),
                                               FromUtf8(msg::LandXmlChooseSurfacePrompt), items, 0, false, &ok);
  if (!ok) return std::nullopt;
  const qsizetype at = items.indexOf(chosen);
  if (at < 0) return std::nullopt;
  return static_cast<std::size_t>(at);
}

}  // namespace terravue::gui
