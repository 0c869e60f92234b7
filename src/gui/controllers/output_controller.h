#pragma once

#include <QObject>

namespace terravue::gui {

class ViewController;
struct WindowContext;

// The sheet's commands: Print, Printer Setup, Set Scale and Map Options, each followed by the
// map it changed.
class OutputController : public QObject {
  Q_OBJECT

 public:
  OutputController(WindowContext& context, ViewController& view, QObject* parent = nullptr);
  void RegisterCommands();

 private:
  WindowContext& c_;
  ViewController& view_;
};

}  // namespace terravue::gui
