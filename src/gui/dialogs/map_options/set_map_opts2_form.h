#pragma once

#include <functional>
#include <memory>
#include <string>

#include <QDialog>

#include "mapping/map_options_edit.h"

namespace Ui {
class TSetMapOpts2Form;
}

namespace terravue {
class SettingsRecord;
}

namespace terravue::gui {

class ColourPanels;

// The options of the surface grid, contours, points, titles and the surface analyzer: one page
// shown, chosen by the caller. Hands back the page's values.
class TSetMapOpts2Form : public QDialog {
  Q_OBJECT

 public:
  // `page` is SurfaceGrid, Contours, Points, Titles or SurfaceAnalyzer.
  TSetMapOpts2Form(mapping::MapOptionPage page, const SettingsRecord& settings, QWidget* parent = nullptr);
  ~TSetMapOpts2Form() override;

  mapping::SurfaceGridPage SurfaceGrid() const;
  mapping::ContourPage Contours() const;
  mapping::PointPage Points() const;
  mapping::TitlePage Titles() const;
  mapping::AnalyzerPage Analyzer() const;
  std::string CustomColours() const;

  // The density base set to "Slope": the slope zone dialog; false sends the base back to None.
  std::function<bool()> onDensitySlope;

 private:
  void UpdateEnabling();

  std::unique_ptr<Ui::TSetMapOpts2Form> ui_;
  ColourPanels* panels_;
  // The grid's upper interval field is Y in the Northing-Easting order, X otherwise.
  bool eastingFirst_ = false;
};

}  // namespace terravue::gui
