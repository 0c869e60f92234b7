#include "dialogs/point_edit/verify_form.h"

#include <QCoreApplication>

#include "app/qt_text.h"
#include "common/app_settings.h"
#include "common/format.h"
#include "common/session.h"
#include "common/settings_record.h"
#include "dialogs/point_edit/interactive_edit_form.h"
#include "tin/verification.h"
#include "ui_verify_form.h"

namespace terravue::gui {
namespace {

QString Number(double v) { return FromUtf8(FormatReal(v, 0, 3)); }

}  // namespace

TVerifyForm::TVerifyForm(Session& session, std::function<void(int)> help, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TVerifyForm>()), session_(session),
      pairs_(new TInteractiveEditForm(this)) {
  ui_->setupUi(this);
  ui_->ButtonHelp->setVisible(static_cast<bool>(help));
  connect(ui_->ButtonHelp, &QPushButton::clicked, this, [help = std::move(help)] {
    if (help) help(HelpContext);
  });
  connect(ui_->RBSearchAll, &QRadioButton::toggled, this, &TVerifyForm::RGOptionsClick);
  connect(ui_->ButtonBegin, &QPushButton::clicked, this, &TVerifyForm::ButtonBeginClick);
  connect(ui_->ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TVerifyForm::~TVerifyForm() = default;

void TVerifyForm::Run(double searchX, double searchY) {
  FormActivate(searchX, searchY);
  exec();
}

void TVerifyForm::FormActivate(double searchX, double searchY) {
  Ui::TVerifyForm& u = *ui_;
  const bool eastingFirst = settings::EastingFirst(session_.settings);
  const QString first = eastingFirst ? QStringLiteral("X") : QStringLiteral("Northing");
  const QString second = eastingFirst ? QStringLiteral("Y") : QStringLiteral("Easting");
  u.LabelXdiff->setText(first + QStringLiteral(" difference >"));
  u.LabelYdiff->setText(second + QStringLiteral(" difference >"));
  u.LabelX->setText(first + QStringLiteral(" location >"));
  u.LabelY->setText(second + QStringLiteral(" location >"));
  u.EditXLocation->setText(Number(eastingFirst ? searchX : searchY));
  u.EditYLocation->setText(Number(eastingFirst ? searchY : searchX));
  // The differences start from the smallest each time: a wider one lasts only while the
  // dialog is open.
  u.EditXDiff->setText(Number(tin::MinimumDifference));
  u.EditYDiff->setText(Number(tin::MinimumDifference));
  u.RBSearchAll->setChecked(true);
  u.CBInteractiveEdit->setChecked(false);
  RGOptionsClick();
  u.ProgressMeter->hide();
  pointsChanged_ = false;
}

void TVerifyForm::RGOptionsClick() {
  const bool all = ui_->RBSearchAll->isChecked();
  ui_->GBLocation->setEnabled(!all);
  ui_->CBInteractiveEdit->setEnabled(all);
}

void TVerifyForm::ButtonBeginClick() {
  Ui::TVerifyForm& u = *ui_;
  tin::VerifyOptions options;
  options.searchAll = u.RBSearchAll->isChecked();
  options.interactive = options.searchAll && u.CBInteractiveEdit->isChecked();
  options.chooser = pairs_;
  options.progress = [this](int percent) { ShowProgress(percent); };
  const tin::VerifyFieldTexts texts{ToLatin1(u.EditXDiff->text()), ToLatin1(u.EditYDiff->text()),
                                    ToLatin1(u.EditXLocation->text()), ToLatin1(u.EditYLocation->text())};
  int refused = -1;
  const std::optional<tin::VerifyOptions> read = tin::ReadVerifyFields(session_, texts, options, refused);
  if (!read) {
    QLineEdit* fields[] = {u.EditXDiff, u.EditYDiff, u.EditXLocation, u.EditYLocation};
    if (refused >= 0 && refused < 4) {
      fields[refused]->setFocus();
      fields[refused]->selectAll();
    }
    return;
  }
  u.ProgressMeter->setValue(0);
  u.ProgressMeter->show();
  const tin::VerifyResult result = tin::RunVerification(session_, *read);
  u.ProgressMeter->hide();
  pointsChanged_ = pointsChanged_ || result.pointsChanged;
}

void TVerifyForm::ShowProgress(int percent) {
  if (percent == ui_->ProgressMeter->value()) return;
  ui_->ProgressMeter->setValue(percent);
  // The check holds the only thread; let the meter paint, but take no input meanwhile.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace terravue::gui
