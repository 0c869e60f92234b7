#include "app/unhandled_error.h"

#include <exception>

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include "app/qt_text.h"
#include "common/app_settings.h"
#include "common/messages.h"
#include "common/session.h"
#include "common/settings_record.h"
#include "common/user_port.h"
#include "model/model_document.h"
#include "model/model_file.h"
#include "model/surface_model.h"

namespace terravue::gui {

bool OfferRescueSave(Session& session, const std::function<QString()>& chooseFile) {
  const model::SurfaceModel& surface = session.model;
  if (!surface.IsAllocated() || surface.PointCount == 0 ||
      session.settings.Get(settings::ModelSaved))
    return false;
  while (session.port.AskYesNo(msg::UnhandledErrorSaveQuestion)) {
    const QString file = chooseFile();
    if (file.isEmpty()) return false;
    const auto path = ToFsPath(file);
    int type = model::ModelFileTypeOf(path);
    if (type < 0) type = model::ModelFileTypeMdl;
    try {
      if (model::WriteModelFile(session, path, 1, surface.PointCount, type)) return true;
    } catch (const std::exception& e) {
      session.port.ShowError(e.what());
    }
  }
  return false;
}

QString ChooseRescueFile(QWidget* parent, const SettingsRecord& settings) {
  QString directory = PathFromBytes(settings.Get(settings::DataDirectory));
  if (directory.isEmpty() || !QFileInfo(directory).isDir()) directory = QDir::homePath();
  QFileDialog dialog(parent, QString(), directory);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilters({QStringLiteral("Terravue (*.MDL *.mdl)"),
                         QStringLiteral("PLAINVALE (*.MDV *.mdv)")});
  dialog.setDefaultSuffix(QStringLiteral("MDL"));
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
    dialog.setDefaultSuffix(filter.contains(QLatin1String("MDV")) ? QStringLiteral("MDV")
                                                                  : QStringLiteral("MDL"));
  });
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().constFirst();
}

}  // namespace terravue::gui
