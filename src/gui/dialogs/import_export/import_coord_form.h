#pragma once

#include <functional>
#include <memory>

#include <QDialog>

#include "exchange/import_commands.h"

namespace Ui {
class TImportCoordForm;
}

namespace terravue {
class SettingsRecord;
class UserPort;
}  // namespace terravue

namespace terravue::gui {

// The import dialog: the file of one kind, a preview of it and the format it is read with.
// Whatever closes it, the format chosen in it is stored in the kind's import record.
class TImportCoordForm : public QDialog {
  Q_OBJECT

 public:
  TImportCoordForm(UserPort& port, SettingsRecord& settings, const exchange::ImportDialogRequest& request,
                   QWidget* parent = nullptr);
  ~TImportCoordForm() override;

  // The open-file dialog behind "Change File Name" (title, start path, filter); an empty
  // answer is a cancel. Tests replace it.
  std::function<QString(const QString&, const QString&, const QString&)> chooseFile;

  exchange::ImportDialogResult Result() const;
  void SetHelp(std::function<void()> help);

  void ChangeFileName();
  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  int ChosenEntry() const;
  void FormatChosen();
  void ApplyEnabling();

  std::unique_ptr<Ui::TImportCoordForm> ui_;
  UserPort& port_;
  SettingsRecord& settings_;
  exchange::AsciiKind kind_;
  QString fileName_;
  bool chooseFileAtOnce_;
};

// Shows the dialog modally for a command: the chosen file on OK, nothing on Cancel.
std::optional<exchange::ImportDialogResult> RunImportDialog(QWidget* parent, UserPort& port, SettingsRecord& settings,
                                                            const exchange::ImportDialogRequest& request,
                                                            std::function<void()> help = {});

}  // namespace terravue::gui
