#include "tin/verification.h"

#include <cmath>
#include <filesystem>
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
#include "tin/border.h"
#include "tin/geometry.h"
#include "tin/surface_edit.h"

namespace terravue::tin {

using model::SurfaceModel;

namespace {

std::string ListingLine(const SurfaceModel& m, PointIndex n, bool eastingFirst) {
  const double first = eastingFirst ? m.PointX[n] : m.PointY[n];
  const double second = eastingFirst ? m.PointY[n] : m.PointX[n];
  return "    " + FormatReal(n, 4, 0) + "    <" + m.GetPointLabel(n) + "> " + FormatReal(first, 14, 3) + " " +
         FormatReal(second, 14, 3) + " " + FormatReal(m.PointZ[n], 14, 3);
}

struct Sweep {
  Session& session;
  const VerifyOptions& options;
  TextReport& report;
  const ProgressFn& progress;
  bool eastingFirst;
  bool interactive;
  std::vector<std::uint8_t> marked;
  int pairs = 0;
  int corrected = 0;

  const SurfaceModel& m() const { return session.model; }

  std::string DialogLine(PointIndex n) const {
    const double first = eastingFirst ? m().PointX[n] : m().PointY[n];
    const double second = eastingFirst ? m().PointY[n] : m().PointX[n];
    return std::string(m().BorderNext[n] != NoPoint ? " B " : "   ") + "    " + FormatInteger(n, 4) + "    <" +
           m().GetPointLabel(n) + "> " + FormatReal(first, 11, 3) + " " + FormatReal(second, 11, 3) + " " +
           FormatReal(m().PointZ[n], 11, 3);
  }

  void Ask(PointIndex a, PointIndex b) {
    PairQuestion q;
    q.header = eastingFirst ? msg::VerifyPairHeaderXY : msg::VerifyPairHeaderYX;
    q.first = DialogLine(a);
    q.second = DialogLine(b);
    const double dx = m().PointX[a] - m().PointX[b], dy = m().PointY[a] - m().PointY[b];
    q.difference = "      Difference      " + FormatReal(eastingFirst ? dx : dy, 11, 3) + " " +
                   FormatReal(eastingFirst ? dy : dx, 11, 3) + " " + FormatReal(m().PointZ[a] - m().PointZ[b], 11, 3);
    q.suggested = SuggestedChoice(m().BorderNext[a] != NoPoint, m().BorderNext[b] != NoPoint, a, b);
    switch (options.chooser->Choose(q)) {
      case PairChoice::First:
        marked[a] = 1;
        report.WriteLine(" Point #" + FormatReal(a, 0, 0) + " has been deleted.");
        ++corrected;
        break;
      case PairChoice::Second:
        marked[b] = 1;
        report.WriteLine(" Point #" + FormatReal(b, 0, 0) + " has been deleted.");
        ++corrected;
        break;
      case PairChoice::Both:
        marked[a] = marked[b] = 1;
        report.WriteLine(" Point #" + FormatReal(a, 0, 0) + " and Point #" + FormatReal(b, 0, 0) + " have been deleted.");
        ++corrected;
        break;
      case PairChoice::CancelInteractive: interactive = false; break;
      case PairChoice::Neither: break;
    }
  }

