#include "cad/cad_layers.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "common/format.h"
#include "common/messages.h"
#include "common/user_port.h"
#include "device/map_options.h"
#include "mapping/map_options_edit.h"
#include "device/cad_settings.h"

namespace terravue::cad {

CadProgram CadProgramOf(const SettingsRecord& s) {
  if (s.Get(device::CadOutput::DxfSelected)) return s.Get(device::CadOutput::AutoSketch) ? CadProgram::AutoSketch : CadProgram::AutoCad;
  return s.Get(device::CadOutput::GenericCadd) ? CadProgram::GenericCadd : CadProgram::GeneralCadd;
}

void SetCadProgram(SettingsRecord& s, CadProgram program) {
  s.Set(device::CadOutput::DxfSelected, WritesDxf(program));
  if (WritesDxf(program))
    s.Set(device::CadOutput::AutoSketch, program == CadProgram::AutoSketch);
  else
    s.Set(device::CadOutput::GenericCadd, program == CadProgram::GenericCadd);
}

std::string_view CadExtension(CadProgram program) {
  switch (program) {
    case CadProgram::GenericCadd: return ".MCR";
    case CadProgram::GeneralCadd: return ".GXM";
    default: return ".DXF";
  }
}

std::string_view CadFilter(CadProgram program) {
  switch (program) {
    case CadProgram::GenericCadd: return msg::CadMcrFilter;
    case CadProgram::GeneralCadd: return msg::CadGxmFilter;
    default: return msg::CadDxfFilter;
  }
}

// ---- Layers in the files --------------------------------------------------------------------

std::string DxfLayerName(std::string_view name, std::string_view fallback) {
  if (name.empty()) name = fallback;
  std::string out;
  out.reserve(name.size());
  for (const char c : name) {
    if (c >= 'a' && c <= 'z')
      out.push_back(static_cast<char>(c - 'a' + 'A'));
    else if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '$' || c == '-' || c == '_')
      out.push_back(c);
    else
      out.push_back('_');
  }
  return out.empty() ? std::string("0") : out;
}

namespace {

bool SameRecord(const CadLayer& a, const CadLayer& b) {
  return a.LayerName == b.LayerName && a.AcadColour == b.AcadColour && a.BatchColour == b.BatchColour &&
         a.BatchNumber == b.BatchNumber;
}

std::string FallbackName(const SettingsRecord& s, const CadLayer& layer) {
  for (const device::CadLayerInfo& info : device::CadLayerTable())
    if (SameRecord(s.Get(info.field), layer)) return device::PrefixedLayerName(info.baseName);
  return "0";
}

}  // namespace

std::string DxfLayerName(const SettingsRecord& s, const CadLayer& layer) {
  if (!layer.LayerName.empty()) return DxfLayerName(layer.LayerName, "0");
  return DxfLayerName(FallbackName(s, layer), "0");
}

int DxfLayerColour(const CadLayer& layer) {
  // 0 would mean "by block", which a layer cannot take.
  return layer.AcadColour != 0 ? layer.AcadColour : 7;
}

namespace {

struct Rgb {
  int r, g, b;
};

// The AutoCAD palette: seven named colours, then 24 hues in steps of 15 degrees, each at five
// values in full and half saturation (10..249), then six greys (250..255).
Rgb AciRgb(int index) {
  static constexpr std::array<Rgb, 8> named = {
      {{0, 0, 0}, {255, 0, 0}, {255, 255, 0}, {0, 255, 0}, {0, 255, 255}, {0, 0, 255}, {255, 0, 255}, {255, 255, 255}}};
  if (index < 8) return named[static_cast<std::size_t>(index)];
  if (index >= 250) {
    static constexpr std::array<int, 6> greys = {51, 91, 132, 173, 214, 255};
    const int g = greys[static_cast<std::size_t>(index - 250)];
    return {g, g, g};
  }
  static constexpr std::array<int, 5> values = {255, 165, 127, 76, 38};
  const int hue = (index - 10) / 10 * 15;
  const int step = (index - 10) % 10;
  const double v = values[static_cast<std::size_t>(step / 2)];
  const double low = step % 2 == 0 ? 0 : v / 2;  // half saturation lifts the smallest component
  // The hue wheel as in HSV: six sectors, one component rising or falling in each.
  const double sector = hue / 60.0;
  const double f = sector - std::floor(sector);
  const double rising = low + (v - low) * f;
  const double falling = v - (v - low) * f;
  double r = 0, g = 0, b = 0;
  switch (static_cast<int>(sector)) {
    case 0: r = v, g = rising, b = low; break;
    case 1: r = falling, g = v, b = low; break;
    case 2: r = low, g = v, b = rising; break;
    case 3: r = low, g = falling, b = v; break;
    case 4: r = rising, g = low, b = v; break;
    default: r = v, g = low, b = falling; break;
  }
  return {static_cast<int>(std::lround(r)), static_cast<int>(std::lround(g)), static_cast<int>(std::lround(b))};
}

}  // namespace

