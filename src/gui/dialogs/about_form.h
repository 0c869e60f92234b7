#pragma once

#include <memory>

#include <QDialog>

namespace Ui {
class TAboutForm;
class TCompanyForm;
}  // namespace Ui

namespace terravue {
class SettingsRecord;
}

namespace terravue::gui {

// "Set Company Information": the two header lines of every printout.
class TCompanyForm : public QDialog {
  Q_OBJECT

 public:
  struct Values {
    std::string company;   // Latin-1, at most 78 characters
    std::string location;
  };
  TCompanyForm(const Values& values, QWidget* parent = nullptr);
  ~TCompanyForm() override;

  Values Result() const;

 private:
  std::unique_ptr<Ui::TCompanyForm> ui_;
};

// The About window: the program's icon, name and version, and the company that printouts name,
// which "Change Company/Address" edits.
class TAboutForm : public QDialog {
  Q_OBJECT

 public:
  TAboutForm(SettingsRecord& settings, QWidget* parent = nullptr);
  ~TAboutForm() override;

 private:
  void ShowCompany();
  void ChangeCompany();

  std::unique_ptr<Ui::TAboutForm> ui_;
  SettingsRecord& settings_;
};

}  // namespace terravue::gui
