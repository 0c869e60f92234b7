#include "tin/triangulate.h"

#include <algorithm>
#include <new>
#include <string>
#include <vector>

#include "common/app_settings.h"
#include "common/format.h"
#include "common/messages.h"
#include "common/session.h"
#include "common/settings_record.h"
#include "common/text_report.h"
#include "common/user_port.h"
#include "model/model_document.h"
#include "model/surface_model.h"
#include "common/view3d_settings.h"
#include "tin/border.h"
#include "tin/breaklines.h"
#include "tin/constrained_edges.h"
#include "tin/delaunay_repair.h"
#include "tin/duplicates.h"
#include "tin/geometry.h"
#include "tin/insertion.h"

namespace terravue::tin {

using model::SurfaceModel;

namespace {

// The duplicate message names the first pair at one place, so that the user can find it.
std::string DuplicatePointsMessage(const Session& session, const PointPair& pair) {
  std::string text(msg::TriangulationDuplicatePoints);
  if (pair.first == NoPoint) return text;
  const SurfaceModel& m = session.model;
  const bool eastingFirst = settings::EastingFirst(session.settings);
  const auto where = [&](PointIndex p) {
    const std::string x = FormatReal(m.PointX[p], 0, 3), y = FormatReal(m.PointY[p], 0, 3);
    return "\r\n" + FormatInteger(p, 0) + ": " +
           (eastingFirst ? "X " + x + ", Y " + y : "Northing " + y + ", Easting " + x);
  };
  return text + "\r\n" + std::string(msg::SamePlacePairPrefix) + FormatInteger(pair.first, 0) + " and " +
         FormatInteger(pair.second, 0) + std::string(msg::SamePlacePairSuffix) + where(pair.first) + where(pair.second);
}

std::string StatusMessage(const Session& session, TriangulationStatus status, const PointPair& samePlace) {
  switch (status) {
    case TriangulationStatus::Success: break;
    case TriangulationStatus::DuplicatePoints: return DuplicatePointsMessage(session, samePlace);
    case TriangulationStatus::OutOfMemory: return std::string(msg::TriangulationOutOfMemory);
    case TriangulationStatus::BorderNotForced: return std::string(msg::TriangulationBorderFailed);
    case TriangulationStatus::BreaklinesNotForced: return std::string(msg::TriangulationBreaklinesFailed);
  }
  return {};
}

// The border points in ring order from the first one; a broken ring ends where it breaks.
std::vector<PointIndex> BorderRing(const SurfaceModel& m) {
  std::vector<PointIndex> ring;
  const PointIndex start = m.FirstBorderPoint(1, m.PointCount);
  if (start == NoPoint) return ring;
  PointIndex i = start;
  for (int step = 0; step < m.PointCount; ++step) {
    ring.push_back(i);
    i = m.BorderNext[i];
    if (i == start || i == NoPoint || i > m.PointCount) break;
  }
  return ring;
}

}  // namespace

std::optional<TriangulationStatus> Triangulate(Session& session, LocateState& state, const TriangulateOptions& options) {
  SurfaceModel& m = session.model;
  if (m.PointCount == 0) {
    session.port.ShowError(msg::NoDataLoaded);
    return std::nullopt;
  }
  if (m.PointCount < 3) {
    session.port.ShowError(msg::TooFewPointsToTriangulate);
    return std::nullopt;
  }
  if (m.PointCount > m.MaxPoints || m.PointCount > SurfaceModel::PointCapacity) {
    session.port.ShowError(msg::InsufficientPointCapacityForTriangulation);
    return std::nullopt;
  }
  // The super triangle and the sort axis are taken from the extents; stale ones would leave
  // points outside the super triangle.
  m.ComputeExtents();
  // Said at once: a wrap around them or an insertion would only end in a border error.
  if (PointsAreCollinear(m)) {
    session.port.ShowError(msg::PointsInOneLine);
    return std::nullopt;
  }

  TriangulationStatus status = TriangulationStatus::Success;
  const bool view3D = session.settings.Get(settings::View3DOptions::View3D);
  session.settings.Set(settings::View3DOptions::View3D, false);

  // A border the run makes itself is taken away again when the run fails; the ring that was
  // there before (an invalid one, which the user may still want to mend) comes back.
  const BorderCheck border = CheckBorder(m, 1, m.PointCount);
  const bool makeBorder = border != BorderCheck::Valid;
  std::vector<PointIndex> previousBorder;
  if (makeBorder) {
    // A model without any border yet is the usual first run, not a fault: it is only told
    // what will happen. A ring that does not close is an error the user should look at.
    if (border == BorderCheck::Invalid) {
      session.port.ShowError(msg::ConvexBorderWillBeCreated);
    } else if (!options.autoProcessActive) {
      session.port.ShowInfo(std::string(msg::NoBorderDefined) + "\r\n" + std::string(msg::ConvexBorderAroundAllPoints));
    }
    BorderErrors ownErrors;
    if (options.borderErrors == nullptr) AllocateBorderErrors(session, ownErrors);
    try {
      previousBorder.assign(m.BorderNext.begin(), m.BorderNext.begin() + m.PointCount + 1);
    } catch (const std::bad_alloc&) {
      status = TriangulationStatus::OutOfMemory;
    }
    // The run ends with its own completion note; one for the border on the way would only be
    // another button to press.
    if (status == TriangulationStatus::Success)
      CreateConvexBorder(session, options.borderErrors ? *options.borderErrors : ownErrors, /*quiet=*/true);
  }

  InsertionReport inserted;
  FixedSegments fixed;
  if (status == TriangulationStatus::Success)
    status = InsertPoints(m, state, session.port, {options.quiet, options.autoProcessActive}, &inserted);
  if (status == TriangulationStatus::Success) {
    try {
      // The Delaunay triangulation of the points, with every hull edge.
      std::vector<TriangleIndex> start = MakeOutlineConvex(m);
      start.insert(start.end(), inserted.failing.begin(), inserted.failing.end());
      fixed = FixedSegments::OfModel(m);
      RestoreDelaunay(m, fixed, start);
    } catch (const std::bad_alloc&) {
      status = TriangulationStatus::OutOfMemory;
    }
  }

  bool borderFailed = false;
  if (status == TriangulationStatus::Success) {
    try {
      std::vector<std::uint8_t> failed(std::size_t{m.PointCount} + 1, 0);
      borderFailed = !ForceBorderSegments(m, state, failed, &fixed);
      RemoveOutsideTriangles(m);
      model::MarkModified(session);
      if (borderFailed) ListBorderErrors(session, failed);
    } catch (const std::bad_alloc&) {
      status = TriangulationStatus::OutOfMemory;
    }
  }

  if (status != TriangulationStatus::Success) {
    m.TriangleCount = 0;
    if (makeBorder && !previousBorder.empty()) std::copy(previousBorder.begin(), previousBorder.end(), m.BorderNext.begin());
  } else {
    try {
      std::vector<std::uint8_t> flags(std::size_t{m.BreaklineCount} + 1, 0);
      m.ResetContourTriList();
      if (!AdjustBreaklines(m, state, session.port, flags, &fixed)) {
        ListBreaklineErrors(session, flags);
        status = TriangulationStatus::BreaklinesNotForced;
      }
    } catch (const std::bad_alloc&) {
      status = TriangulationStatus::OutOfMemory;
    }
  }

  if (borderFailed && status == TriangulationStatus::Success) status = TriangulationStatus::BorderNotForced;
  if (status != TriangulationStatus::Success) session.port.ShowError(StatusMessage(session, status, inserted.samePlace));

  m.ResetContourTriList();
  session.settings.Set(settings::View3DOptions::View3D, view3D);
  state.LastTriangle = 1;
  return status;
}

bool ForceBorderSegments(SurfaceModel& m, LocateState& state, std::vector<std::uint8_t>& failed, FixedSegments* repair) {
  FixedEdges fixed(m.TriangleCount);
  if (failed.size() < std::size_t{m.PointCount} + 1) failed.resize(std::size_t{m.PointCount} + 1, 0);
  const std::vector<PointIndex> ring = BorderRing(m);
  for (PointIndex i : ring) failed[i] = 1;

  // Every pass retries only the failures of the one before, so their number never grows; the
  // passes stop when it no longer shrinks.
  int previous = 0;
  int failures = 0;
  for (int pass = 0;; ++pass) {
    if (pass > 0 && failures > 0) previous = failures;
    failures = 0;
    for (PointIndex i : ring) {
      if (failed[i] == 0) continue;
      failed[i] = 0;
      if (ForceSegment(m, state, fixed, i, m.BorderNext[i], false).failed) {
        failed[i] = 1;
        ++failures;
      }
    }
    if (failures == 0 || failures == previous) break;
  }
  if (repair != nullptr) {
    repair->AddFlagged(m, fixed);
    RestoreDelaunay(m, *repair, fixed.Touched());
  }
  return failures == 0;
}

namespace {

// Removal of the triangles outside the border: flags per triangle, and the depth-first flood
// across the edges that join two border points without being a border segment.
class OutsideRemoval {
 public:
  explicit OutsideRemoval(SurfaceModel& m)
      : m_(m), removed_(std::size_t{m.TriangleCount} + 1, 0), active_(std::size_t{m.TriangleCount} + 1, 0) {}

