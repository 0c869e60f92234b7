#include "dialogs/point_edit/remove_form.h"

#include "app/qt_text.h"
#include "common/messages.h"
#include "ui_remove_form.h"

namespace terravue::gui {

TRemoveForm::TRemoveForm(bool borderValid, RemoveChoice choice, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TRemoveForm>()) {
  ui_->setupUi(this);
  ui_->CBInterior->setChecked(choice.interior);
  ui_->CBExterior->setChecked(choice.exterior);
  ui_->GBRemove->setVisible(borderValid);
  ui_->ButtonCancel->setVisible(borderValid);
  ui_->LabelNoBorder->setVisible(!borderValid);
  ui_->LabelNoBorder->setText(MessageText(msg::RemoveNoBorder));
  if (!borderValid) ui_->ButtonOK->setDefault(true);
  connect(ui_->ButtonOK, &QPushButton::clicked, this, borderValid ? &QDialog::accept : &QDialog::reject);
  connect(ui_->ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TRemoveForm::~TRemoveForm() = default;

RemoveChoice TRemoveForm::Choice() const { return {ui_->CBInterior->isChecked(), ui_->CBExterior->isChecked()}; }

}  // namespace terravue::gui
