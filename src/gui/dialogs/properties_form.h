#pragma once

#include <QDialog>

#include "model/model_document.h"

namespace terravue::gui {

// "Properties": the current model's file, comment, counts, status and extents, and whether it
// has been saved.
class TPropertiesForm : public QDialog {
  Q_OBJECT

 public:
  TPropertiesForm(const model::SurfaceProperties& properties, QWidget* parent = nullptr);
};

}  // namespace terravue::gui
