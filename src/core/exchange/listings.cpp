#include "exchange/listings.h"

#include <algorithm>
#include <string>

#include "common/app_settings.h"
#include "common/format.h"
#include "common/messages.h"
#include "common/session.h"
#include "common/text_report.h"
#include "common/user_port.h"
#include "model/surface_model.h"
#include "tin/border.h"

namespace terravue::exchange {

RangeForm RangeFormFor(RangeUse use, const model::SurfaceModel& m) {
  const int points = m.PointCount;
  switch (use) {
    case RangeUse::PointListing:
      return {msg::PrintPointListCaption, msg::FirstPointLabel, msg::LastPointLabel, 1, points, 1, points, true};
    case RangeUse::BreaklineListing:
      return {msg::PrintBreaklineListCaption, msg::FirstBreaklineLabel, msg::LastBreaklineLabel, 1,
              m.BreaklineCount,               1,                        m.BreaklineCount,       true};
    case RangeUse::BorderSeries:
      return {msg::DefineBorderPointsCaption, msg::StartPointLabel, msg::EndPointLabel, 1, points, 1, 1, false};
    case RangeUse::BreaklineSeries:
      return {msg::DefineBreaklinesCaption, msg::StartPointLabel, msg::EndPointLabel, 1, points, 1, 1, false};
  }
  return {};
}

bool CheckRange(UserPort& port, const RangeForm& form, RangeUse use, long long first, long long last) {
  for (const auto& [value, label] : {std::pair{first, form.firstLabel}, std::pair{last, form.lastLabel}}) {
    if (value < form.minimum || value > form.maximum) {
      ReportOutOfRange(port, label, std::to_string(form.minimum), std::to_string(form.maximum));
      return false;
    }
  }
  if (first <= last) return true;
  switch (use) {
    case RangeUse::PointListing: port.ShowError(msg::FirstPointAfterLast); break;
    case RangeUse::BreaklineListing: port.ShowError(msg::FirstBreaklineAfterLast); break;
    case RangeUse::BorderSeries:
    case RangeUse::BreaklineSeries: port.ShowError(msg::StartPointAfterEnd); break;
  }
  return false;
}

namespace {


// The two plan coordinates of p in the column order, each 14 wide with 3 decimals.
std::string PlanColumns(const Session& session, PointIndex p) {
  const model::SurfaceModel& m = session.model;
  const bool eastingFirst = settings::EastingFirst(session.settings);
  return FormatReal(eastingFirst ? m.PointX[p] : m.PointY[p], 14, 3) + " " +
         FormatReal(eastingFirst ? m.PointY[p] : m.PointX[p], 14, 3);
}

std::string PointLine(const Session& session, PointIndex p) {
  const model::SurfaceModel& m = session.model;
  const model::PointLabelText& label = m.PointLabel[p];
  return std::string(m.BorderNext[p] != NoPoint ? " B  " : "    ") + FormatInteger(p, 5) + "    <" +
         std::string(label.begin(), label.end()) + "> " + PlanColumns(session, p) + " " +
         FormatReal(m.PointZ[p], 14, 3);
}

std::string RangeLine(std::string_view lead, int first, int last) {
  return std::string(lead) + std::to_string(first) + std::string(msg::ListingRangeThrough) +
         std::to_string(last) + ".";
}

// The header and the point column line of the point and border listings; false after the
// message when the work file cannot be made.
bool OpenListing(Session& session, TextReport& report, const ReportKind& kind, std::string_view failure) {
  if (!report.Open(session.workDirectory, kind.workName)) {
    session.port.ShowError(failure);
    return false;
  }
  report.WriteHeader(kind.title, session.settings, session.model.Comment(), session.clock());
  return true;
}

void WritePointColumns(const Session& session, TextReport& report) {
  report.WriteLine("");
  report.WriteLine(settings::EastingFirst(session.settings) ? msg::PointListingColumnsXY : msg::PointListingColumnsYX);
}

}  // namespace

bool ListPoints(Session& session, PointIndex first, PointIndex last) {
  const model::SurfaceModel& m = session.model;
  if (m.PointCount == 0) {
    session.port.ShowError(msg::NoDataLoaded);
    return false;
  }
  first = std::max<PointIndex>(first, 1);
  last = std::min(last, m.PointCount);
  if (first > last) {
    session.port.ShowError(msg::FirstPointAfterLast);
    return false;
  }
  TextReport report;
  if (!OpenListing(session, report, reports::PointListing, msg::UnableToListPoints)) return false;
  if (first > 1 || last < m.PointCount) report.WriteLine(RangeLine(msg::PointListingRange, first, last));
  WritePointColumns(session, report);
  for (int p = first; p <= last; ++p) report.WriteLine(PointLine(session, static_cast<PointIndex>(p)));
  ShowReport(session, report, reports::PointListing);
  return true;
}

bool ListBorder(Session& session) {
  const model::SurfaceModel& m = session.model;
  switch (tin::CheckBorder(m, 1, m.PointCount)) {
    case tin::BorderCheck::Valid: break;
    case tin::BorderCheck::None: session.port.ShowInfo(msg::NoBorderDefined); return false;
    case tin::BorderCheck::Invalid: session.port.ShowError(msg::ErrorInBorderDefinition); return false;
  }
  TextReport report;
  if (!OpenListing(session, report, reports::BorderListing, msg::UnableToListBorderPoints)) return false;
  WritePointColumns(session, report);
  const PointIndex start = m.FirstBorderPoint(1, m.PointCount);
  // The ring was checked: it closes within PointCount steps. The bound only guards the loop.
  PointIndex p = start;
  for (int steps = 0; steps < m.PointCount; ++steps) {
    report.WriteLine(PointLine(session, p));
    p = m.BorderNext[p];
    if (p == start) break;
  }
  ShowReport(session, report, reports::BorderListing);
  return true;
}

bool ListBreaklines(Session& session, BreaklineIndex first, BreaklineIndex last) {
  const model::SurfaceModel& m = session.model;
  if (m.BreaklineCount == 0) {
    session.port.ShowInfo(msg::NoBreaklinesDefined);
    return false;
  }
  first = std::max<BreaklineIndex>(first, 1);
  last = std::min(last, m.BreaklineCount);
  if (first > last) {
    session.port.ShowError(msg::FirstBreaklineAfterLast);
    return false;
  }
  TextReport report;
  if (!OpenListing(session, report, reports::BreaklineListing, msg::UnableToListBreaklines)) return false;
  if (first > 1 || last < m.BreaklineCount) report.WriteLine(RangeLine(msg::BreaklineListingRange, first, last));
  report.WriteLine("");
  const bool eastingFirst = settings::EastingFirst(session.settings);
  report.WriteLine(msg::BreaklineListingHeadXY);
  report.WriteLine(eastingFirst ? msg::BreaklineListingColumnsXY : msg::BreaklineListingColumnsYX);
  // A breakline naming no point (a damaged file) is listed with zero coordinates rather than
  // reading past the points.
  const auto plan = [&](PointIndex p) {
    return p >= 1 && p <= m.PointCount ? PlanColumns(session, p) : FormatReal(0, 14, 3) + " " + FormatReal(0, 14, 3);
  };
  for (int b = first; b <= last; ++b) {
    const model::Breakline line = m.Breaklines[b];
    report.WriteLine(" " + FormatInteger(b, 5) + "   " + FormatInteger(line.From, 5) + " " + plan(line.From) + "  " +
                     FormatInteger(line.To, 5) + " " + plan(line.To));
  }
  ShowReport(session, report, reports::BreaklineListing);
  return true;
}

}  // namespace terravue::exchange
