#pragma once

#include <functional>
#include <memory>
#include <optional>

#include <QDialog>

#include "exchange/export_commands.h"

namespace Ui {
class TExportLandXmlForm;
}

namespace terravue::gui {

// The LandXML export dialog: the file to write and the unit its coordinates are named in. A
// model in metres is written in metres; for one in feet the user says which foot.
class TExportLandXmlForm : public QDialog {
  Q_OBJECT

 public:
  TExportLandXmlForm(const exchange::LandXmlExportRequest& request, QString dataDirectory, QWidget* parent = nullptr);
  ~TExportLandXmlForm() override;

  // The save-file dialog behind "Change File Name" (title, proposed path, filter); it asks
  // before replacing a file. An empty answer is a cancel. Tests replace it.
  std::function<QString(const QString&, const QString&, const QString&)> chooseFile;

  exchange::LandXmlExportRequest Values() const;
  void SetHelp(std::function<void()> help);
  void ChangeFileName();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  std::unique_ptr<Ui::TExportLandXmlForm> ui_;
  exchange::LandXmlExportRequest request_;
  QString fileName_;
  QString dataDirectory_;
};

// Shows the dialog modally for the command: its values on OK, nothing on Cancel.
std::optional<exchange::LandXmlExportRequest> RunLandXmlExportDialog(QWidget* parent,
                                                                     const exchange::LandXmlExportRequest& request,
                                                                     const std::string& dataDirectory,
                                                                     std::function<void()> help = {});

}  // namespace terravue::gui
