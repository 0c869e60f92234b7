#include "dialogs/zoom_options_form.h"

#include "app/qt_text.h"
#include "dialogs/map_options/option_controls.h"
#include "ui_zoom_options_form.h"

namespace terravue::gui {

TZoomOptionsForm::TZoomOptionsForm(const app::ZoomOptionsFields& fields, int highestZoom, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TZoomOptionsForm>()) {
  ui_->setupUi(this);
  Ui::TZoomOptionsForm& u = *ui_;
  u.CBScreenScrolling->setChecked(fields.screenScrolling);
  u.CBZoomMethod->setCurrentIndex(fields.constant ? 1 : 0);
  u.LabelZoomValue->setText(FromUtf8(app::ZoomValueCaption(fields.constant)));
  BindNumberField(u.EditZoomValue, mapping::NumberKind::Integer, fields.value);
  BindNumberField(u.EditQuickZoom, mapping::NumberKind::Integer, fields.quickZoom);
  u.EditQuickZoom->setToolTip(QStringLiteral("1 - %1").arg(highestZoom));
  connect(u.CBZoomMethod, &QComboBox::currentIndexChanged, this,
          [this](int index) { ui_->LabelZoomValue->setText(FromUtf8(app::ZoomValueCaption(index == 1))); });
  connect(u.ButtonOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(u.ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TZoomOptionsForm::~TZoomOptionsForm() = default;

app::ZoomOptionsFields TZoomOptionsForm::Fields() const {
  const Ui::TZoomOptionsForm& u = *ui_;
  return {u.CBScreenScrolling->isChecked(), u.CBZoomMethod->currentIndex() == 1, ToLatin1(u.EditZoomValue->text()),
          ToLatin1(u.EditQuickZoom->text())};
}

}  // namespace terravue::gui
