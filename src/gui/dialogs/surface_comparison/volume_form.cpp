#include "dialogs/surface_comparison/volume_form.h"

#include <array>

#include <QCoreApplication>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

#include "app/qt_text.h"
#include "common/format.h"
#include "common/messages.h"
#include "common/user_port.h"
#include "ui_volume_form.h"

namespace terravue::gui {
namespace {

using analysis::CutFillListing;
using analysis::VolumeReportOptions;

// The comments are written to the report one byte per character.
class Latin1Validator : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int&) const override { return IsLatin1(input) ? Acceptable : Invalid; }
};

}  // namespace

TVolumeForm::TVolumeForm(UserPort& port, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TVolumeForm>()), port_(port) {
  ui_->setupUi(this);
  // Up to six digits and three decimals, as the factor fields have always taken them.
  const QRegularExpression factor(QStringLiteral("\\d{0,6}(\\.\\d{0,3})?"));
  for (QLineEdit* field : {ui_->EditCutFactor, ui_->EditFillFactor})
    field->setValidator(new QRegularExpressionValidator(factor, field));
  for (QLineEdit* comment :
       {ui_->EditComment1, ui_->EditComment2, ui_->EditComment3, ui_->EditComment4, ui_->EditComment5})
    comment->setValidator(new Latin1Validator(comment));
  connect(ui_->CBIncludeCFData, &QComboBox::currentIndexChanged, this, &TVolumeForm::CBIncludeCFDataChange);
  connect(ui_->ButtonContinue, &QPushButton::clicked, this, &TVolumeForm::ButtonContinueClick);
}

TVolumeForm::~TVolumeForm() = default;

void TVolumeForm::BeginComparison(const QString& existing, const QString& proposed) {
  ui_->DisplayExisting->setText(existing);
  ui_->DisplayProposed->setText(proposed);
  for (QLabel* count : {ui_->Phase1Count, ui_->Phase2Count, ui_->Phase3Count}) count->setText(QStringLiteral("0%"));
  SetInputsEnabled(false);
  setModal(false);
  show();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TVolumeForm::SetPhase(int phase, int percent) {
  const std::array<QLabel*, 3> counts = {ui_->Phase1Count, ui_->Phase2Count, ui_->Phase3Count};
  if (phase < 1 || phase > 3) return;
  QLabel* count = counts[static_cast<std::size_t>(phase - 1)];
  count->setText(QString::number(percent) + QLatin1Char('%'));
  count->repaint();
  // The computation holds the only thread; let the window paint, but take no input.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TVolumeForm::EndComparison() {
  hide();
  SetInputsEnabled(true);
}

std::optional<VolumeReportOptions> TVolumeForm::AskReportOptions(const VolumeReportOptions& current) {
  FormActivate(current);
  if (exec() != QDialog::Accepted) return std::nullopt;
  return values_;
}

void TVolumeForm::FormActivate(const VolumeReportOptions& current) {
  values_ = current;
  ui_->EditCutFactor->setText(FromUtf8(FormatReal(current.cutFactor, 0, 3)));
  ui_->EditFillFactor->setText(FromUtf8(FormatReal(current.fillFactor, 0, 3)));
  const int listing = static_cast<int>(current.listing);
  ui_->CBIncludeCFData->setCurrentIndex(listing >= 0 && listing < ui_->CBIncludeCFData->count() ? listing : 0);
  ui_->CBIncludeZeroCF->setChecked(current.includeZeroCutFill);
  CBIncludeCFDataChange(ui_->CBIncludeCFData->currentIndex());
  for (QLineEdit* comment :
       {ui_->EditComment1, ui_->EditComment2, ui_->EditComment3, ui_->EditComment4, ui_->EditComment5})
    comment->clear();
  ui_->EditCutFactor->setFocus();
  ui_->EditCutFactor->selectAll();
}

void TVolumeForm::CBIncludeCFDataChange(int index) {
  // Zero values matter only when something is listed.
  const bool listing = index != static_cast<int>(CutFillListing::None);
  ui_->CBIncludeZeroCF->setEnabled(listing);
  ui_->LabelIncludeZeroCF->setEnabled(listing);
}

std::optional<double> TVolumeForm::ReadFactor(QLineEdit* field, std::string_view errorText) {
  const auto value = ParseReal(field->text().toStdString());
  if (value && *value >= VolumeReportOptions::MinimumFactor) return value;
  ReportBelowMinimum(port_, errorText, FormatReal(VolumeReportOptions::MinimumFactor, 0, 3));
  field->setFocus();
  field->selectAll();
  return std::nullopt;
}

void TVolumeForm::ButtonContinueClick() {
  const auto cut = ReadFactor(ui_->EditCutFactor, msg::CutFactorFieldError);
  if (!cut) return;
  const auto fill = ReadFactor(ui_->EditFillFactor, msg::FillFactorFieldError);
  if (!fill) return;
  values_.cutFactor = *cut;
  values_.fillFactor = *fill;
  values_.listing = static_cast<CutFillListing>(ui_->CBIncludeCFData->currentIndex());
  values_.includeZeroCutFill = ui_->CBIncludeZeroCF->isChecked();
  const std::array<QLineEdit*, VolumeReportOptions::CommentLines> comments = {
      ui_->EditComment1, ui_->EditComment2, ui_->EditComment3, ui_->EditComment4, ui_->EditComment5};
  for (std::size_t k = 0; k < comments.size(); ++k)
    values_.comments[k] = ToLatin1(comments[k]->text().left(static_cast<int>(VolumeReportOptions::CommentLength)));
  accept();
}

void TVolumeForm::SetInputsEnabled(bool enabled) {
  for (QWidget* input : std::initializer_list<QWidget*>{
           ui_->LabelCutFactor, ui_->EditCutFactor, ui_->LabelFillFactor, ui_->EditFillFactor,
           ui_->LabelIncludeCFData, ui_->CBIncludeCFData, ui_->GroupComments, ui_->ButtonContinue,
           ui_->ButtonCancel})
    input->setEnabled(enabled);
  if (enabled)
    CBIncludeCFDataChange(ui_->CBIncludeCFData->currentIndex());
  else
    for (QWidget* input : std::initializer_list<QWidget*>{ui_->LabelIncludeZeroCF, ui_->CBIncludeZeroCF})
      input->setEnabled(false);
}

}  // namespace terravue::gui
