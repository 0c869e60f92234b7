#pragma once

#include <functional>
#include <optional>

#include <QObject>

#include "exchange/import_commands.h"
#include "exchange/transforms.h"
#include "model/indices.h"

namespace terravue::gui {

class TSearchForm;
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
  // The Coordinate Editor's Verify and Remove dialogs over `over`, for the text editor's
  // commands: true when they changed the points. Verify's location starts at (x, y).
  std::function<bool(QWidget* over, double x, double y)> verifyPoints;
  std::function<bool(QWidget* over)> removePoints;

  void TextEditor();
  // The search dialog over `over`, "Set to cursor position" giving (x, y, z): the point to move
  // to, when the user asked for it.
  std::optional<PointIndex> Search(QWidget* over, double x, double y, double z);
  void AutoProcess();
  // Factor, Translate or Rotate with its dialog; true when applied.
  bool Transform(QWidget* over, exchange::TransformKind kind);

 private:
  void AfterTransform();
  void PrintPoints(QWidget* over);
  void PrintBreaklines();
  void BorderSeries();
  void BreaklineSeries();

  WindowContext& c_;
  ViewController& view_;
  // One search dialog for the run of the program: it keeps its criteria and result.
  TSearchForm* searchForm_ = nullptr;
};

}  // namespace terravue::gui
