#include "dialogs/calibrate_printer_dlg.h"

#include "app/qt_text.h"
#include "common/messages.h"
#include "dialogs/map_options/option_controls.h"
#include "ui_calibrate_printer_dlg.h"

namespace terravue::gui {

TCalibratePrinterDlg::TCalibratePrinterDlg(const device::CalibrationFields& fields, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TCalibratePrinterDlg>()) {
  ui_->setupUi(this);
  setWindowTitle(FromUtf8(msg::CalibrationCaption));
  BindNumberField(ui_->EditHorizontal, mapping::NumberKind::Real, fields.horizontal);
  BindNumberField(ui_->EditVertical, mapping::NumberKind::Real, fields.vertical);
  connect(ui_->ButtonOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(ui_->ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TCalibratePrinterDlg::~TCalibratePrinterDlg() = default;

device::CalibrationFields TCalibratePrinterDlg::Fields() const {
  return {ToLatin1(ui_->EditHorizontal->text()), ToLatin1(ui_->EditVertical->text())};
}

void CalibratePrinter(QWidget* parent, UserPort& port, SettingsRecord& settings) {
  TCalibratePrinterDlg dialog(device::CalibrationFieldTexts(settings), parent);
  if (dialog.exec() == QDialog::Accepted) device::StoreCalibration(port, settings, dialog.Fields());
}

}  // namespace terravue::gui
