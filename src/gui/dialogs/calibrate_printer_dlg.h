#pragma once

#include <memory>

#include <QDialog>

#include "device/page_setup.h"

namespace Ui {
class TCalibratePrinterDlg;
}

namespace terravue {
class SettingsRecord;
class UserPort;
}  // namespace terravue

namespace terravue::gui {

// "Printer Calibration": the horizontal and vertical scale factors that correct the printer.
class TCalibratePrinterDlg : public QDialog {
  Q_OBJECT

 public:
  TCalibratePrinterDlg(const device::CalibrationFields& fields, QWidget* parent = nullptr);
  ~TCalibratePrinterDlg() override;

  device::CalibrationFields Fields() const;

 private:
  std::unique_ptr<Ui::TCalibratePrinterDlg> ui_;
};

// The dialog, and the factors stored on OK.
void CalibratePrinter(QWidget* parent, UserPort& port, SettingsRecord& settings);

}  // namespace terravue::gui
