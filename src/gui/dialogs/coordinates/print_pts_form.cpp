#include "dialogs/coordinates/print_pts_form.h"

#include <QIntValidator>

#include "app/qt_text.h"
#include "common/format.h"
#include "ui_print_pts_form.h"

namespace terravue::gui {

TPrintPtsForm::TPrintPtsForm(exchange::RangeUse use, const exchange::RangeForm& form, UserPort& port, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TPrintPtsForm>()), use_(use), form_(form), port_(port) {
  Ui::TPrintPtsForm& u = *ui_;
  u.setupUi(this);
  setWindowTitle(FromUtf8(form.caption));
  u.LabelFirst->setText(FromUtf8(form.firstLabel));
  u.LabelLast->setText(FromUtf8(form.lastLabel));
  for (QLineEdit* edit : {u.EditFirst, u.EditLast}) {
    edit->setValidator(new QIntValidator(0, 99999, edit));
    edit->setToolTip(QStringLiteral("%1 - %2").arg(form.minimum).arg(form.maximum));
  }
  u.EditFirst->setText(QString::number(form.first));
  u.EditLast->setText(QString::number(form.last));
  // The listings go at once on Enter; the series start with the first number typed.
  u.ButtonContinue->setDefault(form.continueIsDefault);
  u.ButtonContinue->setAutoDefault(form.continueIsDefault);
  if (form.continueIsDefault) {
    u.ButtonContinue->setFocus();
  } else {
    u.EditFirst->setFocus();
    u.EditFirst->selectAll();
  }
  connect(u.ButtonContinue, &QPushButton::clicked, this, &TPrintPtsForm::ButtonContinueClick);
  connect(u.ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TPrintPtsForm::~TPrintPtsForm() = default;

void TPrintPtsForm::ButtonContinueClick() {
  const auto first = ParseInteger(ToLatin1(ui_->EditFirst->text()));
  const auto last = ParseInteger(ToLatin1(ui_->EditLast->text()));
  // An empty field counts as 0, which the limits refuse with their message.
  if (!exchange::CheckRange(port_, form_, use_, first.value_or(0), last.value_or(0))) return;
  range_ = {static_cast<int>(*first), static_cast<int>(*last)};
  accept();
}

std::optional<std::pair<int, int>> AskRange(QWidget* parent, UserPort& port, exchange::RangeUse use,
                                            const model::SurfaceModel& m) {
  TPrintPtsForm form(use, exchange::RangeFormFor(use, m), port, parent);
  if (form.exec() != QDialog::Accepted) return std::nullopt;
  return form.Range();
}

}  // namespace terravue::gui
