#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include <QDialog>

#include "exchange/export_commands.h"

namespace Ui {
class TExportCoordForm;
}

namespace terravue {
class SettingsRecord;
}

namespace terravue::gui {

// The export dialog: the file to write and the arrangement of its fields. Whatever closes it,
// the format chosen in it is stored in the kind's export record.
class TExportCoordForm : public QDialog {
  Q_OBJECT

 public:
  TExportCoordForm(SettingsRecord& settings, const exchange::ExportDialogRequest& request, QWidget* parent = nullptr);
  ~TExportCoordForm() override;

  // The save-file dialog behind "Change File Name" (title, proposed path, filter); it asks
  // before replacing a file. An empty answer is a cancel. Tests replace it.
  std::function<QString(const QString&, const QString&, const QString&)> chooseFile;

  std::string FileName() const;
  void SetHelp(std::function<void()> help);

  void ChangeFileName();
  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  int ChosenEntry() const;
  void FormatChosen();
  void ApplyEnabling();

  std::unique_ptr<Ui::TExportCoordForm> ui_;
  SettingsRecord& settings_;
  exchange::AsciiKind kind_;
  QString fileName_;
  bool chooseFileAtOnce_;
};

// Shows the dialog modally for a command: the chosen name on OK, nothing on Cancel.
std::optional<std::string> RunExportDialog(QWidget* parent, SettingsRecord& settings,
                                           const exchange::ExportDialogRequest& request,
                                           std::function<void()> help = {});

}  // namespace terravue::gui
