#pragma once

#include <QDialog>

class QComboBox;
class QFileSystemModel;
class QTreeView;

namespace terravue {
class SettingsRecord;
class UserPort;
}  // namespace terravue

namespace terravue::gui {

// "Set Default CAD Data Directory": a folder tree linked to a path box above it. Choosing a
// folder in the tree writes its path into the box; a path typed into the box selects its folder
// in the tree.
class TCADDataDirForm : public QDialog {
  Q_OBJECT

 public:
  explicit TCADDataDirForm(const QString& directory, QWidget* parent = nullptr);

  // The path in the box.
  QString Directory() const;
  QComboBox* PathBox() const { return path_; }
  QTreeView* FolderTree() const { return tree_; }

 private:
  void ShowInTree(const QString& path);

  QComboBox* path_ = nullptr;
  QTreeView* tree_ = nullptr;
  QFileSystemModel* folders_ = nullptr;
};

// Opens the dialog on the CAD data directory of the settings; OK stores the path of the box
// with a trailing delimiter. True when a directory was stored.
bool ChooseCadDataDirectory(QWidget* parent, UserPort& port, SettingsRecord& settings);

}  // namespace terravue::gui
