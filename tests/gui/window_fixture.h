#pragma once

#include <QString>
#include <QTemporaryDir>

#include "app/qt_user_port.h"
#include "app/settings_file.h"
#include "common/session.h"
#include "help/help_viewer.h"
#include "mainwindow/main_window.h"
#include "model/surface_model.h"

namespace terravue::testing {

// A main window over its own model, settings and real user dialogs, with a private work folder;
// tests put a surface in it and show it.
struct WindowFixture {
  model::SurfaceModel model;
  SettingsRecord settings = DefaultSettings();
  gui::QtUserPort port{settings};
  Session session{model, settings, port, {}};
  gui::HelpViewer help{port, QString()};
  gui::MainWindow window{session, help};
  QTemporaryDir folder;

  WindowFixture() {
    session.workDirectory = folder.path().toStdString();
    port.SetParentWindow(&window);
  }
};

}  // namespace terravue::testing
