#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace terravue {
struct Session;
namespace model {
class SurfaceModel;
}
}  // namespace terravue

// Volumes between two triangulated surfaces of one site: the existing surface and a proposed
// one. Every pair of an existing and a proposed triangle that overlap in plan is clipped
// exactly, and the difference of their planes is integrated over the overlap, split where it
// changes sign.
//
// Sign convention: difference = proposed elevation - existing elevation; negative is cut,
// zero or positive is fill.
namespace terravue::analysis {

// Areas in square units of the coordinates, volumes in cubic units; all positive. CommonArea is
// CutArea + FillArea; the cut or fill part of one triangle pair that is smaller than 0.0001 in
// area is left out.
struct VolumeTotals {
  double CommonArea = 0;
  double CutArea = 0;
  double FillArea = 0;
  double CutVolume = 0;
  double FillVolume = 0;
  // The largest positive difference and the largest depth of a negative one (as a positive
  // number), with where they were met; 0 when there is none. Ties go to the first met:
  // proposed triangles in index order, then existing triangles in index order, then the
  // corners of their overlap counter-clockwise from the lowest one (of corners within 0.0001
  // in Y, the westernmost).
  double MaxFill = 0, MaxFillX = 0, MaxFillY = 0;
  double MaxCut = 0, MaxCutX = 0, MaxCutY = 0;
};

struct SurfaceComparison {
  // The surfaces share a plan area of at least 0.0001.
  bool overlap = false;
  VolumeTotals totals;
  // Per point, 1-based like the models (entry 0 unused): for a point lying on the other
  // surface, the proposed minus the existing elevation there; 0 elsewhere.
  std::vector<double> existingCutFill;
  std::vector<double> proposedCutFill;
};

// Phase 1 places the existing points on the proposed surface, phase 2 the proposed points on
// the existing one, phase 3 intersects the triangles. Called with the phase (1..3) and the
// share done (0..100) whenever that share changes.
using PhaseProgressFn = std::function<void(int phase, int percent)>;

class CutFillMap;

// Compares two surfaces held in their own models. Triangles whose corners are not points of
// their own model, or whose doubled plan area is below 0.0001 (or not finite), take no part.
// Given a map, it is filled with every overlap and its differences (its surface key is the
// caller's to set).
SurfaceComparison CompareSurfaces(const model::SurfaceModel& existing, const model::SurfaceModel& proposed,
                                  const PhaseProgressFn& progress = {}, CutFillMap* map = nullptr);

// The surface of a model's border points alone, with the breaklines between them, triangulated
// quietly: the existing surface of a single-surface volume. The points keep their relative
// order and are numbered from 1. Nothing of the model, the session or the user is touched; a
// model without a border (or one whose border cannot be triangulated) gives an empty surface.
// Returns nothing when memory runs out.
std::optional<model::SurfaceModel> BorderSurface(const model::SurfaceModel& m, const Session& session);

// ---- The Volume commands ---------------------------------------------------------------------

enum class VolumeMode { TwoSurfaces, SingleSurface };

// Which surfaces get a Cut/Fill Data Listing in the report (the dialog's list order).
enum class CutFillListing : std::uint8_t { None = 0, Both = 1, Existing = 2, Proposed = 3 };

// The choices of the Surface Comparison dialog; the front end keeps them while the program
// runs (they are not settings).
struct VolumeReportOptions {
  static constexpr double MinimumFactor = 0.001;
  // Six digits and three decimals, as the dialog's fields take them.
  static constexpr double MaximumFactor = 999999.999;
  static constexpr std::size_t CommentLines = 5;
  static constexpr std::size_t CommentLength = 78;

  double cutFactor = 1.0;
  double fillFactor = 1.0;
  CutFillListing listing = CutFillListing::None;
  bool includeZeroCutFill = true;
  std::array<std::string, CommentLines> comments;  // Latin-1, cut to CommentLength
};

// The file picked in the Two Surfaces open dialog, and the model file type of the filter it
// was picked under (a name without extension gets that filter's extension).
struct ProposedFileChoice {
  std::filesystem::path path;
  int filterType = 2;
};

// The front end's part in a volume run: the open-file dialog and the Surface Comparison dialog,
// first shown while the comparison runs, then modally for the report options.
class VolumeUi {
 public:
  virtual ~VolumeUi() = default;
  // The open dialog at `fileName` (may be empty) in `directory`; nothing on Cancel.
  virtual std::optional<ProposedFileChoice> ChooseProposedFile(const std::string& directory,
                                                               const std::string& fileName) = 0;
  // Shown without waiting, inputs disabled, phases at "0%". The texts read
  // "SITE.MDL --> 120 points".
  virtual void BeginComparison(const std::string& existingText, const std::string& proposedText) = 0;
  virtual void SetPhase(int phase, int percent) = 0;
  virtual void EndComparison() = 0;
  // Shown modally, starting from `current`. The options on Continue, nothing on Cancel.
  virtual std::optional<VolumeReportOptions> AskReportOptions(const VolumeReportOptions& current) = 0;
};

enum class VolumeOutcome {
  NotRun,       // an error ended the command (the message was shown)
  NoOverlap,    // "Surfaces do not overlap."
  Same,         // "The surfaces are the same."
  Cancelled,    // the report options were cancelled
  Reported,     // the report was shown
};

// Volume > Two Surfaces and Volume > Single Surface. `options` are the dialog's values from
// the previous run and receive the new ones on Continue. The user's model is never changed.
// Given a map, a run that compares surfaces which overlap and differ leaves their differences
// in it for the cut/fill map (whether or not the report is then shown); a run that finds no
// overlap or no difference empties it; one that ends earlier leaves it as it was.
VolumeOutcome RunVolumeCommand(Session& session, VolumeMode mode, VolumeUi& ui, VolumeReportOptions& options,
                               CutFillMap* map = nullptr);

}  // namespace terravue::analysis
