#pragma once

#include <memory>

#include <QDialog>

#include "analysis/surface_info.h"

namespace Ui {
class TSlopeZoneForm;
}

namespace terravue::gui {

// The slope zone dialog: "Surface Analyzer Text Output" (the report to write, and the zones of
// the slope analysis), or in density mode "Density Diagram (Slope)" with the zones alone. It
// hands back the form's values; the engine checks and stores them.
class TSlopeZoneForm : public QDialog {
  Q_OBJECT

 public:
  explicit TSlopeZoneForm(const analysis::SlopeZoneForm& form, QWidget* parent = nullptr);
  ~TSlopeZoneForm() override;

  analysis::SlopeZoneForm Form() const;

  // The dialog as the engine's commands ask for it.
  static analysis::SlopeZoneDialog Dialog(QWidget* parent);

 private:
  void ApplyEnabling();

  std::unique_ptr<Ui::TSlopeZoneForm> ui_;
  analysis::SlopeZoneForm form_;
};

}  // namespace terravue::gui
