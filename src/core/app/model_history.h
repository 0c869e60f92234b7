#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/surface_model.h"

namespace terravue {
struct Session;
}

// Undo and redo for every change to the surface model, whatever command made it: the model is
// copied before each command that may change it, and the copy is kept when the command did
// change it. Only the used part of each array is copied, so small models cost little.
namespace terravue::app {

// The model's content: counts, the used entries of every array, extents and comment.
class ModelSnapshot {
 public:
  static ModelSnapshot Of(const model::SurfaceModel& m);
  // Puts the content back; the contour triangle list (derived from it) starts afresh.
  void RestoreInto(model::SurfaceModel& m) const;
  bool Matches(const model::SurfaceModel& m) const;
  std::size_t Bytes() const;

 private:
  std::uint16_t pointCount_ = 0, triangleCount_ = 0, breaklineCount_ = 0, cutFillCount_ = 0;
  std::vector<double> x_, y_, z_, cutFill_;
  std::vector<model::PointLabelText> labels_;
  std::vector<PointIndex> borderNext_;
  std::vector<model::TriangleCorners> corners_;
  std::vector<model::TriangleNeighbours> neighbours_;
  std::vector<model::Breakline> breaklines_;
  std::array<std::uint8_t, 1 + model::SurfaceModel::CommentLength> comment_{};
  std::array<double, 10> extents_{};
  bool sortAxisIsX_ = true;
};

class ModelHistory {
 public:
  struct Limits {
    std::size_t depth = 100;
    std::size_t bytes = std::size_t{256} << 20;
  };
  ModelHistory() = default;
  explicit ModelHistory(Limits limits) : limits_(limits) {}

  // Around one command: Begin copies the model, End keeps the copy under the command's name
  // when the model changed. Nested pairs (a command running another) count as the outer one.
  // A command that changed the model and left it saved (opening a file, a new model) starts
  // the history afresh; one that left it unchanged and saved (a save) marks this state saved.
  void Begin(const model::SurfaceModel& m);
  void End(Session& session, std::string_view name);

  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }
  // "Undo Delete Point", "Redo Delete Point"; plain "Undo" / "Redo" when there is nothing.
  std::string UndoText() const;
  std::string RedoText() const;
  // Steps back (or forward) one change. The model is unmodified again exactly when the state
  // reached is the one last saved. False when there is nothing to undo (redo).
  bool Undo(Session& session);
  bool Redo(Session& session);
  void Clear();
  std::size_t Bytes() const;

 private:
  struct Entry {
    ModelSnapshot snapshot;
    std::string name;
    std::uint64_t state = 0;  // the state the snapshot holds
  };
  bool Step(Session& session, std::vector<Entry>& from, std::vector<Entry>& to);
  void Trim();

  Limits limits_;
  std::vector<Entry> undo_, redo_;
  ModelSnapshot pending_;
  int depth_ = 0;
  std::uint64_t current_ = 0, next_ = 1, saved_ = 0;
};

}  // namespace terravue::app
