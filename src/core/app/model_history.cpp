#include "app/model_history.h"

#include <algorithm>
#include <cstring>

#include "common/app_settings.h"
#include "common/session.h"
#include "common/settings_record.h"
#include "common/user_port.h"

namespace terravue::app {

using model::SurfaceModel;

namespace {

template <class T>
std::vector<T> Head(const model::StoreArray<T>& v, std::size_t count) {
  return std::vector<T>(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(std::min(count, v.size())));
}

template <class T>
void PutHead(model::StoreArray<T>& v, const std::vector<T>& head) {
  std::copy(head.begin(), head.end(), v.begin());
}

template <class T>
bool SameHead(const model::StoreArray<T>& v, const std::vector<T>& head) {
  return head.size() <= v.size() && (head.empty() || std::memcmp(v.data(), head.data(), head.size() * sizeof(T)) == 0);
}

template <class T>
std::size_t BytesOf(const std::vector<T>& v) {
  return v.size() * sizeof(T);
}

std::array<double, 10> ExtentsOf(const SurfaceModel& m) {
  return {m.MinX, m.MinY, m.MinZ, m.MaxX, m.MaxY, m.MaxZ, m.MidX, m.MidY, m.MidZ, m.ExtentDiagonal};
}

}  // namespace

ModelSnapshot ModelSnapshot::Of(const SurfaceModel& m) {
  ModelSnapshot s;
  // Entry 0 of each array is no element but is copied all the same: it costs one entry.
  const std::size_t points = std::size_t{m.PointCount} + 1, triangles = std::size_t{m.TriangleCount} + 1;
  s.pointCount_ = m.PointCount;
  s.triangleCount_ = m.TriangleCount;
  s.breaklineCount_ = m.BreaklineCount;
  s.cutFillCount_ = m.CutFillCount;
  s.x_ = Head(m.PointX, points);
  s.y_ = Head(m.PointY, points);
  s.z_ = Head(m.PointZ, points);
  s.cutFill_ = Head(m.PointCutFill, std::max(points, std::size_t{m.CutFillCount} + 1));
  s.labels_ = Head(m.PointLabel, points);
  s.borderNext_ = Head(m.BorderNext, points);
  s.corners_ = Head(m.TriVertex, triangles);
  s.neighbours_ = Head(m.TriNeighbour, triangles);
  s.breaklines_ = Head(m.Breaklines, std::size_t{m.BreaklineCount} + 1);
  s.comment_ = m.FieldComment;
  s.extents_ = ExtentsOf(m);
  s.sortAxisIsX_ = m.SortAxisIsX;
  return s;
}

void ModelSnapshot::RestoreInto(SurfaceModel& m) const {
  if (!m.IsAllocated()) return;
  m.PointCount = pointCount_;
  m.TriangleCount = triangleCount_;
  m.BreaklineCount = breaklineCount_;
  m.CutFillCount = cutFillCount_;
  PutHead(m.PointX, x_);
  PutHead(m.PointY, y_);
  PutHead(m.PointZ, z_);
  PutHead(m.PointCutFill, cutFill_);
  PutHead(m.PointLabel, labels_);
  PutHead(m.BorderNext, borderNext_);
  PutHead(m.TriVertex, corners_);
  PutHead(m.TriNeighbour, neighbours_);
  PutHead(m.Breaklines, breaklines_);
  m.FieldComment = comment_;
  m.MinX = extents_[0], m.MinY = extents_[1], m.MinZ = extents_[2];
  m.MaxX = extents_[3], m.MaxY = extents_[4], m.MaxZ = extents_[5];
  m.MidX = extents_[6], m.MidY = extents_[7], m.MidZ = extents_[8];
  m.ExtentDiagonal = extents_[9];
  m.SortAxisIsX = sortAxisIsX_;
  m.ResetContourTriList();
}

bool ModelSnapshot::Matches(const SurfaceModel& m) const {
  return m.PointCount == pointCount_ && m.TriangleCount == triangleCount_ && m.BreaklineCount == breaklineCount_ &&
         m.CutFillCount == cutFillCount_ && SameHead(m.PointX, x_) && SameHead(m.PointY, y_) &&
         SameHead(m.PointZ, z_) && SameHead(m.PointCutFill, cutFill_) && SameHead(m.PointLabel, labels_) &&
         SameHead(m.BorderNext, borderNext_) && SameHead(m.TriVertex, corners_) &&
         SameHead(m.TriNeighbour, neighbours_) && SameHead(m.Breaklines, breaklines_) &&
         m.FieldComment == comment_ && ExtentsOf(m) == extents_ && m.SortAxisIsX == sortAxisIsX_;
}

std::size_t ModelSnapshot::Bytes() const {
  return BytesOf(x_) + BytesOf(y_) + BytesOf(z_) + BytesOf(cutFill_) + BytesOf(labels_) + BytesOf(borderNext_) +
         BytesOf(corners_) + BytesOf(neighbours_) + BytesOf(breaklines_) + sizeof(*this);
}

void ModelHistory::Begin(const SurfaceModel& m) {
  if (depth_++ == 0) pending_ = ModelSnapshot::Of(m);
}

void ModelHistory::End(Session& session, std::string_view name) {
  if (depth_ == 0 || --depth_ > 0) return;
  const bool saved = session.settings.Get(settings::ModelSaved);
  if (pending_.Matches(session.model)) {
    if (saved) saved_ = current_;
  } else if (saved) {
    // Another model came in from its file: the steps of the last one do not apply to it.
    Clear();
    saved_ = current_;
  } else {
    undo_.push_back({std::move(pending_), std::string(name), current_});
    redo_.clear();
    current_ = next_++;
    Trim();
  }
  pending_ = {};
}

std::string ModelHistory::UndoText() const { return undo_.empty() ? "Undo" : "Undo " + undo_.back().name; }
std::string ModelHistory::RedoText() const { return redo_.empty() ? "Redo" : "Redo " + redo_.back().name; }

bool ModelHistory::Step(Session& session, std::vector<Entry>& from, std::vector<Entry>& to) {
  if (from.empty() || depth_ > 0) return false;
  Entry entry = std::move(from.back());
  from.pop_back();
  to.push_back({ModelSnapshot::Of(session.model), entry.name, current_});
  entry.snapshot.RestoreInto(session.model);
  current_ = entry.state;
  session.settings.Set(settings::ModelSaved, current_ == saved_);
  session.port.ModelStateChanged();
  Trim();
  return true;
}

bool ModelHistory::Undo(Session& session) { return Step(session, undo_, redo_); }
bool ModelHistory::Redo(Session& session) { return Step(session, redo_, undo_); }

void ModelHistory::Clear() {
  undo_.clear();
  redo_.clear();
}

std::size_t ModelHistory::Bytes() const {
  std::size_t total = 0;
  for (const auto* list : {&undo_, &redo_})
    for (const Entry& e : *list) total += e.snapshot.Bytes();
  return total;
}

// The oldest steps go first, redo steps before undo steps; the newest undo step always stays.
void ModelHistory::Trim() {
  while (undo_.size() > limits_.depth) undo_.erase(undo_.begin());
  while (redo_.size() > limits_.depth) redo_.erase(redo_.begin());
  while (Bytes() > limits_.bytes && !redo_.empty()) redo_.erase(redo_.begin());
  while (Bytes() > limits_.bytes && undo_.size() > 1) undo_.erase(undo_.begin());
}

}  // namespace terravue::app
