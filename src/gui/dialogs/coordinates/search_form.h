#pragma once

#include <functional>
#include <memory>
#include <optional>

#include <QDialog>

#include "exchange/point_search.h"

namespace Ui {
class TSearchForm;
}

namespace terravue {
class UserPort;
namespace model {
class SurfaceModel;
}
}  // namespace terravue

namespace terravue::gui {

// "Search Points": the point that best matches a label and/or coordinates, "New Search" from
// the first point and "Continue Search" on from the last one found. One dialog serves a run of
// the program: its criteria, fields and result stay from one opening to the next.
class TSearchForm : public QDialog {
  Q_OBJECT

 public:
  static constexpr int HelpContext = 550;

  // `help` opens the help at a context number; without it there is no Help button.
  TSearchForm(const model::SurfaceModel& model, UserPort& port, std::function<void(int)> help,
              QWidget* parent = nullptr);
  ~TSearchForm() override;

  // Shows the dialog modally with the captions in the coordinate order; "Set to cursor position"
  // copies (x, y, z). The point found when "Update cursor position" was checked on Quit.
  std::optional<PointIndex> Run(bool eastingFirst, double x, double y, double z);

  const exchange::PointSearch& Search() const { return search_; }

 private:
  void FormActivate(bool eastingFirst);
  void ButtonNewClick();
  void ButtonContinueClick();
  void SetToCursorClick();
  void LabelExit();
  void CoordinateExit(int which);
  void CriteriaChanged();
  void ClearResults();
  void ShowResult();
  void UpdateButtons();

  std::unique_ptr<Ui::TSearchForm> ui_;
  const model::SurfaceModel& model_;
  UserPort& port_;
  exchange::PointSearch search_;
  bool eastingFirst_ = false;
  // The criteria were changed since the last search: Continue Search would not continue it.
  bool changed_ = false;
  double rememberedX_ = 0, rememberedY_ = 0, rememberedZ_ = 0;
};

}  // namespace terravue::gui
