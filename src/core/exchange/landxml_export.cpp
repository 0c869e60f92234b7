#include "exchange/landxml_export.h"

#include <pugixml.hpp>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <optional>
#include <unordered_set>
#include <vector>

#include "common/app_settings.h"
#include "common/format.h"
#include "common/messages.h"
#include "common/session.h"
#include "common/settings_record.h"
#include "common/text_encoding.h"
#include "common/safe_file.h"
#include "common/user_port.h"
#include "model/surface_model.h"
#include "tin/border.h"
#include "tin/geometry.h"

namespace terravue::exchange {
namespace {

namespace fs = std::filesystem;
using model::SurfaceModel;

constexpr const char* kNamespace = "http://www.landxml.org/schema/LandXML-1.2";
constexpr const char* kSchemaLocation =
    "http://www.landxml.org/schema/LandXML-1.2 http://www.landxml.org/schema/LandXML-1.2/LandXML-1.2.xsd";

// The shortest text that reads back as the same double.
void AppendNumber(std::string& out, double v) {
  std::array<char, 32> buffer;
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), v);
  out.append(buffer.data(), result.ptr);
}

class StringWriter : public pugi::xml_writer {
 public:
  std::string text;
  void write(const void* data, std::size_t size) override { text.append(static_cast<const char*>(data), size); }
};

// Point ids: the labels when they can serve as the whole-number ids LandXML asks for, each
// label once; otherwise the point numbers.
std::vector<std::string> PointIds(const SurfaceModel& m) {
  std::vector<std::string> ids(std::size_t{m.PointCount} + 1);
  std::unordered_set<std::string> seen;
  bool labels = true;
  for (PointIndex i = 1; i <= m.PointCount && labels; ++i) {
    std::string label = m.GetPointLabel(i);
    label.erase(0, label.find_first_not_of(' '));
    const bool whole = !label.empty() && label[0] != '0' &&
                       label.find_first_not_of("0123456789") == std::string::npos;
    labels = whole && seen.insert(label).second;
    ids[i] = std::move(label);
  }
  if (!labels)
    for (PointIndex i = 1; i <= m.PointCount; ++i) ids[i] = FormatInteger(i, 0);
  return ids;
}

// Northing, easting, elevation of each point, blank-separated.
std::string VertexList(const SurfaceModel& m, const std::vector<PointIndex>& points) {
  std::string text;
  for (const PointIndex p : points) {
    if (!text.empty()) text += ' ';
    AppendNumber(text, m.PointY[p]);
    text += ' ';
    AppendNumber(text, m.PointX[p]);
    text += ' ';
    AppendNumber(text, m.PointZ[p]);
  }
  return text;
}

void AddUnits(pugi::xml_node root, LandXmlUnit unit) {
  pugi::xml_node units = root.append_child("Units");
  if (unit == LandXmlUnit::Meter) {
    pugi::xml_node metric = units.append_child("Metric");
    metric.append_attribute("areaUnit") = "squareMeter";
    metric.append_attribute("linearUnit") = "meter";
    metric.append_attribute("volumeUnit") = "cubicMeter";
    metric.append_attribute("temperatureUnit") = "celsius";
    metric.append_attribute("pressureUnit") = "milliBars";
  } else {
    pugi::xml_node imperial = units.append_child("Imperial");
    imperial.append_attribute("areaUnit") = "squareFoot";
    imperial.append_attribute("linearUnit") = unit == LandXmlUnit::UsSurveyFoot ? "USSurveyFoot" : "foot";
    imperial.append_attribute("volumeUnit") = "cubicYard";
    imperial.append_attribute("temperatureUnit") = "fahrenheit";
    imperial.append_attribute("pressureUnit") = "inHG";
  }
}

// The border as the outer boundary, closed by its first point again.
std::size_t AddBoundary(pugi::xml_node source, const SurfaceModel& m) {
  if (tin::CheckBorder(m, 1, m.PointCount) != tin::BorderCheck::Valid) return 0;
  std::vector<PointIndex> ring;
  const PointIndex start = m.FirstBorderPoint(1, m.PointCount);
  PointIndex i = start;
  do {
    ring.push_back(i);
    i = m.BorderNext[i];
  } while (i != start && ring.size() <= m.PointCount);
  const std::size_t points = ring.size();
  ring.push_back(start);
  pugi::xml_node boundary = source.append_child("Boundaries").append_child("Boundary");
  boundary.append_attribute("bndType") = "outer";
  boundary.append_attribute("edgeTrim") = "true";
  boundary.append_child("PntList3D").text().set(VertexList(m, ring).c_str());
  return points;
}

// The breaklines, joined into one line wherever one starts where the one before it ends.
std::size_t AddBreaklines(pugi::xml_node source, const SurfaceModel& m) {
  const auto isPoint = [&m](PointIndex p) { return p != NoPoint && p <= m.PointCount; };
  pugi::xml_node lines;
  std::size_t written = 0;
  std::vector<PointIndex> chain;
  auto flush = [&] {
    if (chain.size() < 2) return;
    if (!lines) lines = source.append_child("Breaklines");
    pugi::xml_node line = lines.append_child("Breakline");
    line.append_attribute("brkType") = "standard";
    line.append_child("PntList3D").text().set(VertexList(m, chain).c_str());
    chain.clear();
  };
  for (BreaklineIndex b = 1; b <= m.BreaklineCount; ++b) {
    const auto [from, to] = m.Breaklines[b];
    if (!isPoint(from) || !isPoint(to)) continue;
    if (chain.empty() || chain.back() != from) {
      flush();
      chain.push_back(from);
    }
    chain.push_back(to);
    ++written;
  }
  flush();
  return written;
}

