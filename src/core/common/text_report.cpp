#include "common/text_report.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <system_error>

#include "common/app_settings.h"
#include "common/format.h"
#include "common/messages.h"
#include "common/session.h"
#include "common/settings_record.h"
#include "common/user_port.h"

namespace terravue {

bool TextReport::Open(const std::filesystem::path& workDirectory, std::string_view workName) {
  path_ = workDirectory / std::filesystem::path(std::string(workName));
  return file_.Create(path_);
}

void TextReport::WriteLine(std::string_view text) {
  file_.Write(text);
  file_.Write("\r\n");
}

void TextReport::WriteText(std::string_view text) { file_.Write(text); }

void TextReport::WriteCentredLine(std::string_view text) {
  const int blanks = (static_cast<int>(ReportLineWidth) - static_cast<int>(text.size())) / 2;
  if (blanks > 0) file_.Write(std::string(static_cast<std::size_t>(blanks), ' '));
  WriteLine(text);
}

void TextReport::WriteHeader(std::string_view title, const SettingsRecord& settings,
                             std::string_view fieldComment, const std::tm& now) {
  WriteCentredLine(title);
  WriteCentredLine(std::string(msg::ProductName) + " v" + std::string(msg::VersionText));
  WriteCentredLine(settings.Get(settings::CompanyName));
  WriteLine("");
  WriteCentredLine(ReportDateTime(now));
  const std::string fileName = settings.Get(settings::ModelFileName);
  WriteCentredLine(fileName.empty() ? std::string(msg::ReportFileNotAvailable) : "File: " + fileName);
  if (fieldComment.empty())
    WriteLine("");
  else
    WriteCentredLine(fieldComment);
  WriteLine("");
  WriteLine(std::string(ReportLineWidth, '-'));
}

bool TextReport::Close() { return file_.Commit(); }

std::string ReportDateTime(const std::tm& now) {
  // The report header is English whatever the user's locale, so the names are spelled here.
  static constexpr std::array<std::string_view, 12> kMonths = {
      "January", "February", "March",     "April",   "May",      "June",
      "July",    "August",   "September", "October", "November", "December"};
  const int month = now.tm_mon >= 0 && now.tm_mon < 12 ? now.tm_mon : 0;
  const int hour12 = now.tm_hour % 12 == 0 ? 12 : now.tm_hour % 12;
  std::array<char, 32> clock{};
  std::snprintf(clock.data(), clock.size(), "%02d:%02d %s", hour12, now.tm_min,
                now.tm_hour < 12 ? "AM" : "PM");
  return "Date: " + std::string(kMonths[static_cast<std::size_t>(month)]) + " " +
         FormatInteger(now.tm_mday, 0) + ", " + FormatInteger(now.tm_year + 1900, 0) +
         "  Time: " + clock.data();
}

bool CopyReportFile(const std::filesystem::path& source, const std::filesystem::path& destination,
                    std::optional<FileProblem>* problem) {
  std::ifstream in;
  std::optional<FileProblem> failed = OpenRegularFile(source, in);
  if (!failed) {
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
      failed = FileProblem{AbsolutePath(source), std::generic_category().message(EIO)};
    else
      failed = WriteWholeFile(destination, bytes);
  }
  if (!failed) return true;
  if (problem) *problem = std::move(failed);
  return false;
}

void ShowReport(Session& session, TextReport& report, const ReportKind& kind) {
  const bool complete = report.Close();
  if (complete)
    session.port.ShowReport(report.Path().string(), kind.saveName, kind.saveTitle);
  else
    session.port.ShowFileError(msg::FileManagementError, *report.Problem());
  std::error_code ignored;
  std::filesystem::remove(report.Path(), ignored);
}

}  // namespace terravue