  // Pairs within the differences, each point against the later points of the sort list inside
  // a window along the sort axis that only moves forward.
  void FindDuplicatePairs(const std::vector<PointIndex>& order) {
    const int n = m().PointCount;
    const bool byX = m().SortAxisIsX;
    const double ts = byX ? options.toleranceX : options.toleranceY;
    const double tc = byX ? options.toleranceY : options.toleranceX;
    const auto along = [&](int k) { return byX ? m().PointX[order[k]] : m().PointY[order[k]]; };
    const auto across = [&](int k) { return byX ? m().PointY[order[k]] : m().PointX[order[k]]; };
    progress(0);
    int hi = 1;
    for (int i = 1; i < n; ++i) {
      progress(i * 100 / n);
      while (hi < n && std::fabs(along(i) - along(hi + 1)) <= ts) ++hi;
      if (hi <= i) {
        hi = i + 1;
        continue;
      }
      for (int k = i + 1; k <= hi; ++k) {
        const PointIndex a = order[i], b = order[k];
        if (std::fabs(across(i) - across(k)) > tc || marked[a] || marked[b]) continue;
        if (pairs == 0) {
          report.WriteLine("");
          report.WriteLine(msg::VerifyDuplicatePairsWarning);
          report.WriteLine("");
          report.WriteLine(eastingFirst ? msg::VerifyColumnsXY : msg::VerifyColumnsYX);
        }
        report.WriteLine("");
        report.WriteLine(ListingLine(m(), a, eastingFirst));
        report.WriteLine(ListingLine(m(), b, eastingFirst));
        ++pairs;
        if (interactive && options.chooser != nullptr) Ask(a, b);
      }
    }
    progress(100);
    report.WriteLine("");
    report.WriteLine(pairs == 0 ? std::string(msg::VerifyNoDuplicates)
                                : std::string(msg::VerifyTotalPairs) + FormatReal(pairs, 4, 0));
    if (corrected > 0) {
      report.WriteLine("");
      report.WriteLine(std::string(msg::VerifyTotalCorrected) + FormatReal(corrected, 4, 0));
    }
  }
};

// An X and a Y value under one caption, in the user's coordinate order; the second line is
// indented to the first's values.
void WriteXYLines(TextReport& report, std::string_view caption, double x, double y, int decimals,
                  bool eastingFirst) {
  const std::string xLine = "X = " + FormatReal(x, 14, decimals);
  const std::string yLine = "Y = " + FormatReal(y, 14, decimals);
  report.WriteLine(std::string(caption) + (eastingFirst ? xLine : yLine));
  report.WriteLine(std::string(caption.size(), ' ') + (eastingFirst ? yLine : xLine));
}

void WriteExtentsAndAreas(Session& session, TextReport& report, bool eastingFirst) {
  SurfaceModel& m = session.model;
  const bool metric = session.settings.Get(settings::Units) == 1;
  const std::string unit = metric ? " meters" : " feet";
  const auto row = [&](const char* label, double lo, double hi) {
    report.WriteLine(std::string(label) + FormatReal(lo, 14, 3) + " " + FormatReal(hi, 14, 3) + " " +
                     FormatReal(hi - lo, 14, 3) + unit);
  };
  m.ComputeExtents();
  report.WriteLine(" Field Extents");
  report.WriteLine("              Minimum        Maximum          Range");
  if (eastingFirst) row("     X:", m.MinX, m.MaxX);
  row("     Y:", m.MinY, m.MaxY);
  if (!eastingFirst) row("     X:", m.MinX, m.MaxX);
  row("     Z:", m.MinZ, m.MaxZ);
  report.WriteLine(" ");
  if (CheckBorder(m, 1, m.PointCount) != BorderCheck::Valid) return;

  report.WriteLine(" ");
  const double a = BorderArea(m);
  double s = -1;
  if (m.TriangleCount > 0) {
    s = 0;
    for (TriangleIndex t = 1; t <= m.TriangleCount; ++t) {
      const auto& c = m.TriVertex[t];
      const double ux = m.PointX[c[1]] - m.PointX[c[0]], uy = m.PointY[c[1]] - m.PointY[c[0]],
                   uz = m.PointZ[c[1]] - m.PointZ[c[0]];
      const double vx = m.PointX[c[2]] - m.PointX[c[0]], vy = m.PointY[c[2]] - m.PointY[c[0]],
                   vz = m.PointZ[c[2]] - m.PointZ[c[0]];
      s += 0.5 * std::sqrt(std::pow(uy * vz - uz * vy, 2) + std::pow(uz * vx - ux * vz, 2) + std::pow(ux * vy - uy * vx, 2));
    }
  }
  const auto block = [&](const char* dims, double area) {
    if (metric) {
      report.WriteLine(std::string(" Total ") + dims + " area (square meters) > " + FormatReal(area, 15, 3));
      report.WriteLine("                     (hectares) > " + FormatReal(area / 10000, 15, 3));
    } else {
      report.WriteLine(std::string(" Total ") + dims + " area (square feet) > " + FormatReal(area, 15, 3));
      report.WriteLine("               (square yards) > " + FormatReal(area / 9, 15, 3));
      report.WriteLine("                      (acres) > " + FormatReal(area / 43560, 15, 3));
    }
  };
  block("2-D", a);
  if (s >= 0) {
    report.WriteLine("");
    block("3-D", s);
  }
  report.WriteLine("");
  report.WriteLine("");
}

// Removes point p after a run; its breaklines go to a remaining point within the differences
// of its place, or go with it.
void DeleteDuplicatePoint(SurfaceModel& m, PointIndex p, const VerifyOptions& options) {
  const double x = m.PointX[p], y = m.PointY[p];
  // Detach the breaklines first, so that the removal keeps them; they are joined again below.
  std::vector<BreaklineIndex> ending;
  for (BreaklineIndex k = 1; k <= m.BreaklineCount; ++k)
    if (m.Breaklines[k].From == p || m.Breaklines[k].To == p) ending.push_back(k);
  PointIndex q = NoPoint;
  if (!ending.empty()) {
    q = NearestOtherPoint(m, 1, m.PointCount, p);
    if (q != NoPoint && (std::fabs(m.PointX[q] - x) > options.toleranceX || std::fabs(m.PointY[q] - y) > options.toleranceY))
      q = NoPoint;
  }
  if (q != NoPoint) {
    for (BreaklineIndex k : ending) {
      auto& line = m.Breaklines[k];
      if (line.From == p) line.From = q;
      if (line.To == p) line.To = q;
    }
  }
  // RemovePointFromModel drops breaklines still ending at p and those made a loop here.
  BreaklineIndex kept = 0;
  for (BreaklineIndex k = 1; k <= m.BreaklineCount; ++k)
    if (m.Breaklines[k].From != m.Breaklines[k].To) m.Breaklines[++kept] = m.Breaklines[k];
  m.BreaklineCount = kept;
  m.TriangleCount = 0;
  RemovePointFromModel(m, p);
}

}  // namespace

std::optional<VerifyOptions> ReadVerifyFields(Session& session, const VerifyFieldTexts& texts, VerifyOptions options,
                                              int& refused) {
  const bool eastingFirst = settings::EastingFirst(session.settings);
  const std::string_view first = eastingFirst ? "X" : "Northing";
  const std::string_view second = eastingFirst ? "Y" : "Easting";
  double values[4] = {};
  const std::string* fields[4] = {&texts.firstDifference, &texts.secondDifference, &texts.firstLocation,
                                  &texts.secondLocation};
  const int count = options.searchAll ? 2 : 4;
  for (int k = 0; k < count; ++k) {
    const std::optional<double> v = ParseReal(*fields[k]);
    const std::string_view name = k % 2 == 0 ? first : second;
    if (k < 2 && (!v || *v < MinimumDifference)) {
      ReportBelowMinimum(session.port, FillText(msg::InvalidVerifyDifference, {name}),
                         FormatReal(MinimumDifference, 0, 3));
    } else if (k >= 2 && !v) {
      session.port.ShowError(FillText(msg::InvalidVerifyLocation, {name}));
    } else {
      values[k] = *v;
      continue;
    }
    refused = k;
    return std::nullopt;
  }
  options.toleranceX = eastingFirst ? values[0] : values[1];
  options.toleranceY = eastingFirst ? values[1] : values[0];
  if (!options.searchAll) {
    options.searchX = eastingFirst ? values[2] : values[3];
    options.searchY = eastingFirst ? values[3] : values[2];
  }
  return options;
}

PairChoice SuggestedChoice(bool firstOnBorder, bool secondOnBorder, PointIndex first, PointIndex second) {
  if (firstOnBorder && secondOnBorder) return PairChoice::Neither;
  if (firstOnBorder) return PairChoice::Second;
  if (secondOnBorder) return PairChoice::First;
  return second > first ? PairChoice::Second : PairChoice::First;
}

VerifyResult RunVerification(Session& session, const VerifyOptions& given) {
  VerifyResult result;
  VerifyOptions options = given;
  if (options.automatic) {
    options.interactive = false;
    options.toleranceX = options.toleranceY = 0.001;
    options.searchAll = true;
  }
  SurfaceModel& m = session.model;
  const int before = m.PointCount;
  const bool eastingFirst = settings::EastingFirst(session.settings);
  const ReportKind& kind = options.searchAll ? reports::DataVerification : reports::SingleVerification;
  TextReport report;
  if (!report.Open(session.workDirectory, kind.workName)) {
    session.port.ShowError(msg::UnableToVerifyPoints);
    return result;
  }
  report.WriteHeader(kind.title, session.settings, m.Comment(), session.clock());
  // The dialog shows its own meter; otherwise the progress window.
  const ProgressFn progress = options.progress ? options.progress : session.port.Progress();
  if (!options.progress) session.port.BeginProgress("", true);
  const auto endProgress = [&] {
    if (!options.progress) session.port.EndProgress();
  };
  if (options.searchAll) {
    Sweep sweep{session, options, report, progress, eastingFirst, options.interactive, {}, 0, 0};
    std::vector<PointIndex> order;
    try {
      sweep.marked.assign(static_cast<std::size_t>(m.PointCount) + 1, 0);
      order.resize(static_cast<std::size_t>(m.PointCount) + 1);
    } catch (const std::bad_alloc&) {
      endProgress();
      session.port.ShowError(msg::InsufficientMemoryForVerification);
      return result;
    }
    report.WriteLine("");
    report.WriteLine(msg::VerifyToleranceCaption);
    const std::string tx = "     X difference: " + FormatReal(options.toleranceX, 14, 4);
    const std::string ty = "     Y difference: " + FormatReal(options.toleranceY, 14, 4);
    report.WriteLine(eastingFirst ? tx : ty);
    report.WriteLine(eastingFirst ? ty : tx);
    report.WriteLine("");
    WriteExtentsAndAreas(session, report, eastingFirst);
    m.SortPointsAlongLongerAxis(order, 1, m.PointCount);
    sweep.FindDuplicatePairs(order);
    // From the highest number down, so the marks of the points still to go keep their places.
    bool deleted = false;
    for (int p = m.PointCount; p >= 1; --p) {
      if (!sweep.marked[static_cast<std::size_t>(p)]) continue;
      DeleteDuplicatePoint(m, static_cast<PointIndex>(p), options);
      deleted = true;
    }
    if (deleted) {
      m.ComputeExtents();
      model::MarkModified(session);
    }
    result.pairs = sweep.pairs;
    result.passed = sweep.pairs == 0 || sweep.pairs == sweep.corrected;
  } else {
    report.WriteLine("");
    WriteXYLines(report, " Cursor coordinate:  ", options.searchX, options.searchY, 3, eastingFirst);
    report.WriteLine("");
    WriteXYLines(report, " Tolerance:          ", options.toleranceX, options.toleranceY, 4, eastingFirst);
    progress(0);
    int found = 0;
    for (PointIndex i = 1; i <= m.PointCount; ++i) {
      progress(i * 100 / m.PointCount);
      if (std::fabs(m.PointX[i] - options.searchX) >= options.toleranceX ||
          std::fabs(m.PointY[i] - options.searchY) >= options.toleranceY)
        continue;
      if (found++ == 0) {
        report.WriteLine("");
        report.WriteLine(msg::VerifyPointsNearCursor);
        report.WriteLine("");
        report.WriteLine(eastingFirst ? msg::VerifyColumnsXY : msg::VerifyColumnsYX);
        report.WriteLine("");
      }
      report.WriteLine(ListingLine(m, i, eastingFirst));
    }
    progress(100);
    report.WriteLine("");
    report.WriteLine(found == 0 ? std::string(msg::VerifyNoPointsFound)
                                : " " + FormatInteger(found, 0) + std::string(msg::VerifyPointsFound));
  }
  endProgress();
  if (options.automatic) {
    report.Close();
    std::error_code ignored;
    std::filesystem::remove(report.Path(), ignored);
  } else {
    ShowReport(session, report, kind);
  }
  result.pointsChanged = m.PointCount != before;
  return result;
}

}  // namespace terravue::tin
