#include "dialogs/point_edit/point_form.h"

#include "app/qt_text.h"
#include "common/app_settings.h"
#include "common/format.h"
#include "common/session.h"
#include "common/settings_record.h"
#include "ui_point_form.h"

namespace terravue::gui {
namespace {

QString Coordinate(double v) { return FromUtf8(FormatReal(v, 0, 3)); }

}  // namespace

TPointForm::TPointForm(Session& session, std::function<void(int)> help, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TPointForm>()), session_(session), help_(std::move(help)) {
  ui_->setupUi(this);
  ui_->ButtonHelp->setVisible(static_cast<bool>(help_));
  connect(ui_->ButtonHelp, &QPushButton::clicked, this, [this] {
    if (help_) help_(request_.helpContext);
  });
  connect(ui_->ButtonOK, &QPushButton::clicked, this, &TPointForm::ButtonOKClick);
  connect(ui_->ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TPointForm::~TPointForm() = default;

std::optional<tin::PointValues> TPointForm::Show(const app::PointDialogRequest& request) {
  request_ = request;
  values_ = request.values;
  Ui::TPointForm& u = *ui_;
  const bool eastingFirst = settings::EastingFirst(session_.settings);
  setWindowTitle(FromUtf8(request.caption));
  u.LabelNumber->setText(QString::number(request.number));
  u.LabelNorth->setText(eastingFirst ? QStringLiteral("X >") : QStringLiteral("Northing >"));
  u.LabelEast->setText(eastingFirst ? QStringLiteral("Y >") : QStringLiteral("Easting >"));
  u.EditLabel->setText(FromLatin1(request.values.label));
  u.EditNorth->setText(Coordinate(eastingFirst ? request.values.x : request.values.y));
  u.EditEast->setText(Coordinate(eastingFirst ? request.values.y : request.values.x));
  u.EditElev->setText(Coordinate(request.values.z));
  for (QWidget* field : {static_cast<QWidget*>(u.EditLabel), static_cast<QWidget*>(u.EditNorth),
                         static_cast<QWidget*>(u.EditEast), static_cast<QWidget*>(u.EditElev)})
    field->setEnabled(!request.readOnly);
  if (request.readOnly) {
    u.ButtonOK->setFocus();
  } else {
    u.EditLabel->setFocus();
    u.EditLabel->selectAll();
  }
  if (exec() != QDialog::Accepted) return std::nullopt;
  return values_;
}

void TPointForm::ButtonOKClick() {
  if (request_.readOnly) {
    accept();
    return;
  }
  Ui::TPointForm& u = *ui_;
  const bool eastingFirst = settings::EastingFirst(session_.settings);
  QLineEdit* xField = eastingFirst ? u.EditNorth : u.EditEast;
  QLineEdit* yField = eastingFirst ? u.EditEast : u.EditNorth;
  tin::PointFieldTexts texts{ToLatin1(u.EditLabel->text()), xField->text().toStdString(),
                             yField->text().toStdString(), u.EditElev->text().toStdString()};
  const std::optional<tin::PointValues> read = tin::ParsePointFields(session_, texts);
  if (!read) {
    // The message named the field; the first that does not read as a number takes the focus.
    for (QLineEdit* field : {u.EditNorth, u.EditEast, u.EditElev}) {
      if (ParseReal(field->text().toStdString())) continue;
      field->setFocus();
      field->selectAll();
      break;
    }
    return;
  }
  values_ = *read;
  accept();
}

}  // namespace terravue::gui