int NearestAciColour(std::uint32_t rgb) {
  const int r = static_cast<int>(rgb & 0xFF), g = static_cast<int>((rgb >> 8) & 0xFF),
            b = static_cast<int>((rgb >> 16) & 0xFF);
  int best = 7;
  long bestDistance = -1;
  for (int index = 1; index <= 255; ++index) {
    if (index == 8 || index == 9) continue;
    const Rgb c = AciRgb(index);
    const auto distance = [&](const Rgb& c) {
      return static_cast<long>(r - c.r) * (r - c.r) + static_cast<long>(g - c.g) * (g - c.g) +
             static_cast<long>(b - c.b) * (b - c.b);
    };
    // 7 is drawn black on a light background and white on a dark one.
    const long d = index == 7 ? std::min(distance(c), distance({0, 0, 0})) : distance(c);
    if (bestDistance < 0 || d < bestDistance) {
      best = index;
      bestDistance = d;
    }
  }
  return best;
}

std::vector<DxfLayerEntry> DxfTableLayers(const SettingsRecord& s, bool vectorsStored) {
  using namespace device;
  using namespace mapping;
  std::vector<DxfLayerEntry> entries;
  const auto add = [&](bool on, LayerField field) {
    if (!on) return;
    const CadLayer layer = s.Get(field);
    std::string name = DxfLayerName(s, layer);
    if (std::any_of(entries.begin(), entries.end(), [&](const DxfLayerEntry& e) { return e.name == name; })) return;
    entries.push_back({std::move(name), DxfLayerColour(layer)});
  };
  const auto shown = [&](MapOptionPage page) { return GroupDrawable(s, page); };
  const auto selected = [](int mode) { return mode != 0; };

  add(shown(MapOptionPage::Triangles), device::TriangleOptions::Layer);
  const bool breaklines = shown(MapOptionPage::Breaklines);
  add(breaklines, device::BreaklineOptions::Layer);
  add(breaklines && s.Get(device::BreaklineOptions::ShowNumbers), device::BreaklineOptions::TextLayer);
  const bool grid = shown(MapOptionPage::SurfaceGrid);
  add(grid && s.Get(device::SurfaceGridOptions::Multiple) != 1, device::SurfaceGridOptions::PrimaryLayer);
  add(grid && s.Get(device::SurfaceGridOptions::Multiple) != 0, device::SurfaceGridOptions::MultipleLayer);
  add(grid && selected(s.Get(device::SurfaceGridOptions::TextMode)), device::SurfaceGridOptions::TextLayer);
  const bool contours = shown(MapOptionPage::Contours);
  add(contours && s.Get(device::ContourOptions::Multiple) != 1, device::ContourOptions::PrimaryLayer);
  add(contours && s.Get(device::ContourOptions::Multiple) != 0, device::ContourOptions::MultipleLayer);
  add(contours && selected(s.Get(device::ContourOptions::LabelMode)), device::ContourOptions::TextLayer);
  add(shown(MapOptionPage::Border), device::BorderOptions::Layer);
  const bool points = shown(MapOptionPage::Points);
  add(points, device::PointOptions::MarkerLayer);
  add(points && (s.Get(device::PointOptions::ShowNumber) || s.Get(device::PointOptions::ShowLabel) ||
                 s.Get(device::PointOptions::ShowElevation)),
      device::PointOptions::LabelLayer);
  add(shown(MapOptionPage::Miscellaneous), device::MiscOptions::Layer);
  const bool titles = shown(MapOptionPage::Titles);
  add(titles, device::TitleOptions::TitleLayer);
  add(titles, device::TitleOptions::TitleLayer2);
  add(s.Get(device::CadOutput::Output3DFaces), device::CadFacesOptions::Layer);
  const bool analyzer = shown(MapOptionPage::SurfaceAnalyzer);
  add(analyzer && s.Get(device::AnalyzerOptions::ShowDownSlope), device::AnalyzerOptions::DownSlopeLayer);
  add(analyzer && s.Get(device::AnalyzerOptions::ShowFlowPath), device::AnalyzerOptions::FlowLayer);
  add(analyzer && s.Get(device::AnalyzerOptions::ShowWatersheds), device::AnalyzerOptions::WatershedLayer);
  add(analyzer && s.Get(device::AnalyzerOptions::ShowRidges), device::AnalyzerOptions::RidgeLayer);
  add(vectorsStored, device::AnalyzerOptions::VectorLayer);
  return entries;
}

