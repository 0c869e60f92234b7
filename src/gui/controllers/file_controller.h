#pragma once

#include <functional>

#include <QObject>

class QMenu;

namespace terravue::gui {

struct WindowContext;

// The File menu's model commands: Open Surface, the Reopen list of recent files (with its Clear
// entry), Save Surface, Save Surface As, Surface Properties and Exit.
class FileController : public QObject {
  Q_OBJECT

 public:
  explicit FileController(WindowContext& context, QObject* parent = nullptr);

  void RegisterCommands();
  // Fills the Reopen sub-menu each time it opens.
  void AttachRecentFilesMenu(QMenu* menu);

  // A model was read (or a failed read emptied it).
  std::function<void()> onModelLoaded;

  // Reopen: the path at once, without the unsaved-changes question.
  void Reopen(const QString& path);

 private:
  void OpenSurface();
  void Save();
  void SaveAs();
  void FillRecentFiles(QMenu* menu);

  WindowContext& c_;
};

}  // namespace terravue::gui