  void Run();

 private:
  struct Frame {
    TriangleIndex u;
    PointIndex a, b, third;  // u was reached across (a, b); third is its corner off that edge
    int stage;
  };

  bool StopsFlood(PointIndex a, PointIndex b) const;
  void FloodOutside(TriangleIndex u, PointIndex a, PointIndex b, PointIndex third);
  void Enter(TriangleIndex u, PointIndex a, PointIndex b, PointIndex third);
  void RemoveTriangle(TriangleIndex t);
  void CompactTriangles();

  SurfaceModel& m_;
  std::vector<std::uint8_t> removed_;
  std::vector<std::uint8_t> active_;  // on the flood's stack
  std::vector<Frame> stack_;
};

void OutsideRemoval::Run() {
  const int count = m_.TriangleCount;
  for (int t = 1; t <= count; ++t) {
    if (removed_[static_cast<std::size_t>(t)] != 0) continue;
    const auto& c = m_.TriVertex[static_cast<std::size_t>(t)];
    int k = 0;
    while (k < 3 && c[static_cast<std::size_t>(k)] <= m_.PointCount) ++k;
    if (k == 3) continue;
    // A triangle at a super-triangle corner goes, and the flood starts across its edge
    // opposite that corner.
    const PointIndex a = c[static_cast<std::size_t>((k + 1) % 3)];
    const PointIndex b = c[static_cast<std::size_t>((k + 2) % 3)];
    const EdgeNeighbour across = AcrossEdge(m_, static_cast<TriangleIndex>(t), a, b);
    RemoveTriangle(static_cast<TriangleIndex>(t));
    if (across.found) FloodOutside(across.triangle, a, b, across.third);
  }
  CompactTriangles();
}

bool OutsideRemoval::StopsFlood(PointIndex a, PointIndex b) const {
  return m_.BorderNext[a] == NoPoint || m_.BorderNext[b] == NoPoint || m_.BorderNext[a] == b || m_.BorderNext[b] == a;
}

// Visits in the order of the recursion: across (third, b), then across (a, third), then removes
// u. A triangle already on the stack is not entered again: around a point whose border segments
// failed, the recursion would otherwise circle for ever.
void OutsideRemoval::FloodOutside(TriangleIndex u, PointIndex a, PointIndex b, PointIndex third) {
  Enter(u, a, b, third);
  while (!stack_.empty()) {
    Frame& top = stack_.back();
    if (top.stage == 0) {
      if (StopsFlood(top.a, top.b)) {
        active_[top.u] = 0;
        stack_.pop_back();
        continue;
      }
      top.stage = 1;
      const Frame here = top;
      const EdgeNeighbour across = AcrossEdge(m_, here.u, here.third, here.b);
      if (across.found) Enter(across.triangle, here.third, here.b, across.third);
    } else if (top.stage == 1) {
      top.stage = 2;
      const Frame here = top;
      const EdgeNeighbour across = AcrossEdge(m_, here.u, here.a, here.third);
      if (across.found) Enter(across.triangle, here.a, here.third, across.third);
    } else {
      const TriangleIndex done = top.u;
      stack_.pop_back();
      RemoveTriangle(done);
      active_[done] = 0;
    }
  }
}

void OutsideRemoval::Enter(TriangleIndex u, PointIndex a, PointIndex b, PointIndex third) {
  if (active_[u] != 0) return;
  active_[u] = 1;
  stack_.push_back({u, a, b, third, 0});
}

// Deletes t from its neighbours' lists; t's own list stays as it was.
void OutsideRemoval::RemoveTriangle(TriangleIndex t) {
  for (TriangleIndex n : m_.TriNeighbour[t]) {
    if (n == NoTriangle) break;
    auto& list = m_.TriNeighbour[n];
    auto at = std::find(list.begin(), list.end(), t);
    if (at == list.end()) continue;
    std::copy(at + 1, list.end(), at);
    list[2] = NoTriangle;
  }
  removed_[t] = 1;
}

// Each removed slot takes the last triangle, whose neighbours learn its new number.
void OutsideRemoval::CompactTriangles() {
  int t = 1;
  while (t <= m_.TriangleCount) {
    if (removed_[static_cast<std::size_t>(t)] == 0) {
      ++t;
      continue;
    }
    const int last = m_.TriangleCount;
    if (last != t) {
      removed_[static_cast<std::size_t>(t)] = removed_[static_cast<std::size_t>(last)];
      m_.TriNeighbour[static_cast<std::size_t>(t)] = m_.TriNeighbour[static_cast<std::size_t>(last)];
      m_.TriVertex[static_cast<std::size_t>(t)] = m_.TriVertex[static_cast<std::size_t>(last)];
      for (TriangleIndex n : m_.TriNeighbour[static_cast<std::size_t>(t)]) {
        if (n == NoTriangle) break;
        for (auto& entry : m_.TriNeighbour[n])
          if (entry == last) entry = static_cast<TriangleIndex>(t);
      }
    }
    --m_.TriangleCount;
  }
}

}  // namespace

void RemoveOutsideTriangles(SurfaceModel& m) { OutsideRemoval(m).Run(); }

void ListBorderErrors(Session& session, const std::vector<std::uint8_t>& failed) {
  if (!session.port.AskYesNo(msg::ViewBorderErrorList)) return;
  TextReport report;
  if (!report.Open(session.workDirectory, reports::BorderErrors.workName)) {
    session.port.ShowError(msg::UnableToListBorderErrors);
    return;
  }
  const SurfaceModel& m = session.model;
  const bool eastingFirst = settings::EastingFirst(session.settings);
  report.WriteHeader(reports::BorderErrors.title, session.settings, m.Comment(), session.clock());
  report.WriteLine("");
  report.WriteLine(msg::SegmentListingCaption);
  report.WriteLine(eastingFirst ? msg::BorderErrorColumnsXY : msg::BorderErrorColumnsYX);
  report.WriteLine("");
  auto point = [&](PointIndex p) {
    const double first = eastingFirst ? m.PointX[p] : m.PointY[p];
    const double second = eastingFirst ? m.PointY[p] : m.PointX[p];
    return FormatInteger(p, 4) + " " + FormatReal(first, 14, 3) + " " + FormatReal(second, 14, 3);
  };
  const std::size_t last = std::min<std::size_t>(m.PointCount, failed.empty() ? 0 : failed.size() - 1);
  for (std::size_t i = 1; i <= last; ++i) {
    if (failed[i] == 0) continue;
    const PointIndex p = static_cast<PointIndex>(i);
    report.WriteLine("    " + point(p) + "  " + point(m.BorderNext[p]));
  }
  ShowReport(session, report, reports::BorderErrors);
}

}  // namespace terravue::tin
