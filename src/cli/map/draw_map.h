#pragma once

#include "verbs.h"

namespace terravue::cli {

// The map verb itself: draws the sheet with Qt's painters into a PDF or a PNG.
int DrawMap(const Args& args, Context& cx);

}  // namespace terravue::cli