// ---- The layer dialog -----------------------------------------------------------------------

namespace {

constexpr int FacesLayerNumber = 16;

bool InMode(const device::CadLayerInfo& info, CadLayerMode mode) {
  return mode == CadLayerMode::Names || info.number != FacesLayerNumber;
}

std::optional<CadLayerColumn> FirstOutOfRange(const CadLayerRow& row, CadLayerMode mode, int& value) {
  const auto outside = [](CadLayerColumn c, int v) {
    const CellRange r = CadLayerCellRange(c);
    return v < r.low || v > r.high;
  };
  if (mode == CadLayerMode::Names && outside(CadLayerColumn::AcadColour, row.acadColour)) {
    value = row.acadColour;
    return CadLayerColumn::AcadColour;
  }
  if (mode == CadLayerMode::Numbers && outside(CadLayerColumn::BatchNumber, row.batchNumber)) {
    value = row.batchNumber;
    return CadLayerColumn::BatchNumber;
  }
  if (mode == CadLayerMode::Numbers && outside(CadLayerColumn::BatchColour, row.batchColour)) {
    value = row.batchColour;
    return CadLayerColumn::BatchColour;
  }
  return std::nullopt;
}

}  // namespace

std::vector<CadLayerRow> LoadCadLayerRows(const SettingsRecord& s, CadLayerMode mode) {
  std::vector<CadLayerRow> rows;
  for (const device::CadLayerInfo& info : device::CadLayerTable()) {
    if (!InMode(info, mode)) continue;
    const CadLayer layer = s.Get(info.field);
    rows.push_back({info.number, std::string(info.rowLabel), layer.LayerName, layer.AcadColour, layer.BatchNumber,
                    layer.BatchColour});
  }
  return rows;
}

CellRange CadLayerCellRange(CadLayerColumn /*column*/) { return {0, 255}; }

bool CheckCadLayerCell(UserPort& port, CadLayerColumn column, int value) {
  if (column == CadLayerColumn::Name) return true;
  const CellRange r = CadLayerCellRange(column);
  if (value >= r.low && value <= r.high) return true;
  ReportOutOfRange(port, msg::CadLayerRangeError, std::to_string(r.low), std::to_string(r.high));
  return false;
}

bool StoreCadLayerRows(UserPort& port, SettingsRecord& s, CadLayerMode mode, const std::vector<CadLayerRow>& rows) {
  for (const CadLayerRow& row : rows) {
    int value = 0;
    if (const auto column = FirstOutOfRange(row, mode, value)) return CheckCadLayerCell(port, *column, value);
  }
  for (const CadLayerRow& row : rows) {
    const auto& table = device::CadLayerTable();
    if (row.number < 1 || row.number > device::CadLayerCount) continue;
    const device::CadLayerInfo& info = table[static_cast<std::size_t>(row.number - 1)];
    if (!InMode(info, mode)) continue;
    CadLayer layer = s.Get(info.field);
    if (mode == CadLayerMode::Names) {
      layer.LayerName = row.name.substr(0, CadLayer::NameCapacity);
      layer.AcadColour = static_cast<std::uint8_t>(row.acadColour);
    } else {
      layer.BatchNumber = static_cast<std::uint8_t>(row.batchNumber);
      layer.BatchColour = static_cast<std::uint8_t>(row.batchColour);
    }
    s.Set(info.field, layer);
  }
  return true;
}

// ---- The CAD data directory -----------------------------------------------------------------

std::string WithTrailingDelimiter(std::string path) {
  if (path.empty()) return path;
  if (path.back() == '/' || path.back() == '\\') return path;
  path.push_back(path.find('\\') != std::string::npos && path.find('/') == std::string::npos ? '\\' : '/');
  return path;
}

bool StoreCadDataDirectory(UserPort& port, SettingsRecord& s, std::string_view directory) {
  if (directory.empty()) return false;
  if (s.Set(device::CadOutput::CadDataDirectory, WithTrailingDelimiter(std::string(directory)))) return true;
  port.ShowWarning(msg::CadDirectoryTooLong);
  return false;
}

}  // namespace terravue::cad
