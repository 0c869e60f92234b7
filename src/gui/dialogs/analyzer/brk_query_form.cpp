#include "dialogs/analyzer/brk_query_form.h"

#include "analysis/measure.h"
#include "app/qt_text.h"
#include "ui_brk_query_form.h"

namespace terravue::gui {

TBrkQueryForm::TBrkQueryForm(const model::SurfaceModel& model, const SettingsRecord& settings,
                             BreaklineIndex breakline, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TBrkQueryForm>()), model_(model), settings_(settings),
      breakline_(breakline) {
  ui_->setupUi(this);
  connect(ui_->ButtonPrevious, &QPushButton::clicked, this, [this] { Show(static_cast<BreaklineIndex>(breakline_ - 1)); });
  connect(ui_->ButtonNext, &QPushButton::clicked, this, [this] { Show(static_cast<BreaklineIndex>(breakline_ + 1)); });
  connect(ui_->ButtonOK, &QPushButton::clicked, this, &QDialog::accept);
  Show(breakline);
}

TBrkQueryForm::~TBrkQueryForm() = default;

void TBrkQueryForm::Show(BreaklineIndex breakline) {
  const analysis::BreaklineQueryInfo t = analysis::DescribeBreakline(model_, breakline, settings_);
  if (t.number.empty()) return;
  breakline_ = breakline;
  Ui::TBrkQueryForm& u = *ui_;
  u.LabelNumber->setText(FromUtf8(t.number));
  u.LabelFirstCaption->setText(FromUtf8(t.firstCaption));
  u.LabelSecondCaption->setText(FromUtf8(t.secondCaption));
  u.LabelThirdCaption->setText(FromUtf8(t.thirdCaption));
  u.LabelFromPoint->setText(FromUtf8(t.fromPoint));
  u.LabelFromFirst->setText(FromUtf8(t.fromFirst));
  u.LabelFromSecond->setText(FromUtf8(t.fromSecond));
  u.LabelFromZ->setText(FromUtf8(t.fromZ));
  u.LabelToPoint->setText(FromUtf8(t.toPoint));
  u.LabelToFirst->setText(FromUtf8(t.toFirst));
  u.LabelToSecond->setText(FromUtf8(t.toSecond));
  u.LabelToZ->setText(FromUtf8(t.toZ));
  u.LabelSlopeDistance->setText(FromUtf8(t.slopeDistance));
  u.LabelHorizDistance->setText(FromUtf8(t.horizontalDistance));
  u.LabelVertDistance->setText(FromUtf8(t.verticalDistance));
  u.LabelSlope->setText(FromUtf8(t.slope));
  u.LblAngle->setText(FromUtf8(t.angleCaption));
  u.LabelAngle->setText(FromUtf8(t.angle));
  u.ButtonPrevious->setEnabled(t.previousEnabled);
  u.ButtonNext->setEnabled(t.nextEnabled);
}

}  // namespace terravue::gui
