#pragma once

// Runs one byte string through the LandXML import and lists every promise it broke. Shared by
// the libFuzzer target and the corpus regression test, so it depends on the engine only.
//
// The import either refuses the text (a LandXmlError, nothing else) or gives a model that passes
// the invariant check with finite coordinates; that model, exported and read again, gives back
// the same points and triangles, and no more border points or breaklines (points that share a
// position may take each other's place on the border, as their file names vertices only by
// position).

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "exchange/landxml_export.h"
#include "exchange/landxml_import.h"
#include "model/surface_model.h"

namespace terravue::fuzz {

namespace landxml_detail {

inline void CheckModel(const model::SurfaceModel& m, const std::string& what, std::vector<std::string>& problems) {
  for (const std::string& fault : model::CheckTopology(m)) problems.push_back(what + ": " + fault);
  for (std::size_t i = 1; i <= m.PointCount; ++i)
    if (!std::isfinite(m.PointX[i]) || !std::isfinite(m.PointY[i]) || !std::isfinite(m.PointZ[i]))
      problems.push_back(what + ": point " + std::to_string(i) + " is not finite");
}

struct Counts {
  std::size_t points, triangles, border, breaklines;
  bool ReadBackAs(const Counts& back) const {
    return back.points == points && back.triangles == triangles && back.border <= border &&
           back.breaklines <= breaklines;
  }
};

inline Counts CountsOf(const model::SurfaceModel& m) {
  std::size_t border = 0;
  for (std::size_t i = 1; i <= m.PointCount; ++i) border += m.BorderNext[i] != NoPoint ? 1 : 0;
  return {m.PointCount, m.TriangleCount, border, m.BreaklineCount};
}

}  // namespace landxml_detail

// `m` and `again` must be allocated; they are overwritten.
inline std::vector<std::string> ExerciseLandXmlImport(model::SurfaceModel& m, model::SurfaceModel& again,
                                                      std::span<const std::uint8_t> bytes) {
  using namespace landxml_detail;
  std::vector<std::string> problems;
  const std::string text(bytes.begin(), bytes.end());
  try {
    const exchange::LandXmlDocument document(text);
    const std::size_t surfaces = document.Surfaces().size();
    // A few surfaces are enough to reach every path; files of thousands would only be slow.
    for (std::size_t k = 0; k < std::max<std::size_t>(surfaces, 1) && k < 3; ++k) {
      const std::string what = surfaces == 0 ? "CgPoints" : "surface " + std::to_string(k);
      try {
        surfaces == 0 ? document.ReadPoints(m) : document.Read(k, m);
      } catch (const exchange::LandXmlError&) {
        continue;
      }
      CheckModel(m, what, problems);
      if (!problems.empty()) return problems;

      const std::string written = exchange::BuildLandXmlText(m, {});
      try {
        const exchange::LandXmlDocument back(written);
        back.Read(0, again);
      } catch (const exchange::LandXmlError& e) {
        problems.push_back(what + ": its export does not read back: " + e.message);
        return problems;
      }
      if (!CountsOf(m).ReadBackAs(CountsOf(again))) problems.push_back(what + ": its export reads back different");
    }
  } catch (const exchange::LandXmlError&) {
  }
  return problems;
}

}  // namespace terravue::fuzz
