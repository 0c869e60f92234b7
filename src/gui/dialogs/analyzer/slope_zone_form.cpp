#include "dialogs/analyzer/slope_zone_form.h"

#include "app/qt_text.h"
#include "common/messages.h"
#include "ui_slope_zone_form.h"

namespace terravue::gui {

TSlopeZoneForm::TSlopeZoneForm(const analysis::SlopeZoneForm& form, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TSlopeZoneForm>()), form_(form) {
  Ui::TSlopeZoneForm& u = *ui_;
  u.setupUi(this);
  setWindowTitle(FromUtf8(form.densityMode ? msg::DensitySlopeCaption : msg::TextOutputCaption));
  u.RGOutputType->setVisible(form.offerVectorInformation);
  (form.vectorInformation ? u.RBVectorInformation : u.RBSlopeAnalysis)->setChecked(true);
  u.CBSlopeZones->setVisible(!form.densityMode);
  u.CBSlopeZones->setChecked(form.includeSlopeZones);
  u.LEditMinSlope->setText(FromUtf8(form.minSlope).trimmed());
  u.LEditMaxSlope->setText(FromUtf8(form.maxSlope).trimmed());
  u.EditNumZones->setValue(form.zoneCount);
  connect(u.CBSlopeZones, &QCheckBox::toggled, this, [this] { ApplyEnabling(); });
  connect(u.RBVectorInformation, &QRadioButton::toggled, this, [this] { ApplyEnabling(); });
  connect(u.ButtonOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(u.ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
  ApplyEnabling();
  adjustSize();
}

TSlopeZoneForm::~TSlopeZoneForm() = default;

void TSlopeZoneForm::ApplyEnabling() {
  Ui::TSlopeZoneForm& u = *ui_;
  const bool vectors = form_.offerVectorInformation && u.RBVectorInformation->isChecked();
  u.CBSlopeZones->setEnabled(!vectors);
  u.GBSlopeZones->setEnabled(!vectors && u.CBSlopeZones->isChecked());
}

analysis::SlopeZoneForm TSlopeZoneForm::Form() const {
  const Ui::TSlopeZoneForm& u = *ui_;
  analysis::SlopeZoneForm f = form_;
  f.vectorInformation = form_.offerVectorInformation && u.RBVectorInformation->isChecked();
  f.includeSlopeZones = u.CBSlopeZones->isChecked();
  f.minSlope = u.LEditMinSlope->text().toStdString();
  f.maxSlope = u.LEditMaxSlope->text().toStdString();
  f.zoneCount = u.EditNumZones->value();
  return f;
}

analysis::SlopeZoneDialog TSlopeZoneForm::Dialog(QWidget* parent) {
  return [parent](const analysis::SlopeZoneForm& shown) -> std::optional<analysis::SlopeZoneForm> {
    TSlopeZoneForm form(shown, parent);
    if (form.exec() != QDialog::Accepted) return std::nullopt;
    return form.Form();
  };
}

}  // namespace terravue::gui
