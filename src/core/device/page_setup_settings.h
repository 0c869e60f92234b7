#pragma once

#include <cstdint>
#include <string_view>

#include "common/coordinate_limits.h"
#include "common/settings_record.h"
#include "common/settings_table.h"

// The page and printing section of the settings image: paper and printable area in printer
// pixels, dots per inch, map scale, view centre, rotation, calibration and sheet corners. It
// is recomputed from the printer at start-up; the built-in image holds the sheet used when no
// printer is available.
namespace terravue::device::PageSetup {

inline constexpr BoolField PrinterPresent{5316};
// The paper chosen in Print Setup (0: none chosen, the printer's own; k: the k-th of Papers())
// and its orientation, kept in the bytes after PrinterPresent.
inline constexpr U8Field PaperChoice{5317};
inline constexpr BoolField Landscape{5318};
inline constexpr I32Field PaperWidth{5320};
inline constexpr I32Field PaperHeight{5324};
inline constexpr I32Field PageWidth{5328};   // printable width W
inline constexpr I32Field PageHeight{5332};  // printable height H
inline constexpr I32Field MarginLeft{5336};
inline constexpr I32Field MarginTop{5340};
inline constexpr I32Field MarginRight{5344};
inline constexpr I32Field MarginBottom{5348};
inline constexpr I32Field ClipLeft{5352};
inline constexpr I32Field ClipTop{5356};
inline constexpr I32Field ClipRight{5360};
inline constexpr I32Field ClipBottom{5364};
inline constexpr F64Field PixelAspect{5372};  // dots per inch Y / dots per inch X
inline constexpr F64Field FitScale{5380};
inline constexpr F64Field MapScale{5388};  // world units per inch (per cm when metric)
inline constexpr F64Field MinimumScale{5396};
inline constexpr F64Field RotationAngle{5404};  // degrees
inline constexpr F64Field DotsPerInchX{5412};
inline constexpr F64Field DotsPerInchY{5420};
inline constexpr F64Field ViewCentreX{5428};
inline constexpr F64Field ViewCentreY{5436};
inline constexpr F64Field RotationCentreX{5444};
inline constexpr F64Field RotationCentreY{5452};
inline constexpr F64Field CalibrationX{5460};
inline constexpr F64Field CalibrationY{5468};
inline constexpr F64Field ScaleFactorX{5476};  // pixels per world unit
inline constexpr F64Field ScaleFactorY{5484};
// World coordinates of the printable area's edges.
inline constexpr F64Field SheetLeft{5492};
inline constexpr F64Field SheetBottom{5500};
inline constexpr F64Field SheetRight{5508};
inline constexpr F64Field SheetTop{5516};
inline constexpr BoolField BlackAndWhite{5524};
inline constexpr I32Field PaperCode{5528};
inline constexpr TextField PaperName{5532, 87};

// The largest map scale (world units per inch or centimetre): a sheet at it spans more than the
// whole range of coordinates the program takes, and the scale bar's numbers stay finite.
inline constexpr double MaximumScale = MaxCoordinate;

// Largest page dimension, margin or resolution accepted from a file: far above any printer,
// far below where pixel arithmetic would overflow.
inline constexpr std::int32_t MaxPixels = 1000000;
inline constexpr double MaxDotsPerInch = 100000;

inline constexpr std::string_view LetterPaperName = "Letter 8 1/2 x 11 in";  // paper code 1
inline constexpr int PaperChoiceCount = 10;  // the papers offered

}  // namespace terravue::device::PageSetup

namespace terravue::device {

const SettingsTable& PageSetupFields();
void SetPageSetupDefaults(SettingsRecord& record);
int ValidatePageSetup(SettingsRecord& record);

}  // namespace terravue::device
