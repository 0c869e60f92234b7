#include "cad/macro_writer.h"

#include <cmath>
#include <cstdio>
#include <numbers>

#include "common/app_settings.h"
#include "common/messages.h"
#include "common/session.h"
#include "common/settings_record.h"
#include "common/user_port.h"
#include "device/map_options.h"
#include "mapping/map_options_edit.h"
#include "device/cad_settings.h"

namespace terravue::cad {
namespace {

constexpr double NearZeroBound = 0.0001;

bool Finite(double x, double y) { return std::isfinite(x) && std::isfinite(y); }

bool SamePlace(const device::WorldPoint& a, const device::WorldPoint& b) {
  return std::fabs(a.x - b.x) < NearZeroBound && std::fabs(a.y - b.y) < NearZeroBound;
}

// The marker components the header loads, by marker kind.
std::string_view ComponentName(int kind) {
  switch (kind) {
    case 0: return "TVUBLOCK";
    case 1: return "TVUBOX";
    case 2: return "TVUCROSS";
    case 3: return "TVUPLUS";
    case 4: return "TVUDIAM";
    default: return {};
  }
}

// Layer and colour numbers, right-aligned in four characters.
std::string Number4(int n) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%4d", n);
  return buffer;
}

// A text as a command takes it: "," and ";" would end the command, so they become blanks.
std::string CommandText(std::string_view raw) {
  std::string text = CadText(raw);
  for (char& c : text)
    if (c == ',' || c == ';') c = ' ';
  return text;
}

}  // namespace

MacroWriter::MacroWriter(Session& session) : session_(session) {}

void MacroWriter::Line(std::string_view command) {
  file_.Write(command);
  file_.Write("\r\n");
}

// Lengths carry feet marks in English units.
std::string MacroWriter::Length(double v) const { return metric_ ? CadReal(v) : CadReal(v) + "'"; }

std::string MacroWriter::Point(double x, double y) const { return Length(x) + "," + Length(y) + ";"; }

bool MacroWriter::Begin(const std::filesystem::path& target) {
  const SettingsRecord& s = session_.settings;
  if (!file_.Create(target)) {
    session_.port.ShowFileError(msg::BatchCreateError, *file_.Problem());
    return false;
  }
  begun_ = true;
  generic_ = s.Get(device::CadOutput::GenericCadd);
  fastLoad_ = s.Get(device::CadOutput::FastLoad);
  metric_ = s.Get(settings::Units) == 1;

  if (generic_ && fastLoad_) {
    Line("VM,--;");
    Line("DI,S,--,#;");
    Line("OD,--;");
    Line("RB,--;");
  } else if (!generic_) {
    Line("/MSP,++;");
    Line("/XMD,++;");
    Line("OD,--;");
    Line("RB,--;");
  }
  Line(metric_ ? "UN,S;" : "UN,T;");
  Line("MO;");
  Line("OR,--;");
  Line("YC,   1;");
  Line("LC," + Number4(generic_ ? 7 : 15) + ";");
  Line("LT,   0;");
  Line("LW,   0;");
  layerNumber_ = 0;
  layerColour_ = generic_ ? 7 : 15;
  if (generic_) {
    Line("FS,TEXT;");
    Line("TS,S,0.0,J,L,P,C,20.0,L,150.0,P,--,!;");
  } else {
    Line("FS,MAIN;");
    Line("TS,S,0.0,J,L,P,C,20.0,L,150.0,P,--,!,!;");
  }
  const bool points = mapping::GroupDrawable(s, mapping::MapOptionPage::Points);
  const std::string_view component = ComponentName(s.Get(device::PointOptions::MarkerKind));
  if (points && !component.empty()) Line("LO,C," + std::string(component) + ";");
  if (points) Line("CR," + CadReal(0) + ";");
  markerPending_ = true;
  stylePending_ = true;
  markerSize_.reset();
  lineOpen_ = false;
  penDown_ = false;
  last_.reset();
  return true;
}

void MacroWriter::ClosePenLine() {
  if (!lineOpen_) return;
  Line("PU;");
  lineOpen_ = false;
}

void MacroWriter::DeviceSetLayer(std::uint32_t colour, const CadLayer& layer) {
  device::DrawingDevice::DeviceSetLayer(colour, layer);
  if (!begun_ || layer.BatchNumber == layerNumber_) return;
  // A line goes on with its own layer; the next point starts a new one.
  ClosePenLine();
  layerNumber_ = layer.BatchNumber;
  layerColour_ = layer.BatchColour;
  Line("YC," + Number4(layerNumber_) + ";");
  Line("LC," + Number4(layerColour_) + ";");
  markerPending_ = true;
  stylePending_ = true;
}

