#pragma once

// Runs one byte string through the ASCII loaders (points, border, breaklines) over a small
// model and lists every promise a loader broke. Shared by the libFuzzer target and the corpus
// regression test, so it depends on the engine only.
//
// Input layout: byte 0 chooses the run, bytes 1 to 10 the field codes, the rest is the file.
//   bits 0-1  0 points, 1 border, 2 breaklines, 3 all three in turn on the same file
//   bit 2     append the points          bit 3  remove duplicates
//   bit 4     Auto Process is running    bit 5  predefined entry (byte 1 mod 4) instead of codes

#include <array>
#include <cmath>
#include <cstdint>
#include <set>
#include <span>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "common/quiet_port.h"
#include "common/session.h"
#include "app/settings_file.h"
#include "common/user_port.h"
#include "exchange/ascii_import.h"
#include "model/surface_model.h"
#include "tin/geometry.h"

namespace terravue::fuzz {

// Sixteen points on a 4 x 4 grid of unit squares (point k at ((k-1) mod 4, (k-1) div 4)), the
// outline as the border, one triangle and two breaklines. The slots beyond the counts, as many
// as a file of `fileSize` bytes could fill, hold junk that no load may let through: NaN
// positions, self-linked border slots, "JUNK" labels, breaklines from a point to itself.
inline void BuildAsciiBaseModel(model::SurfaceModel& m, std::size_t fileSize) {
  m.ClearModel();
  const std::size_t slots = std::min(m.PointX.size(), 16 + fileSize / 2 + 2);
  for (std::size_t i = 0; i < slots; ++i) {
    m.PointX[i] = m.PointY[i] = m.PointZ[i] = std::nan("");
    m.PointCutFill[i] = 7.5;
    m.PointLabel[i] = {'J', 'U', 'N', 'K'};
    m.BorderNext[i] = static_cast<PointIndex>(i);
  }
  for (std::size_t b = 0; b < std::min(m.Breaklines.size(), slots); ++b)
    m.Breaklines[b] = {static_cast<PointIndex>(b % 16 + 1), static_cast<PointIndex>(b % 16 + 1)};
  m.BorderNext[0] = NoPoint;
  for (PointIndex i = 1; i <= 16; ++i) {
    m.PointX[i] = (i - 1) % 4;
    m.PointY[i] = (i - 1) / 4;
    m.PointZ[i] = i;
    m.PointCutFill[i] = 0;
    m.SetPointLabel(i, std::to_string(i));
    m.BorderNext[i] = NoPoint;
  }
  m.PointCount = 16;
  const PointIndex ring[] = {1, 2, 3, 4, 8, 12, 16, 15, 14, 13, 9, 5};
  for (std::size_t k = 0; k < std::size(ring); ++k) m.BorderNext[ring[k]] = ring[(k + 1) % std::size(ring)];
  m.TriVertex[1] = {6, 7, 10};
  m.TriNeighbour[1] = {0, 0, 0};
  m.TriangleCount = 1;
  m.Breaklines[1] = {6, 7};
  m.Breaklines[2] = {7, 11};
  m.BreaklineCount = 2;
}

struct AsciiSnapshot {
  std::vector<double> x, y, z;
  std::vector<model::PointLabelText> labels;
  std::vector<PointIndex> border;
  std::vector<std::pair<PointIndex, PointIndex>> breaklines;
  std::uint16_t points = 0, triangles = 0, breaklineCount = 0;

