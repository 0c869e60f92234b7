#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QDialog>

#include "analysis/measure.h"

namespace Ui {
class TLengthForm;
}

namespace terravue::gui {

// "Length Information": distances, elevations and the slope, angle or area of the picked path.
// "Finish" (also Escape) ends the Length command; "Continue" returns to picking.
class TLengthForm : public QDialog {
  Q_OBJECT

 public:
  TLengthForm(const analysis::LengthInfo& info, const std::vector<std::string>& picks,
              std::function<void()> help, QWidget* parent = nullptr);
  ~TLengthForm() override;

  // True for Finish, false for Continue.
  bool Finished() const { return finished_; }

 private:
  std::unique_ptr<Ui::TLengthForm> ui_;
  bool finished_ = true;
};

}  // namespace terravue::gui
