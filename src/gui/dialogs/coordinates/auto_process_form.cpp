#include "dialogs/coordinates/auto_process_form.h"

#include <algorithm>

#include <QSignalBlocker>

#include "app/qt_text.h"
#include "common/session.h"
#include "exchange/import_export_settings.h"
#include "ui_auto_process_form.h"

namespace terravue::gui {

using exchange::AsciiKind;

namespace {
// The file names are shortened to about the width of their labels.
constexpr std::size_t NameWidth = 48;
}  // namespace

TAutoProcessForm::TAutoProcessForm(Session& session, bool append, exchange::ImportDialogFn importDialog,
                                   std::function<void()> help, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TAutoProcessForm>()), session_(session),
      importDialog_(std::move(importDialog)) {
  Ui::TAutoProcessForm& u = *ui_;
  u.setupUi(this);
  // The three groups' values start in one column.
  QLabel* const captions[] = {u.LabelCoordFileCaption,     u.LabelCoordFormatCaption,  u.LabelDuplicatesCaption,
                              u.LabelBorderFileCaption,    u.LabelBorderFormatCaption, u.LabelBreaklineFileCaption,
                              u.LabelBreaklineFormatCaption};
  int widest = 0;
  for (QLabel* caption : captions) widest = std::max(widest, caption->sizeHint().width());
  for (QLabel* caption : captions) caption->setMinimumWidth(widest);
  run_.append = append;
  u.ButtonHelp->setVisible(static_cast<bool>(help));
  if (help) connect(u.ButtonHelp, &QPushButton::clicked, this, help);
  {
    const QSignalBlocker border(u.CBLoadBorder), breaklines(u.CBLoadBreaklines);
    u.CBLoadBorder->setChecked(session.settings.Get(exchange::AutoLoadBorder));
    u.CBLoadBreaklines->setChecked(session.settings.Get(exchange::AutoLoadBreaklines));
  }
  // The stored choices count as clicks: appending asks about the border and breaklines held.
  CBLoadBorderClick(u.CBLoadBorder->isChecked());
  CBLoadBreaklinesClick(u.CBLoadBreaklines->isChecked());
  connect(u.CBLoadBorder, &QCheckBox::toggled, this, &TAutoProcessForm::CBLoadBorderClick);
  connect(u.CBLoadBreaklines, &QCheckBox::toggled, this, &TAutoProcessForm::CBLoadBreaklinesClick);
  connect(u.ButtonCoordSettings, &QPushButton::clicked, this, [this] { ChangeSettings(AsciiKind::Coordinates); });
  connect(u.ButtonBorderSettings, &QPushButton::clicked, this, [this] { ChangeSettings(AsciiKind::Border); });
  connect(u.ButtonBreaklineSettings, &QPushButton::clicked, this, [this] { ChangeSettings(AsciiKind::Breaklines); });
  connect(u.ButtonContinue, &QPushButton::clicked, this, [this] {
    run_.loadBorder = ui_->CBLoadBorder->isChecked();
    run_.loadBreaklines = ui_->CBLoadBreaklines->isChecked();
    accept();
  });
  connect(u.ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
  FillGroups();
}

TAutoProcessForm::~TAutoProcessForm() = default;

void TAutoProcessForm::FillGroups() {
  Ui::TAutoProcessForm& u = *ui_;
  const SettingsRecord& s = session_.settings;
  const exchange::AutoProcessGroup coord = exchange::DescribeGroup(s, AsciiKind::Coordinates, NameWidth);
  u.LabelCoordFile->setText(FromLatin1(coord.fileName));
  u.LabelCoordFormat->setText(FromLatin1(coord.format));
  u.LabelDuplicates->setText(FromLatin1(coord.removeDuplicates));
  const exchange::AutoProcessGroup border = exchange::DescribeGroup(s, AsciiKind::Border, NameWidth);
  u.LabelBorderFile->setText(FromLatin1(border.fileName));
  u.LabelBorderFormat->setText(FromLatin1(border.format));
  const exchange::AutoProcessGroup lines = exchange::DescribeGroup(s, AsciiKind::Breaklines, NameWidth);
  u.LabelBreaklineFile->setText(FromLatin1(lines.fileName));
  u.LabelBreaklineFormat->setText(FromLatin1(lines.format));
  u.ButtonContinue->setEnabled(exchange::CanContinue(s));
}

void TAutoProcessForm::CBLoadBorderClick(bool checked) {
  Ui::TAutoProcessForm& u = *ui_;
  if (checked && !exchange::ConfirmLoadBorder(session_, run_.append)) {
    const QSignalBlocker quiet(u.CBLoadBorder);
    u.CBLoadBorder->setChecked(false);
    checked = false;
  }
  for (QWidget* w : {static_cast<QWidget*>(u.ButtonBorderSettings), static_cast<QWidget*>(u.LabelBorderFile),
                     static_cast<QWidget*>(u.LabelBorderFormat)})
    w->setEnabled(checked);
}

void TAutoProcessForm::CBLoadBreaklinesClick(bool checked) {
  Ui::TAutoProcessForm& u = *ui_;
  if (checked && !exchange::ConfirmLoadBreaklines(session_, run_.append, run_.eraseBreaklines)) {
    const QSignalBlocker quiet(u.CBLoadBreaklines);
    u.CBLoadBreaklines->setChecked(false);
    checked = false;
  }
  for (QWidget* w : {static_cast<QWidget*>(u.ButtonBreaklineSettings), static_cast<QWidget*>(u.LabelBreaklineFile),
                     static_cast<QWidget*>(u.LabelBreaklineFormat)})
    w->setEnabled(checked);
}

void TAutoProcessForm::ChangeSettings(AsciiKind kind) {
  SettingsRecord& s = session_.settings;
  const exchange::FormatRecord& record = exchange::ImportRecord(kind);
  exchange::ImportDialogRequest request;
  request.kind = kind;
  request.fileName = exchange::DefaultImportFileName(s, kind);
  request.chooseFileAtOnce = request.fileName.empty();
  request.showAutoRemove = record.hasRemoveDuplicates;
  request.autoRemove = record.hasRemoveDuplicates && s.Get(record.RemoveDuplicates());
  request.showMatchNumbersToLabels = record.hasMatchNumbersToLabels;
  request.matchNumbersToLabels = record.hasMatchNumbersToLabels && s.Get(record.MatchNumbersToLabels());
  if (const auto chosen = importDialog_(request)) {
    s.Set(record.FileName(), chosen->fileName);
    if (record.hasRemoveDuplicates) s.Set(record.RemoveDuplicates(), chosen->autoRemove);
    if (record.hasMatchNumbersToLabels) s.Set(record.MatchNumbersToLabels(), chosen->matchNumbersToLabels);
  }
  FillGroups();
}

}  // namespace terravue::gui
