#pragma once

#include <string>
#include <string_view>

// What the two CAD writers share: numbers in the files and texts cleaned for them. Both write
// through a ReplacingFile (common/safe_file.h).
namespace terravue::cad {

// Fixed notation with `decimals` decimals, always with a decimal point whatever the locale; a
// value that rounds to zero is written without a minus sign.
std::string CadReal(double value, int decimals = 6);

// A map text (Latin-1, one byte per character) as the CAD files take it: control characters
// (C0, DEL and C1) are dropped; the other Latin-1 characters are those of the files' Western
// code page and stay as they are.
std::string CadText(std::string_view latin1);

}  // namespace terravue::cad
