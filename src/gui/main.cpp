#include "app/app_controller.h"
#include "app/application.h"

int main(int argc, char** argv) {
  terravue::gui::Application app(argc, argv);
  terravue::gui::AppController controller;
  return controller.Run(app.arguments());
}