  static AsciiSnapshot Of(const model::SurfaceModel& m) {
    AsciiSnapshot s;
    const auto n = std::size_t{m.PointCount} + 1;
    s.x.assign(m.PointX.begin() + 1, m.PointX.begin() + n);
    s.y.assign(m.PointY.begin() + 1, m.PointY.begin() + n);
    s.z.assign(m.PointZ.begin() + 1, m.PointZ.begin() + n);
    s.labels.assign(m.PointLabel.begin() + 1, m.PointLabel.begin() + n);
    s.border.assign(m.BorderNext.begin() + 1, m.BorderNext.begin() + n);
    for (std::size_t b = 1; b <= m.BreaklineCount; ++b) s.breaklines.emplace_back(m.Breaklines[b].From, m.Breaklines[b].To);
    s.points = m.PointCount;
    s.triangles = m.TriangleCount;
    s.breaklineCount = m.BreaklineCount;
    return s;
  }
  // NaN never equals itself, so positions are compared bit for bit.
  bool SameAs(const AsciiSnapshot& o) const {
    auto same = [](const std::vector<double>& a, const std::vector<double>& b) {
      if (a.size() != b.size()) return false;
      for (std::size_t i = 0; i < a.size(); ++i)
        if (!(a[i] == b[i] || (std::isnan(a[i]) && std::isnan(b[i])))) return false;
      return true;
    };
    return same(x, o.x) && same(y, o.y) && same(z, o.z) && labels == o.labels && border == o.border &&
           breaklines == o.breaklines && points == o.points && triangles == o.triangles &&
           breaklineCount == o.breaklineCount;
  }
};

inline void CheckModel(const model::SurfaceModel& m, const std::string& context, std::vector<std::string>& problems) {
  for (const auto& line : model::CheckTopology(m)) problems.push_back(context + ": " + line);
  for (std::size_t i = 1; i <= m.PointCount && i < m.PointX.size(); ++i) {
    if (!std::isfinite(m.PointX[i]) || !std::isfinite(m.PointY[i]) || !std::isfinite(m.PointZ[i]) ||
        std::fabs(m.PointX[i]) > 1e9 || std::fabs(m.PointY[i]) > 1e9 || std::fabs(m.PointZ[i]) > 1e9)
      problems.push_back(context + ": point " + std::to_string(i) + " has no usable position");
    if (m.PointCutFill[i] != 0) problems.push_back(context + ": point " + std::to_string(i) + " kept a stale cut/fill");
    for (char c : m.PointLabel[i])
      if (c != ' ' && c != '-' && (c < '0' || c > '9'))
        problems.push_back(context + ": point " + std::to_string(i) + " has a stale label");
  }
  std::set<std::pair<PointIndex, PointIndex>> seen;
  for (std::size_t b = 1; b <= m.BreaklineCount && b < m.Breaklines.size(); ++b) {
    auto [from, to] = m.Breaklines[b];
    if (from == to) problems.push_back(context + ": breakline " + std::to_string(b) + " joins a point to itself");
    if (from > to) std::swap(from, to);
    if (!seen.insert({from, to}).second) problems.push_back(context + ": breakline " + std::to_string(b) + " repeated");
  }
}

// The codes of a kind: a predefined entry or the raw bytes.
inline exchange::FieldCodes CodesFor(exchange::AsciiKind kind, std::uint8_t options,
                                     std::span<const std::uint8_t> raw) {
  if (options & 0x20) return exchange::PredefinedImportFormat(kind, raw.empty() ? 0 : raw[0] % 4).codes;
  exchange::FieldCodes codes{};
  for (std::size_t k = 0; k < codes.size() && k < raw.size(); ++k) codes[k] = static_cast<std::uint8_t>(raw[k] % 8);
  return codes;
}

// `m` must be allocated; it is overwritten.
inline std::vector<std::string> ExerciseAsciiImport(model::SurfaceModel& m, std::span<const std::uint8_t> data) {
  using exchange::AsciiKind;
  using exchange::LoadStatus;
  std::vector<std::string> problems;
  const std::uint8_t options = data.empty() ? 0 : data[0];
  const std::size_t head = std::min<std::size_t>(data.size(), 11);
  const std::size_t first = std::min<std::size_t>(head, 1);
  const auto raw = data.subspan(first, head - first);
  const std::string file(reinterpret_cast<const char*>(data.data()) + head, data.size() - head);

  BuildAsciiBaseModel(m, file.size());
  SettingsRecord settings = DefaultSettings();
  QuietPort port;
  Session session{m, settings, port, {}};
  const int which = options & 3;

  if (which == 0 || which == 3) {
    const exchange::CoordinateLoad load{.append = (options & 4) != 0,
                                        .removeDuplicates = (options & 8) != 0,
                                        .autoProcessActive = (options & 16) != 0};
    const AsciiSnapshot before = AsciiSnapshot::Of(m);
    std::istringstream in(file);
    const auto result = exchange::LoadCoordinates(session, in, CodesFor(AsciiKind::Coordinates, options, raw), load);
    const std::size_t start = load.append ? before.points : 0;
    if (result.status == LoadStatus::Loaded) {
      if (m.PointCount != start + result.loaded || result.loaded == 0) problems.push_back("points: counts disagree");
      if (m.TriangleCount != 0) problems.push_back("points: the triangulation survived");
      if (!load.append && m.BreaklineCount != 0) problems.push_back("points: old breaklines survived a replace");
      if (load.append) {
        AsciiSnapshot kept = AsciiSnapshot::Of(m);
        kept.x.resize(start);
        kept.y.resize(start);
        kept.z.resize(start);
        kept.labels.resize(start);
        kept.border.resize(start);
        AsciiSnapshot old = before;
        old.points = kept.points;
        old.triangles = kept.triangles;
        if (!kept.SameAs(old)) problems.push_back("points: appending changed the held points");
      }
      if (load.removeDuplicates && m.PointCount <= 3000)
        for (std::size_t i = start + 1; i <= m.PointCount; ++i)
          for (std::size_t j = 1; j < i; ++j)
            if (tin::SamePlace(m.PointX[i], m.PointY[i], m.PointX[j], m.PointY[j]))
              problems.push_back("points: duplicate " + std::to_string(i) + " of " + std::to_string(j) + " kept");
    } else if (!AsciiSnapshot::Of(m).SameAs(before)) {
      problems.push_back("points: a load that added nothing changed the model");
    }
    CheckModel(m, "points", problems);
  }

  if (which == 1 || which == 3) {
    const AsciiSnapshot before = AsciiSnapshot::Of(m);
    std::istringstream in(file);
    const auto result =
        exchange::LoadBorder(session, in, CodesFor(AsciiKind::Border, options, raw), {.autoProcessActive = (options & 16) != 0});
    if (result.status == LoadStatus::Loaded) {
      if (m.TriangleCount != 0) problems.push_back("border: the triangulation survived");
      std::size_t members = 0;
      for (std::size_t i = 1; i <= m.PointCount; ++i) members += m.BorderNext[i] != NoPoint;
      if (members != (result.accepted >= 2 ? result.accepted : 0)) problems.push_back("border: ring size disagrees");
    } else if (!AsciiSnapshot::Of(m).SameAs(before)) {
      problems.push_back("border: a load that added nothing changed the model");
    }
    CheckModel(m, "border", problems);
  }

  if (which == 2 || which == 3) {
    const AsciiSnapshot before = AsciiSnapshot::Of(m);
    std::istringstream in(file);
    const auto result = exchange::LoadBreaklines(session, in, CodesFor(AsciiKind::Breaklines, options, raw),
                                                 {.autoProcessActive = (options & 16) != 0});
    AsciiSnapshot after = AsciiSnapshot::Of(m);
    if (after.breaklineCount != before.breaklineCount + result.added) problems.push_back("breaklines: counts disagree");
    after.breaklines.resize(before.breaklines.size());
    if (after.breaklines != before.breaklines) problems.push_back("breaklines: held breaklines changed");
    if (result.status != LoadStatus::Loaded && !AsciiSnapshot::Of(m).SameAs(before))
      problems.push_back("breaklines: a load that added nothing changed the model");
    if (result.status == LoadStatus::Loaded && m.TriangleCount != 0)
      problems.push_back("breaklines: the triangulation survived");
    CheckModel(m, "breaklines", problems);
  }
  return problems;
}

}  // namespace terravue::fuzz
