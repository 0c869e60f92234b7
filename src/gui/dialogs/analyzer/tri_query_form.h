#pragma once

#include <functional>
#include <memory>

#include <QDialog>

#include "analysis/measure.h"

namespace Ui {
class TTriQueryForm;
}

namespace terravue::gui {

// "Query Triangle Information": the slope and areas of the last picked triangle and of all of
// them. "Finish" (also Escape) ends the command; "Continue" returns to picking.
class TTriQueryForm : public QDialog {
  Q_OBJECT

 public:
  TTriQueryForm(const analysis::TriangleQueryInfo& info, std::function<void()> help, QWidget* parent = nullptr);
  ~TTriQueryForm() override;

  bool Finished() const { return finished_; }

 private:
  std::unique_ptr<Ui::TTriQueryForm> ui_;
  bool finished_ = true;
};

}  // namespace terravue::gui
