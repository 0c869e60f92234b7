#include "dialogs/query_point_form.h"

#include "app/qt_text.h"
#include "app/cursor.h"
#include "ui_query_point_form.h"

namespace terravue::gui {

TQueryPointForm::TQueryPointForm(const model::SurfaceModel& model, const SettingsRecord& settings, PointIndex point,
                                 QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TQueryPointForm>()), model_(model), settings_(settings), point_(point) {
  ui_->setupUi(this);
  ui_->CBMoveCursor->setChecked(false);
  connect(ui_->ButtonPrevious, &QPushButton::clicked, this, [this] { Show(static_cast<PointIndex>(point_ - 1)); });
  connect(ui_->ButtonNext, &QPushButton::clicked, this, [this] { Show(static_cast<PointIndex>(point_ + 1)); });
  connect(ui_->ButtonOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(ui_->ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
  Show(point);
}

TQueryPointForm::~TQueryPointForm() = default;

bool TQueryPointForm::MoveCursorToPoint() const { return ui_->CBMoveCursor->isChecked(); }

void TQueryPointForm::Show(PointIndex point) {
  const app::QueryPointText t = app::DescribeQueryPoint(model_, settings_, point);
  if (t.number.empty()) return;
  point_ = point;
  Ui::TQueryPointForm& u = *ui_;
  u.LabelNumber->setText(FromLatin1(t.number));
  u.LabelLabel->setText(FromLatin1(t.label));
  u.LblFirst->setText(FromLatin1(t.firstCaption));
  u.LabelFirst->setText(FromLatin1(t.first));
  u.LblSecond->setText(FromLatin1(t.secondCaption));
  u.LabelSecond->setText(FromLatin1(t.second));
  u.LabelElevation->setText(FromLatin1(t.elevation));
  u.ButtonPrevious->setEnabled(t.previousEnabled);
  u.ButtonNext->setEnabled(t.nextEnabled);
}

}  // namespace terravue::gui
