#include "dialogs/map_options/map_options_form.h"

#include "app/qt_text.h"
#include "common/messages.h"
#include "common/settings_record.h"
#include "dialogs/map_options/map_option_dialogs.h"
#include "ui_map_options_form.h"

namespace terravue::gui {

using mapping::MapOptionPage;

TMapOptionsForm::TMapOptionsForm(SettingsRecord& settings, const model::SurfaceModel& model,
                                 GroupEditor editGroup, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TMapOptionsForm>()), settings_(settings),
      editGroup_(std::move(editGroup)) {
  ui_->setupUi(this);
  setWindowTitle(FromUtf8(msg::MapOptionsCaption));
  const Ui::TMapOptionsForm& u = *ui_;
  // In the order of the pages.
  boxes_ = {u.CBTriangles, u.CBBreaklines, u.CBSurfaceGrid, u.CBContours, u.CBBorder,
            u.CBPoints,    u.CBMisc,       u.CBTitles,      u.CBAnalyzer};
  for (int i = 0; i < mapping::MapOptionPageCount; ++i) {
    const auto page = static_cast<MapOptionPage>(i);
    QCheckBox* box = boxes_[static_cast<std::size_t>(i)];
    box->setChecked(settings_.Get(mapping::ShowFlagOf(page)));
    box->setEnabled(mapping::GroupAvailable(page, model));
    // Clicks only: setting the box from here must not open anything.
    connect(box, &QCheckBox::clicked, this, [this, page](bool checked) { BoxClicked(page, checked); });
  }
  connect(u.ButtonOK, &QPushButton::clicked, this, &TMapOptionsForm::accept);
  connect(u.ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TMapOptionsForm::~TMapOptionsForm() = default;

void TMapOptionsForm::BoxClicked(MapOptionPage page, bool checked) {
  if (!checked || !editGroup_) return;
  if (!editGroup_(this, page)) boxes_[static_cast<std::size_t>(page)]->setChecked(false);
}

void TMapOptionsForm::accept() {
  for (int i = 0; i < mapping::MapOptionPageCount; ++i)
    settings_.Set(mapping::ShowFlagOf(static_cast<MapOptionPage>(i)), boxes_[static_cast<std::size_t>(i)]->isChecked());
  QDialog::accept();
}

void MapOptionsCommand(QWidget* parent, UserPort& port, SettingsRecord& settings,
                       const model::SurfaceModel& model, const std::function<void()>& redrawMap) {
  TMapOptionsForm form(settings, model,
                       [&](QWidget* over, MapOptionPage page) { return EditMapOptionGroup(over, port, settings, page); },
                       parent);
  if (form.exec() == QDialog::Accepted && redrawMap) redrawMap();
}

}  // namespace terravue::gui
