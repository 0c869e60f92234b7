#pragma once

#include <memory>

#include <QDialog>

namespace Ui {
class TRemoveForm;
}

namespace terravue::gui {

// Which points Remove Points takes away: those inside the border, those outside it, or both.
struct RemoveChoice {
  bool interior = true;
  bool exterior = true;
};

// "Remove Points". Without a valid border ring it only explains that nothing can be removed,
// and OK closes it as Cancel does.
class TRemoveForm : public QDialog {
  Q_OBJECT

 public:
  TRemoveForm(bool borderValid, RemoveChoice choice, QWidget* parent = nullptr);
  ~TRemoveForm() override;

  // The boxes as the user left them, whether or not OK was pressed.
  RemoveChoice Choice() const;

 private:
  std::unique_ptr<Ui::TRemoveForm> ui_;
};

}  // namespace terravue::gui
