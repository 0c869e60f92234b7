#pragma once

#include <functional>

#include <QObject>

#include "exchange/import_commands.h"
#include "exchange/transforms.h"
#include "model/indices.h"

namespace terravue::gui {

class ViewController;
struct WindowContext;

// The coordinate tools: the point text editor, Print listings, Factor, Translate and Rotate,
// the series forms of the Border and Breakline Editors, and Process > Auto Process.
class CoordinateController : public QObject {
  Q_OBJECT

 public:
  CoordinateController(WindowContext& context, ViewController& view, QObject* parent = nullptr);
  void RegisterCommands();

  // The import dialog behind Auto Process's "Change Settings".
  exchange::ImportDialogFn importDialog;
  // A new model came in (Auto Process): the window resets its view and caption.
  std::function<void()> onModelLoaded;
  // The Coordinate Editor's Verify and Remove dialogs, for the text editor's commands: true
  // when they changed the points.
  std::function<bool(PointIndex at)> verifyPoints;
  std::function<bool()> removePoints;

  void TextEditor();
  void AutoProcess();
  // Factor, Translate or Rotate with its dialog; true when applied.
  bool Transform(exchange::TransformKind kind);

 private:
  void AfterTransform();
  void PrintPoints();
  void PrintBreaklines();
  void BorderSeries();
  void BreaklineSeries();

  WindowContext& c_;
  ViewController& view_;
};

}  // namespace terravue::gui
