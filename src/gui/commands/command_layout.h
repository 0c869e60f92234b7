#pragma once

#include <span>

#include "app/commands.h"

// Where each command appears: the menus, the tool bar and the map's context menu as lists of
// command ids, in order. The window builds its menus from these lists.
namespace terravue::gui::layout {

using app::CommandId;

enum class ItemKind {
  Command,
  Separator,
  SubMenu,      // opens the list named by `subMenu`
  RecentFiles,  // the Reopen sub-menu, filled from the recent files
  ZoomList,     // the tool bar's zoom level list
};

enum class ListId {
  FileMenu,
  EditMenu,
  EditGeneral,
  EditCoordinate,
  EditBorder,
  EditBreakline,
  EditAnalyzer,
  ViewMenu,
  ProcessMenu,
  ImportMenu,
  ExportMenu,
  VolumeMenu,
  HelpMenu,
  ToolBar,
  ContextMenu,
};

struct Item {
  ItemKind kind = ItemKind::Command;
  CommandId id = CommandId::Count_;
  const char* caption = nullptr;  // the command's own caption when null
  ListId subMenu = ListId::FileMenu;
};

std::span<const Item> Items(ListId list);

}  // namespace terravue::gui::layout
