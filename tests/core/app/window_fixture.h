#pragma once

#include <filesystem>
#include <initializer_list>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "app/cursor.h"
#include "common/session.h"
#include "app/settings_file.h"
#include "common/settings_record.h"
#include "model/surface_model.h"
#include "support/session_fixture.h"
#include "tin/geometry.h"
#include "tin/triangulate.h"

namespace terravue::app {

// The session fixture for the main window's engine side.
class WindowTest : public testing::SessionTest {
 protected:
  WindowTest() : SessionTest("terravue-window-") {}

  // Triangulates quietly. A model without a border gets none: the convex ring the run makes,
  // and its warning, are taken away again (the triangles stay).
  void Triangulate() {
    const bool bordered = model.IsBordered();
    tin::TriangulateOptions options;
    options.quiet = true;
    tin::Triangulate(session, locate, options);
    if (!bordered)
      for (PointIndex p = 0; p <= model.PointCount; ++p) model.BorderNext[p] = NoPoint;
    port.shown.clear();
  }
  CursorContext Context() { return {model, settings, locate, port}; }

  tin::LocateState locate;
};

}  // namespace terravue::app
