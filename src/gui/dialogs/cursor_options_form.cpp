#include "dialogs/cursor_options_form.h"

#include "app/qt_text.h"
#include "dialogs/map_options/option_controls.h"
#include "ui_cursor_options_form.h"

namespace terravue::gui {

using mapping::NumberKind;

TCursorOptionsForm::TCursorOptionsForm(const SettingsRecord& settings, const app::CursorOptionsFields& fields,
                                       QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TCursorOptionsForm>()) {
  ui_->setupUi(this);
  Ui::TCursorOptionsForm& u = *ui_;
  const app::CursorOptionsLabels labels = app::CursorPositionCaptions(settings);
  u.LabelXPosition->setText(FromUtf8(labels.first));
  u.LabelYPosition->setText(FromUtf8(labels.second));
  BindNumberField(u.EditStep, NumberKind::Real, fields.step);
  BindNumberField(u.EditXPosition, NumberKind::SignedReal, fields.first);
  BindNumberField(u.EditYPosition, NumberKind::SignedReal, fields.second);
  u.CBScaleStep->setChecked(fields.scaleStep);
  connect(u.ButtonTarget, &QPushButton::clicked, this, [this, &settings] {
    const app::CursorOptionsFields target = app::WithTargetPosition(settings, Fields());
    ui_->EditXPosition->setText(FromLatin1(target.first));
    ui_->EditYPosition->setText(FromLatin1(target.second));
  });
  connect(u.ButtonOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(u.ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TCursorOptionsForm::~TCursorOptionsForm() = default;

app::CursorOptionsFields TCursorOptionsForm::Fields() const {
  const Ui::TCursorOptionsForm& u = *ui_;
  return {ToLatin1(u.EditStep->text()), ToLatin1(u.EditXPosition->text()), ToLatin1(u.EditYPosition->text()),
          u.CBScaleStep->isChecked()};
}

}  // namespace terravue::gui
