#pragma once

#include <memory>

#include <QDialog>

#include "app/view3d_options.h"
#include "device/drawing_device.h"

namespace Ui {
class TSet3DOptionsForm;
}

namespace terravue {
class SettingsRecord;
class UserPort;
}  // namespace terravue

namespace terravue::gui {

// "Set 3D Options": the view switch and shading, the view point and target (in the coordinate
// order of the preferences), the elevation and eye factors, and the animation's movement type,
// step, "Automatic" and delay. The target buttons fill the fields with the extents' midpoint or
// the cursor; nothing is stored until the caller takes Fields() after OK.
class TSet3DOptionsForm : public QDialog {
  Q_OBJECT

 public:
  TSet3DOptionsForm(UserPort& port, const SettingsRecord& settings, const device::WorldPoint& midpoint,
                    const device::WorldPoint& cursor, QWidget* parent = nullptr);
  ~TSet3DOptionsForm() override;

  app::View3DOptionsFields Fields() const;

 private:
  void ShowMovement();
  void StepLeft();
  void EnableControls();

  std::unique_ptr<Ui::TSet3DOptionsForm> ui_;
  UserPort& port_;
  const SettingsRecord& settings_;
  // The working copy behind the movement type and step controls.
  app::View3DOptionsFields fields_;
};

}  // namespace terravue::gui
