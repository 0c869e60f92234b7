#include "exchange/auto_process.h"

#include <filesystem>
#include <system_error>

#include "common/format.h"
#include "common/messages.h"
#include "common/session.h"
#include "common/user_port.h"
#include "exchange/import_commands.h"
#include "exchange/import_export_settings.h"
#include "model/surface_model.h"
#include "tin/border.h"
#include "tin/triangulate.h"
#include "tin/verification.h"

namespace terravue::exchange {

namespace fs = std::filesystem;

namespace {

bool FileExists(const std::string& name) {
  std::error_code ec;
  return !name.empty() && fs::is_regular_file(fs::path(name), ec);
}

void ClearBorder(model::SurfaceModel& m) {
  for (int i = 0; i <= m.PointCount; ++i) m.BorderNext[i] = NoPoint;
}

// The border step: a border file replaces the ring; a missing one is passed over.
void LoadBorderStep(Session& session, const AutoProcessRun& run) {
  if (!run.loadBorder) return;
  ClearBorder(session.model);
  const std::string name = session.settings.Get(BorderImport.FileName());
  if (!FileExists(name)) {
    session.port.ShowError(msg::BorderFileMissing);
    return;
  }
  LoadBorderFile(session, fs::path(name),
                 {.autoProcessActive = true,
                  .matchNumbersToLabels = session.settings.Get(BorderImport.MatchNumbersToLabels())});
}

void LoadBreaklineStep(Session& session, const AutoProcessRun& run) {
  if (!run.loadBreaklines) return;
  if (run.eraseBreaklines) session.model.BreaklineCount = 0;
  const std::string name = session.settings.Get(BreaklineImport.FileName());
  if (!FileExists(name)) {
    session.port.ShowError(msg::BreaklineFileMissing);
    return;
  }
  LoadBreaklineFile(session, fs::path(name),
                    {.autoProcessActive = true,
                     .matchNumbersToLabels = session.settings.Get(BreaklineImport.MatchNumbersToLabels())});
}

// A verified set of points gets a convex border when it has none; true when the ring is sound.
bool BorderStep(Session& session) {
  model::SurfaceModel& m = session.model;
  if (m.FirstBorderPoint(1, m.PointCount) == NoPoint) {
    tin::BorderErrors errors;
    tin::AllocateBorderErrors(session, errors);
    tin::CreateConvexBorder(session, errors, /*quiet=*/true);
  }
  if (tin::CheckBorder(m, 1, m.PointCount) == tin::BorderCheck::Valid) return true;
  session.port.ShowError(msg::BorderErrorStop);
  return false;
}

}  // namespace

AutoProcessEnd AutoProcess(Session& session, tin::LocateState& state, const AutoProcessRun& run) {
  SettingsRecord& s = session.settings;
  model::SurfaceModel& m = session.model;
  StoreAutoLoadChoices(s, run.loadBorder, run.loadBreaklines);

  const std::string coordinates = s.Get(CoordImport.FileName());
  if (!FileExists(coordinates)) {
    session.port.ShowError(msg::CoordinateFileMissing);
    return AutoProcessEnd::CoordinateFileMissing;
  }
  const CoordinateLoadResult loaded =
      LoadCoordinateFile(session, fs::path(coordinates),
                         {.append = run.append, .removeDuplicates = s.Get(CoordImport.RemoveDuplicates()),
                          .autoProcessActive = true});
  // A file that gave nothing leaves the points held before it; they are not the file's and must
  // not be processed under its name.
  if (loaded.status != LoadStatus::Loaded || m.PointCount == 0) {
    session.port.ShowError(msg::NoPointsLoadedStop);
    return AutoProcessEnd::NoPoints;
  }
  if (run.stopWhenCut && loaded.cutAtCapacity) return AutoProcessEnd::CutAtCapacity;
  TakeImportedModel(session, coordinates);

  LoadBorderStep(session, run);
  LoadBreaklineStep(session, run);

  tin::VerifyOptions verify;
  verify.automatic = true;
  if (!tin::RunVerification(session, verify).passed) {
    session.port.ShowError(msg::VerificationFailedStop);
    return AutoProcessEnd::VerificationFailed;
  }
  if (!BorderStep(session)) return AutoProcessEnd::BorderInvalid;
  const auto status = tin::Triangulate(session, state, {.autoProcessActive = true});
  if (!status || *status != tin::TriangulationStatus::Success || m.TriangleCount == 0)
    return AutoProcessEnd::TriangulationFailed;
  return AutoProcessEnd::Completed;
}

AutoProcessGroup DescribeGroup(const SettingsRecord& settings, AsciiKind kind, std::size_t nameWidth) {
  const FormatRecord& record = ImportRecord(kind);
  AutoProcessGroup group;
  const std::string name = settings.Get(record.FileName());
  group.fileName = name.empty() ? std::string(msg::NoFileSpecified) : ShortenPath(name, nameWidth);
  group.format = StoredFormatText(settings, record, ImportLetters(kind));
  if (record.hasRemoveDuplicates) group.removeDuplicates = settings.Get(record.RemoveDuplicates()) ? "Yes" : "No";
  return group;
}

bool CanContinue(const SettingsRecord& settings) { return !settings.Get(CoordImport.FileName()).empty(); }

bool ConfirmLoadBorder(Session& session, bool append) {
  if (!append || !session.model.IsBordered()) return true;
  return session.port.AskToDiscard(msg::LoadNewBorder);
}

bool ConfirmLoadBreaklines(Session& session, bool append, bool& erase) {
  erase = false;
  if (!append || session.model.BreaklineCount == 0) return true;
  if (!session.port.AskYesNo(msg::LoadNewBreaklines)) return false;
  erase = session.port.AskToDiscard(msg::EraseExistingBreaklines);
  return true;
}

void StoreAutoLoadChoices(SettingsRecord& settings, bool loadBorder, bool loadBreaklines) {
  settings.Set(AutoLoadBorder, loadBorder);
  settings.Set(AutoLoadBreaklines, loadBreaklines);
}

}  // namespace terravue::exchange
