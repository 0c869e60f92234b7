#include "print/print_setup_form.h"

#include "app/qt_text.h"
#include "common/messages.h"
#include "device/page_setup.h"
#include "ui_print_setup_form.h"

namespace terravue::gui {

TPrintSetupForm::TPrintSetupForm(const QStringList& printers, const PrintSetupChoice& current, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TPrintSetupForm>()) {
  ui_->setupUi(this);
  setWindowTitle(FromUtf8(msg::PrintSetupCaption));
  for (const QString& name : printers) ui_->CBPrinter->addItem(name, name);
  ui_->CBPrinter->addItem(FromUtf8(msg::PdfPrinterName), QString());
  for (const device::Paper& paper : device::Papers()) ui_->CBPaperSize->addItem(FromUtf8(paper.name));
  ui_->LabelNote->setText(FromUtf8(msg::PrintSetupNote));
  Show(current);
  connect(ui_->CBPrinter, &QComboBox::currentIndexChanged, this, &TPrintSetupForm::PrinterChosen);
  connect(ui_->ButtonProperties, &QPushButton::clicked, this, [this] {
    PrintSetupChoice choice = Choice();
    if (properties) properties(choice);
    Show(choice);
  });
  connect(ui_->ButtonOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(ui_->ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
  ui_->ButtonHelp->hide();
}

TPrintSetupForm::~TPrintSetupForm() = default;

void TPrintSetupForm::SetHelp(std::function<void()> help) {
  ui_->ButtonHelp->setVisible(static_cast<bool>(help));
  ui_->ButtonHelp->disconnect(this);
  if (help) connect(ui_->ButtonHelp, &QPushButton::clicked, this, std::move(help));
}

void TPrintSetupForm::Show(const PrintSetupChoice& choice) {
  const int printer = ui_->CBPrinter->findData(choice.printer);
  ui_->CBPrinter->setCurrentIndex(printer >= 0 ? printer : ui_->CBPrinter->count() - 1);
  ui_->CBPaperSize->setCurrentIndex(choice.paper);
  (choice.landscape ? ui_->RBLandscape : ui_->RBPortrait)->setChecked(true);
  PrinterChosen();
}

void TPrintSetupForm::PrinterChosen() {
  // A PDF file has no system dialog of its own: its paper is chosen here.
  ui_->ButtonProperties->setEnabled(!ui_->CBPrinter->currentData().toString().isEmpty());
}

PrintSetupChoice TPrintSetupForm::Choice() const {
  return {ui_->CBPrinter->currentData().toString(), ui_->CBPaperSize->currentIndex(), ui_->RBLandscape->isChecked()};
}

}  // namespace terravue::gui
