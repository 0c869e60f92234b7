#include "exchange/landxml_import.h"

#include <pugixml.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <new>
#include <span>
#include <string_view>
#include <system_error>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "common/app_settings.h"
#include "common/format.h"
#include "common/messages.h"
#include "common/session.h"
#include "common/settings_record.h"
#include "common/text_encoding.h"
#include "common/user_port.h"
#include "common/view3d_settings.h"
#include "exchange/ascii_import.h"
#include "exchange/point_lookup.h"
#include "model/model_document.h"
#include "model/surface_model.h"
#include "tin/geometry.h"

namespace terravue::exchange {
namespace {

namespace fs = std::filesystem;
using model::SurfaceModel;

std::string Count(std::size_t n) { return FormatInteger(static_cast<std::int64_t>(n), 0); }

// ---- Elements and their text ----------------------------------------------------------------

// Element names without a namespace prefix: a file that gives LandXML a prefix reads alike.
std::string_view LocalName(pugi::xml_node node) {
  const std::string_view name = node.name();
  const auto colon = name.rfind(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

bool Is(pugi::xml_node node, std::string_view local) {
  return node.type() == pugi::node_element && LocalName(node) == local;
}

pugi::xml_node Child(pugi::xml_node parent, std::string_view local) {
  for (pugi::xml_node n = parent.first_child(); n; n = n.next_sibling())
    if (Is(n, local)) return n;
  return {};
}

template <class Visit>
void ForEachChild(pugi::xml_node parent, std::string_view local, Visit visit) {
  for (pugi::xml_node n = parent.first_child(); n; n = n.next_sibling())
    if (Is(n, local)) visit(n);
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
  return text;
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

// The blank-separated items of an element's text.
class Tokens {
 public:
  explicit Tokens(std::string_view text) : rest_(text) {}
  std::optional<std::string_view> Next() {
    while (!rest_.empty() && IsSpace(rest_.front())) rest_.remove_prefix(1);
    if (rest_.empty()) return std::nullopt;
    std::size_t n = 0;
    while (n < rest_.size() && !IsSpace(rest_[n])) ++n;
    const std::string_view token = rest_.substr(0, n);
    rest_.remove_prefix(n);
    return token;
  }

 private:
  std::string_view rest_;
};

// Up to out.size() items of the text into `out`: how many there are, or one more than fit when
// there are more.
std::size_t TakeTokens(std::string_view text, std::span<std::string_view> out) {
  Tokens tokens(text);
  std::size_t n = 0;
  while (const auto token = tokens.Next()) {
    if (n == out.size()) return n + 1;
    out[n++] = *token;
  }
  return n;
}

std::size_t CountTokens(std::string_view text) {
  Tokens tokens(text);
  std::size_t n = 0;
  while (tokens.Next()) ++n;
  return n;
}

// A number as XML Schema writes doubles ("3.", "-0.5", "+12", "1E3"); infinities and NaN are no
// coordinates.
std::optional<double> ParseNumber(std::string_view token) {
  if (token.size() > 1 && token[0] == '+' && token[1] != '-') token.remove_prefix(1);
  double value = 0;
  const auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), value);
  if (ec != std::errc{} || end != token.data() + token.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

// A point id or name that fits a point label: one to four visible ASCII characters.
bool FitsLabel(std::string_view id) {
  if (id.empty() || id.size() > 4) return false;
  return std::all_of(id.begin(), id.end(), [](char c) { return c > ' ' && c < 0x7f; });
}

// Undirected keys of point pairs, for edges and breaklines.
std::uint32_t PairKey(PointIndex a, PointIndex b) {
  if (a > b) std::swap(a, b);
  return (std::uint32_t{a} << 16) | b;
}

// Point ids to points. The programs that write LandXML number their points, so whole-number ids
// are looked up in a table by their value, and any other id in a hash of its text. Either way an
// id matches only its own text: "007" is not "7".
class PointIds {
 public:
  // Indexes the ids of points 1..n (idOf[0] is not used). A repeated id stops it: the point and
  // the earlier one with the same id.
  std::optional<std::pair<PointIndex, PointIndex>> Build(const std::vector<std::string_view>& idOf) {
    const std::size_t n = idOf.size() - 1;
    std::uint32_t largest = 0;
    bool numbered = true;
    for (std::size_t i = 1; i <= n && numbered; ++i) {
      const auto number = Number(idOf[i]);
      numbered = number.has_value();
      if (numbered) largest = std::max(largest, *number);
    }
    // A table for ids spread far beyond the point count would cost more than it saves.
    numbered_ = numbered && largest <= 16 * n + 1024;
    if (numbered_) byNumber_.assign(std::size_t{largest} + 1, NoPoint);
    else byText_.reserve(n);
    for (std::size_t i = 1; i <= n; ++i) {
      PointIndex& slot = numbered_ ? byNumber_[*Number(idOf[i])] : byText_[idOf[i]];
      if (slot != NoPoint) return std::pair{static_cast<PointIndex>(i), slot};
      slot = static_cast<PointIndex>(i);
    }
    return std::nullopt;
  }

  PointIndex Find(std::string_view id) const {
    if (numbered_) {
      const auto number = Number(id);
      return number && *number < byNumber_.size() ? byNumber_[*number] : NoPoint;
    }
    const auto at = byText_.find(id);
    return at == byText_.end() ? NoPoint : at->second;
  }

 private:
  // Up to nine digits without a leading zero.
  static std::optional<std::uint32_t> Number(std::string_view id) {
    if (id.empty() || id.size() > 9 || (id[0] == '0' && id.size() > 1)) return std::nullopt;
    std::uint32_t value = 0;
    for (const char c : id) {
      if (c < '0' || c > '9') return std::nullopt;
      value = value * 10 + static_cast<std::uint32_t>(c - '0');
    }
    return value;
  }

  bool numbered_ = false;
  std::vector<PointIndex> byNumber_;
  std::unordered_map<std::string_view, PointIndex> byText_;
};

struct UnitScale {
  LandXmlUnit unit = LandXmlUnit::Meter;
  double toUnit = 1;  // multiplies the file's lengths into the unit
};

// A position in the plan, in the model's unit.
struct PlanVertex {
  double x = 0;  // easting
  double y = 0;  // northing
};

// A parsed document and what every reader of it needs: the units, the lines of elements for
// messages, and the coordinates in the model's unit. The text is kept to count lines in.
class Document {
 public:
  explicit Document(std::string text);

  pugi::xml_node Root() const { return root_; }
  const std::optional<UnitScale>& Units() const { return units_; }

  // Lines are counted only when a message needs one.
  std::size_t LineAt(std::ptrdiff_t offset) const {
    const auto end = text_.begin() + std::clamp<std::ptrdiff_t>(offset, 0, static_cast<std::ptrdiff_t>(text_.size()));
    return static_cast<std::size_t>(std::count(text_.begin(), end, '\n')) + 1;
  }
  std::size_t LineOf(pugi::xml_node node) const { return LineAt(node.offset_debug()); }

  [[noreturn]] void Fail(pugi::xml_node node, const std::string& what) const {
    if (node.offset_debug() < 0) throw LandXmlError{what};
    throw LandXmlError{FillText(msg::LandXmlAtLine, {Count(LineOf(node)), what})};
  }

  double Coordinate(pugi::xml_node node, std::string_view token) const;
  std::vector<PlanVertex> ReadVertexList(pugi::xml_node owner) const;

 private:
  void ReadUnits();

  std::string text_;
  pugi::xml_document doc_;
  pugi::xml_node root_;
  std::optional<UnitScale> units_;
};

// "<P id="12">", or the bare tag when the element has no id.
std::string Tag(pugi::xml_node node) {
  const std::string_view id = Trim(node.attribute("id").value());
  std::string tag = "<" + std::string(LocalName(node));
  if (!id.empty()) tag += " id=\"" + std::string(id) + "\"";
  return tag + ">";
}

// The linear unit of <Units>, with the factor into the metre or the foot.
std::optional<UnitScale> MetricUnit(std::string_view name) {
  struct Entry {
    std::string_view name;
    double metres;
  };
  static constexpr Entry kUnits[] = {
      {"", 1}, {"meter", 1}, {"millimeter", 0.001}, {"centimeter", 0.01}, {"decimeter", 0.1}, {"kilometer", 1000}};
  const std::string lower = Lower(name);
  for (const Entry& e : kUnits)
    if (lower == e.name) return UnitScale{LandXmlUnit::Meter, e.metres};
  return std::nullopt;
}

std::optional<UnitScale> ImperialUnit(std::string_view name) {
  const std::string lower = Lower(name);
  if (lower.empty() || lower == "foot") return UnitScale{LandXmlUnit::Foot, 1};
  if (lower == "ussurveyfoot") return UnitScale{LandXmlUnit::UsSurveyFoot, 1};
  if (lower == "inch") return UnitScale{LandXmlUnit::Foot, 1.0 / 12};
  if (lower == "mile") return UnitScale{LandXmlUnit::Foot, 5280};
  return std::nullopt;
}

void Document::ReadUnits() {
  const pugi::xml_node block = Child(root_, "Units");
  for (pugi::xml_node system = block.first_child(); system; system = system.next_sibling()) {
    const bool metric = Is(system, "Metric");
    if (!metric && !Is(system, "Imperial")) continue;
    const std::string_view name = Trim(system.attribute("linearUnit").value());
    units_ = metric ? MetricUnit(name) : ImperialUnit(name);
    if (!units_) Fail(system, FillText(msg::LandXmlUnknownUnit, {LocalName(system), name}));
    return;
  }
}

// One coordinate of the file in the model's unit; anything else stops the import.
double Document::Coordinate(pugi::xml_node node, std::string_view token) const {
  const std::optional<double> value = ParseNumber(token);
  const double scaled = value ? *value * (units_ ? units_->toUnit : 1.0) : 0.0;
  if (!value || std::fabs(scaled) > AsciiReader::MaxMagnitude)
    Fail(node, FillText(msg::LandXmlBadNumber, {Tag(node), token, FormatReal(AsciiReader::MaxMagnitude, 0, 0)}));
  return scaled;
}

// The vertices of an element's <PntList3D> or <PntList2D>: northing, easting (and elevation,
// which the border and breaklines take from the points) per vertex.
std::vector<PlanVertex> Document::ReadVertexList(pugi::xml_node owner) const {
  pugi::xml_node list = Child(owner, "PntList3D");
  std::size_t per = 3;
  if (!list) {
    list = Child(owner, "PntList2D");
    per = 2;
  }
  std::vector<PlanVertex> vertices;
  if (!list) return vertices;
  const std::string_view text = list.child_value();
  const std::size_t numbers = CountTokens(text);
  if (numbers % per != 0) Fail(list, FillText(msg::LandXmlListNumbers, {LocalName(list), Count(numbers), Count(per)}));
  vertices.reserve(numbers / per);
  Tokens tokens(text);
  for (std::size_t k = 0; k < numbers / per; ++k) {
    PlanVertex v;
    v.y = Coordinate(list, *tokens.Next());
    v.x = Coordinate(list, *tokens.Next());
    if (per == 3) Coordinate(list, *tokens.Next());  // checked, but heights come from the points
    vertices.push_back(v);
  }
  return vertices;
}

Document::Document(std::string text) : text_(std::move(text)) {
  const pugi::xml_parse_result parsed = doc_.load_buffer(text_.data(), text_.size(), pugi::parse_default);
  if (!parsed)
    throw LandXmlError{FillText(msg::LandXmlAtLine, {Count(LineAt(parsed.offset)),
                                                     FillText(msg::LandXmlNotXml, {parsed.description()})})};
  root_ = doc_.document_element();
  if (!Is(root_, "LandXML")) throw LandXmlError{FillText(msg::LandXmlNotLandXml, {root_.name()})};
  ReadUnits();
}

// ---- A surface ------------------------------------------------------------------------------

// Reads one surface into a cleared model, step by step in the order below.
// A new point at the end of the model, off the border and without a cut or fill.
PointIndex AddModelPoint(SurfaceModel& m, double x, double y, double z) {
  const auto i = static_cast<PointIndex>(++m.PointCount);
  m.PointX[i] = x;
  m.PointY[i] = y;
  m.PointZ[i] = z;
  m.PointCutFill[i] = 0;
  m.BorderNext[i] = NoPoint;
  return i;
}

class SurfaceReader {
 public:
  SurfaceReader(const Document& doc, pugi::xml_node surface, SurfaceModel& m)
      : doc_(doc), surface_(surface), m_(m) {}

  LandXmlReadReport Run() {
    report_.surfaceName = surface_.attribute("name").value();
    if (doc_.Units()) report_.unit = doc_.Units()->unit;
    const pugi::xml_node definition = Child(surface_, "Definition");
    const pugi::xml_node source = Child(surface_, "SourceData");
    m_.ClearModel();
    CheckCapacity(definition, source);
    if (Child(definition, "Pnts"))
      ReadPoints(Child(definition, "Pnts"));
    else
      ReadDataPoints(Child(source, "DataPoints"));
    if (m_.PointCount == 0) throw LandXmlError{FillText(msg::LandXmlNoPoints, {report_.surfaceName})};
    ReadFaces(Child(definition, "Faces"));
    LinkNeighbours();
    ReadBoundaries(Child(source, "Boundaries"));
    ReadBreaklines(Child(source, "Breaklines"));
    CheckModel();
    if (const auto comment = Utf8ToLatin1(report_.surfaceName)) m_.SetComment(*comment);
    report_.points = m_.PointCount;
    report_.triangles = m_.TriangleCount;
    report_.breaklines = m_.BreaklineCount;
    return report_;
  }

 private:
  // A file beyond the model's capacity is refused whole, before anything is read.
  void CheckCapacity(pugi::xml_node definition, pugi::xml_node source) {
    std::size_t points = 0, triangles = 0, segments = 0;
    const pugi::xml_node pnts = Child(definition, "Pnts");
    if (pnts) {
      ForEachChild(pnts, "P", [&](pugi::xml_node) { ++points; });
    } else {
      const pugi::xml_node list = Child(Child(source, "DataPoints"), "PntList3D");
      points = CountTokens(list.child_value()) / 3;
    }
    ForEachChild(Child(definition, "Faces"), "F", [&](pugi::xml_node face) {
      if (!Invisible(face)) triangles += CountTokens(face.child_value()) == 4 ? 2 : 1;
    });
    ForEachChild(Child(source, "Breaklines"), "Breakline", [&](pugi::xml_node line) {
      const bool flat = !Child(line, "PntList3D");
      const std::size_t numbers = CountTokens(Child(line, flat ? "PntList2D" : "PntList3D").child_value());
      const std::size_t vertices = numbers / (flat ? 2 : 3);
      segments += vertices > 1 ? vertices - 1 : 0;
    });
    expectedPoints_ = points;
    if (points <= m_.MaxPoints && triangles <= m_.MaxTriangles && segments <= m_.MaxBreaklines) return;
    throw LandXmlError{FillText(msg::LandXmlOverCapacity,
                                {report_.surfaceName, Count(points), Count(triangles), Count(segments),
                                 Count(m_.MaxPoints), Count(m_.MaxTriangles), Count(m_.MaxBreaklines)})};
  }

  static bool Invisible(pugi::xml_node face) {
    const std::string flag = Lower(Trim(face.attribute("i").value()));
    return flag == "1" || flag == "true";
  }

  PointIndex AddPoint(double x, double y, double z) { return AddModelPoint(m_, x, y, z); }

  // <Pnts>: each <P id="..."> holds northing, easting, elevation. The ids become the labels when
  // every one of them fits; otherwise the points are numbered, as the ASCII import numbers them.
  void ReadPoints(pugi::xml_node pnts) {
    idOf_.assign(1, {});
    idOf_.reserve(expectedPoints_ + 1);
    pointNodes_.assign(1, {});
    pointNodes_.reserve(expectedPoints_ + 1);
    bool idsFit = true;
    ForEachChild(pnts, "P", [&](pugi::xml_node p) {
      const std::string_view id = Trim(p.attribute("id").value());
      if (id.empty()) doc_.Fail(p, FillText(msg::LandXmlMissingId, {LocalName(p)}));
      std::string_view numbers[3];
      if (TakeTokens(p.child_value(), numbers) != 3)
        doc_.Fail(p, FillText(msg::LandXmlPointNumbers, {Tag(p), Shortened(p.child_value())}));
      const double north = doc_.Coordinate(p, numbers[0]);
      const double east = doc_.Coordinate(p, numbers[1]);
      AddPoint(east, north, doc_.Coordinate(p, numbers[2]));
      idOf_.push_back(id);
      pointNodes_.push_back(p);
      idsFit = idsFit && FitsLabel(id);
    });
    if (const auto repeat = ids_.Build(idOf_)) {
      const pugi::xml_node p = pointNodes_[repeat->first];
      doc_.Fail(p, FillText(msg::LandXmlRepeatedId, {Tag(p), Count(doc_.LineOf(pointNodes_[repeat->second]))}));
    }
    for (PointIndex i = 1; i <= m_.PointCount; ++i) {
      if (idsFit)
        m_.SetPointLabel(i, idOf_[i]);
      else
        m_.PointLabel[i] = LabelFromNumber(i);
    }
  }

  // A surface given by its source points alone: numbered points, no faces.
  void ReadDataPoints(pugi::xml_node dataPoints) {
    idOf_.assign(1, {});
    const pugi::xml_node list = Child(dataPoints, "PntList3D");
    const std::string_view text = list.child_value();
    const std::size_t numbers = CountTokens(text);
    if (numbers % 3 != 0) doc_.Fail(list, FillText(msg::LandXmlListNumbers, {LocalName(list), Count(numbers), "3"}));
    Tokens tokens(text);
    for (std::size_t k = 0; k < numbers / 3; ++k) {
      const double north = doc_.Coordinate(list, *tokens.Next());
      const double east = doc_.Coordinate(list, *tokens.Next());
      const PointIndex i = AddPoint(east, north, doc_.Coordinate(list, *tokens.Next()));
      m_.PointLabel[i] = LabelFromNumber(i);
      idOf_.emplace_back();
    }
    const pugi::xml_node flat = Child(dataPoints, "PntList2D");
    report_.pointsWithoutElevation += CountTokens(flat.child_value()) / 2;
  }

  static std::string Shortened(std::string_view text) {
    text = Trim(text);
    constexpr std::size_t limit = 60;
    return text.size() <= limit ? std::string(text) : std::string(text.substr(0, limit)) + "...";
  }

  // <Faces>: each visible <F> names three points (four for a grid cell, which becomes two
  // triangles) by id. Faces flagged invisible (i="1") lie outside the surface and are left out.
  void ReadFaces(pugi::xml_node faces) {
    faceNodes_.assign(1, {});
    ForEachChild(faces, "F", [&](pugi::xml_node f) {
      if (Invisible(f)) {
        ++report_.invisibleFaces;
        return;
      }
      PointIndex corner[4] = {};
      std::string_view token[4];
      const std::size_t n = TakeTokens(f.child_value(), token);
      if (n < 3 || n > 4) doc_.Fail(f, FillText(msg::LandXmlFaceCorners, {Shortened(f.child_value())}));
      for (std::size_t k = 0; k < n; ++k) {
        corner[k] = ids_.Find(token[k]);
        if (corner[k] == NoPoint) doc_.Fail(f, FillText(msg::LandXmlFaceUnknownPoint, {token[k]}));
        for (std::size_t j = 0; j < k; ++j)
          if (corner[j] == corner[k]) doc_.Fail(f, FillText(msg::LandXmlFaceRepeatedPoint, {token[k]}));
      }
      AddTriangle(f, corner[0], corner[1], corner[2]);
      if (n == 4) AddTriangle(f, corner[0], corner[2], corner[3]);
    });
  }

  void AddTriangle(pugi::xml_node f, PointIndex a, PointIndex b, PointIndex c) {
    // A face without plan area has no slope, no contour crossing and no volume: nothing the
    // rest of the program could divide by.
    if (tin::Orientation(m_, a, b, c) == 0)
      doc_.Fail(f, FillText(msg::LandXmlFaceNoArea, {idOf_[a], idOf_[b], idOf_[c]}));
    const auto t = static_cast<TriangleIndex>(++m_.TriangleCount);
    m_.TriVertex[t] = {a, b, c};
    m_.TriNeighbour[t] = {NoTriangle, NoTriangle, NoTriangle};
    faceNodes_.push_back(f);
  }

  // Two faces that share an edge are neighbours; an edge of one face only lies on the outside.
  void LinkNeighbours() {
    const std::vector<model::TriangleEdge> edges = model::EdgesByPoints(m_);
    const auto sameEdge = [](const model::TriangleEdge& a, const model::TriangleEdge& b) {
      return a.lo == b.lo && a.hi == b.hi;
    };
    for (std::size_t k = 0; k < edges.size();) {
      std::size_t end = k + 1;
      while (end < edges.size() && sameEdge(edges[end], edges[k])) ++end;
      if (end - k >= 3)
        doc_.Fail(faceNodes_[edges[k + 2].triangle],
                  FillText(msg::LandXmlEdgeShared, {idOf_[edges[k].lo], idOf_[edges[k].hi],
                                                     Count(doc_.LineOf(faceNodes_[edges[k].triangle])),
                                                     Count(doc_.LineOf(faceNodes_[edges[k + 1].triangle]))}));
      if (end - k == 2) Link(edges[k].triangle, edges[k + 1].triangle, edges[k].lo, edges[k].hi);
      k = end;
    }
  }

  // Links the two faces of the edge lo-hi.
  void Link(TriangleIndex t, TriangleIndex u, PointIndex lo, PointIndex hi) {
    // Faces with the same three corners share every edge; the second one repeats the first.
    int common = 0;
    for (PointIndex p : m_.TriVertex[u]) common += std::count(m_.TriVertex[t].begin(), m_.TriVertex[t].end(), p);
    if (common == 3)
      doc_.Fail(faceNodes_[u], FillText(msg::LandXmlFaceRepeated, {Count(doc_.LineOf(faceNodes_[t]))}));
    // Neighbours lie on either side of their edge; two on one side overlap, and the surface
    // would have two elevations there (doubled contours, volumes counted twice).
    const auto side = [&](TriangleIndex f) {
      const auto& c = m_.TriVertex[f];
      const PointIndex third = c[0] != lo && c[0] != hi ? c[0] : (c[1] != lo && c[1] != hi ? c[1] : c[2]);
      return tin::Orientation(m_, lo, hi, third) > 0;
    };
    if (side(t) == side(u))
      doc_.Fail(faceNodes_[u], FillText(msg::LandXmlFaceFolded, {Count(doc_.LineOf(faceNodes_[t])), idOf_[lo], idOf_[hi]}));
    auto append = [this](TriangleIndex to, TriangleIndex neighbour) {
      auto& slots = m_.TriNeighbour[to];
      *std::find(slots.begin(), slots.end(), NoTriangle) = neighbour;
    };
    append(t, u);
    append(u, t);
  }

  PointIndex MatchingPoint(const PlanVertex& v) {
    if (!finder_) finder_.emplace(m_);
    return finder_->Matching(v.x, v.y);
  }

  // <Boundaries>: the first outer boundary becomes the border, through the points at its
  // vertices; holes and data boundaries have no place in the model.
  void ReadBoundaries(pugi::xml_node boundaries) {
    bool outerSeen = false;
    ForEachChild(boundaries, "Boundary", [&](pugi::xml_node boundary) {
      const std::string kind = Lower(Trim(boundary.attribute("bndType").value()));
      if (kind == "void" || kind == "island") {
        ++report_.holes;
      } else if (kind != "outer" || outerSeen) {
        ++report_.otherBoundaries;
      } else {
        outerSeen = true;
        ReadBorder(boundary);
      }
    });
  }

  void ReadBorder(pugi::xml_node boundary) {
    const std::vector<PlanVertex> vertices = doc_.ReadVertexList(boundary);
    std::vector<PointIndex> ring;
    std::vector<std::uint8_t> onRing(std::size_t{m_.PointCount} + 1, 0);
    for (std::size_t k = 0; k < vertices.size(); ++k) {
      const PointIndex q = MatchingPoint(vertices[k]);
      const bool closing = k + 1 == vertices.size() && !ring.empty() && q == ring.front();
      if (closing || (!ring.empty() && q == ring.back())) continue;  // the ring closes by itself
      if (q == NoPoint || onRing[q]) {
        ++report_.borderVerticesLeftOut;  // a ring passes each point once
        continue;
      }
      onRing[q] = 1;
      ring.push_back(q);
    }
    if (ring.size() < 3) {
      report_.borderVerticesLeftOut += ring.size();
      return;
    }
    // The border runs counter-clockwise, as the border checks expect it to.
    double twiceArea = 0;
    for (std::size_t k = 0; k < ring.size(); ++k) {
      const PointIndex i = ring[k], j = ring[(k + 1) % ring.size()];
      twiceArea += m_.PointX[i] * m_.PointY[j] - m_.PointX[j] * m_.PointY[i];
    }
    if (twiceArea < 0) std::reverse(ring.begin(), ring.end());
    for (std::size_t k = 0; k < ring.size(); ++k) m_.BorderNext[ring[k]] = ring[(k + 1) % ring.size()];
    report_.borderPoints = ring.size();
  }

  // <Breaklines>: every segment between two points of the surface becomes a breakline, once.
  void ReadBreaklines(pugi::xml_node breaklines) {
    std::unordered_set<std::uint32_t> held;
    ForEachChild(breaklines, "Breakline", [&](pugi::xml_node line) {
      const std::vector<PlanVertex> vertices = doc_.ReadVertexList(line);
      PointIndex previous = NoPoint;
      for (std::size_t k = 0; k < vertices.size(); ++k) {
        const PointIndex q = MatchingPoint(vertices[k]);
        if (k > 0) {
          if (q == NoPoint || previous == NoPoint) {
            ++report_.breaklineSegmentsLeftOut;
          } else if (q != previous && held.insert(PairKey(previous, q)).second) {
            const auto b = static_cast<BreaklineIndex>(++m_.BreaklineCount);
            m_.Breaklines[b] = {previous, q};
          }
        }
        previous = q;
      }
    });
  }

  // The model's own invariant check, over everything read: the last word on the faces.
  void CheckModel() const {
    const std::vector<std::string> faults = model::CheckTopology(m_);
    if (faults.empty()) return;
    std::string text(msg::LandXmlUnsoundFaces);
    for (std::size_t k = 0; k < faults.size() && k < 5; ++k) text += "\r\n" + faults[k];
    throw LandXmlError{text};
  }

  const Document& doc_;
  pugi::xml_node surface_;
  SurfaceModel& m_;
  LandXmlReadReport report_;
  std::size_t expectedPoints_ = 0;
  PointIds ids_;
  std::vector<std::string_view> idOf_;  // by point
  std::vector<pugi::xml_node> pointNodes_;
  std::vector<pugi::xml_node> faceNodes_;  // by triangle
  std::optional<NearestPointFinder> finder_;
};

// ---- Coordinate geometry points -------------------------------------------------------------

LandXmlReadReport ReadCgPoints(const Document& d, SurfaceModel& m) {
  LandXmlReadReport report;
  if (d.Units()) report.unit = d.Units()->unit;
  m.ClearModel();

  // <CgPoints> may group further <CgPoints>; the groups are walked without recursion, so that
  // no nesting depth can exhaust the stack.
  std::vector<pugi::xml_node> points;
  std::vector<pugi::xml_node> groups;
  ForEachChild(d.Root(), "CgPoints", [&](pugi::xml_node g) { groups.push_back(g); });
  while (!groups.empty()) {
    const pugi::xml_node group = groups.back();
    groups.pop_back();
    for (pugi::xml_node n = group.first_child(); n; n = n.next_sibling()) {
      if (Is(n, "CgPoint")) points.push_back(n);
      if (Is(n, "CgPoints")) groups.push_back(n);
    }
  }
  // A point that only refers to another one (pntRef, no coordinates) is that point again.
  std::size_t located = 0;
  for (pugi::xml_node p : points) located += CountTokens(p.child_value()) == 3 ? 1 : 0;
  if (located > m.MaxPoints)
    throw LandXmlError{FillText(msg::LandXmlOverCapacity, {"CgPoints", Count(located), "0", "0", Count(m.MaxPoints),
                                                           Count(m.MaxTriangles), Count(m.MaxBreaklines)})};

  std::vector<std::string_view> names(1);
  bool namesFit = true;
  for (pugi::xml_node p : points) {
    const std::string_view text = Trim(p.child_value());
    const std::size_t numbers = CountTokens(text);
    if (numbers == 0 && !Trim(p.attribute("pntRef").value()).empty()) continue;
    if (numbers == 2) {
      ++report.pointsWithoutElevation;
      continue;
    }
    if (numbers != 3) d.Fail(p, FillText(msg::LandXmlPointNumbers, {Tag(p), text}));
    Tokens tokens(text);
    const double north = d.Coordinate(p, *tokens.Next());
    const double east = d.Coordinate(p, *tokens.Next());
    AddModelPoint(m, east, north, d.Coordinate(p, *tokens.Next()));
    const std::string_view name = Trim(p.attribute("name").value());
    names.push_back(name);
    namesFit = namesFit && FitsLabel(name);
  }
  if (m.PointCount == 0) throw LandXmlError{std::string(msg::LandXmlNothingToImport)};
  for (PointIndex i = 1; i <= m.PointCount; ++i) {
    if (namesFit)
      m.SetPointLabel(i, names[i]);
    else
      m.PointLabel[i] = LabelFromNumber(i);
  }
  report.points = m.PointCount;
  return report;
}

}  // namespace

// ---- The document ---------------------------------------------------------------------------

struct LandXmlDocument::Impl {
  explicit Impl(std::string text) : document(std::move(text)) {}
  Document document;
  std::vector<pugi::xml_node> surfaces;
  std::vector<LandXmlSurfaceEntry> entries;
};

LandXmlDocument::LandXmlDocument(std::string text) : impl_(std::make_unique<Impl>(std::move(text))) {
  ForEachChild(impl_->document.Root(), "Surfaces", [&](pugi::xml_node group) {
    ForEachChild(group, "Surface", [&](pugi::xml_node surface) {
      const pugi::xml_node definition = Child(surface, "Definition");
      LandXmlSurfaceEntry entry;
      entry.name = surface.attribute("name").value();
      ForEachChild(Child(definition, "Pnts"), "P", [&](pugi::xml_node) { ++entry.points; });
      ForEachChild(Child(definition, "Faces"), "F", [&](pugi::xml_node) { ++entry.faces; });
      impl_->surfaces.push_back(surface);
      impl_->entries.push_back(std::move(entry));
    });
  });
}

LandXmlDocument::~LandXmlDocument() = default;

const std::vector<LandXmlSurfaceEntry>& LandXmlDocument::Surfaces() const { return impl_->entries; }

LandXmlReadReport LandXmlDocument::Read(std::size_t index, SurfaceModel& into) const {
  if (index >= impl_->surfaces.size()) return ReadPoints(into);
  return SurfaceReader(impl_->document, impl_->surfaces[index], into).Run();
}

LandXmlReadReport LandXmlDocument::ReadPoints(SurfaceModel& into) const {
  return ReadCgPoints(impl_->document, into);
}


// ---- Loading a file into the session --------------------------------------------------------

namespace {

enum class FileRead { Read, NotOpened, TooLarge };

FileRead ReadWholeFile(const fs::path& file, std::string& text, std::uintmax_t& size) {
  std::error_code ec;
  if (!fs::is_regular_file(file, ec)) return FileRead::NotOpened;
  size = fs::file_size(file, ec);
  if (ec) return FileRead::NotOpened;
  if (size > MaxLandXmlFileBytes) return FileRead::TooLarge;
  std::ifstream in(file, std::ios::binary);
  if (!in) return FileRead::NotOpened;
  text.resize(static_cast<std::size_t>(size));
  in.read(text.data(), static_cast<std::streamsize>(size));
  // A file that shrank while it was read is not the file that was chosen.
  if (static_cast<std::uintmax_t>(in.gcount()) != size) return FileRead::NotOpened;
  return FileRead::Read;
}

std::string SummaryText(const LandXmlReadReport& r) {
  std::string text;
  auto line = [&text](std::string_view label, const std::string& value) {
    if (!text.empty()) text += "\r\n";
    text += std::string(label) + value;
  };
  if (!r.surfaceName.empty()) line(msg::LandXmlSurfaceLine, r.surfaceName);
  line(msg::LandXmlPointsLine, Count(r.points));
  if (r.triangles > 0) line(msg::LandXmlTrianglesLine, Count(r.triangles));
  if (r.invisibleFaces > 0) line(msg::LandXmlInvisibleLine, Count(r.invisibleFaces));
  if (r.borderPoints > 0) line(msg::LandXmlBorderLine, Count(r.borderPoints));
  if (r.breaklines > 0) line(msg::LandXmlBreaklinesLine, Count(r.breaklines));
  line(msg::LandXmlUnitsLine,
       std::string(r.unit ? msg::LandXmlUnitNames[static_cast<int>(*r.unit)] : msg::LandXmlNoUnits));
  if (!r.LeftSomethingOut()) return text;

  text += "\r\n\r\n" + std::string(msg::LandXmlNotHeld);
  auto leftOut = [&text](std::string_view label, std::size_t n) {
    if (n > 0) text += "\r\n" + std::string(label) + Count(n);
  };
  leftOut(msg::LandXmlHolesLine, r.holes);
  leftOut(msg::LandXmlOtherBoundariesLine, r.otherBoundaries);
  leftOut(msg::LandXmlBorderVerticesLine, r.borderVerticesLeftOut);
  leftOut(msg::LandXmlBreaklineSegmentsLine, r.breaklineSegmentsLeftOut);
  leftOut(msg::LandXmlFlatPointsLine, r.pointsWithoutElevation);
  return text;
}

}  // namespace

LandXmlLoadResult LoadLandXmlFile(Session& session, const fs::path& file, const SurfaceChoiceFn& choose) {
  UserPort& port = session.port;
  LandXmlLoadResult result;
  const std::string notImported = FillText(msg::LandXmlNotImported, {file.filename().string()});

  std::string text;
  std::uintmax_t size = 0;
  switch (ReadWholeFile(file, text, size)) {
    case FileRead::Read: break;
    case FileRead::NotOpened: port.ShowError(msg::FileManagementError); return result;
    case FileRead::TooLarge:
      port.ShowError(notImported + "\r\n\r\n" +
                     FillText(msg::LandXmlTooLarge, {Count(size >> 20), Count(MaxLandXmlFileBytes >> 20)}));
      return result;
  }

  model::SurfaceModel fresh;
  try {
    const LandXmlDocument document(std::move(text));
    const auto& surfaces = document.Surfaces();
    std::size_t chosen = 0;
    if (surfaces.size() > 1 && choose) {
      const std::optional<std::size_t> pick = choose(surfaces);
      if (!pick || *pick >= surfaces.size()) {
        result.status = LandXmlLoadStatus::Cancelled;
        return result;
      }
      chosen = *pick;
    }
    if (!fresh.AllocateStore()) {
      port.ShowError(msg::InsufficientMemoryToLoad);
      return result;
    }
    result.report = surfaces.empty() ? document.ReadPoints(fresh) : document.Read(chosen, fresh);
  } catch (const LandXmlError& e) {
    port.ShowError(notImported + "\r\n\r\n" + e.message);
    return result;
  } catch (const std::bad_alloc&) {
    port.ShowError(msg::InsufficientMemoryToLoad);
    return result;
  }

  // Everything was read: the new model takes the old one's place whole.
  std::swap(session.model, fresh);
  SettingsRecord& s = session.settings;
  if (result.report.unit)
    s.Set(settings::Units, static_cast<std::uint8_t>(*result.report.unit == LandXmlUnit::Meter ? 1 : 0));
  model::ComputeExtents(session.model, s);
  s.Set(settings::View3DOptions::View3D, false);
  model::MarkModified(session);
  const std::string summary = SummaryText(result.report);
  if (result.report.LeftSomethingOut())
    port.ShowWarning(summary);
  else
    port.ShowInfo(summary);
  result.status = LandXmlLoadStatus::Loaded;
  return result;
}

bool IsLandXmlFileName(const fs::path& file) { return Lower(file.extension().string()) == ".xml"; }

}  // namespace terravue::exchange
