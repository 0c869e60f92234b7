#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "cad/cad_file.h"
#include "cad/cad_writer.h"
#include "common/safe_file.h"

namespace terravue {
struct Session;
}

// The batch macro writer: two-letter drawing commands that the batch CAD programs replay, in
// two dialects (".MCR" and ".GXM"). Two-dimensional: X and Y in world units, no elevation.
namespace terravue::cad {

class MacroWriter final : public CadWriter {
 public:
  explicit MacroWriter(Session& session);

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

 private:
  void Line(std::string_view command);
  std::string Point(double x, double y) const;
  std::string Length(double v) const;
  void ClosePenLine();

  Session& session_;
  ReplacingFile file_;
  bool begun_ = false;

  // Taken from the settings at Begin.
  bool generic_ = true;
  bool fastLoad_ = true;
  bool metric_ = false;

  int layerNumber_ = 0;
  int layerColour_ = 7;
  bool markerPending_ = true;
  bool stylePending_ = true;
  std::optional<double> styleHeight_;  // what the last style commands said
  bool styleCentred_ = false;
  std::optional<double> markerSize_;  // the size of the last "CZ," command

  bool penDown_ = false;
  bool lineOpen_ = false;
  std::optional<device::WorldPoint> last_;
  device::WorldPoint lastWritten_;
};

}  // namespace terravue::cad
