#pragma once

#include <memory>

#include <QDialog>
#include <QString>

namespace Ui {
class InputBox;
}

namespace terravue::gui {

// The one-line input box: a word-wrapped prompt above an edit pre-filled with the current
// value and fully selected, "OK" (default) and "Cancel". Characters outside Latin-1 are
// refused as they are typed or pasted, because the texts it asks for are stored one byte each.
class InputBox : public QDialog {
  Q_OBJECT

 public:
  InputBox(const QString& title, const QString& prompt, const QString& initial, int maxLength,
           QWidget* parent = nullptr);
  ~InputBox() override;

  QString Value() const;

 private:
  std::unique_ptr<Ui::InputBox> ui_;
};

}  // namespace terravue::gui
