#pragma once

#include <functional>

#include <QObject>

#include "exchange/import_commands.h"

namespace terravue::gui {

class HelpViewer;
class ViewController;
struct WindowContext;

// Process > Import and Process > Export (coordinates, border, breaklines, LandXML) and File >
// Preferences.
class ExchangeController : public QObject {
  Q_OBJECT

 public:
  ExchangeController(WindowContext& context, ViewController& view, QObject* parent = nullptr);
  void RegisterCommands();

  // Imported points replaced or joined the model: the window resets its view and caption.
  std::function<void()> onModelLoaded;
  // The help viewer behind the dialogs' Help buttons; without one the buttons are hidden.
  HelpViewer* helpViewer = nullptr;

  void ImportCoordinates();
  void ImportBorder();
  void ImportBreaklines();
  void ImportLandXml();
  void ExportLandXml();
  void Preferences();

 private:
  std::function<void()> HelpFor(int context) const;
  exchange::ImportDialogFn ImportDialog();

  WindowContext& c_;
  ViewController& view_;
};

}  // namespace terravue::gui
