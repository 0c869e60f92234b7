#include "dialogs/import_export/export_landxml_form.h"

#include <QFileDialog>
#include <QTimer>

#include "app/qt_text.h"
#include "common/messages.h"
#include "dialogs/import_export/ascii_file_dialogs.h"
#include "ui_export_landxml_form.h"

namespace terravue::gui {

using exchange::LandXmlUnit;

TExportLandXmlForm::TExportLandXmlForm(const exchange::LandXmlExportRequest& request, QString dataDirectory,
                                       QWidget* parent)
    : QDialog(parent),
      ui_(std::make_unique<Ui::TExportLandXmlForm>()),
      request_(request),
      fileName_(PathFromBytes(request.fileName)),
      dataDirectory_(std::move(dataDirectory)) {
  ui_->setupUi(this);
  Ui::TExportLandXmlForm& u = *ui_;
  setWindowTitle(FromUtf8(msg::LandXmlExportCaption));
  ShowFileName(u.FileNameText, fileName_);
  // Only the foot is a choice: the numbers themselves are never converted.
  u.RBMeters->setEnabled(request.metric);
  u.RBFeet->setEnabled(!request.metric);
  u.RBUsSurveyFeet->setEnabled(!request.metric);
  if (request.metric)
    u.RBMeters->setChecked(true);
  else if (request.unit == LandXmlUnit::UsSurveyFoot)
    u.RBUsSurveyFeet->setChecked(true);
  else
    u.RBFeet->setChecked(true);

  connect(u.ButtonChange, &QPushButton::clicked, this, &TExportLandXmlForm::ChangeFileName);
  connect(u.ButtonOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(u.ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
  u.ButtonHelp->hide();
  chooseFile = [this](const QString& title, const QString& proposed, const QString& filter) {
    return QFileDialog::getSaveFileName(this, title, proposed, filter);
  };
}

TExportLandXmlForm::~TExportLandXmlForm() = default;

void TExportLandXmlForm::SetHelp(std::function<void()> help) {
  ui_->ButtonHelp->setVisible(static_cast<bool>(help));
  if (help) connect(ui_->ButtonHelp, &QPushButton::clicked, this, std::move(help));
}

exchange::LandXmlExportRequest TExportLandXmlForm::Values() const {
  exchange::LandXmlExportRequest values = request_;
  values.fileName = ToFsPath(fileName_).string();
  values.unit = ui_->RBMeters->isChecked()        ? LandXmlUnit::Meter
                : ui_->RBUsSurveyFeet->isChecked() ? LandXmlUnit::UsSurveyFoot
                                                   : LandXmlUnit::Foot;
  return values;
}

void TExportLandXmlForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (request_.chooseFileAtOnce) {
    request_.chooseFileAtOnce = false;
    QTimer::singleShot(0, this, &TExportLandXmlForm::ChangeFileName);
  }
}

void TExportLandXmlForm::ChangeFileName() {
  request_.chooseFileAtOnce = false;
  QString proposed = fileName_.isEmpty() ? PathFromBytes(request_.proposedName) : fileName_;
  if (proposed.isEmpty()) {
    proposed = dataDirectory_;
    while (proposed.size() > 1 && (proposed.endsWith(QLatin1Char('/')) || proposed.endsWith(QLatin1Char('\\'))))
      proposed.chop(1);
  }
  const QString chosen = chooseFile(FromUtf8(msg::LandXmlSaveTitle), proposed, LandXmlFileFilter());
  if (chosen.isEmpty()) return;
  fileName_ = PathFromBytes(exchange::WithLandXmlExtension(ToFsPath(chosen).string()));
  ShowFileName(ui_->FileNameText, fileName_);
}

std::optional<exchange::LandXmlExportRequest> RunLandXmlExportDialog(QWidget* parent,
                                                                     const exchange::LandXmlExportRequest& request,
                                                                     const std::string& dataDirectory,
                                                                     std::function<void()> help) {
  TExportLandXmlForm form(request, PathFromBytes(dataDirectory), parent);
  form.SetHelp(std::move(help));
  if (form.exec() != QDialog::Accepted) return std::nullopt;
  return form.Values();
}

}  // namespace terravue::gui
