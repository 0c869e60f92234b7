#pragma once

#include <QRgb>
#include <QToolBox>

#include "app/commands.h"

namespace terravue::gui {

class CommandTable;

// The editor bar: one folder per editor with the commands of that editor, in order. Its items
// run their commands through the command table; a right click offers the background colour.
class EditorBar : public QToolBox {
  Q_OBJECT

 public:
  static constexpr int Width = 135;  // at least; wider when a caption needs it

  EditorBar(CommandTable& commands, QWidget* parent = nullptr);

  // Shows the folder without telling anyone.
  void ShowFolder(app::Editor editor);
  app::Editor Folder() const { return static_cast<app::Editor>(currentIndex()); }
  void SetColour(QRgb colour);

 signals:
  // The user opened another folder; the window decides whether that editor may be entered.
  void FolderChosen(app::Editor editor);
  void ColourWanted();

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  bool showing_ = false;
};

}  // namespace terravue::gui
