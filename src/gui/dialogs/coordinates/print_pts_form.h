#pragma once

#include <memory>
#include <optional>
#include <utility>

#include <QDialog>

#include "exchange/listings.h"

namespace Ui {
class TPrintPtsForm;
}

namespace terravue {
class UserPort;
}

namespace terravue::gui {

// The range dialog: a first and a last number for a listing or a series. Continue checks the
// numbers (the dialog stays open on a problem); the range is handed back.
class TPrintPtsForm : public QDialog {
  Q_OBJECT

 public:
  TPrintPtsForm(exchange::RangeUse use, const exchange::RangeForm& form, UserPort& port, QWidget* parent = nullptr);
  ~TPrintPtsForm() override;

  std::pair<int, int> Range() const { return range_; }

 private:
  void ButtonContinueClick();

  std::unique_ptr<Ui::TPrintPtsForm> ui_;
  exchange::RangeUse use_;
  exchange::RangeForm form_;
  UserPort& port_;
  std::pair<int, int> range_{0, 0};
};

// Shows the dialog; the range on Continue, nothing on Cancel.
std::optional<std::pair<int, int>> AskRange(QWidget* parent, UserPort& port, exchange::RangeUse use,
                                            const model::SurfaceModel& m);

}  // namespace terravue::gui
