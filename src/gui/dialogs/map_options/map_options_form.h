#pragma once

#include <array>
#include <functional>
#include <memory>

#include <QDialog>

#include "mapping/map_options_edit.h"

class QCheckBox;

namespace Ui {
class TMapOptionsForm;
}

namespace terravue {
class SettingsRecord;
class UserPort;
namespace model {
class SurfaceModel;
}
}  // namespace terravue

namespace terravue::gui {

// "Map Options": one check box per element group. Ticking a box opens the group's dialog; its
// OK keeps the tick, its Cancel takes the tick away. OK stores every group's Show flag.
class TMapOptionsForm : public QDialog {
  Q_OBJECT

 public:
  // `editGroup` opens a group's dialog over `parent` and tells whether it ended with OK.
  using GroupEditor = std::function<bool(QWidget* parent, mapping::MapOptionPage)>;
  TMapOptionsForm(SettingsRecord& settings, const model::SurfaceModel& model, GroupEditor editGroup,
                  QWidget* parent = nullptr);
  ~TMapOptionsForm() override;

  void accept() override;

 private:
  void BoxClicked(mapping::MapOptionPage page, bool checked);

  std::unique_ptr<Ui::TMapOptionsForm> ui_;
  SettingsRecord& settings_;
  GroupEditor editGroup_;
  std::array<QCheckBox*, mapping::MapOptionPageCount> boxes_{};
};

// The Map Options command: the dialog with the group dialogs behind it; `redrawMap` runs after
// OK.
void MapOptionsCommand(QWidget* parent, UserPort& port, SettingsRecord& settings,
                       const model::SurfaceModel& model, const std::function<void()>& redrawMap);

}  // namespace terravue::gui
