#pragma once

#include <memory>

#include <QDialog>

#include "app/cursor.h"

namespace Ui {
class TZoomOptionsForm;
}

namespace terravue::gui {

// "Zoom Options": screen scrolling, the zoom method with its factor or constant, and the quick
// zoom level (at most the highest level).
class TZoomOptionsForm : public QDialog {
  Q_OBJECT

 public:
  TZoomOptionsForm(const app::ZoomOptionsFields& fields, int highestZoom, QWidget* parent = nullptr);
  ~TZoomOptionsForm() override;

  app::ZoomOptionsFields Fields() const;

 private:
  std::unique_ptr<Ui::TZoomOptionsForm> ui_;
};

}  // namespace terravue::gui
