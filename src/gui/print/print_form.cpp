#include "print/print_form.h"

#include <QEvent>

#include "app/qt_text.h"
#include "common/format.h"
#include "common/messages.h"
#include "common/session.h"
#include "device/page_setup.h"
#include "print/sheet_printer.h"
#include "ui_print_form.h"

namespace terravue::gui {

TPrintForm::TPrintForm(Session& session, SheetPrinter& printer, std::function<void()> printerSetup,
                       std::function<void()> setScale, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TPrintForm>()), session_(session), printer_(printer),
      rememberedCopies_(QStringLiteral("1")) {
  ui_->setupUi(this);
  setWindowTitle(FromUtf8(msg::PrintCaption));
  ui_->EditCopies->setText(rememberedCopies_);
  // Leaving the field checks the number; out of range it shows the message and goes back.
  connect(ui_->EditCopies, &QLineEdit::editingFinished, this, [this] { CheckCopies(); });
  connect(ui_->ButtonPrinterSetup, &QPushButton::clicked, this, [this, printerSetup] {
    if (printerSetup) printerSetup();
    Refresh();
  });
  connect(ui_->ButtonSetScale, &QPushButton::clicked, this, [this, setScale] {
    if (setScale) setScale();
    Refresh();
  });
  connect(ui_->ButtonPrint, &QPushButton::clicked, this, &TPrintForm::PrintClicked);
  connect(ui_->ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
  Refresh();
}

TPrintForm::~TPrintForm() = default;

void TPrintForm::Refresh() {
  const device::PrintFormText t =
      device::DescribePrintForm(session_.settings, session_.model, printer_.Name().toStdString());
  ui_->LabelPrinter->setText(FromUtf8(t.printer));
  ui_->LabelPaper->setText(FromLatin1(t.paper));
  ui_->LabelOrientation->setText(FromUtf8(t.orientation));
  ui_->LabelScale->setText(FromUtf8(t.scale));
  ui_->LabelStatus->setText(FromUtf8(t.status));
  ui_->ButtonPrint->setEnabled(t.printEnabled);
  ui_->ButtonSetScale->setEnabled(t.setScaleEnabled);
}

int TPrintForm::Copies() const {
  const auto copies = ParseInteger(ToLatin1(ui_->EditCopies->text()));
  return copies ? static_cast<int>(*copies) : 1;
}

bool TPrintForm::CheckCopies() {
  const std::string cleaned = CleanCheckedNumberText(session_.port, ToLatin1(ui_->EditCopies->text()), false,
                                                     false, device::MaxCopies, device::MinCopies);
  if (!cleaned.empty()) rememberedCopies_ = FromLatin1(cleaned);
  ui_->EditCopies->setText(rememberedCopies_);
  return !cleaned.empty();
}

void TPrintForm::PrintClicked() {
  if (CheckCopies()) accept();
}

}  // namespace terravue::gui
