#pragma once

#include <functional>
#include <memory>

#include <QDialog>

namespace Ui {
class TPrintForm;
}

namespace terravue {
struct Session;
}

namespace terravue::gui {

class SheetPrinter;

// "Print": the printer, paper, orientation and scale, the number of copies, and the way to
// Printer Setup and Set Scale before printing.
class TPrintForm : public QDialog {
  Q_OBJECT

 public:
  TPrintForm(Session& session, SheetPrinter& printer, std::function<void()> printerSetup,
             std::function<void()> setScale, QWidget* parent = nullptr);
  ~TPrintForm() override;

  // 1..255, as typed.
  int Copies() const;
  // Fills the labels from the page set-up and the printer.
  void Refresh();

 private:
  void PrintClicked();
  // Normalises the copies field; false (after the range message) when it was out of range.
  bool CheckCopies();

  std::unique_ptr<Ui::TPrintForm> ui_;
  Session& session_;
  SheetPrinter& printer_;
  QString rememberedCopies_;
};

}  // namespace terravue::gui
