#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace terravue::gui {

// The "Progress" window: a bold note line, a 0..100 gauge and a "Continue" button. Long runs
// show it without the button and without blocking; a run may end by showing it modally with a
// completion note, closed with "Continue".
class ProgressWindow : public QDialog {
  Q_OBJECT

 public:
  explicit ProgressWindow(QWidget* parent = nullptr);

  void Begin(const QString& note, bool showGauge);
  void SetPercent(int percent);
  void End();
  // Modal; returns when the user presses "Continue" (or closes the window).
  void ShowCompletion(const QString& note);

  QString Note() const;
  int Percent() const;
  bool GaugeVisible() const;

 private:
  // The run owns the only thread: paint now, but leave the user's input queued until it ends.
  void Paint();

  QLabel* note_;
  QProgressBar* gauge_;
  QPushButton* continue_;
};

}  // namespace terravue::gui
