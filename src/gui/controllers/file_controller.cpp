#include "controllers/file_controller.h"

#include <QDir>
#include <QFileDialog>
#include <QMenu>

#include "app/qt_text.h"
#include "commands/command_table.h"
#include "common/app_settings.h"
#include "common/format.h"
#include "dialogs/import_export/import_coord_form.h"
#include "dialogs/import_export/landxml_dialogs.h"
#include "dialogs/properties_form.h"
#include "exchange/import_commands.h"
#include "mainwindow/window_context.h"
#include "app/file_commands.h"
#include "model/model_document.h"
#include "model/surface_model.h"

namespace terravue::gui {
namespace {

using C = app::CommandId;

// The model filter: entry 1 ".MDL", entry 2 ".MDV"; the open dialog's entry 3 LandXML surfaces.
const QString MdlFilter = QStringLiteral("Terravue (*.MDL *.mdl)");
const QString MdvFilter = QStringLiteral("PLAINVALE (*.MDV *.mdv)");
const QString LandXmlFilter = QStringLiteral("LandXML (*.XML *.xml)");

int EntryOf(const QString& filter) {
  if (filter == LandXmlFilter) return app::LandXmlFilterEntry;
  return filter == MdvFilter ? 2 : 1;
}

}  // namespace

FileController::FileController(WindowContext& context, QObject* parent) : QObject(parent), c_(context) {}

void FileController::RegisterCommands() {
  CommandTable& t = c_.commands;
  t.SetHandler(C::New, [this] { NewModel(); });
  t.SetHandler(C::OpenSurface, [this] { OpenSurface(); });
  t.SetHandler(C::SaveSurface, [this] { Save(); });
  t.SetHandler(C::SaveSurfaceAs, [this] { SaveAs(); });
  t.SetHandler(C::Exit, [this] { c_.window.close(); });
  t.SetHandler(C::ClearRecentFiles, [this] { model::ClearRecentFiles(c_.session.settings); });
  t.SetHandler(C::SurfaceProperties, [this] {
    TPropertiesForm form(model::GatherSurfaceProperties(c_.session), &c_.window);
    form.exec();
  });
}

void FileController::OpenSurface() {
  Session& s = c_.session;
  if (!model::ConfirmDiscard(s, false)) return;
  const std::string directory = s.settings.Get(settings::DataDirectory);
  const std::string name = s.settings.Get(settings::ModelFileName);
  QString selected = MdlFilter;
  const QString file = QFileDialog::getOpenFileName(
      &c_.window, QString(), PathFromBytes(name.empty() ? directory : directory + name),
      MdlFilter + QStringLiteral(";;") + MdvFilter + QStringLiteral(";;") + LandXmlFilter, &selected);
  if (file.isEmpty()) return;
  const auto before = s.model.PointCount;
  const bool read = app::OpenSurface(s, ToFsPath(file), EntryOf(selected), SurfaceChoice());
  AfterLoad(read, before);
}

void FileController::Reopen(const QString& path) {
  Session& s = c_.session;
  // As Open does: one click on a recent file must not throw away unsaved edits.
  if (!model::ConfirmDiscard(s, false)) return;
  const auto before = s.model.PointCount;
  const bool read = app::OpenFileByName(s, ToFsPath(path), SurfaceChoice());
  AfterLoad(read, before);
  c_.refresh();
}

exchange::SurfaceChoiceFn FileController::SurfaceChoice() {
  return [this](const std::vector<exchange::LandXmlSurfaceEntry>& surfaces) {
    return ChooseLandXmlSurface(&c_.window, surfaces);
  };
}

void FileController::AfterLoad(bool read, unsigned pointsBefore) {
  // A read that failed leaves an empty model behind: the window must stop showing the old one.
  // A refused name (unsupported, missing) leaves the model as it was, and the view with it.
  const auto now = c_.session.model.PointCount;
  if ((read || now != pointsBefore || now == 0) && onModelLoaded) onModelLoaded();
}

void FileController::NewModel() {
  Session& s = c_.session;
  const auto outcome = exchange::NewModelCommand(s, [this](const exchange::ImportDialogRequest& r) {
    return RunImportDialog(&c_.window, c_.session.port, c_.session.settings, r, importHelp);
  });
  if (outcome != exchange::NewOutcome::Declined && onModelLoaded) onModelLoaded();
}

void FileController::Save() {
  if (app::SaveSurface(c_.session) == app::SaveOutcome::NeedsName) SaveAs();
}

void FileController::SaveAs() {
  Session& s = c_.session;
  const int type = s.settings.Get(settings::ModelFileType);
  QString selected = app::FilterEntryOfType(type) == 2 ? MdvFilter : MdlFilter;
  const QString file = QFileDialog::getSaveFileName(
      &c_.window, FromUtf8(app::SaveAsTitle(s.settings)),
      PathFromBytes(app::SaveAsInitialPath(s.settings).string()), MdlFilter + QStringLiteral(";;") + MdvFilter,
      &selected);
  if (file.isEmpty()) return;
  app::SaveSurfaceAs(s, ToFsPath(file), EntryOf(selected));
}

void FileController::AttachRecentFilesMenu(QMenu* menu) {
  connect(menu, &QMenu::aboutToShow, this, [this, menu] { FillRecentFiles(menu); });
  FillRecentFiles(menu);
}

void FileController::FillRecentFiles(QMenu* menu) {
  menu->clear();
  for (const std::string& path : model::RecentFiles(c_.session.settings)) {
    const QString full = PathFromBytes(path);
    QAction* entry = menu->addAction(PathFromBytes(ShortenPath(path, 80)));
    entry->setStatusTip(full);
    connect(entry, &QAction::triggered, this, [this, full] { Reopen(full); });
  }
  menu->addSeparator();
  // Alt+F1 is taken by many desktops: the list can be emptied from here too.
  menu->addAction(c_.commands.NewAction(C::ClearRecentFiles, EntryPlace::Menu, menu));
}

}  // namespace terravue::gui
