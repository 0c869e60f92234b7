#include "dialogs/set_scale_form.h"

#include "app/qt_text.h"
#include "common/messages.h"
#include "common/session.h"
#include "common/settings_record.h"
#include "dialogs/calibrate_printer_dlg.h"
#include "dialogs/map_options/option_controls.h"
#include "device/page_setup_settings.h"
#include "ui_set_scale_form.h"

namespace terravue::gui {

using mapping::NumberKind;

TSetScaleForm::TSetScaleForm(Session& session, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TSetScaleForm>()), session_(session),
      opened_(device::TakePageView(session.settings)) {
  ui_->setupUi(this);
  setWindowTitle(FromUtf8(msg::SetScaleCaption));
  Ui::TSetScaleForm& u = *ui_;
  u.RBBlackWhite->setText(FromUtf8(msg::PrintUsingBlackWhite));
  u.RBColor->setText(FromUtf8(msg::PrintUsingColour));
  const device::SetScaleLabels labels = device::SetScaleCaptions(session_.settings);
  u.LabelScale->setText(FromUtf8(labels.scale));
  u.LabelOffset1->setText(FromUtf8(labels.firstOffset));
  u.LabelOffset2->setText(FromUtf8(labels.secondOffset));
  const device::SetScaleFields fields = device::SetScaleFieldTexts(session_.settings);
  BindNumberField(u.EditAngle, NumberKind::SignedReal, fields.angle);
  BindNumberField(u.EditScale, NumberKind::Real, fields.scale);
  BindNumberField(u.EditOffset1, NumberKind::SignedReal, fields.firstOffset);
  BindNumberField(u.EditOffset2, NumberKind::SignedReal, fields.secondOffset);
  (session_.settings.Get(device::PageSetup::BlackAndWhite) ? u.RBBlackWhite : u.RBColor)->setChecked(true);
  u.CBResetHeights->setChecked(false);

  // After the field has cleaned what was typed.
  connect(u.EditAngle, &QLineEdit::editingFinished, this, &TSetScaleForm::AngleLeft);
  connect(u.ButtonDefaults, &QPushButton::clicked, this, [this] {
    device::FitModel(session_.settings, session_.model, true);
    Refill();
  });
  connect(u.ButtonCalibrate, &QPushButton::clicked, this,
          [this] { CalibratePrinter(this, session_.port, session_.settings); });
  connect(u.ButtonOK, &QPushButton::clicked, this, &TSetScaleForm::accept);
  connect(u.ButtonCancel, &QPushButton::clicked, this, &TSetScaleForm::reject);
}

TSetScaleForm::~TSetScaleForm() = default;

void TSetScaleForm::Refill() {
  const device::SetScaleFields fields = device::SetScaleFieldTexts(session_.settings);
  ui_->EditAngle->setText(FromLatin1(fields.angle));
  ui_->EditScale->setText(FromLatin1(fields.scale));
  ui_->EditOffset1->setText(FromLatin1(fields.firstOffset));
  ui_->EditOffset2->setText(FromLatin1(fields.secondOffset));
}

void TSetScaleForm::AngleLeft() {
  // The field is left once more as the dialog closes: the view is settled by then.
  if (closing_) return;
  if (device::ChangeRotationAngle(session_.settings, session_.model, ToLatin1(ui_->EditAngle->text())))
    Refill();
}

void TSetScaleForm::accept() {
  closing_ = true;
  const Ui::TSetScaleForm& u = *ui_;
  device::StoreSetScale(session_.port, session_.settings,
                        {ToLatin1(u.EditAngle->text()), ToLatin1(u.EditScale->text()),
                         ToLatin1(u.EditOffset1->text()), ToLatin1(u.EditOffset2->text())},
                        u.RBBlackWhite->isChecked(), u.CBResetHeights->isChecked());
  QDialog::accept();
}

void TSetScaleForm::reject() {
  closing_ = true;
  device::RestorePageView(session_.settings, opened_);
  QDialog::reject();
}

}  // namespace terravue::gui
