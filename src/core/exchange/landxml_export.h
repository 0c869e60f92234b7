#pragma once

#include <cstddef>
#include <ctime>
#include <filesystem>
#include <string>

#include "exchange/landxml_import.h"

namespace terravue {
struct Session;
namespace model {
class SurfaceModel;
}
}  // namespace terravue

// LandXML 1.2 export of the model as one TIN surface: its points, its triangles (counter-
// clockwise), the border as the outer boundary and the breaklines. Numbers are written with the
// fewest digits that read back as the same doubles.
namespace terravue::exchange {

struct LandXmlExportOptions {
  LandXmlUnit unit = LandXmlUnit::Meter;
  std::string surfaceName;  // UTF-8
  std::tm written{};        // the document's date and time
};

// What a document holds, for the summary.
struct LandXmlExportCounts {
  std::size_t points = 0;
  std::size_t triangles = 0;
  std::size_t borderPoints = 0;
  std::size_t breaklines = 0;
};

// The whole document. The border is written when it is one sound ring; point ids are the labels
// when every label is a distinct whole number above 0, else the point numbers.
std::string BuildLandXmlText(const model::SurfaceModel& m, const LandXmlExportOptions& options,
                             LandXmlExportCounts* counts = nullptr);

// The name of the exported surface: the model's comment, else its file name without extension.
std::string LandXmlSurfaceName(const Session& session);

// Writes the model as a LandXML file in `unit` (which names the unit the coordinates are in; they
// are not converted) and shows the summary, or "File management error." when the file cannot be
// written; an existing file is then left as it was. The model is never changed.
bool ExportLandXmlFile(Session& session, const std::filesystem::path& file, LandXmlUnit unit);

}  // namespace terravue::exchange
