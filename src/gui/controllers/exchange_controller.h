#pragma once

#include <functional>

#include <QObject>

namespace terravue::gui {

class ViewController;
struct WindowContext;

// Process > Import and Process > Export (coordinates, border, breaklines) and File >
// Preferences.
class ExchangeController : public QObject {
  Q_OBJECT

 public:
  ExchangeController(WindowContext& context, ViewController& view, QObject* parent = nullptr);
  void RegisterCommands();

  // Imported points replaced or joined the model: the window resets its view and caption.
  std::function<void()> onModelLoaded;

  void ImportCoordinates();
  void ImportBorder();
  void ImportBreaklines();
  void Preferences();

 private:
  WindowContext& c_;
  ViewController& view_;
};

}  // namespace terravue::gui
