#include "analysis/volume_report.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/app_settings.h"
#include "common/format.h"
#include "common/messages.h"
#include "common/session.h"
#include "common/settings_record.h"
#include "common/text_report.h"
#include "common/user_port.h"
#include "model/surface_model.h"

namespace terravue::analysis {
namespace {

constexpr double SquareMetresPerHectare = 10000;
constexpr double SquareFeetPerAcre = 43560;
constexpr double CubicFeetPerCubicYard = 27;
// Values and volumes below this are not shown (N/A).
constexpr double NotAvailableBelow = 1e-4;
// A comment is shown up to this many characters.
constexpr std::size_t ShownCommentLength = 64;

std::string Real(double v, int width) { return FormatReal(v, width, 3); }

std::string Join(std::initializer_list<std::string_view> parts) {
  std::string text;
  for (std::string_view part : parts) text += part;
  return text;
}

void WriteSurface(TextReport& r, std::string_view title, const VolumeReportSurface& surface) {
  r.WriteLine(title);
  r.WriteLine(Join({msg::VolumeReportFileName, surface.fileName}));
  const std::string_view comment = surface.comment;
  r.WriteLine(Join({msg::VolumeReportComment,
                    comment.empty() ? msg::VolumeReportNoComment : comment.substr(0, ShownCommentLength)}));
}

// A value, or the N/A field when there is none.
std::string ValueOrNotAvailable(double v, bool available) {
  return available ? Real(v, 15) : std::string(msg::ValueNotAvailable);
}

void WriteAreasAndVolumes(TextReport& r, const VolumeTotals& v, const VolumeReportOptions& o, bool metric) {
  const double perArea = metric ? SquareMetresPerHectare : SquareFeetPerAcre;
  r.WriteLine(Join({metric ? msg::CommonAreaHectares : msg::CommonAreaAcres, Real(v.CommonArea / perArea, 15)}));
  r.WriteLine(Join({metric ? msg::CutAreaHectares : msg::CutAreaAcres, Real(v.CutArea / perArea, 15)}));
  r.WriteLine(Join({metric ? msg::FillAreaHectares : msg::FillAreaAcres, Real(v.FillArea / perArea, 15)}));

  r.WriteLine("");
  r.WriteLine(msg::VolumeColumns);
  const double perVolume = metric ? 1 : CubicFeetPerCubicYard;
  const double cut = v.CutVolume / perVolume, fill = v.FillVolume / perVolume;
  r.WriteLine(Join({metric ? msg::CutVolumeMeters : msg::CutVolumeYards, Real(cut, 15), "     ",
                    Real(o.cutFactor, 6), "     ", Real(cut * o.cutFactor, 15)}));
  r.WriteLine(Join({metric ? msg::FillVolumeMeters : msg::FillVolumeYards, Real(fill, 15), "     ",
                    Real(o.fillFactor, 6), "     ", Real(fill * o.fillFactor, 15)}));
  r.WriteLine(msg::VolumeRule);

  // Ratios of nearly nothing say nothing.
  const bool ratio = std::fabs(v.CutVolume) >= NotAvailableBelow && std::fabs(v.FillVolume) >= NotAvailableBelow;
  const double netCut = v.CutVolume * o.cutFactor, netFill = v.FillVolume * o.fillFactor;
  const bool netRatio = std::fabs(netCut) >= NotAvailableBelow && std::fabs(netFill) >= NotAvailableBelow;
  r.WriteLine(Join({msg::RatioOfCutFill,
                    ratio ? Real(v.CutVolume / v.FillVolume, 15) : std::string(msg::RatioNotAvailable),
                    msg::RatioGap, netRatio ? Real(netCut / netFill, 15) : std::string(msg::NetRatioNotAvailable)}));
}

void WriteExtremes(TextReport& r, const VolumeTotals& v, bool eastingFirst) {
  const bool cut = v.MaxCut >= NotAvailableBelow, fill = v.MaxFill >= NotAvailableBelow;
  r.WriteLine("");
  r.WriteLine(Join({msg::LocationMaxCut, ValueOrNotAvailable(v.MaxCut, cut), msg::LocationMaxFill,
                    ValueOrNotAvailable(v.MaxFill, fill)}));
  const std::string cutX = ValueOrNotAvailable(v.MaxCutX, cut), fillX = ValueOrNotAvailable(v.MaxFillX, fill);
  const std::string cutY = ValueOrNotAvailable(v.MaxCutY, cut), fillY = ValueOrNotAvailable(v.MaxFillY, fill);
  if (eastingFirst) {
    r.WriteLine(Join({msg::MaxCutX, cutX, msg::MaxFillX, fillX}));
    r.WriteLine(Join({msg::MaxCutY, cutY, msg::MaxFillY, fillY}));
  } else {
    r.WriteLine(Join({msg::MaxCutNorthing, cutY, msg::MaxFillNorthing, fillY}));
    r.WriteLine(Join({msg::MaxCutEasting, cutX, msg::MaxFillEasting, fillX}));
  }
}

void WriteComments(TextReport& r, const VolumeReportOptions& o) {
  r.WriteLine("");
  r.WriteLine(msg::ReportCommentsTitle);
  r.WriteLine("");
  bool any = false;
  for (const std::string& line : o.comments) {
    if (line.empty()) continue;
    r.WriteLine(std::string_view(line).substr(0, VolumeReportOptions::CommentLength));
    any = true;
  }
  if (!any) r.WriteLine(msg::NoReportComments);
}

// One line per point of the surface, numbered within it, with the magnitude of its cut/fill
// and F (fill) or C (cut) unless that prints as zero.
void WriteListing(TextReport& r, std::string_view title, const VolumeReportSurface& surface, bool includeZero,
                  bool eastingFirst) {
  r.WriteLine("");
  r.WriteLine("");
  r.WriteCentredLine(msg::CutFillListingTitle);
  r.WriteCentredLine(title);
  r.WriteCentredLine(Join({msg::CutFillListingFile, surface.fileName}));
  r.WriteLine("");
  r.WriteLine(eastingFirst ? msg::CutFillColumnsXY : msg::CutFillColumnsNE);
  if (surface.model == nullptr) return;
  const model::SurfaceModel& m = *surface.model;
  const std::size_t stored = std::min({m.PointX.size(), m.PointY.size(), m.PointZ.size()});
  const std::size_t count = stored == 0 ? 0 : std::min<std::size_t>(m.PointCount, stored - 1);
  for (std::size_t i = 1; i <= count; ++i) {
    const double cutFill = surface.cutFill && i < surface.cutFill->size() ? (*surface.cutFill)[i] : 0.0;
    if (!includeZero && std::fabs(cutFill) < NotAvailableBelow) continue;
    const std::string first = Real(eastingFirst ? m.PointX[i] : m.PointY[i], 14);
    const std::string second = Real(eastingFirst ? m.PointY[i] : m.PointX[i], 14);
    const std::string magnitude = Real(std::fabs(cutFill), 14);
    std::string line = Join({"<", FormatInteger(static_cast<std::int64_t>(i), 4), ":",
                             m.GetPointLabel(static_cast<PointIndex>(i)), ">", first, second,
                             Real(m.PointZ[i], 14), magnitude});
    if (Real(std::fabs(cutFill), 0) != "0.000") line += cutFill < 0 ? " C" : " F";
    r.WriteLine(line);
  }
}

}  // namespace

void WriteVolumeReportBody(TextReport& report, const VolumeReportData& data, const VolumeReportOptions& options,
                           bool metric, bool eastingFirst) {
  report.WriteLine("");
  WriteSurface(report, msg::VolumeReportExisting, data.existing);
  report.WriteLine("");
  WriteSurface(report, msg::VolumeReportProposed, data.proposed);
  report.WriteLine("");
  report.WriteLine("");
  WriteAreasAndVolumes(report, data.totals, options, metric);
  WriteExtremes(report, data.totals, eastingFirst);
  WriteComments(report, options);

  const bool existing = options.listing == CutFillListing::Both || options.listing == CutFillListing::Existing;
  const bool proposed = options.listing == CutFillListing::Both || options.listing == CutFillListing::Proposed;
  if (existing)
    WriteListing(report, msg::VolumeReportExisting, data.existing, options.includeZeroCutFill, eastingFirst);
  if (proposed)
    WriteListing(report, msg::VolumeReportProposed, data.proposed, options.includeZeroCutFill, eastingFirst);
}

bool ShowVolumeReport(Session& session, const VolumeReportData& data, const VolumeReportOptions& options) {
  TextReport report;
  if (!report.Open(session.workDirectory, reports::VolumeAnalysis.workName)) {
    session.port.ShowError(msg::UnableToDisplayOutput);
    return false;
  }
  report.WriteHeader(reports::VolumeAnalysis.title, session.settings, session.model.Comment(), session.clock());
  WriteVolumeReportBody(report, data, options, session.settings.Get(settings::Units) == 1,
                        settings::EastingFirst(session.settings));
  ShowReport(session, report, reports::VolumeAnalysis);
  return true;
}

}  // namespace terravue::analysis