std::string DateText(const std::tm& t) {
  char text[48];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday);
  return text;
}

std::string TimeText(const std::tm& t) {
  char text[48];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", t.tm_hour, t.tm_min, t.tm_sec);
  return text;
}

}  // namespace

std::string BuildLandXmlText(const SurfaceModel& m, const LandXmlExportOptions& options, LandXmlExportCounts* counts) {
  LandXmlExportCounts written;
  pugi::xml_document doc;
  pugi::xml_node declaration = doc.append_child(pugi::node_declaration);
  declaration.append_attribute("version") = "1.0";
  declaration.append_attribute("encoding") = "UTF-8";

  pugi::xml_node root = doc.append_child("LandXML");
  root.append_attribute("xmlns") = kNamespace;
  root.append_attribute("xmlns:xsi") = "http://www.w3.org/2001/XMLSchema-instance";
  root.append_attribute("xsi:schemaLocation") = kSchemaLocation;
  root.append_attribute("date") = DateText(options.written).c_str();
  root.append_attribute("time") = TimeText(options.written).c_str();
  root.append_attribute("version") = "1.2";
  root.append_attribute("language") = "English";
  root.append_attribute("readOnly") = "false";
  AddUnits(root, options.unit);

  pugi::xml_node application = root.append_child("Application");
  application.append_attribute("name") = std::string(msg::ProductName).c_str();
  application.append_attribute("manufacturer") = std::string(msg::ProductName).c_str();
  application.append_attribute("version") = std::string(msg::VersionText).c_str();
  application.append_attribute("timeStamp") = (DateText(options.written) + "T" + TimeText(options.written)).c_str();

  pugi::xml_node surface = root.append_child("Surfaces").append_child("Surface");
  surface.append_attribute("name") = options.surfaceName.c_str();

  pugi::xml_node source = surface.append_child("SourceData");
  written.borderPoints = AddBoundary(source, m);
  written.breaklines = AddBreaklines(source, m);

  pugi::xml_node definition = surface.append_child("Definition");
  definition.append_attribute("surfType") = "TIN";
  pugi::xml_node pnts = definition.append_child("Pnts");
  const std::vector<std::string> ids = PointIds(m);
  std::string text;
  for (PointIndex i = 1; i <= m.PointCount; ++i) {
    pugi::xml_node p = pnts.append_child("P");
    p.append_attribute("id") = ids[i].c_str();
    text = VertexList(m, {i});
    p.text().set(text.c_str());
  }
  written.points = m.PointCount;

  pugi::xml_node faces = definition.append_child("Faces");
  for (TriangleIndex t = 1; t <= m.TriangleCount; ++t) {
    auto c = m.TriVertex[t];
    if (std::any_of(c.begin(), c.end(), [&m](PointIndex p) { return p == NoPoint || p > m.PointCount; })) continue;
    // Corners go round counter-clockwise in the plan, east to the right and north up.
    if (tin::Orientation(m, c[0], c[1], c[2]) < 0) std::swap(c[1], c[2]);
    text = ids[c[0]] + ' ' + ids[c[1]] + ' ' + ids[c[2]];
    faces.append_child("F").text().set(text.c_str());
    ++written.triangles;
  }

  StringWriter out;
  doc.save(out, "  ", pugi::format_default, pugi::encoding_utf8);
  if (counts) *counts = written;
  return std::move(out.text);
}

std::string LandXmlSurfaceName(const Session& session) {
  // Going through Latin-1 keeps the name valid UTF-8 whatever bytes a file name holds; control
  // characters have no place in an XML attribute.
  std::string name = session.model.Comment();
  if (name.empty()) name = Utf8ToLatin1(fs::path(session.settings.Get(settings::ModelFileName)).stem().string()).value_or("");
  std::erase_if(name, [](char c) { return static_cast<unsigned char>(c) < 0x20; });
  return name.empty() ? std::string(msg::LandXmlUnnamedSurface) : Latin1ToUtf8(name);
}

bool ExportLandXmlFile(Session& session, const fs::path& file, LandXmlUnit unit) {
  LandXmlExportOptions options;
  options.unit = unit;
  options.surfaceName = LandXmlSurfaceName(session);
  options.written = session.clock();
  LandXmlExportCounts counts;
  const std::string text = BuildLandXmlText(session.model, options, &counts);
  if (const std::optional<FileProblem> problem = WriteWholeFile(file, text)) {
    session.port.ShowFileError(msg::FileManagementError, *problem);
    return false;
  }
  auto n = [](std::size_t v) { return FormatInteger(static_cast<std::int64_t>(v), 0); };
  session.port.ShowInfo(FillText(msg::LandXmlSaved, {n(counts.points), n(counts.triangles), n(counts.borderPoints),
                                                     n(counts.breaklines)}));
  return true;
}

}  // namespace terravue::exchange
