#include "dialogs/coordinates/transform_forms.h"

#include <cmath>

#include "app/qt_text.h"
#include "common/format.h"
#include "common/messages.h"
#include "common/user_port.h"
#include "ui_factor_form.h"
#include "ui_rotate_form.h"

namespace terravue::gui {

namespace {

std::optional<double> Number(const QLineEdit* edit) {
  const std::optional<double> v = ParseReal(ToLatin1(edit->text()));
  if (v && std::isfinite(*v)) return v;
  return std::nullopt;
}

void HelpButton(QPushButton* button, const std::function<void()>& help) {
  button->setVisible(static_cast<bool>(help));
  if (help) QObject::connect(button, &QPushButton::clicked, button, help);
}

}  // namespace

TFactorForm::TFactorForm(exchange::TransformKind kind, bool eastingFirst, UserPort& port, std::function<void()> help,
                         QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TFactorForm>()), kind_(kind), eastingFirst_(eastingFirst), port_(port) {
  Ui::TFactorForm& u = *ui_;
  u.setupUi(this);
  const bool factor = kind == exchange::TransformKind::Factor;
  const QString caption = FromUtf8(factor ? msg::FactorPointsCaption : msg::TranslatePointsCaption);
  setWindowTitle(caption);
  u.ButtonOK->setText(caption);
  const exchange::FieldLabels labels = exchange::TransformFieldLabels(kind, eastingFirst);
  u.LabelX->setText(FromUtf8(labels.first));
  u.LabelY->setText(FromUtf8(labels.second));
  u.LabelZ->setText(FromUtf8(labels.third));
  const QString preset = factor ? QStringLiteral("1.0") : QStringLiteral("0.0");
  for (QLineEdit* edit : {u.EditX, u.EditY, u.EditZ}) edit->setText(preset);
  HelpButton(u.ButtonHelp, help);
  connect(u.ButtonOK, &QPushButton::clicked, this, &TFactorForm::ButtonOKClick);
  connect(u.ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TFactorForm::~TFactorForm() = default;

void TFactorForm::ButtonOKClick() {
  const Ui::TFactorForm& u = *ui_;
  const auto first = Number(u.EditX), second = Number(u.EditY), third = Number(u.EditZ);
  if (!first || !second || !third) {
    port_.ShowError(msg::TransformNotANumber);
    return;
  }
  values_.kind = kind_;
  // With the Northing-Easting order the first field is the Northing.
  values_.x = eastingFirst_ ? *first : *second;
  values_.y = eastingFirst_ ? *second : *first;
  values_.z = *third;
  accept();
}

TRotateForm::TRotateForm(double centreX, double centreY, bool eastingFirst, UserPort& port,
                         std::function<void()> help, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TRotateForm>()), eastingFirst_(eastingFirst), port_(port) {
  Ui::TRotateForm& u = *ui_;
  u.setupUi(this);
  const exchange::FieldLabels labels = exchange::TransformFieldLabels(exchange::TransformKind::Rotate, eastingFirst);
  u.LabelX->setText(FromUtf8(labels.first));
  u.LabelY->setText(FromUtf8(labels.second));
  u.EditX->setText(FromUtf8(FormatReal(eastingFirst ? centreX : centreY, 0, 3)));
  u.EditY->setText(FromUtf8(FormatReal(eastingFirst ? centreY : centreX, 0, 3)));
  u.EditAngle->setText(QStringLiteral("0.0"));
  HelpButton(u.ButtonHelp, help);
  connect(u.ButtonOK, &QPushButton::clicked, this, &TRotateForm::ButtonOKClick);
  connect(u.ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
  adjustSize();
}

TRotateForm::~TRotateForm() = default;

void TRotateForm::ButtonOKClick() {
  const Ui::TRotateForm& u = *ui_;
  const auto first = Number(u.EditX), second = Number(u.EditY), angle = Number(u.EditAngle);
  if (!first || !second || !angle) {
    port_.ShowError(msg::TransformNotANumber);
    return;
  }
  if (*angle < -360 || *angle > 360) {
    ReportOutOfRange(port_, msg::RotationAngleLabel, "-360", "360");
    u.EditAngle->setFocus();
    return;
  }
  values_.kind = exchange::TransformKind::Rotate;
  values_.centreX = eastingFirst_ ? *first : *second;
  values_.centreY = eastingFirst_ ? *second : *first;
  values_.degrees = *angle;
  accept();
}

}  // namespace terravue::gui
