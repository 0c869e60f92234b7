#pragma once

#include <functional>
#include <memory>

#include <QDialog>

#include "app/preferences.h"

namespace Ui {
class TPreferencesForm;
}

namespace terravue {
class UserPort;
}

namespace terravue::gui {

// "Preferences": units and conventions, the default text and marker sizes per scale of both
// units, and the CAD program with its options. The dialog edits a copy and hands it back;
// storing it is the caller's.
class TPreferencesForm : public QDialog {
  Q_OBJECT

 public:
  TPreferencesForm(UserPort& port, const app::Preferences& preferences, QWidget* parent = nullptr);
  ~TPreferencesForm() override;

  // The choices as they stand (after OK: as accepted).
  app::Preferences Values() const;

  // The CAD page's buttons open the data directory and layer dialogs; a button without its
  // action is hidden.
  void SetCadActions(std::function<void()> dataDirectory, std::function<void()> layers);
  void SetHelp(std::function<void()> help);

  // The preset page as it shows now: the unit, the selected preset (-1 for none).
  int ShownUnit() const;
  int SelectedPreset() const;

  // The preset buttons, for the keyboard and the tests.
  void AddPreset();
  void EditPreset();
  void DeletePreset();
  void EditSize(int row);

 private:
  void ShowPresets(int select);
  void ShowSizes();
  void ShowCadOptions();

  std::unique_ptr<Ui::TPreferencesForm> ui_;
  UserPort& port_;
  app::Preferences values_;
};

}  // namespace terravue::gui
