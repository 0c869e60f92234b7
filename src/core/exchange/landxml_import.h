#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace terravue {
struct Session;
namespace model {
class SurfaceModel;
}
}  // namespace terravue

// LandXML 1.2 import: one TIN surface of the file (its points, its faces kept exactly as given,
// its outer boundary as the border and its breaklines) or, from a file without surfaces, its
// coordinate geometry points. Coordinates are northing, easting, elevation in the file.
namespace terravue::exchange {

// The length units the model can be in. Other units of a file (millimetres, inches, miles...)
// are converted to the metre or the foot of their system on import.
enum class LandXmlUnit : std::uint8_t { Meter, Foot, UsSurveyFoot };

// Larger files are refused before they are parsed: even several surfaces at the model's full
// capacity need far less.
inline constexpr std::uintmax_t MaxLandXmlFileBytes = std::uintmax_t{256} << 20;

// One surface of a file, as the user chooses among several.
struct LandXmlSurfaceEntry {
  std::string name;  // UTF-8, as the file gives it
  std::size_t points = 0;
  std::size_t faces = 0;  // visible and invisible
};
// Picks the surface to import by its place in the list; nothing cancels the import.
using SurfaceChoiceFn = std::function<std::optional<std::size_t>(const std::vector<LandXmlSurfaceEntry>&)>;

// What an import read, and what it had to leave out because the model cannot hold it.
struct LandXmlReadReport {
  std::string surfaceName;  // empty for coordinate geometry points
  std::optional<LandXmlUnit> unit;  // nothing when the file names no units
  std::size_t points = 0;
  std::size_t triangles = 0;
  std::size_t invisibleFaces = 0;
  std::size_t borderPoints = 0;
  std::size_t breaklines = 0;

  std::size_t holes = 0;            // void and island boundaries
  std::size_t otherBoundaries = 0;  // data boundaries and outer ones after the first
  std::size_t borderVerticesLeftOut = 0;    // no point there, or a point already on the ring
  std::size_t breaklineSegmentsLeftOut = 0; // an end without a point
  std::size_t pointsWithoutElevation = 0;   // two-dimensional coordinate geometry points

  bool LeftSomethingOut() const {
    return holes + otherBoundaries + borderVerticesLeftOut + breaklineSegmentsLeftOut + pointsWithoutElevation > 0;
  }
};

// Why a file cannot be imported, naming the element and its line where there is one.
struct LandXmlError {
  std::string message;
};

// A parsed LandXML document. The text is kept to turn element offsets into line numbers.
class LandXmlDocument {
 public:
  // Throws LandXmlError when the text is not well-formed XML, not LandXML, or names a length
  // unit that is not known.
  explicit LandXmlDocument(std::string text);
  ~LandXmlDocument();
  LandXmlDocument(const LandXmlDocument&) = delete;
  LandXmlDocument& operator=(const LandXmlDocument&) = delete;

  const std::vector<LandXmlSurfaceEntry>& Surfaces() const;

  // Reads surface `index` of Surfaces() (or, when the file has no surface, its coordinate
  // geometry points) into `into`, which must be allocated and is overwritten from its first
  // entries. Throws LandXmlError for anything inconsistent; `into` is then to be dropped.
  LandXmlReadReport Read(std::size_t index, model::SurfaceModel& into) const;
  LandXmlReadReport ReadPoints(model::SurfaceModel& into) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

enum class LandXmlLoadStatus {
  Loaded,     // the model holds the file's surface or points now
  Cancelled,  // no surface was chosen; nothing changed
  Refused,    // the user has been told why; nothing changed
};
struct LandXmlLoadResult {
  LandXmlLoadStatus status = LandXmlLoadStatus::Refused;
  LandXmlReadReport report;
};

// Reads a LandXML file into a fresh model and, only when all of it was read, puts that in place
// of the session's model, with the file's units as the Units preference. The user is asked to
// choose when the file holds several surfaces, and is shown the summary (a warning listing what
// the model cannot hold) or why nothing was imported. The caller takes over the model's name.
LandXmlLoadResult LoadLandXmlFile(Session& session, const std::filesystem::path& file, const SurfaceChoiceFn& choose);

// Whether a file name has the LandXML extension ".xml", in any case.
bool IsLandXmlFileName(const std::filesystem::path& file);

}  // namespace terravue::exchange
