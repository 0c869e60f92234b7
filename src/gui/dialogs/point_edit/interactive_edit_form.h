#pragma once

#include <memory>

#include <QDialog>

#include "tin/verification.h"

namespace Ui {
class TInteractiveEditForm;
}

namespace terravue::gui {

// "Verify - Interactive Edit": one pair of close points in fixed-pitch lines, and the choice of
// the point to delete. The suggested button has the focus; Escape cancels the interactive edit
// for the rest of the run, closing the window deletes neither.
class TInteractiveEditForm : public QDialog, public tin::PairChooser {
  Q_OBJECT

 public:
  explicit TInteractiveEditForm(QWidget* parent = nullptr);
  ~TInteractiveEditForm() override;

  tin::PairChoice Choose(const tin::PairQuestion& question) override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Finish(tin::PairChoice choice);

  std::unique_ptr<Ui::TInteractiveEditForm> ui_;
  tin::PairChoice choice_ = tin::PairChoice::Neither;
};

}  // namespace terravue::gui
