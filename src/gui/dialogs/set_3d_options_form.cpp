#include "dialogs/set_3d_options_form.h"

#include <cmath>

#include "app/qt_text.h"
#include "common/messages.h"
#include "dialogs/map_options/option_controls.h"
#include "ui_set_3d_options_form.h"

namespace terravue::gui {

using mapping::NumberKind;
namespace v3 = settings::View3DOptions;

TSet3DOptionsForm::TSet3DOptionsForm(UserPort& port, const SettingsRecord& settings,
                                     const device::WorldPoint& midpoint, const device::WorldPoint& cursor,
                                     QWidget* parent)
    : QDialog(parent),
      ui_(std::make_unique<Ui::TSet3DOptionsForm>()),
      port_(port),
      settings_(settings),
      fields_(app::View3DOptionsFieldTexts(settings)) {
  ui_->setupUi(this);
  Ui::TSet3DOptionsForm& u = *ui_;
  setWindowTitle(FromUtf8(msg::Set3DOptionsCaption));
  const app::View3DOptionsLabels labels = app::View3DOptionsCaptions(settings);
  u.LabelXView->setText(FromUtf8(labels.firstView));
  u.LabelYView->setText(FromUtf8(labels.secondView));
  u.LabelXTarget->setText(FromUtf8(labels.firstTarget));
  u.LabelYTarget->setText(FromUtf8(labels.secondTarget));

  u.CBView3D->setChecked(fields_.view3D);
  u.CBShadedSurface->setChecked(fields_.shaded);
  BindNumberField(u.EditXView, NumberKind::SignedReal, fields_.firstView);
  BindNumberField(u.EditYView, NumberKind::SignedReal, fields_.secondView);
  BindNumberField(u.EditZView, NumberKind::SignedReal, fields_.zView);
  BindNumberField(u.EditXTarget, NumberKind::SignedReal, fields_.firstTarget);
  BindNumberField(u.EditYTarget, NumberKind::SignedReal, fields_.secondTarget);
  BindNumberField(u.EditZTarget, NumberKind::SignedReal, fields_.zTarget);
  BindNumberField(u.EditElevationFactor, NumberKind::SignedReal, fields_.elevationFactor);
  BindNumberField(u.EditEyeFactor, NumberKind::SignedReal, fields_.eyeFactor);
  for (const v3::MovementInfo& m : v3::Movements) u.CBMovementType->addItem(FromUtf8(m.caption));
  u.CBMovementType->setCurrentIndex(fields_.movementType);
  ShowMovement();
  u.CBAutomatic->setChecked(fields_.automatic);
  u.UpDownDelay->setValue(fields_.delayTenths / 10.0);

  const auto showTarget = [this](const device::WorldPoint& p) {
    app::View3DOptionsFields shown = Fields();
    app::ShowTarget(settings_, shown, p.x, p.y, p.z);
    ui_->EditXTarget->setText(FromLatin1(shown.firstTarget));
    ui_->EditYTarget->setText(FromLatin1(shown.secondTarget));
    ui_->EditZTarget->setText(FromLatin1(shown.zTarget));
  };
  connect(u.ButtonResetTarget, &QPushButton::clicked, this, [showTarget, midpoint] { showTarget(midpoint); });
  connect(u.ButtonTargetToCursor, &QPushButton::clicked, this, [showTarget, cursor] { showTarget(cursor); });
  connect(u.CBMovementType, &QComboBox::activated, this, [this](int type) {
    app::ChooseMovement(fields_, type);
    ShowMovement();
  });
  connect(u.EditStep, &QLineEdit::editingFinished, this, &TSet3DOptionsForm::StepLeft);
  connect(u.CBView3D, &QCheckBox::toggled, this, &TSet3DOptionsForm::EnableControls);
  connect(u.CBAutomatic, &QCheckBox::toggled, this, &TSet3DOptionsForm::EnableControls);
  connect(u.ButtonOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(u.ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
  EnableControls();
}

TSet3DOptionsForm::~TSet3DOptionsForm() = default;

void TSet3DOptionsForm::ShowMovement() {
  Ui::TSet3DOptionsForm& u = *ui_;
  u.LabelStepUnit->setText(FromUtf8(app::StepUnitLabel(settings_, fields_.movementType)));
  u.EditStep->setText(FromLatin1(fields_.Step()));
  u.EditStep->setToolTip(FromUtf8(app::StepRangeHint(fields_.movementType)));
}

void TSet3DOptionsForm::StepLeft() {
  // A step that cannot be read, or lies outside its type's range, gives back the one before.
  const std::string cleaned = app::CleanStepText(port_, fields_.movementType, ToLatin1(ui_->EditStep->text()));
  if (!cleaned.empty()) app::SetStepText(fields_, cleaned);
  ui_->EditStep->setText(FromLatin1(fields_.Step()));
}

void TSet3DOptionsForm::EnableControls() {
  Ui::TSet3DOptionsForm& u = *ui_;
  const bool on = u.CBView3D->isChecked();
  for (QWidget* group : {static_cast<QWidget*>(u.GroupViewPoint), static_cast<QWidget*>(u.GroupTarget),
                         static_cast<QWidget*>(u.GroupMiscellaneous), static_cast<QWidget*>(u.GroupAnimation)})
    group->setEnabled(on);
  u.LabelDelay->setEnabled(on && u.CBAutomatic->isChecked());
  u.UpDownDelay->setEnabled(on && u.CBAutomatic->isChecked());
}

app::View3DOptionsFields TSet3DOptionsForm::Fields() const {
  const Ui::TSet3DOptionsForm& u = *ui_;
  app::View3DOptionsFields f = fields_;
  f.view3D = u.CBView3D->isChecked();
  f.shaded = u.CBShadedSurface->isChecked();
  f.firstView = ToLatin1(u.EditXView->text());
  f.secondView = ToLatin1(u.EditYView->text());
  f.zView = ToLatin1(u.EditZView->text());
  f.firstTarget = ToLatin1(u.EditXTarget->text());
  f.secondTarget = ToLatin1(u.EditYTarget->text());
  f.zTarget = ToLatin1(u.EditZTarget->text());
  f.elevationFactor = ToLatin1(u.EditElevationFactor->text());
  f.eyeFactor = ToLatin1(u.EditEyeFactor->text());
  // The step as it stands in the field, for OK pressed straight from it.
  app::SetStepText(f, ToLatin1(u.EditStep->text()));
  f.automatic = u.CBAutomatic->isChecked();
  f.delayTenths = static_cast<int>(std::lround(u.UpDownDelay->value() * 10));
  return f;
}

}  // namespace terravue::gui
