#include "dialogs/input_box.h"

#include <QFontMetrics>
#include <QValidator>

#include "app/qt_text.h"
#include "common/messages.h"
#include "ui_input_box.h"

namespace terravue::gui {
namespace {

class Latin1Validator : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int&) const override {
    return IsLatin1(input) ? Acceptable : Invalid;
  }
};

}  // namespace

InputBox::InputBox(const QString& title, const QString& prompt, const QString& initial,
                   int maxLength, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::InputBox>()) {
  ui_->setupUi(this);
  setWindowTitle(title);
  ui_->ButtonOK->setText(FromUtf8(msg::ButtonOK));
  ui_->ButtonCancel->setText(FromUtf8(msg::ButtonCancel));
  ui_->LabelPrompt->setText(prompt);

  // About 45 average characters wide, like a classic input box; the prompt wraps inside it.
  const int width = QFontMetrics(font()).averageCharWidth() * 45;
  ui_->LabelPrompt->setFixedWidth(width);
  ui_->EditValue->setFixedWidth(width);

  ui_->EditValue->setValidator(new Latin1Validator(ui_->EditValue));
  ui_->EditValue->setMaxLength(maxLength);
  ui_->EditValue->setText(initial);
  ui_->EditValue->selectAll();
  ui_->EditValue->setFocus();
}

InputBox::~InputBox() = default;

QString InputBox::Value() const { return ui_->EditValue->text(); }

}  // namespace terravue::gui