void MacroWriter::DevicePlot(bool, double x, double y, double) {
  if (!begun_) return;
  if (!Finite(x, y)) {
    ClosePenLine();
    last_.reset();
    return;
  }
  const device::WorldPoint p{x, y, 0};
  if (!penDown_) {
    last_ = p;
    return;
  }
  if (!lineOpen_) {
    // A line starts only once it has a second, distinct point.
    if (last_ && !SamePlace(*last_, p)) {
      file_.Write("LI, ");
      Line(Point(last_->x, last_->y));
      Line(Point(p.x, p.y));
      lineOpen_ = true;
      lastWritten_ = p;
      last_ = p;
    } else if (!last_) {
      last_ = p;
    }
    return;
  }
  if (!SamePlace(lastWritten_, p)) {
    Line(Point(p.x, p.y));
    lastWritten_ = p;
  }
  last_ = p;
}

void MacroWriter::DevicePenDown() {
  if (begun_) ClosePenLine();
  penDown_ = true;
}

void MacroWriter::DevicePenUp() {
  if (begun_) ClosePenLine();
  penDown_ = false;
}

void MacroWriter::DeviceSetTextStyle(std::uint32_t, double height) {
  text.TextHeight = height;
  text.TextCharWidth = std::isfinite(height) ? std::fabs(CadCharWidthPerHeight * height) : 0;
  text.TextBaselineOffset = 0;
  stylePending_ = true;
}

void MacroWriter::DeviceText(std::string_view raw, double angle, double x, double y, double, double sizeFactor) {
  if (!begun_) return;
  const std::string content = CommandText(raw);
  const double h = sizeFactor * text.TextHeight;
  if (content.empty() || !(h > 0) || !std::isfinite(h) || !std::isfinite(angle) || !Finite(x, y)) return;
  ClosePenLine();
  const double c = std::cos(angle), s = std::sin(angle);
  double sx = x + h / 2 * s;
  double sy = y - h / 2 * c;
  if (text.TextCadCentred) {
    const double half = sizeFactor * (static_cast<double>(content.size()) / 2) * text.TextCharWidth;
    sx += c * half;
    sy += s * half;
  }
  double degrees = angle * 180 / std::numbers::pi;
  while (degrees > 360) degrees -= 360;
  while (degrees < -360) degrees += 360;

  // The style goes again whenever what it says would change.
  if (stylePending_ || styleHeight_ != h || styleCentred_ != text.TextCadCentred) {
    Line("TC," + Number4(layerColour_) + ";");
    Line("TS,Z," + Length(h) + ",#;");
    if (std::fabs(text.TextHeight) < NearZeroBound)
      Line("TS,A,0.0,!;");
    else
      Line("TS,A," + CadReal(text.TextCharWidth / text.TextHeight) + ",!;");
    Line(text.TextCadCentred ? "TS,J,C,!;" : "TS,J,L,!;");
    stylePending_ = false;
    styleHeight_ = h;
    styleCentred_ = text.TextCadCentred;
  }
  Line("TR," + CadReal(degrees) + ";");
  Line("TL," + Point(sx, sy));
  Line(content + ",#;");
  last_ = device::WorldPoint{x, y, 0};
}

void MacroWriter::DeviceAxisText(std::string_view raw, bool vertical, double x, double y, double z) {
  const double back = static_cast<double>(CommandText(raw).size() + 1) * text.TextCharWidth;
  if (vertical)
    DeviceText(raw, std::numbers::pi / 2, x, y - back, z, 1);
  else
    DeviceText(raw, 0, x - back, y, z, 1);
}

void MacroWriter::DeviceMarker(int kind, double x, double y, double, double size) {
  if (!begun_ || !(size > 0) || !std::isfinite(size) || !Finite(x, y)) return;
  ClosePenLine();
  if (markerPending_ || !markerSize_ || *markerSize_ != size) {
    Line("CZ," + Length(size) + "," + Length(size) + ";");
    markerPending_ = false;
    markerSize_ = size;
  }
  const std::string_view component = ComponentName(kind);
  if (!component.empty()) Line("CP," + std::string(component) + "," + Point(x, y));
  last_ = device::WorldPoint{x, y, 0};
}

bool MacroWriter::End() {
  if (!begun_) return false;
  begun_ = false;
  if (!generic_) {
    Line("OD,++;");
    Line("RB,++;");
    Line("/XMD,--");
    Line("/MSP,--");
    Line("PU;");
  } else {
    Line("PU;");
    if (fastLoad_) {
      Line("VM,++;");
      Line("DI,S,++,#;");
      Line("OD,++;");
      Line("RB,++;");
    }
  }
  Line("ZA;");
  if (file_.Commit()) return true;
  session_.port.ShowFileError(msg::CadWriteError, *file_.Problem());
  return false;
}

}  // namespace terravue::cad
