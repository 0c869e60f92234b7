#pragma once

#include <optional>
#include <string>

#include "exchange/ascii_import.h"

namespace terravue {
class SettingsRecord;
struct Session;
namespace tin {
struct LocateState;
}
}  // namespace terravue

// Process > Auto Process: a coordinate file, and optionally a border and a breakline file, made
// into a triangulated surface in one run with the stored import settings: load, verify, border,
// triangulate. The dialog's rules are here too; the front end only shows them.
namespace terravue::exchange {

// The choices of one run.
struct AutoProcessRun {
  bool append = false;           // the points join the model held (asked before the dialog)
  bool loadBorder = false;
  bool loadBreaklines = false;
  bool eraseBreaklines = false;  // appending: the held breaklines go before the file's are read
  // The batch tool: a coordinate file with more points than the model holds ends the run
  // rather than going on with the points that fitted.
  bool stopWhenCut = false;
};

// Where a run ended. Every stop but Completed has shown its error message.
enum class AutoProcessEnd {
  Completed,             // triangulated
  CoordinateFileMissing,
  NoPoints,              // the coordinate file gave no points
  CutAtCapacity,         // stopWhenCut: the file held more points than the model does
  VerificationFailed,    // points at one place: loaded, not triangulated
  BorderInvalid,         // the ring is broken: loaded, not triangulated
  TriangulationFailed,   // the triangulation ended with an error of its own
};

// The steps in order. Whatever was loaded before a stop stays in the model. Auto Process holds
// no state of its own between runs: the loaders and the triangulation are told it is running
// through their options, so nothing stays "running" after a failure.
AutoProcessEnd AutoProcess(Session& session, tin::LocateState& state, const AutoProcessRun& run);

// What the dialog shows for one kind of file: the stored name shortened to `nameWidth`
// characters (or "No file specified."), the format as the import dialog's custom text, and for
// coordinates "Yes" or "No" for the removal of duplicates.
struct AutoProcessGroup {
  std::string fileName;
  std::string format;
  std::string removeDuplicates;
};
AutoProcessGroup DescribeGroup(const SettingsRecord& settings, AsciiKind kind, std::size_t nameWidth);
// "Continue" needs a stored coordinate file name.
bool CanContinue(const SettingsRecord& settings);

// The check boxes checked while appending: the questions about the border and the breaklines
// held. The answer is the box's new state; for breaklines `erase` gets the second answer.
bool ConfirmLoadBorder(Session& session, bool append);
bool ConfirmLoadBreaklines(Session& session, bool append, bool& erase);

// The stored choices in front of the import records, written when "Continue" is pressed.
void StoreAutoLoadChoices(SettingsRecord& settings, bool loadBorder, bool loadBreaklines);

}  // namespace terravue::exchange
