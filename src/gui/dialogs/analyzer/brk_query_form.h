#pragma once

#include <memory>

#include <QDialog>

#include "model/indices.h"

namespace Ui {
class TBrkQueryForm;
}

namespace terravue {
class SettingsRecord;
namespace model {
class SurfaceModel;
}
}  // namespace terravue

namespace terravue::gui {

// "Breakline Information": the two points of a breakline, its lengths, grade and direction,
// with Previous and Next to step through all breaklines.
class TBrkQueryForm : public QDialog {
  Q_OBJECT

 public:
  TBrkQueryForm(const model::SurfaceModel& model, const SettingsRecord& settings, BreaklineIndex breakline,
                QWidget* parent = nullptr);
  ~TBrkQueryForm() override;

  BreaklineIndex Breakline() const { return breakline_; }

 private:
  void Show(BreaklineIndex breakline);

  std::unique_ptr<Ui::TBrkQueryForm> ui_;
  const model::SurfaceModel& model_;
  const SettingsRecord& settings_;
  BreaklineIndex breakline_;
};

}  // namespace terravue::gui
