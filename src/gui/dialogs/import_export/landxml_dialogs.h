#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "exchange/landxml_import.h"

class QWidget;

namespace terravue::gui {

// The open-file dialog of a LandXML import, starting in `directory`: the chosen file, nothing on
// Cancel.
std::optional<std::string> ChooseLandXmlFile(QWidget* parent, const std::string& directory);

// Asks which of a file's surfaces to import, each shown with its counts: its place in the list,
// nothing on Cancel.
std::optional<std::size_t> ChooseLandXmlSurface(QWidget* parent,
                                                const std::vector<exchange::LandXmlSurfaceEntry>& surfaces);

}  // namespace terravue::gui
