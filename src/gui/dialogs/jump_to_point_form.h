#pragma once

#include <memory>

#include <QDialog>

#include "app/cursor.h"

namespace Ui {
class TJumpToPointForm;
}

namespace terravue::gui {

// "Jump To Point": where the second Jump goes from the point the cursor stands on.
class TJumpToPointForm : public QDialog {
  Q_OBJECT

 public:
  TJumpToPointForm(PointIndex pointCount, PointIndex current, QWidget* parent = nullptr);
  ~TJumpToPointForm() override;

  app::JumpRequest Request() const;

 private:
  std::unique_ptr<Ui::TJumpToPointForm> ui_;
};

}  // namespace terravue::gui
