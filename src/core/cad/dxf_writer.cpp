#include "cad/dxf_writer.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <numbers>

#include "common/messages.h"
#include "common/session.h"
#include "common/settings_record.h"
#include "common/user_port.h"
#include "device/map_options.h"
#include "mapping/map_options_edit.h"
#include "model/surface_model.h"
#include "cad/cad_layers.h"
#include "device/cad_settings.h"

namespace terravue::cad {
namespace {

constexpr double NearZeroBound = 0.0001;
constexpr std::string_view BlockName = "TVUPOINT";

bool Finite(double x, double y, double z) { return std::isfinite(x) && std::isfinite(y) && std::isfinite(z); }

bool SamePoint(const device::WorldPoint& a, const device::WorldPoint& b) {
  return std::fabs(a.x - b.x) < NearZeroBound && std::fabs(a.y - b.y) < NearZeroBound &&
         std::fabs(a.z - b.z) < NearZeroBound;
}

// The marker shapes of the point block, as lines between corners of the unit square about the
// insertion point.
struct BlockLine {
  double x0, y0, x1, y1;
};
std::vector<BlockLine> MarkerBlockLines(int kind) {
  constexpr double h = 0.5;
  const std::vector<BlockLine> square = {{-h, -h, h, -h}, {h, -h, h, h}, {h, h, -h, h}, {-h, h, -h, -h}};
  switch (kind) {
    case 0: {
      std::vector<BlockLine> lines = square;
      lines.push_back({-h, -h, h, h});
      lines.push_back({-h, h, h, -h});
      return lines;
    }
    case 1: return square;
    case 2: return {{h, h, -h, -h}, {-h, h, h, -h}};
    case 3: return {{0, h, 0, -h}, {-h, 0, h, 0}};
    case 4: return {{0, h, h, 0}, {h, 0, 0, -h}, {0, -h, -h, 0}, {-h, 0, 0, h}};
    default: return {};
  }
}

bool IsBlockKind(int kind) { return kind >= 0 && kind <= 4; }

double NormalisedDegrees(double radians) {
  double degrees = std::fmod(radians * 180 / std::numbers::pi, 360.0);
  if (degrees < 0) degrees += 360;
  if (degrees >= 360) degrees -= 360;
  return degrees;
}

// Appends groups to a string: the code, then the value, each on its own CR LF line.
void Put(std::string& out, int code, std::string_view value) {
  out += std::to_string(code);
  out += "\r\n";
  out += value;
  out += "\r\n";
}

}  // namespace

DxfWriter::DxfWriter(Session& session) : session_(session) {}

void DxfWriter::Group(int code, std::string_view value) {
  // Every coordinate is a group: the code is formatted in place rather than in a string.
  std::array<char, 16> number;
  const auto end = std::to_chars(number.data(), number.data() + number.size() - 2, code).ptr;
  end[0] = '\r';
  end[1] = '\n';
  spool_.Write(std::string_view(number.data(), static_cast<std::size_t>(end + 2 - number.data())));
  spool_.Write(value);
  spool_.Write("\r\n");
}

void DxfWriter::Coordinates(int code, double x, double y, double z) {
  Real(code, x * scale_);
  Real(code + 10, y * scale_);
  Real(code + 20, z * elevationFactor_ * scale_);
}

void DxfWriter::UseLayer(const std::string& name, int colour) {
  if (std::none_of(used_.begin(), used_.end(), [&](const auto& u) { return u.first == name; }))
    used_.emplace_back(name, colour);
}

bool DxfWriter::Begin(const std::filesystem::path& target) {
  const SettingsRecord& s = session_.settings;
  if (!file_.Create(target)) {
    session_.port.ShowFileError(msg::DxfCreateError, *file_.Problem());
    return false;
  }
  // The entities go to a scratch file beside the new one until End knows every layer they use.
  if (!spool_.Create(file_.TemporaryPath().parent_path())) {
    file_.Discard();
    session_.port.ShowFileError(msg::DxfCreateError, FileProblem{file_.Target(), spool_.Problem()->reason});
    return false;
  }
  begun_ = true;
  scale_ = s.Get(device::CadOutput::AutoSketch) ? 12.0 : 1.0;
  elevationFactor_ = s.Get(device::CadOutput::ElevationFactor);
  if (!std::isfinite(elevationFactor_)) elevationFactor_ = 1;
  standardText_ = s.Get(device::CadOutput::StandardTextType);
  markerKind_ = s.Get(device::PointOptions::MarkerKind);
  blockWritten_ = mapping::GroupDrawable(s, mapping::MapOptionPage::Points) && IsBlockKind(markerKind_);
  const CadLayer markerLayer = s.Get(device::PointOptions::MarkerLayer);
  markerLayer_ = DxfLayerName(s, markerLayer);
  if (blockWritten_) UseLayer(markerLayer_, DxfLayerColour(markerLayer));

  Group(0, "SECTION");
  Group(2, "ENTITIES");
  device::DrawingDevice::DeviceSetLayer(colour_, s.Get(device::MiscOptions::Layer));
  layerName_ = DxfLayerName(s, layer_);
  if (s.Get(device::CadOutput::Output3DFaces)) WriteFaces();
  return true;
}

// 3-D faces go before every other entity: walls under the border edges when the border is
// drawn at or projected to the lowest elevation, then one face per triangle.
void DxfWriter::WriteFaces() {
  const SettingsRecord& s = session_.settings;
  const model::SurfaceModel& m = session_.model;
  if (m.TriangleCount == 0) return;
  const CadLayer layer = s.Get(device::CadFacesOptions::Layer);
  const std::string name = DxfLayerName(s, layer);
  UseLayer(name, DxfLayerColour(layer));
  const auto valid = [&](PointIndex p) { return p != NoPoint && p <= m.PointCount; };
  const auto face = [&](const std::array<device::WorldPoint, 4>& c) {
    for (const device::WorldPoint& p : c)
      if (!Finite(p.x, p.y, p.z)) return;
    Group(0, "3DFACE");
    Group(8, name);
    for (int i = 0; i < 4; ++i) Coordinates(10 + i, c[static_cast<std::size_t>(i)].x, c[static_cast<std::size_t>(i)].y,
                                            c[static_cast<std::size_t>(i)].z);
    Group(70, "15");
  };
  const auto at = [&](PointIndex p) { return device::WorldPoint{m.PointX[p], m.PointY[p], m.PointZ[p]}; };

  if (s.Get(device::BorderOptions::DrawAtMinimumElevation) || s.Get(device::BorderOptions::ProjectToMinimumElevation)) {
    const PointIndex start = m.FirstBorderPoint(1, m.PointCount);
    PointIndex a = start;
    for (int steps = 0; start != NoPoint && steps < m.PointCount; ++steps) {
      const PointIndex b = m.BorderNext[a];
      if (!valid(b)) break;
      face({at(a), at(b), device::WorldPoint{m.PointX[b], m.PointY[b], m.MinZ}, device::WorldPoint{m.PointX[a], m.PointY[a], m.MinZ}});
      a = b;
      if (a == start) break;
    }
  }
  for (TriangleIndex t = 1; t <= m.TriangleCount; ++t) {
    const model::TriangleCorners& c = m.TriVertex[t];
    if (!valid(c[0]) || !valid(c[1]) || !valid(c[2])) continue;
    face({at(c[0]), at(c[1]), at(c[2]), at(c[2])});
  }
}

void DxfWriter::DeviceSetLayer(std::uint32_t colour, const CadLayer& layer) {
  device::DrawingDevice::DeviceSetLayer(colour, layer);
  layerName_ = DxfLayerName(session_.settings, layer);
}

void DxfWriter::StartPolyline(const device::WorldPoint& from) {
  open3D_ = session_.settings.Get(device::CadOutput::LineMode3D);
  open_ = true;
  openLayer_ = layerName_;
  UseLayer(layerName_, DxfLayerColour(layer_));
  Group(0, "POLYLINE");
  Group(8, openLayer_);
  Group(66, "1");
  Real(10, 0);
  Real(20, 0);
  if (open3D_) {
    Real(30, 0);
    Group(70, "8");
  } else {
    Real(30, from.z * elevationFactor_ * scale_);
  }
  Group(40, "0.000");
  Group(41, "0.000");
  Vertex(from);
}

void DxfWriter::Vertex(const device::WorldPoint& p) {
  Group(0, "VERTEX");
  Group(8, openLayer_);
  Coordinates(10, p.x, p.y, p.z);
  if (open3D_) Group(70, "32");
  lastVertex_ = p;
}

void DxfWriter::EndPolyline() {
  if (!open_) return;
  Group(0, "SEQEND");
  Group(8, openLayer_);
  open_ = false;
}

void DxfWriter::DevicePlot(bool, double x, double y, double z) {
  if (!begun_) return;
  if (!Finite(x, y, z)) {
    // A point that cannot be written breaks the line there.
    EndPolyline();
    last_.reset();
    return;
  }
  const device::WorldPoint p{x, y, z};
  if (!penDown_) {
    last_ = p;
    return;
  }
  if (open_ && openLayer_ != layerName_) EndPolyline();
  if (!open_) {
    // A polyline starts only once it has a second, distinct vertex.
    if (last_ && !SamePoint(*last_, p)) {
      StartPolyline(*last_);
      Vertex(p);
    }
    if (!last_) last_ = p;
    if (open_) last_ = p;
    return;
  }
  if (!SamePoint(lastVertex_, p)) Vertex(p);
  last_ = p;
}

void DxfWriter::DevicePenDown() {
  EndPolyline();
  penDown_ = true;
}

void DxfWriter::DevicePenUp() {
  EndPolyline();
  penDown_ = false;
}

void DxfWriter::DeviceSetTextStyle(std::uint32_t, double height) {
  text.TextHeight = height;
  text.TextCharWidth = std::isfinite(height) ? std::fabs(CadCharWidthPerHeight * height) : 0;
  text.TextBaselineOffset = 0;
}

void DxfWriter::DeviceText(std::string_view raw, double angle, double x, double y, double z, double sizeFactor) {
  if (!begun_) return;
  const std::string content = CadText(raw);
  const double h = sizeFactor * text.TextHeight;
  if (content.empty() || !(h > 0) || !std::isfinite(h) || !std::isfinite(angle) || !Finite(x, y, z)) return;
  EndPolyline();
  const double c = std::cos(angle), s = std::sin(angle);
  // Centred vertically on the point: the baseline lies half a height below it.
  const double bx = x + h / 2 * s;
  const double by = y - h / 2 * c;
  std::string width = "1.0";
  if (standardText_ && std::fabs(text.TextHeight) >= NearZeroBound) {
    const double factor = text.TextCharWidth / text.TextHeight;
    if (std::isfinite(factor) && factor > 0) width = CadReal(factor);
  }
  UseLayer(layerName_, DxfLayerColour(layer_));
  Group(0, "TEXT");
  Group(8, layerName_);
  Coordinates(10, bx, by, z);
  Real(40, h * scale_);
  Group(41, width);
  Group(7, "STANDARD");
  Real(50, NormalisedDegrees(angle));
  if (text.TextCadCentred) {
    const double half = sizeFactor * (static_cast<double>(content.size()) / 2) * text.TextCharWidth;
    Group(72, "1");
    Coordinates(11, bx + c * half, by + s * half, z);
  }
  Group(1, content);
  last_ = device::WorldPoint{x, y, z};
}

void DxfWriter::DeviceAxisText(std::string_view raw, bool vertical, double x, double y, double z) {
  const double back = static_cast<double>(CadText(raw).size() + 1) * text.TextCharWidth;
  if (vertical)
    DeviceText(raw, std::numbers::pi / 2, x, y - back, z, 1);
  else
    DeviceText(raw, 0, x - back, y, z, 1);
}

void DxfWriter::DeviceMarker(int kind, double x, double y, double z, double size) {
  if (!begun_ || !blockWritten_ || !IsBlockKind(kind)) return;
  if (!(size > 0) || !std::isfinite(size) || !Finite(x, y, z)) return;
  EndPolyline();
  UseLayer(layerName_, DxfLayerColour(layer_));
  Group(0, "INSERT");
  Group(8, layerName_);
  Group(2, BlockName);
  Coordinates(10, x, y, z);
  Real(41, size);
  Real(42, size);
  last_ = device::WorldPoint{x, y, z};
}

// A fill becomes SOLID entities in the nearest palette colour: a triangle or a quadrilateral
// as one (a SOLID takes its third and fourth corners crosswise), a larger convex polygon as a
// fan of triangles from its first corner.
void DxfWriter::DeviceFillPolygon(std::span<const device::WorldPoint> corners, std::uint32_t colour) {
  if (!begun_ || corners.size() < 3) return;
  for (const device::WorldPoint& c : corners)
    if (!Finite(c.x, c.y, c.z)) return;
  EndPolyline();
  UseLayer(layerName_, DxfLayerColour(layer_));
  const std::string aci = std::to_string(NearestAciColour(colour));
  const auto solid = [&](const device::WorldPoint& a, const device::WorldPoint& b, const device::WorldPoint& c,
                         const device::WorldPoint& d) {
    Group(0, "SOLID");
    Group(8, layerName_);
    Group(62, aci);
    Coordinates(10, a.x, a.y, a.z);
    Coordinates(11, b.x, b.y, b.z);
    Coordinates(12, c.x, c.y, c.z);
    Coordinates(13, d.x, d.y, d.z);
  };
  if (corners.size() == 4) {
    solid(corners[0], corners[1], corners[3], corners[2]);
    return;
  }
  for (std::size_t i = 1; i + 1 < corners.size(); ++i) solid(corners[0], corners[i], corners[i + 1], corners[i + 1]);
}

std::string DxfWriter::Head() const {
  const SettingsRecord& s = session_.settings;
  std::string out;
  Put(out, 0, "SECTION");
  Put(out, 2, "HEADER");
  Put(out, 9, "$ACADVER");
  Put(out, 1, "AC1009");
  Put(out, 0, "ENDSEC");

  Put(out, 0, "SECTION");
  Put(out, 2, "TABLES");
  Put(out, 0, "TABLE");
  Put(out, 2, "LAYER");
  Put(out, 70, "22");
  std::vector<DxfLayerEntry> layers = DxfTableLayers(s, false);
  // Layers the entities use that the element list did not name (a record spoiled in memory,
  // say) are listed too, so that no entity refers to a missing layer.
  for (const auto& entry : used_) {
    const auto& name = entry.first;  // no structured binding: clang 14 cannot capture one in a lambda
    if (std::none_of(layers.begin(), layers.end(), [&](const DxfLayerEntry& e) { return e.name == name; }))
      layers.push_back({name, entry.second});
  }
  for (const DxfLayerEntry& layer : layers) {
    Put(out, 0, "LAYER");
    Put(out, 2, layer.name);
    Put(out, 70, "0");
    Put(out, 62, std::to_string(layer.colour));
    Put(out, 6, "CONTINUOUS");
  }
  Put(out, 0, "ENDTAB");
  Put(out, 0, "TABLE");
  Put(out, 2, "STYLE");
  Put(out, 70, "1");
  Put(out, 0, "STYLE");
  Put(out, 2, "STANDARD");
  Put(out, 70, "0");
  Put(out, 40, "0.0");
  Put(out, 41, "1.0");
  Put(out, 50, "0.0");
  Put(out, 71, "0");
  Put(out, 42, "0.0");
  Put(out, 3, "TXT");
  Put(out, 4, "");
  Put(out, 0, "ENDTAB");
  Put(out, 0, "ENDSEC");

  if (blockWritten_) {
    Put(out, 0, "SECTION");
    Put(out, 2, "BLOCKS");
    Put(out, 0, "BLOCK");
    Put(out, 8, markerLayer_);
    Put(out, 2, BlockName);
    Put(out, 70, "0");
    Put(out, 10, "0.000");
    Put(out, 20, "0.000");
    Put(out, 30, "0.000");
    for (const BlockLine& line : MarkerBlockLines(markerKind_)) {
      Put(out, 0, "LINE");
      Put(out, 8, markerLayer_);
      Put(out, 10, CadReal(line.x0 * scale_));
      Put(out, 20, CadReal(line.y0 * scale_));
      Put(out, 30, CadReal(0));
      Put(out, 11, CadReal(line.x1 * scale_));
      Put(out, 21, CadReal(line.y1 * scale_));
      Put(out, 31, CadReal(0));
    }
    Put(out, 0, "ENDBLK");
    Put(out, 8, markerLayer_);
    Put(out, 0, "ENDSEC");
  }
  return out;
}

bool DxfWriter::End() {
  if (!begun_) return false;
  begun_ = false;
  EndPolyline();
  Group(0, "ENDSEC");
  Group(0, "EOF");
  file_.Write(Head());
  const bool copied = spool_.CopyTo(file_);
  spool_.Close();
  if (copied && file_.Commit()) return true;
  if (spool_.Problem()) {
    file_.Discard();
    session_.port.ShowFileError(msg::CadWriteError,
                                FileProblem{file_.Target(), spool_.Problem()->reason});
    return false;
  }
  session_.port.ShowFileError(msg::CadWriteError, *file_.Problem());
  return false;
}

}  // namespace terravue::cad
