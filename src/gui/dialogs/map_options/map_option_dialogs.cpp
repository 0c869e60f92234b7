#include "dialogs/map_options/map_option_dialogs.h"

#include "analysis/surface_info.h"
#include "common/settings_record.h"
#include "dialogs/analyzer/slope_zone_form.h"
#include "dialogs/map_options/set_map_opts2_form.h"
#include "dialogs/map_options/set_map_opts_form.h"
#include "device/map_options.h"

namespace terravue::gui {

using mapping::MapOptionPage;

bool EditMapOptionGroup(QWidget* parent, UserPort& port, SettingsRecord& s, MapOptionPage page) {
  switch (page) {
    case MapOptionPage::Triangles:
    case MapOptionPage::Breaklines:
    case MapOptionPage::Border:
    case MapOptionPage::Miscellaneous: {
      TSetMapOptsForm form(page, s, parent);
      const bool accepted = form.exec() == QDialog::Accepted;
      // The custom colours were kept by the colour dialog's own OK.
      s.Set(device::CustomColours, form.CustomColours());
      if (!accepted) return false;
      if (page == MapOptionPage::Triangles) mapping::StoreTrianglePage(port, s, form.Triangles());
      if (page == MapOptionPage::Breaklines) mapping::StoreBreaklinePage(port, s, form.Breaklines());
      if (page == MapOptionPage::Border) mapping::StoreBorderPage(port, s, form.Border());
      if (page == MapOptionPage::Miscellaneous) mapping::StoreMiscPage(port, s, form.Miscellaneous());
      return true;
    }
    default: {
      TSetMapOpts2Form form(page, s, parent);
      // The zones are stored as the zone dialog closes, as Text Output stores them.
      bool includeSlopeZones = true;
      form.onDensitySlope = [&] {
        return analysis::SlopeDensityCommand(port, s, includeSlopeZones, TSlopeZoneForm::Dialog(&form));
      };
      const bool accepted = form.exec() == QDialog::Accepted;
      s.Set(device::CustomColours, form.CustomColours());
      if (!accepted) return false;
      if (page == MapOptionPage::SurfaceGrid) mapping::StoreSurfaceGridPage(port, s, form.SurfaceGrid());
      if (page == MapOptionPage::Contours) mapping::StoreContourPage(port, s, form.Contours());
      if (page == MapOptionPage::Points) mapping::StorePointPage(port, s, form.Points());
      if (page == MapOptionPage::Titles) mapping::StoreTitlePage(port, s, form.Titles());
      if (page == MapOptionPage::SurfaceAnalyzer) mapping::StoreAnalyzerPage(port, s, form.Analyzer());
      return true;
    }
  }
}

}  // namespace terravue::gui
