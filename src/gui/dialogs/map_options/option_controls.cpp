#include "dialogs/map_options/option_controls.h"

#include <algorithm>

#include <QColorDialog>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QPushButton>

#include "app/qt_text.h"
#include "device/drawing_device.h"
#include "render/map_fonts.h"

namespace terravue::gui {
namespace {

std::uint32_t FromQColor(const QColor& c) { return MakeColour(static_cast<std::uint8_t>(c.red()),
                                                              static_cast<std::uint8_t>(c.green()),
                                                              static_cast<std::uint8_t>(c.blue())); }

// Remembers the text on entry, cleans it on exit.
class NumberFieldGuard : public QObject {
 public:
  NumberFieldGuard(QLineEdit* field, mapping::NumberKind kind)
      : QObject(field), field_(field), kind_(kind), remembered_(field->text()) {
    field->installEventFilter(this);
    connect(field, &QLineEdit::editingFinished, this, &NumberFieldGuard::Clean);
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::FocusIn) remembered_ = field_->text();
    return false;
  }

 private:
  void Clean() {
    const std::string cleaned =
        mapping::CleanFieldText(ToLatin1(field_->text()), kind_, ToLatin1(remembered_));
    field_->setText(FromLatin1(cleaned));
    remembered_ = field_->text();
  }

  QLineEdit* field_;
  mapping::NumberKind kind_;
  QString remembered_;
};

}  // namespace

void FillWidthList(QComboBox* list, int index) {
  list->clear();
  for (const std::string& text : mapping::WidthListTexts()) list->addItem(FromLatin1(text));
  list->setCurrentIndex(device::ClampWidthIndex(index));
}

void BindNumberField(QLineEdit* field, mapping::NumberKind kind, const std::string& text) {
  field->setText(FromLatin1(text));
  new NumberFieldGuard(field, kind);
}

ColourPanels::ColourPanels(std::string customColours, QWidget* dialog)
    : QObject(dialog), dialog_(dialog), custom_(std::move(customColours)) {}

void ColourPanels::Add(QPushButton* panel, std::uint32_t colour) {
  SetValue(panel, colour);
  connect(panel, &QPushButton::clicked, this, [this, panel] { Pick(panel); });
}

void ColourPanels::SetValue(QPushButton* panel, std::uint32_t colour) {
  colours_[panel] = colour;
  // A panel that cannot be used is greyed like the other controls.
  panel->setStyleSheet(QStringLiteral("QPushButton { background-color: %1; border: 1px solid black; }"
                                      " QPushButton:disabled { background-color: palette(window);"
                                      " border: 1px solid gray; }")
                           .arg(render::MapColour(colour).name()));
}

void ColourPanels::Pick(QPushButton* panel) {
  const auto custom = mapping::ParseCustomColours(custom_);
  const int slotCount = QColorDialog::customCount();
  for (int i = 0; i < slotCount; ++i)
    QColorDialog::setCustomColor(i, i < static_cast<int>(custom.size()) ? render::MapColour(custom[i]) : QColor(Qt::white));
  QColorDialog dialog(render::MapColour(colours_.value(panel)), dialog_);
  if (dialog.exec() != QDialog::Accepted) return;
  SetValue(panel, FromQColor(dialog.selectedColor()));
  std::vector<std::uint32_t> kept;
  for (int i = 0; i < slotCount; ++i) kept.push_back(FromQColor(QColorDialog::customColor(i)));
  custom_ = mapping::FormatCustomColours(kept);
}

}  // namespace terravue::gui
