#pragma once

#include <memory>

#include <QDialog>

#include "app/cursor.h"

namespace Ui {
class TCursorOptionsForm;
}

namespace terravue {
class SettingsRecord;
}

namespace terravue::gui {

// "Cursor Options": the keyboard step, whether it shrinks with the zoom, and the cursor's
// position (in the coordinate order of the preferences), which the 3-D target can fill.
class TCursorOptionsForm : public QDialog {
  Q_OBJECT

 public:
  TCursorOptionsForm(const SettingsRecord& settings, const app::CursorOptionsFields& fields,
                     QWidget* parent = nullptr);
  ~TCursorOptionsForm() override;

  app::CursorOptionsFields Fields() const;

 private:
  std::unique_ptr<Ui::TCursorOptionsForm> ui_;
};

}  // namespace terravue::gui
