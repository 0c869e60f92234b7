#include "dialogs/jump_to_point_form.h"

#include "app/qt_text.h"
#include "ui_jump_to_point_form.h"

namespace terravue::gui {

TJumpToPointForm::TJumpToPointForm(PointIndex pointCount, PointIndex current, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TJumpToPointForm>()) {
  ui_->setupUi(this);
  ui_->EditPointNumber->setText(QString::number(current));
  ui_->EditPointNumber->setToolTip(QStringLiteral("1 - %1").arg(pointCount));
  // Typing into a field chooses what it is for.
  connect(ui_->EditPointNumber, &QLineEdit::textEdited, this, [this] { ui_->RBNumber->setChecked(true); });
  connect(ui_->EditPointLabel, &QLineEdit::textEdited, this, [this] { ui_->RBLabel->setChecked(true); });
  connect(ui_->ButtonOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(ui_->ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TJumpToPointForm::~TJumpToPointForm() = default;

app::JumpRequest TJumpToPointForm::Request() const {
  using app::JumpChoice;
  app::JumpRequest r;
  const Ui::TJumpToPointForm& u = *ui_;
  if (u.RBNumber->isChecked()) r.choice = JumpChoice::PointNumber;
  else if (u.RBLabel->isChecked()) r.choice = JumpChoice::PointLabel;
  else if (u.RBNext->isChecked()) r.choice = JumpChoice::NextPoint;
  else if (u.RBPrevious->isChecked()) r.choice = JumpChoice::PreviousPoint;
  else r.choice = JumpChoice::ClosestPoint;
  r.number = ToLatin1(u.EditPointNumber->text());
  r.label = ToLatin1(u.EditPointLabel->text());
  return r;
}

}  // namespace terravue::gui
