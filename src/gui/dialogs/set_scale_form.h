#pragma once

#include <memory>

#include <QDialog>

#include "device/page_setup.h"

namespace Ui {
class TSetScaleForm;
}

namespace terravue {
struct Session;
}

namespace terravue::gui {

// "Set Scale": rotation, scale and view centre of the sheet, black-and-white printing and the
// heights reset from the scale presets. A new angle refits the model at once; Cancel puts the
// view back as it was.
class TSetScaleForm : public QDialog {
  Q_OBJECT

 public:
  explicit TSetScaleForm(Session& session, QWidget* parent = nullptr);
  ~TSetScaleForm() override;

  void accept() override;
  void reject() override;

 private:
  void Refill();
  void AngleLeft();

  std::unique_ptr<Ui::TSetScaleForm> ui_;
  Session& session_;
  device::PageView opened_;
  bool closing_ = false;
};

}  // namespace terravue::gui
