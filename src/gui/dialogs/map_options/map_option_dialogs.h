#pragma once

#include "mapping/map_options_edit.h"

class QWidget;

namespace terravue {
class SettingsRecord;
class UserPort;
}  // namespace terravue

namespace terravue::gui {

// Opens the dialog of one map option group on its page; on OK stores the page (showing the
// messages of the fields it refuses) and the custom colours. True for OK.
bool EditMapOptionGroup(QWidget* parent, UserPort& port, SettingsRecord& settings, mapping::MapOptionPage page);

}  // namespace terravue::gui
