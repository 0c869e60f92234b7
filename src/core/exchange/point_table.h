#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/indices.h"
#include "tin/point_edit.h"

namespace terravue {
struct Session;
}

// The point text editor's engine: the spreadsheet of all points as rows, the commands of its
// list that change the rows (Add, Insert, Delete, Undelete, New, Comment, Jump), the cells'
// edits, and what happens when it closes. The front end shows the rows and calls these.
namespace terravue::exchange {

// The table's columns in display order after the point number.
enum class EditorColumn { Border = 0, Label = 1, First = 2, Second = 3, Elevation = 4 };
inline constexpr int EditorColumnCount = 5;

// What the map must do after the editor closed.
struct EditorCloseResult {
  bool pointsRemain = false;
  bool refit = false;                 // the extents changed: fit the page to the data again
  PointIndex cursorPoint = NoPoint;   // the map cursor moves to this point
  bool triangulationDropped = false;  // edits turned triangles over
};

class PointTableEditor {
 public:
  explicit PointTableEditor(Session& session);

  // Opening: remembers the extents and the triangles' turning sense, empties the undelete stack,
  // and returns the row to start on: the point nearest (x, y), or a new empty point when there
  // are none.
  PointIndex Open(double cursorX, double cursorY);
  // Closing, with the row that was active last.
  EditorCloseResult Close(PointIndex activeRow);

  int Rows() const;
  // The column that holds X: with the Northing-Easting order Y comes first.
  bool EastingFirst() const { return eastingFirst_; }
  std::string_view Heading(EditorColumn column) const;
  // A cell's text: "B" or nothing, the label without its padding, coordinates with 3 decimals.
  std::string CellText(PointIndex row, EditorColumn column) const;
  double CellValue(PointIndex row, EditorColumn column) const;
  // Stores a typed cell: a label of up to four characters, or a number of up to 9 integer
  // digits rounded to thousandths. False (and nothing changed) for a text that is no such
  // number or a read-only column. A real change marks the model modified.
  bool SetCell(PointIndex row, EditorColumn column, std::string_view text);

  // Whether a command may go on, after its message or question: a row can be opened (point
  // capacity), a deleted point can come back (capacity, the stack), p may go (a border point is
  // asked about). A table view asks first, so that it learns of the change as it happens.
  bool MayOpenRow() const;
  bool MayUndelete() const;
  bool MayDelete(PointIndex p) const;

  // The commands. Each returns the row to make active, or nothing when it did nothing. Delete
  // asks MayDelete unless the caller did.
  std::optional<PointIndex> Add();
  std::optional<PointIndex> Insert(PointIndex before);
  std::optional<PointIndex> Delete(PointIndex p, bool confirmed = false);
  std::optional<PointIndex> Undelete();
  // Empties the model after the unsaved-changes question and leaves one empty point.
  std::optional<PointIndex> New();
  void EditComment();
  std::optional<PointIndex> Jump(PointIndex from);

  // Runs a command on the whole surface from inside the editor (Verify, Remove, Factor,
  // Translate, Rotate) and hands back what it returned. A cell's move that already turned a
  // triangle over drops the triangles first, as closing would (the command would build on
  // them); the triangles the command leaves are the ones later moves are checked against.
  bool RunSurfaceCommand(const std::function<bool()>& command);

  // "File Name: SITE.MDL (unmodified)\r\nField Comment: ..." and the totals beside it.
  std::string PanelText() const;
  std::string TotalsText() const;
  // The status line for the active row: "Point #12:  X = 100.000  Y = ...".
  std::string RowHint(PointIndex row) const;

  std::size_t UndeleteDepth() const { return undelete_.Size(); }

 private:
  void Changed(bool dropTriangles);
  // Drops the triangles (with the warning) when a moved point turned one over; true if so.
  bool DropTurnedTriangles();

  Session& session_;
  bool eastingFirst_ = false;
  tin::UndeleteStack undelete_;
  std::array<double, 6> extents_{};
  std::vector<std::int8_t> senses_;
  bool planMoved_ = false;
};

}  // namespace terravue::exchange
