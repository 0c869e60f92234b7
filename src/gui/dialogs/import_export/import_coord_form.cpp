#include "dialogs/import_export/import_coord_form.h"

#include <QButtonGroup>
#include <QFileDialog>
#include <QFileInfo>
#include <QTimer>

#include "app/qt_text.h"
#include "common/app_settings.h"
#include "common/messages.h"
#include "common/settings_record.h"
#include "common/user_port.h"
#include "dialogs/import_export/ascii_file_dialogs.h"
#include "ui_import_coord_form.h"

namespace terravue::gui {

using exchange::AsciiKind;
using exchange::FormatRecord;

TImportCoordForm::TImportCoordForm(UserPort& port, SettingsRecord& settings,
                                   const exchange::ImportDialogRequest& request, QWidget* parent)
    : QDialog(parent),
      ui_(std::make_unique<Ui::TImportCoordForm>()),
      port_(port),
      settings_(settings),
      kind_(request.kind),
      fileName_(PathFromBytes(request.fileName)),
      chooseFileAtOnce_(request.chooseFileAtOnce) {
  ui_->setupUi(this);
  Ui::TImportCoordForm& u = *ui_;
  const int mode = static_cast<int>(kind_);
  setWindowTitle(FromUtf8(msg::ImportCaptions[mode]));
  u.CBAutoRemove->setVisible(request.showAutoRemove);
  u.CBAutoRemove->setChecked(request.autoRemove);
  u.CBMatchLabels->setVisible(request.showMatchNumbersToLabels);
  u.CBMatchLabels->setChecked(request.matchNumbersToLabels);
  u.LabelCustomNote->setText(
      MessageText(kind_ == AsciiKind::Coordinates ? msg::ImportLegendCoordinates : msg::ImportLegendVertices));

  QRadioButton* entries[] = {u.RBFormat0, u.RBFormat1, u.RBFormat2, u.RBFormat3, u.RBFormat4};
  auto* group = new QButtonGroup(this);
  for (int i = 0; i <= FormatRecord::CustomFormat; ++i) {
    entries[i]->setText(FromUtf8(exchange::PredefinedFormatCaption(kind_, i)));
    group->addButton(entries[i], i);
  }
  const FormatRecord& record = exchange::ImportRecord(kind_);
  u.EditCustom->setText(FromLatin1(exchange::StoredFormatText(settings_, record, exchange::ImportLetters(kind_))));
  const int stored = settings_.Get(record.FormatIndex());
  if (stored >= 0 && stored <= FormatRecord::CustomFormat) entries[stored]->setChecked(true);
  ShowFileName(u.FileNameText, fileName_);

  connect(group, &QButtonGroup::idClicked, this, [this] { FormatChosen(); });
  connect(u.EditCustom, &QLineEdit::textChanged, this, [this] {
    KeepFormatCharacters(ui_->EditCustom, exchange::ImportLetters(kind_));
    ApplyEnabling();
  });
  connect(u.ButtonChange, &QPushButton::clicked, this, &TImportCoordForm::ChangeFileName);
  connect(u.PreviewButton, &QPushButton::clicked, this, [this] { port_.PreviewFile(ToFsPath(fileName_).string()); });
  connect(u.ButtonOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(u.ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
  u.ButtonHelp->hide();

  chooseFile = [this](const QString& title, const QString& start, const QString& filter) {
    return QFileDialog::getOpenFileName(this, title, start, filter);
  };
  u.LabelCustomNote->setVisible(ChosenEntry() == FormatRecord::CustomFormat);
  ApplyEnabling();
}

TImportCoordForm::~TImportCoordForm() = default;

void TImportCoordForm::SetHelp(std::function<void()> help) {
  ui_->ButtonHelp->setVisible(static_cast<bool>(help));
  if (help) connect(ui_->ButtonHelp, &QPushButton::clicked, this, std::move(help));
}

exchange::ImportDialogResult TImportCoordForm::Result() const {
  return {ToFsPath(fileName_).string(), ui_->CBAutoRemove->isChecked(), ui_->CBMatchLabels->isChecked()};
}

int TImportCoordForm::ChosenEntry() const {
  QRadioButton* entries[] = {ui_->RBFormat0, ui_->RBFormat1, ui_->RBFormat2, ui_->RBFormat3, ui_->RBFormat4};
  for (int i = 0; i <= FormatRecord::CustomFormat; ++i)
    if (entries[i]->isChecked()) return i;
  return FormatRecord::NoFormat;
}

void TImportCoordForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // With no file known yet the user is asked for one at once, once the dialog is up.
  if (chooseFileAtOnce_) {
    chooseFileAtOnce_ = false;
    QTimer::singleShot(0, this, &TImportCoordForm::ChangeFileName);
  }
}

void TImportCoordForm::ChangeFileName() {
  chooseFileAtOnce_ = false;
  QString start = fileName_;
  if (start.isEmpty()) {
    start = PathFromBytes(settings_.Get(settings::DataDirectory));
    while (start.size() > 1 && (start.endsWith(QLatin1Char('/')) || start.endsWith(QLatin1Char('\\')))) start.chop(1);
  }
  const QString chosen =
      chooseFile(FromUtf8(msg::OpenFileTitles[static_cast<int>(kind_)]), start, AsciiFileFilter(kind_));
  if (!chosen.isEmpty()) {
    fileName_ = chosen;
    ShowFileName(ui_->FileNameText, fileName_);
  }
  ApplyEnabling();
}

void TImportCoordForm::FormatChosen() {
  const bool custom = ChosenEntry() == FormatRecord::CustomFormat;
  ui_->LabelCustomNote->setVisible(custom);
  ApplyEnabling();
  if (custom) ui_->EditCustom->setFocus();
  adjustSize();
}

void TImportCoordForm::ApplyEnabling() {
  Ui::TImportCoordForm& u = *ui_;
  const bool exists = !fileName_.isEmpty() && QFileInfo(fileName_).isFile();
  const exchange::ImportDialogEnabling e =
      exchange::ImportEnabling(exists, ChosenEntry(), u.EditCustom->text().toStdString());
  u.PreviewButton->setEnabled(e.preview);
  u.ImportFormat->setEnabled(e.formatGroup);
  u.EditCustom->setEnabled(e.editCustom);
  u.ButtonOK->setEnabled(e.ok);
}

void TImportCoordForm::done(int result) {
  // The format is kept however the dialog closes.
  exchange::StoreImportDialogFormat(settings_, kind_, ChosenEntry(), ui_->EditCustom->text().toLatin1().toStdString());
  QDialog::done(result);
}

std::optional<exchange::ImportDialogResult> RunImportDialog(QWidget* parent, UserPort& port, SettingsRecord& settings,
                                                            const exchange::ImportDialogRequest& request,
                                                            std::function<void()> help) {
  TImportCoordForm form(port, settings, request, parent);
  form.SetHelp(std::move(help));
  if (form.exec() != QDialog::Accepted) return std::nullopt;
  return form.Result();
}

}  // namespace terravue::gui
