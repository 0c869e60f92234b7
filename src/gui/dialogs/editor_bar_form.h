#pragma once

#include <memory>

#include <QDialog>
#include <QRgb>

namespace Ui {
class TEditorBarForm;
}

namespace terravue::gui {

// "Editor Bar": the editor bar's background colour, chosen from a list of named colours.
class TEditorBarForm : public QDialog {
  Q_OBJECT

 public:
  TEditorBarForm(QRgb current, QWidget* parent = nullptr);
  ~TEditorBarForm() override;

  QRgb Colour() const;

 private:
  std::unique_ptr<Ui::TEditorBarForm> ui_;
};

}  // namespace terravue::gui
