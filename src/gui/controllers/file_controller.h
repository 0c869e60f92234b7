#pragma once

#include <functional>

#include <QObject>

#include "exchange/landxml_import.h"

class QMenu;

namespace terravue::gui {

struct WindowContext;

// The File menu's model commands: New, Open Surface (model and LandXML files), the Reopen list of recent files (with its
// Clear entry), Save Surface, Save Surface As, Surface Properties and Exit.
class FileController : public QObject {
  Q_OBJECT

 public:
  explicit FileController(WindowContext& context, QObject* parent = nullptr);

  void RegisterCommands();
  // Fills the Reopen sub-menu each time it opens.
  void AttachRecentFilesMenu(QMenu* menu);

  // A model was read, or a load that failed or was cancelled left the model empty: the
  // window brings caption, view, menus and map in step.
  std::function<void()> onModelLoaded;

  // The Help button of the import dialog that New opens; hidden when empty.
  std::function<void()> importHelp;

  // Reopen: the unsaved-changes question, then the path.
  void Reopen(const QString& path);
  void NewModel();

 private:
  void OpenSurface();
  void Save();
  void SaveAs();
  void FillRecentFiles(QMenu* menu);
  void AfterLoad(bool read, unsigned pointsBefore);
  // Which surface of a LandXML file to open, when it holds several.
  exchange::SurfaceChoiceFn SurfaceChoice();

  WindowContext& c_;
};

}  // namespace terravue::gui
