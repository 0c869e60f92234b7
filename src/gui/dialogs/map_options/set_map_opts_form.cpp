#include "dialogs/map_options/set_map_opts_form.h"

#include "app/qt_text.h"
#include "dialogs/map_options/option_controls.h"
#include "device/map_options.h"
#include "ui_set_map_opts_form.h"

namespace terravue::gui {

using mapping::MapOptionPage;
using mapping::NumberKind;

TSetMapOptsForm::TSetMapOptsForm(MapOptionPage page, const SettingsRecord& s, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TSetMapOptsForm>()),
      panels_(new ColourPanels(s.Get(device::CustomColours), this)) {
  ui_->setupUi(this);
  setWindowTitle(FromUtf8(mapping::PageCaption(page)));
  Ui::TSetMapOptsForm& u = *ui_;

  const mapping::TrianglePage tri = mapping::LoadTrianglePage(s);
  panels_->Add(u.PanelTriColor, tri.colour);
  FillWidthList(u.CBTriWidth, tri.width);

  const mapping::BreaklinePage brk = mapping::LoadBreaklinePage(s);
  panels_->Add(u.PanelBrkColor, brk.colour);
  FillWidthList(u.CBBrkWidth, brk.width);
  u.CBBrkNumbers->setChecked(brk.showNumbers);
  BindNumberField(u.EditBrkTextHeight, NumberKind::Real, brk.textHeight);
  panels_->Add(u.PanelBrkTextColor, brk.textColour);

  const mapping::BorderPage bdr = mapping::LoadBorderPage(s);
  panels_->Add(u.PanelBdrColor, bdr.colour);
  FillWidthList(u.CBBdrWidth, bdr.width);
  u.CBBdrDrawMin->setChecked(bdr.drawAtMinimumElevation);
  u.CBBdrProjectMin->setChecked(bdr.projectToMinimumElevation);

  const mapping::MiscPage misc = mapping::LoadMiscPage(s);
  u.CBMiscLimits->setChecked(misc.showLimits);
  u.CBMiscNorthArrow->setChecked(misc.showNorthArrow);
  u.CBMiscScaleBar->setChecked(misc.showScaleBar);
  BindNumberField(u.EditMiscNorthAngle, NumberKind::SignedReal, misc.northAngle);
  BindNumberField(u.EditMiscTextHeight, NumberKind::Real, misc.textHeight);
  panels_->Add(u.PanelMiscColor, misc.colour);

  switch (page) {
    case MapOptionPage::Breaklines: u.PageControl->setCurrentWidget(u.PageBreaklines); break;
    case MapOptionPage::Border: u.PageControl->setCurrentWidget(u.PageBorder); break;
    case MapOptionPage::Miscellaneous: u.PageControl->setCurrentWidget(u.PageMisc); break;
    default: u.PageControl->setCurrentWidget(u.PageTriangles); break;
  }

  for (QCheckBox* box : {u.CBBrkNumbers, u.CBMiscNorthArrow, u.CBMiscScaleBar})
    connect(box, &QCheckBox::toggled, this, &TSetMapOptsForm::UpdateEnabling);
  UpdateEnabling();
  connect(u.ButtonOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(u.ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TSetMapOptsForm::~TSetMapOptsForm() = default;

void TSetMapOptsForm::UpdateEnabling() {
  Ui::TSetMapOptsForm& u = *ui_;
  const bool numbers = u.CBBrkNumbers->isChecked();
  for (QWidget* w : std::initializer_list<QWidget*>{u.LabelBrkTextHeight, u.EditBrkTextHeight,
                                                    u.LabelBrkTextColor, u.PanelBrkTextColor})
    w->setEnabled(numbers);
  u.LabelMiscNorthAngle->setEnabled(u.CBMiscNorthArrow->isChecked());
  u.EditMiscNorthAngle->setEnabled(u.CBMiscNorthArrow->isChecked());
  u.LabelMiscTextHeight->setEnabled(u.CBMiscScaleBar->isChecked());
  u.EditMiscTextHeight->setEnabled(u.CBMiscScaleBar->isChecked());
}

mapping::TrianglePage TSetMapOptsForm::Triangles() const {
  return {panels_->Value(ui_->PanelTriColor), ui_->CBTriWidth->currentIndex()};
}

mapping::BreaklinePage TSetMapOptsForm::Breaklines() const {
  const Ui::TSetMapOptsForm& u = *ui_;
  mapping::BreaklinePage p;
  p.colour = panels_->Value(u.PanelBrkColor);
  p.width = u.CBBrkWidth->currentIndex();
  p.showNumbers = u.CBBrkNumbers->isChecked();
  p.textHeight = ToLatin1(u.EditBrkTextHeight->text());
  p.textColour = panels_->Value(u.PanelBrkTextColor);
  return p;
}

mapping::BorderPage TSetMapOptsForm::Border() const {
  const Ui::TSetMapOptsForm& u = *ui_;
  return {panels_->Value(u.PanelBdrColor), u.CBBdrWidth->currentIndex(), u.CBBdrDrawMin->isChecked(),
          u.CBBdrProjectMin->isChecked()};
}

mapping::MiscPage TSetMapOptsForm::Miscellaneous() const {
  const Ui::TSetMapOptsForm& u = *ui_;
  mapping::MiscPage p;
  p.showLimits = u.CBMiscLimits->isChecked();
  p.showNorthArrow = u.CBMiscNorthArrow->isChecked();
  p.showScaleBar = u.CBMiscScaleBar->isChecked();
  p.northAngle = ToLatin1(u.EditMiscNorthAngle->text());
  p.textHeight = ToLatin1(u.EditMiscTextHeight->text());
  p.colour = panels_->Value(u.PanelMiscColor);
  return p;
}

std::string TSetMapOptsForm::CustomColours() const { return panels_->CustomColours(); }

}  // namespace terravue::gui
