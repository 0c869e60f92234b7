#pragma once

#include "common/settings_record.h"
#include "device/cad_settings.h"

namespace terravue::mapping {

// While it lives, the CAD writers write the element's lines as 3-D polylines when the CAD
// preferences ask for them.
class LineMode3D {
 public:
  explicit LineMode3D(SettingsRecord& s) : s_(s) {
    s_.Set(device::CadOutput::LineMode3D, s_.Get(device::CadOutput::Use3DPolylines));
  }
  ~LineMode3D() { s_.Set(device::CadOutput::LineMode3D, false); }
  LineMode3D(const LineMode3D&) = delete;
  LineMode3D& operator=(const LineMode3D&) = delete;

 private:
  SettingsRecord& s_;
};

}  // namespace terravue::mapping
