#pragma once

#include <memory>

#include <QDialog>

#include "model/indices.h"

namespace Ui {
class TQueryPointForm;
}

namespace terravue {
class SettingsRecord;
namespace model {
class SurfaceModel;
}
}  // namespace terravue

namespace terravue::gui {

// "Query Point": number, label, coordinates and elevation of one point, with Previous and Next
// to step through the points, and the choice to move the cursor there on OK.
class TQueryPointForm : public QDialog {
  Q_OBJECT

 public:
  TQueryPointForm(const model::SurfaceModel& model, const SettingsRecord& settings, PointIndex point,
                  QWidget* parent = nullptr);
  ~TQueryPointForm() override;

  PointIndex Point() const { return point_; }
  bool MoveCursorToPoint() const;

 private:
  void Show(PointIndex point);

  std::unique_ptr<Ui::TQueryPointForm> ui_;
  const model::SurfaceModel& model_;
  const SettingsRecord& settings_;
  PointIndex point_;
};

}  // namespace terravue::gui
