#pragma once

#include <QObject>

namespace terravue::gui {

class HelpViewer;
struct WindowContext;

// The Help menu: the help files at their contents, and the About window.
class HelpController : public QObject {
  Q_OBJECT

 public:
  HelpController(WindowContext& context, HelpViewer& help, QObject* parent = nullptr);
  void RegisterCommands();

 private:
  WindowContext& c_;
  HelpViewer& help_;
};

}  // namespace terravue::gui
