#pragma once

#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "common/safe_file.h"

namespace terravue {

class SettingsRecord;
struct Session;

// The identity of one kind of report: its title (first header line), its work file, and the
// name and title the viewer's Save As proposes.
struct ReportKind {
  std::string_view title;
  std::string_view workName;
  std::string_view saveName;
  std::string_view saveTitle;
};

namespace reports {
inline constexpr ReportKind BreaklineErrors{"Breakline Adjustment Error Listing", "XXBreakline.OUT",
                                            "Breakline Errors.TXT", "Save Breakline Error Listing"};
inline constexpr ReportKind BorderVerification{"Border Verification Listing", "XXBorderVerify.OUT",
                                               "Border Verification.TXT", "Save Border Verification"};
inline constexpr ReportKind BorderErrors{"Triangulation Border Error Listing", "XXBorder.OUT",
                                         "Border Errors.TXT", "Save Border Error Listing"};
inline constexpr ReportKind DataVerification{"Data Verification Listing", "XXVerify.OUT",
                                             "Verification Listing.TXT", "Save Verification Listing"};
inline constexpr ReportKind SingleVerification{"Single Location Verification Listing", "XXVerify.OUT",
                                               "Single Point Verification Listing.TXT",
                                               "Save Verification Listing"};
inline constexpr ReportKind SurfaceInformation{"Surface Model Information", "XXSlope.OUT",
                                               "Slope Analysis.TXT", "Save Slope Analysis"};
inline constexpr ReportKind VectorInformation{"Vector Information", "XXVector.OUT",
                                              "Vector List.TXT", "Save Vector Listing"};
inline constexpr ReportKind BorderListing{"Border Point Listing", "XXBorder.OUT",
                                          "Border Listing.TXT", "Save Border Listing"};
inline constexpr ReportKind PointListing{"Data Point Listing", "XXPoints.OUT", "Point Listing.TXT",
                                         "Save Point Listing"};
inline constexpr ReportKind BreaklineListing{"Breakline Listing", "XXBreakline.OUT",
                                             "Breakline Listing.TXT", "Save Breakline Listing"};
inline constexpr ReportKind VolumeAnalysis{"Volume Analysis", "XXVolume.OUT", "Volume Analysis.TXT",
                                           "Save Volume Analysis"};
}  // namespace reports

inline constexpr std::size_t ReportLineWidth = 78;

// A listing written to a work file: 78-column lines ending in CR LF under a common header. The
// work file appears under its name, whole, when the report is closed.
class TextReport {
 public:
  // Starts workDirectory / workName (replacing any file of that name at Close); false when it
  // cannot be created.
  bool Open(const std::filesystem::path& workDirectory, std::string_view workName);
  void WriteLine(std::string_view text);
  void WriteText(std::string_view text);
  void WriteCentredLine(std::string_view text);
  // The nine header lines: title, product and version, company, date and time, file, and the
  // model's field comment.
  void WriteHeader(std::string_view title, const SettingsRecord& settings, std::string_view fieldComment,
                   const std::tm& now);
  // Puts the file in place; false when any write failed.
  bool Close();
  const std::filesystem::path& Path() const { return path_; }
  // Why Open or Close failed.
  const std::optional<FileProblem>& Problem() const { return file_.Problem(); }

 private:
  std::filesystem::path path_;
  ReplacingFile file_;
};

// "Date: June 5, 2024  Time: 03:07 PM" — English month names whatever the user's locale.
std::string ReportDateTime(const std::tm& now);

// Copies a file byte for byte, creating or replacing the destination through a ReplacingFile;
// false, with `problem` set when given, when the source cannot be read or the write fails.
bool CopyReportFile(const std::filesystem::path& source, const std::filesystem::path& destination,
                    std::optional<FileProblem>* problem = nullptr);

// Shows a closed report in the viewer, then deletes its work file.
void ShowReport(Session& session, TextReport& report, const ReportKind& kind);

}  // namespace terravue
