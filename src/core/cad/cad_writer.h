#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

#include "device/drawing_device.h"

namespace terravue::cad {

// The CAD file device: the map redraw draws into it between Begin and End, in world
// coordinates. Both writers read the CAD section of the settings as it is when Begin runs,
// except the 3-D line mode, which the redraw switches per element.
class CadWriter : public device::DrawingDevice {
 public:
  CadWriter() : device::DrawingDevice(device::DeviceKind::CadFile) {}

  // Creates the file and writes its start. False, with the writer's message shown, when the
  // file cannot be created; nothing is drawn then.
  virtual bool Begin(const std::filesystem::path& target) = 0;
  // Writes the end and puts the file in place. False, with a message, when anything could not
  // be written; the previous file of that name is then left as it was.
  virtual bool End() = 0;

  // Nothing of these reaches a CAD file.
  void DeviceSetWidth(int) override {}
  void DeviceEndText() override {}
  void DeviceTitleBlock() override {}
  void DeviceDensityFill(const std::array<device::WorldPoint, 3>&, double) override {}
  // Solid fills reach DXF files only; the drawing macros have no fill.
  void DeviceFillPolygon(std::span<const device::WorldPoint>, std::uint32_t) override {}
};

// Texts in CAD files are measured with fixed-pitch metrics at a fixed size, so that a file does
// not depend on the screen or its zoom: a character cell is 0.6 of the height wide, and the
// width used for placing text is 1.5 cells.
inline constexpr double CadCharWidthPerHeight = 1.5 * 0.6;

}  // namespace terravue::cad
