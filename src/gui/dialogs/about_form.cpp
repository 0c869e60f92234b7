#include "dialogs/about_form.h"

#include "app/qt_text.h"
#include "commands/icons.h"
#include "common/app_settings.h"
#include "common/messages.h"
#include "common/settings_record.h"
#include "ui_about_form.h"
#include "ui_company_form.h"

namespace terravue::gui {
namespace {

// The fields hold Latin-1; what cannot be held is left out rather than stored as garbage.
std::string Latin1Field(const QString& text, std::size_t capacity) {
  std::string out;
  for (const QChar c : text)
    if (c.unicode() <= 0xFF && out.size() < capacity) out += static_cast<char>(c.unicode());
  return out;
}

}  // namespace

TCompanyForm::TCompanyForm(const Values& values, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TCompanyForm>()) {
  ui_->setupUi(this);
  setWindowTitle(FromUtf8(msg::CompanyCaption));
  ui_->LabelCompany->setText(FromUtf8(msg::CompanyLabel));
  ui_->LabelLocation->setText(FromUtf8(msg::CompanyLocationLabel));
  ui_->LabelNote->setText(FromUtf8(msg::CompanyNote));
  ui_->EditCompany->setText(FromLatin1(values.company));
  ui_->EditLocation->setText(FromLatin1(values.location));
  connect(ui_->ButtonOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(ui_->ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TCompanyForm::~TCompanyForm() = default;

TCompanyForm::Values TCompanyForm::Result() const {
  return {Latin1Field(ui_->EditCompany->text(), settings::CompanyName.capacity),
          Latin1Field(ui_->EditLocation->text(), settings::CompanyLocation.capacity)};
}

TAboutForm::TAboutForm(SettingsRecord& settings, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TAboutForm>()), settings_(settings) {
  ui_->setupUi(this);
  setWindowTitle(QStringLiteral("About ") + FromUtf8(msg::ProductName));
  ui_->ProgramIcon->setPixmap(ProgramIcon().pixmap(48, 48));
  QFont heading = ui_->LabelProduct->font();
  heading.setPointSizeF(heading.pointSizeF() * 1.6);
  heading.setBold(true);
  ui_->LabelProduct->setFont(heading);
  ui_->LabelProduct->setText(FromUtf8(msg::ProductName));
  ui_->LabelVersion->setText(FromUtf8(msg::WelcomeVersionPrefix) + FromUtf8(msg::VersionText));
  ui_->ButtonChangeCompany->setText(FromUtf8(msg::ChangeCompany));
  connect(ui_->ButtonChangeCompany, &QPushButton::clicked, this, &TAboutForm::ChangeCompany);
  connect(ui_->ButtonOK, &QPushButton::clicked, this, &QDialog::accept);
  ShowCompany();
}

TAboutForm::~TAboutForm() = default;

void TAboutForm::ShowCompany() {
  ui_->LabelCompany->setText(FromLatin1(settings_.Get(settings::CompanyName)));
  ui_->LabelLocation->setText(FromLatin1(settings_.Get(settings::CompanyLocation)));
}

void TAboutForm::ChangeCompany() {
  TCompanyForm form({settings_.Get(settings::CompanyName), settings_.Get(settings::CompanyLocation)}, this);
  if (form.exec() != QDialog::Accepted) return;
  const TCompanyForm::Values v = form.Result();
  settings_.Set(settings::CompanyName, v.company);
  settings_.Set(settings::CompanyLocation, v.location);
  ShowCompany();
}

}  // namespace terravue::gui
