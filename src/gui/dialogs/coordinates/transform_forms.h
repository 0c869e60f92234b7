#pragma once

#include <functional>
#include <memory>
#include <optional>

#include <QDialog>

#include "exchange/transforms.h"

namespace Ui {
class TFactorForm;
class TRotateForm;
}  // namespace Ui

namespace terravue {
class UserPort;
}

namespace terravue::gui {

// Factor Points and Translate Points: three numbers in the coordinate order. The fields take
// any number of decimals, so that 0.3048 is typed exactly. OK hands back the transform; the
// caller applies it.
class TFactorForm : public QDialog {
  Q_OBJECT

 public:
  TFactorForm(exchange::TransformKind kind, bool eastingFirst, UserPort& port, std::function<void()> help,
              QWidget* parent = nullptr);
  ~TFactorForm() override;
  exchange::Transform Values() const { return values_; }

 private:
  void ButtonOKClick();

  std::unique_ptr<Ui::TFactorForm> ui_;
  exchange::TransformKind kind_;
  bool eastingFirst_;
  UserPort& port_;
  exchange::Transform values_;
};

// Rotate Points: the centre (preset to the mean of the points) and the angle, -360 to 360.
class TRotateForm : public QDialog {
  Q_OBJECT

 public:
  TRotateForm(double centreX, double centreY, bool eastingFirst, UserPort& port, std::function<void()> help,
              QWidget* parent = nullptr);
  ~TRotateForm() override;
  exchange::Transform Values() const { return values_; }

 private:
  void ButtonOKClick();

  std::unique_ptr<Ui::TRotateForm> ui_;
  bool eastingFirst_;
  UserPort& port_;
  exchange::Transform values_;
};

}  // namespace terravue::gui
