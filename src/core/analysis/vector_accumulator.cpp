#include "analysis/vector_accumulator.h"

#include <algorithm>

namespace terravue::analysis {

bool VectorAccumulator::Record(bool continues, bool closedHead, double x, double y, double z) {
  if (!recording) return true;
  if (Full()) return false;
  vertices_.push_back({x, y, z, continues, closedHead});
  return true;
}

std::size_t VectorAccumulator::VectorCount() const {
  if (vertices_.empty()) return 0;
  return static_cast<std::size_t>(
      std::count_if(vertices_.begin() + 1, vertices_.end(), [](const VectorVertex& v) { return v.ContinuesPrevious; }));
}

bool VectorAccumulator::AnyClosedHead() const {
  if (vertices_.empty()) return false;
  return std::any_of(vertices_.begin() + 1, vertices_.end(),
                     [](const VectorVertex& v) { return v.ContinuesPrevious && v.ClosedHead; });
}

}  // namespace terravue::analysis
