#pragma once

#include <memory>
#include <string>

#include <QDialog>

#include "mapping/map_options_edit.h"

namespace Ui {
class TSetMapOptsForm;
}

namespace terravue {
class SettingsRecord;
}

namespace terravue::gui {

class ColourPanels;

// The options of triangles, breaklines, the border and the miscellaneous items: one page shown,
// chosen by the caller, its tabs hidden. Hands back the page's values; storing them is the
// caller's (EditMapOptionGroup).
class TSetMapOptsForm : public QDialog {
  Q_OBJECT

 public:
  // `page` is Triangles, Breaklines, Border or Miscellaneous.
  TSetMapOptsForm(mapping::MapOptionPage page, const SettingsRecord& settings, QWidget* parent = nullptr);
  ~TSetMapOptsForm() override;

  mapping::TrianglePage Triangles() const;
  mapping::BreaklinePage Breaklines() const;
  mapping::BorderPage Border() const;
  mapping::MiscPage Miscellaneous() const;
  std::string CustomColours() const;

 private:
  void UpdateEnabling();

  std::unique_ptr<Ui::TSetMapOptsForm> ui_;
  ColourPanels* panels_;
};

}  // namespace terravue::gui
