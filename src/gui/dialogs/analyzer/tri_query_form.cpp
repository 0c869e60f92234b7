#include "dialogs/analyzer/tri_query_form.h"

#include "app/qt_text.h"
#include "dialogs/analyzer/result_buttons.h"
#include "ui_tri_query_form.h"

namespace terravue::gui {

TTriQueryForm::TTriQueryForm(const analysis::TriangleQueryInfo& info, std::function<void()> help, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TTriQueryForm>()) {
  Ui::TTriQueryForm& u = *ui_;
  u.setupUi(this);
  u.LabelTotalTriangles->setText(FromUtf8(info.totalTriangles));
  for (const std::string& t : info.triangles) u.ListBoxTriangles->addItem(FromUtf8(t));
  u.LabelLastSlope->setText(FromUtf8(info.lastSlope));
  u.LabelLastArea2D->setText(FromUtf8(info.lastArea2D));
  u.LabelLastArea3D->setText(FromUtf8(info.lastArea3D));
  u.LabelAverageSlope->setText(FromUtf8(info.averageSlope));
  u.LabelMinimumSlope->setText(FromUtf8(info.minimumSlope));
  u.LabelMaximumSlope->setText(FromUtf8(info.maximumSlope));
  u.LabelArea2D->setText(FromUtf8(info.area2D));
  u.LabelArea3D->setText(FromUtf8(info.area3D));
  u.LblArea2DLarge->setText(FromUtf8(info.largeCaption));
  u.LblArea3DLarge->setText(FromUtf8(info.largeCaption));
  u.LabelArea2DLarge->setText(FromUtf8(info.area2DLarge));
  u.LabelArea3DLarge->setText(FromUtf8(info.area3DLarge));
  ConnectResultButtons(this, u.ButtonContinue, u.ButtonFinish, u.ButtonHelp, std::move(help), finished_);
  adjustSize();
}

TTriQueryForm::~TTriQueryForm() = default;

}  // namespace terravue::gui
