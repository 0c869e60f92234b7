#include "dialogs/import_export/export_coord_form.h"

#include <QButtonGroup>
#include <QFileDialog>
#include <QTimer>

#include "app/qt_text.h"
#include "common/app_settings.h"
#include "common/messages.h"
#include "common/settings_record.h"
#include "dialogs/import_export/ascii_file_dialogs.h"
#include "exchange/import_commands.h"
#include "ui_export_coord_form.h"

namespace terravue::gui {

using exchange::AsciiKind;
using exchange::FormatRecord;

TExportCoordForm::TExportCoordForm(SettingsRecord& settings, const exchange::ExportDialogRequest& request,
                                   QWidget* parent)
    : QDialog(parent),
      ui_(std::make_unique<Ui::TExportCoordForm>()),
      settings_(settings),
      kind_(request.kind),
      fileName_(PathFromBytes(request.fileName)),
      chooseFileAtOnce_(request.chooseFileAtOnce) {
  ui_->setupUi(this);
  Ui::TExportCoordForm& u = *ui_;
  const int mode = static_cast<int>(kind_);
  setWindowTitle(FromUtf8(msg::ExportCaptions[mode]));
  u.LabelCustomNote->setText(
      MessageText(kind_ == AsciiKind::Coordinates ? msg::ExportLegendCoordinates : msg::ExportLegendVertices));
  u.EditCustom->setToolTip(FromUtf8(msg::ExportCustomHint));

  QRadioButton* entries[] = {u.RBFormat0, u.RBFormat1, u.RBFormat2, u.RBFormat3, u.RBFormat4};
  auto* group = new QButtonGroup(this);
  for (int i = 0; i <= FormatRecord::CustomFormat; ++i) {
    entries[i]->setText(FromUtf8(exchange::PredefinedFormatCaption(kind_, i)));
    group->addButton(entries[i], i);
  }
  const FormatRecord& record = exchange::ExportRecord(kind_);
  u.EditCustom->setText(FromLatin1(exchange::StoredFormatText(settings_, record, exchange::ExportLetters(kind_))));
  const int stored = settings_.Get(record.FormatIndex());
  if (stored >= 0 && stored <= FormatRecord::CustomFormat) entries[stored]->setChecked(true);
  ShowFileName(u.FileNameText, fileName_);

  connect(group, &QButtonGroup::idClicked, this, [this] { FormatChosen(); });
  connect(u.EditCustom, &QLineEdit::textChanged, this, [this] {
    KeepFormatCharacters(ui_->EditCustom, exchange::ExportLetters(kind_));
    ApplyEnabling();
  });
  connect(u.ButtonChange, &QPushButton::clicked, this, &TExportCoordForm::ChangeFileName);
  connect(u.ButtonOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(u.ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
  u.ButtonHelp->hide();

  chooseFile = [this](const QString& title, const QString& proposed, const QString& filter) {
    return QFileDialog::getSaveFileName(this, title, proposed, filter);
  };
  u.LabelCustomNote->setVisible(ChosenEntry() == FormatRecord::CustomFormat);
  ApplyEnabling();
}

TExportCoordForm::~TExportCoordForm() = default;

void TExportCoordForm::SetHelp(std::function<void()> help) {
  ui_->ButtonHelp->setVisible(static_cast<bool>(help));
  if (help) connect(ui_->ButtonHelp, &QPushButton::clicked, this, std::move(help));
}

std::string TExportCoordForm::FileName() const { return ToFsPath(fileName_).string(); }

int TExportCoordForm::ChosenEntry() const {
  QRadioButton* entries[] = {ui_->RBFormat0, ui_->RBFormat1, ui_->RBFormat2, ui_->RBFormat3, ui_->RBFormat4};
  for (int i = 0; i <= FormatRecord::CustomFormat; ++i)
    if (entries[i]->isChecked()) return i;
  return FormatRecord::NoFormat;
}

void TExportCoordForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (chooseFileAtOnce_) {
    chooseFileAtOnce_ = false;
    QTimer::singleShot(0, this, &TExportCoordForm::ChangeFileName);
  }
}

void TExportCoordForm::ChangeFileName() {
  chooseFileAtOnce_ = false;
  QString proposed = PathFromBytes(exchange::ProposedExportName(kind_, ToFsPath(fileName_).string()));
  if (proposed.isEmpty()) {
    proposed = PathFromBytes(settings_.Get(settings::DataDirectory));
    while (proposed.size() > 1 && (proposed.endsWith(QLatin1Char('/')) || proposed.endsWith(QLatin1Char('\\'))))
      proposed.chop(1);
  }
  const QString chosen =
      chooseFile(FromUtf8(msg::SaveFileTitles[static_cast<int>(kind_)]), proposed, AsciiFileFilter(kind_));
  if (!chosen.isEmpty()) {
    fileName_ = PathFromBytes(exchange::WithExportExtension(kind_, ToFsPath(chosen).string()));
    ShowFileName(ui_->FileNameText, fileName_);
  }
  ApplyEnabling();
}

void TExportCoordForm::FormatChosen() {
  const bool custom = ChosenEntry() == FormatRecord::CustomFormat;
  ui_->LabelCustomNote->setVisible(custom);
  ApplyEnabling();
  if (custom) ui_->EditCustom->setFocus();
  adjustSize();
}

void TExportCoordForm::ApplyEnabling() {
  const exchange::ExportDialogEnabling e = exchange::ExportEnabling(ChosenEntry(), ui_->EditCustom->text().toStdString());
  ui_->EditCustom->setEnabled(e.editCustom);
  ui_->ButtonOK->setEnabled(e.ok);
}

void TExportCoordForm::done(int result) {
  exchange::StoreExportDialogFormat(settings_, kind_, ChosenEntry(), ui_->EditCustom->text().toLatin1().toStdString());
  QDialog::done(result);
}

std::optional<std::string> RunExportDialog(QWidget* parent, SettingsRecord& settings,
                                           const exchange::ExportDialogRequest& request,
                                           std::function<void()> help) {
  TExportCoordForm form(settings, request, parent);
  form.SetHelp(std::move(help));
  if (form.exec() != QDialog::Accepted) return std::nullopt;
  return form.FileName();
}

}  // namespace terravue::gui
