#include "dialogs/cad/output_to_cad.h"

#include <QFileDialog>

#include "app/qt_text.h"
#include "common/session.h"
#include "cad/cad_output.h"

namespace terravue::gui {
namespace {

// "Description (*.EXT)|*.EXT" as a Qt filter that takes either case of the extension.
QString QtFilter(const std::string& filter) {
  const QString text = FromUtf8(filter);
  const QString description = text.section(QLatin1Char('|'), 0, 0);
  const QString pattern = text.section(QLatin1Char('|'), 1, 1);
  if (pattern.isEmpty()) return description;
  QString name = description.section(QLatin1Char('('), 0, 0).trimmed();
  return name + QStringLiteral(" (") + pattern + QLatin1Char(' ') + pattern.toLower() + QLatin1Char(')');
}

}  // namespace

void OutputToCadCommand(QWidget* parent, Session& session, tin::LocateState& state,
                        const mapping::RedrawOptions& extras) {
  const auto saveDialog = [parent](const cad::CadSaveRequest& request) -> std::optional<std::string> {
    QFileDialog dialog(parent, FromUtf8(request.title), FromUtf8(request.initialDirectory), QtFilter(request.filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!request.proposedPath.empty()) dialog.selectFile(FromUtf8(request.proposedPath));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
  };
  cad::OutputToCad(session, state, saveDialog, extras);
}

}  // namespace terravue::gui
