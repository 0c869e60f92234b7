#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cad/cad_file.h"
#include "cad/cad_writer.h"
#include "common/safe_file.h"

namespace terravue {
struct Session;
}

// The DXF writer: an ASCII DXF file of the R11/R12 generation. Each device operation becomes
// entities, written to a scratch file as they come; the sections before ENTITIES are assembled
// at the end, so that the LAYER table can hold every layer the entities use, and the entities
// are copied behind them.
namespace terravue::cad {

class DxfWriter final : public CadWriter {
 public:
  explicit DxfWriter(Session& session);

  bool Begin(const std::filesystem::path& target) override;
  bool End() override;

  void DeviceSetLayer(std::uint32_t colour, const CadLayer& layer) override;
  void DevicePlot(bool flag, double x, double y, double z) override;
  void DevicePenDown() override;
  void DevicePenUp() override;
  void DeviceSetTextStyle(std::uint32_t colour, double height) override;
  void DeviceText(std::string_view text, double angle, double x, double y, double z,
                  double sizeFactor) override;
  void DeviceAxisText(std::string_view text, bool vertical, double x, double y, double z) override;
  void DeviceMarker(int kind, double x, double y, double z, double size) override;
  void DeviceFillPolygon(std::span<const device::WorldPoint> corners, std::uint32_t colour) override;

 private:
  void Group(int code, std::string_view value);
  void Real(int code, double value) { Group(code, CadReal(value)); }
  void Coordinates(int code, double x, double y, double z);
  void StartPolyline(const device::WorldPoint& from);
  void Vertex(const device::WorldPoint& p);
  void EndPolyline();
  void WriteFaces();
  void UseLayer(const std::string& name, int colour);
  std::string Head() const;

  Session& session_;
  ReplacingFile file_;
  ScratchFile spool_;
  bool begun_ = false;

  // Taken from the settings at Begin.
  double scale_ = 1;            // 12 for AutoSketch
  double elevationFactor_ = 1;
  bool standardText_ = true;
  int markerKind_ = 5;
  bool blockWritten_ = false;
  std::string markerLayer_;

  std::string layerName_;
  std::vector<std::pair<std::string, int>> used_;  // layer names in order of first use

  bool penDown_ = false;
  std::optional<device::WorldPoint> last_;  // the last point plotted
  bool open_ = false;               // a polyline is open
  bool open3D_ = false;
  std::string openLayer_;
  device::WorldPoint lastVertex_;
};

}  // namespace terravue::cad
