#pragma once

#include <functional>
#include <memory>
#include <optional>

#include <QDialog>

#include "app/point_commands.h"

namespace Ui {
class TPointForm;
}

namespace terravue {
struct Session;
}

namespace terravue::gui {

// The point dialog of Add, Delete, Edit and Undelete Point: number, label, the two coordinates
// in the user's coordinate order and the elevation. OK reads the fields as numbers; a field
// that is not one is named in an error and the dialog stays open with it selected. Delete and
// Undelete show the point greyed, for confirmation only.
class TPointForm : public QDialog, public app::PointDialog {
  Q_OBJECT

 public:
  // `help` opens the help at a context number; without it there is no Help button.
  TPointForm(Session& session, std::function<void(int)> help, QWidget* parent = nullptr);
  ~TPointForm() override;

  std::optional<tin::PointValues> Show(const app::PointDialogRequest& request) override;

 private:
  void ButtonOKClick();

  std::unique_ptr<Ui::TPointForm> ui_;
  Session& session_;
  std::function<void(int)> help_;
  app::PointDialogRequest request_;
  tin::PointValues values_;
};

}  // namespace terravue::gui
