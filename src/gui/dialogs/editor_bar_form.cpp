#include "dialogs/editor_bar_form.h"

#include <QPainter>
#include <QPixmap>

#include "ui_editor_bar_form.h"

namespace terravue::gui {
namespace {

struct NamedColour {
  const char* name;
  QRgb rgb;
};

constexpr NamedColour Colours[] = {
    {"Black", qRgb(0, 0, 0)},          {"Maroon", qRgb(128, 0, 0)},      {"Green", qRgb(0, 128, 0)},
    {"Olive", qRgb(128, 128, 0)},      {"Navy", qRgb(0, 0, 128)},        {"Purple", qRgb(128, 0, 128)},
    {"Teal", qRgb(0, 128, 128)},       {"Gray", qRgb(128, 128, 128)},    {"Silver", qRgb(192, 192, 192)},
    {"Red", qRgb(255, 0, 0)},          {"Lime", qRgb(0, 255, 0)},        {"Yellow", qRgb(255, 255, 0)},
    {"Blue", qRgb(0, 0, 255)},         {"Fuchsia", qRgb(255, 0, 255)},   {"Aqua", qRgb(0, 255, 255)},
    {"White", qRgb(255, 255, 255)},    {"Money Green", qRgb(192, 220, 192)}, {"Sky Blue", qRgb(166, 202, 240)},
    {"Cream", qRgb(255, 251, 240)},    {"Medium Gray", qRgb(160, 160, 164)}, {"Inactive Caption", qRgb(191, 205, 219)},
};

QIcon Swatch(QRgb rgb) {
  QPixmap pixmap(16, 16);
  pixmap.fill(QColor(rgb));
  QPainter p(&pixmap);
  p.setPen(Qt::black);
  p.drawRect(0, 0, 15, 15);
  return QIcon(pixmap);
}

}  // namespace

TEditorBarForm::TEditorBarForm(QRgb current, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TEditorBarForm>()) {
  ui_->setupUi(this);
  int index = -1;
  for (const NamedColour& c : Colours) {
    if (qRgb(qRed(current), qGreen(current), qBlue(current)) == c.rgb) index = ui_->ColourList->count();
    ui_->ColourList->addItem(Swatch(c.rgb), QString::fromLatin1(c.name), QVariant::fromValue(c.rgb));
  }
  // A colour not in the list is offered as it is.
  if (index < 0) {
    index = ui_->ColourList->count();
    ui_->ColourList->addItem(Swatch(current), QColor(current).name(), QVariant::fromValue(current));
  }
  ui_->ColourList->setCurrentIndex(index);
  connect(ui_->ButtonOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(ui_->ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TEditorBarForm::~TEditorBarForm() = default;

QRgb TEditorBarForm::Colour() const { return ui_->ColourList->currentData().value<QRgb>(); }

}  // namespace terravue::gui
