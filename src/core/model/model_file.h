#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "common/safe_file.h"
#include "model/indices.h"

namespace terravue {
struct Session;
}

namespace terravue::model {

class SurfaceModel;

// File type codes: 2 the program's own ".MDL", 3 the sibling ".MDV"; any other code reads and
// writes the third variant ".MDX". 0 marks data imported from ASCII (no model file yet).
inline constexpr int ModelFileTypeImport = 0;
inline constexpr int ModelFileTypeMdl = 2;
inline constexpr int ModelFileTypeMdv = 3;

enum class ModelFileStatus {
  Ok,
  NotOpened,       // the file could not be opened
  ReadError,       // the file ended early or a read failed
  BadHeader,       // magic or a section tag differs
  TooLarge,        // a section would exceed its capacity
  InvalidData,     // an index outside the file's own counts, a coordinate that is not finite or
                   // beyond MaxCoordinate, more cut/fill values than points, or first indices
                   // the store cannot take
  NothingToWrite,  // no points in the range to write; no file was touched
  WriteError,      // the file could not be created, written or put in place
};

// What a read found besides its status.
struct ModelReadNotes {
  // Why the file could not be opened, or what in it is out of range (InvalidData).
  std::optional<FileProblem> problem;
  // When not empty, the file's triangles failed CheckTriangleTopology and were left out: the
  // model was read untriangulated, with its points, border and breaklines.
  std::vector<std::string> triangleFaults;
};

// Reads a model file so that its point 1 lands at firstPoint, triangle 1 at firstTriangle and
// breakline 1 at firstBreakline (all 1 to replace the model; count + 1 to append behind it).
// Stored indices are copied unchanged (file numbering), after being checked against the
// file's own counts. Coordinates are held to MaxCoordinate as the import holds them. On
// failure the counts and the comment are put back: replacing leaves an empty model, appending
// leaves the first surface as it was. Triangles that do not form a sound surface are dropped
// (see ModelReadNotes) rather than failing the read.
ModelFileStatus ReadModelFile(SurfaceModel& model, const std::filesystem::path& file,
                              PointIndex firstPoint, TriangleIndex firstTriangle, int fileType,
                              BreaklineIndex firstBreakline, ModelReadNotes* notes = nullptr);
// The same from any byte stream (memory, a file already open).
ModelFileStatus ReadModelStream(SurfaceModel& model, std::istream& in, PointIndex firstPoint,
                                TriangleIndex firstTriangle, int fileType,
                                BreaklineIndex firstBreakline, ModelReadNotes* notes = nullptr);

// The message shown for a failed read or write, e.g. "Bad header in .MDL file."; empty for Ok
// and NothingToWrite.
std::string ModelFileMessage(ModelFileStatus status, int fileType);

// ReadModelFile that shows its failure message through the session's port (with the file and
// the reason), and the warning that the triangles were left out when they were.
bool ReadModelFile(Session& session, const std::filesystem::path& file, PointIndex firstPoint,
                   TriangleIndex firstTriangle, int fileType, BreaklineIndex firstBreakline);
// Shows a read's failure message, or its warning about dropped triangles; nothing for Ok.
void ShowModelReadOutcome(Session& session, ModelFileStatus status, int fileType, const ModelReadNotes& notes);

// Writes points firstPoint..lastPoint; triangles and breaklines only for the whole model
// (1..PointCount). Border links of a partial range are renumbered to it, links leaving it are
// dropped, so that the file is always readable on its own.
ModelFileStatus WriteModelStream(const SurfaceModel& model, std::ostream& out,
                                 PointIndex firstPoint, PointIndex lastPoint, int fileType);
// The same through a ReplacingFile, so the previous file survives any failure; `problem`
// receives the file and the reason of a WriteError.
ModelFileStatus WriteModelFile(const SurfaceModel& model, const std::filesystem::path& file,
                               PointIndex firstPoint, PointIndex lastPoint, int fileType,
                               std::optional<FileProblem>* problem = nullptr);

// WriteModelFile for the commands: does nothing and returns false when there are no points;
// shows "File management error." (with the file and the reason) when the write fails; on
// success marks the model saved and tells the front end to refresh its caption.
bool WriteModelFile(Session& session, const std::filesystem::path& file, PointIndex firstPoint,
                    PointIndex lastPoint, int fileType);

}  // namespace terravue::model
