#pragma once

#include <functional>
#include <memory>

#include <QDialog>
#include <QString>
#include <QStringList>

namespace Ui {
class TPrintSetupForm;
}

namespace terravue::gui {

// What Print Setup hands back: the printer (an empty name is a PDF file), one of the offered
// papers (an index of device::Papers()) and the orientation.
struct PrintSetupChoice {
  QString printer;
  int paper = 0;
  bool landscape = false;
  friend bool operator==(const PrintSetupChoice&, const PrintSetupChoice&) = default;
};

// "Print Setup": the printer, the paper and its orientation, for every printer alike (a PDF
// file included). "Properties..." opens the system's own dialog for a real printer.
class TPrintSetupForm : public QDialog {
  Q_OBJECT

 public:
  // `printers`: the system's queues; the list ends with the PDF file.
  TPrintSetupForm(const QStringList& printers, const PrintSetupChoice& current, QWidget* parent = nullptr);
  ~TPrintSetupForm() override;

  PrintSetupChoice Choice() const;
  void SetHelp(std::function<void()> help);
  // The system's dialog for the chosen printer; it may change the paper and orientation shown.
  std::function<void(PrintSetupChoice&)> properties;

 private:
  void Show(const PrintSetupChoice& choice);
  void PrinterChosen();

  std::unique_ptr<Ui::TPrintSetupForm> ui_;
};

}  // namespace terravue::gui
