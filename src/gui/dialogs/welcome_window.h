#pragma once

#include <functional>
#include <memory>

#include <QDialog>

namespace Ui {
class WelcomeWindow;
}

namespace terravue {
class UserPort;
}

namespace terravue::gui {

// The welcome window shown at start while no data is loaded. Accepted only through its start
// button; the caller stores the check box (inverted) into ShowSplash then.
class WelcomeWindow : public QDialog {
  Q_OBJECT

 public:
  explicit WelcomeWindow(UserPort& port, QWidget* parent = nullptr);
  ~WelcomeWindow() override;

  bool DoNotShowAgain() const;
  // "What to do next...": opens the first job's walkthrough.
  std::function<void()> whatNext;

 private:
  std::unique_ptr<Ui::WelcomeWindow> ui_;
  UserPort& port_;
};

}  // namespace terravue::gui
