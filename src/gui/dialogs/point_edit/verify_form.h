#pragma once

#include <functional>
#include <memory>

#include <QDialog>

namespace Ui {
class TVerifyForm;
}

namespace terravue {
struct Session;
}

namespace terravue::gui {

class TInteractiveEditForm;

// "Verify": the differences within which two points count as one place, all points or the
// points near one location, and whether each pair is put to the user. "Begin Verification"
// runs the check and shows its listing; the dialog stays open for another run until "Close".
class TVerifyForm : public QDialog {
  Q_OBJECT

 public:
  static constexpr int HelpContext = 565;

  // `help` opens the help at a context number; without it there is no Help button.
  TVerifyForm(Session& session, std::function<void(int)> help, QWidget* parent = nullptr);
  ~TVerifyForm() override;

  // Shows the dialog modally, the location fields at (searchX, searchY).
  void Run(double searchX, double searchY);
  // A run deleted points (the map is to be drawn again).
  bool PointsChanged() const { return pointsChanged_; }
  // The pair dialog the interactive runs ask.
  TInteractiveEditForm& PairDialog() { return *pairs_; }

 private:
  void FormActivate(double searchX, double searchY);
  void RGOptionsClick();
  void ButtonBeginClick();
  void ShowProgress(int percent);

  std::unique_ptr<Ui::TVerifyForm> ui_;
  Session& session_;
  TInteractiveEditForm* pairs_;
  bool pointsChanged_ = false;
};

}  // namespace terravue::gui
