#include "exchange/point_search.h"

#include <cmath>
#include <limits>

#include "common/messages.h"
#include "common/user_port.h"
#include "model/surface_model.h"

namespace terravue::exchange {

namespace {
// The score of a point whose label differs: never a winner.
constexpr double NoMatch = 1.7e308;
constexpr double ExactTolerance = 0.0001;
}  // namespace

std::string RightJustifiedLabel(const std::string& text) {
  std::string label = text.substr(0, 4);
  return std::string(4 - label.size(), ' ') + label;
}

bool PointSearch::NewSearch(const model::SurfaceModel& m, UserPort& port, const SearchCriteria& criteria) {
  criteria_ = criteria;
  criteria_.label = RightJustifiedLabel(criteria.label);
  current_ = NoPoint;
  if (!criteria_.Any()) return false;
  return Run(m, port);
}

bool PointSearch::ContinueSearch(const model::SurfaceModel& m, UserPort& port) {
  if (!criteria_.Any()) return false;
  if (Run(m, port)) return true;
  current_ = NoPoint;
  return false;
}

bool PointSearch::CanContinue(const model::SurfaceModel& m) const {
  return criteria_.Any() && current_ >= 1 && current_ < m.PointCount;
}

bool PointSearch::HasResult(const model::SurfaceModel& m) const { return current_ >= 1 && current_ <= m.PointCount; }

bool PointSearch::Run(const model::SurfaceModel& m, UserPort& port) {
  const SearchCriteria& c = criteria_;
  PointIndex best = NoPoint;
  double bestScore = NoMatch;
  for (int p = current_ + 1; p <= m.PointCount; ++p) {
    if (c.useLabel) {
      const model::PointLabelText& label = m.PointLabel[p];
      if (std::string(label.begin(), label.end()) != c.label) continue;
    }
    double score = 0;
    if (c.useX) score += std::fabs(m.PointX[p] - c.x);
    if (c.useY) score += std::fabs(m.PointY[p] - c.y);
    if (c.useZ) score += std::fabs(m.PointZ[p] - c.z);
    if (score < bestScore) {
      bestScore = score;
      best = static_cast<PointIndex>(p);
    }
  }
  if (best == NoPoint) {
    if (c.useLabel) port.ShowError(msg::LabelNotFound);
    return false;
  }
  if (c.type == SearchType::Exact && !(bestScore < ExactTolerance)) {
    port.ShowError(msg::ExactMatchNotFound);
    return false;
  }
  current_ = best;
  return true;
}

}  // namespace terravue::exchange
