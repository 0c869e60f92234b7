#include "dialogs/analyzer/length_form.h"

#include "app/qt_text.h"
#include "dialogs/analyzer/result_buttons.h"
#include "ui_length_form.h"

namespace terravue::gui {

TLengthForm::TLengthForm(const analysis::LengthInfo& info, const std::vector<std::string>& picks,
                         std::function<void()> help, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TLengthForm>()) {
  Ui::TLengthForm& u = *ui_;
  u.setupUi(this);
  u.LabelTotalPoints->setText(FromUtf8(info.totalPoints));
  for (const std::string& pick : picks) u.ListBoxPoints->addItem(FromUtf8(pick));
  u.LabelSlopeDistance->setText(FromUtf8(info.slopeDistance));
  u.LabelHorizDistance->setText(FromUtf8(info.horizontalDistance));
  u.LabelVertDistance->setText(FromUtf8(info.verticalDistance));
  u.GBElevation->setVisible(info.showElevation);
  u.LabelHighest->setText(FromUtf8(info.highest));
  u.LabelLowest->setText(FromUtf8(info.lowest));
  u.LabelDifference->setText(FromUtf8(info.difference));
  u.GBOtherInfo->setVisible(info.showOther);
  u.LblOther1->setText(FromUtf8(info.other1.caption));
  u.LabelOther1->setText(FromUtf8(info.other1.value));
  u.LblOther2->setText(FromUtf8(info.other2.caption));
  u.LabelOther2->setText(FromUtf8(info.other2.value));
  u.LblOther2->setVisible(info.other2.visible);
  u.LabelOther2->setVisible(info.other2.visible);
  // Only two picks give a slope.
  u.LabelGradeNote->setVisible(picks.size() == 2);
  ConnectResultButtons(this, u.ButtonContinue, u.ButtonFinish, u.ButtonHelp, std::move(help), finished_);
  adjustSize();
}

TLengthForm::~TLengthForm() = default;

}  // namespace terravue::gui
