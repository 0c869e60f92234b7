#include "mainwindow/editor_bar.h"

#include <algorithm>

#include <QAbstractButton>
#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/qt_text.h"
#include "commands/command_table.h"
#include "common/messages.h"

namespace terravue::gui {

using app::Editor;

EditorBar::EditorBar(CommandTable& commands, QWidget* parent) : QToolBox(parent) {
  setObjectName(QStringLiteral("LookOutBar"));
  setFixedWidth(Width);
  setFocusPolicy(Qt::NoFocus);
  setToolTip(FromUtf8(msg::EditorBarHint));
  setStatusTip(FromUtf8(msg::EditorBarHint));
  setAutoFillBackground(true);

  for (std::size_t e = 0; e < app::EditorCount; ++e) {
    const auto editor = static_cast<Editor>(e);
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("Folder%1").arg(e));
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(0);
    // Only the Surface Analyzer's folder carries icons.
    const bool icons = editor == Editor::Analyzer;
    for (const app::FolderItem& item : app::FolderItems(editor)) {
      QAction* action = commands.NewAction(item.id, EntryPlace::EditorBar, page, FromUtf8(item.caption), editor);
      if (!icons) action->setIcon(QIcon());
      auto* button = new QToolButton(page);
      button->setDefaultAction(action);
      button->setAutoRaise(true);
      button->setFocusPolicy(Qt::NoFocus);
      button->setToolButtonStyle(icons ? Qt::ToolButtonTextBesideIcon : Qt::ToolButtonTextOnly);
      button->setIconSize(QSize(16, 16));
      button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
      layout->addWidget(button);
    }
    layout->addStretch(1);
    addItem(page, FromUtf8(app::FolderTitle(editor)));
  }
  // The keys belong to the map: the folders' own buttons never take the focus.
  int widest = 0;
  for (QAbstractButton* button : findChildren<QAbstractButton*>()) {
    button->setFocusPolicy(Qt::NoFocus);
    widest = std::max(widest, button->sizeHint().width());
  }
  // Wide enough for every folder caption and command, whatever the font.
  setFixedWidth(std::max(Width, widest + 2 * frameWidth() + 8));

  connect(this, &QToolBox::currentChanged, this, [this](int index) {
    if (!showing_ && index >= 0) emit FolderChosen(static_cast<Editor>(index));
  });
}

void EditorBar::ShowFolder(Editor editor) {
  showing_ = true;
  setCurrentIndex(static_cast<int>(editor));
  showing_ = false;
}

void EditorBar::SetColour(QRgb colour) {
  QPalette p = palette();
  p.setColor(QPalette::Window, QColor(colour));
  p.setColor(QPalette::Button, QColor(colour));
  setPalette(p);
  for (int i = 0; i < count(); ++i) {
    QWidget* page = widget(i);
    page->setAutoFillBackground(true);
    page->setPalette(p);
  }
}

void EditorBar::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  menu.addAction(FromUtf8(msg::SelectBackgroundColour), this, &EditorBar::ColourWanted);
  menu.exec(event->globalPos());
}

}  // namespace terravue::gui
