#pragma once

#include <memory>

#include <QObject>

#include "analysis/volume.h"

namespace terravue::gui {

class ViewController;
class VolumeFrontEnd;
struct WindowContext;

// The Volume menu (the Surface Comparison dialog and its report, whose differences the cut/fill
// map keeps) and the Surface Analyzer's commands at the cursor: Contour Line, Water Drop,
// Watershed, Elevation Jump, Text Output and Vector Accumulator. Query Triangle is an active
// command of the editors.
class AnalysisController : public QObject {
  Q_OBJECT

 public:
  AnalysisController(WindowContext& context, ViewController& view, QObject* parent = nullptr);
  ~AnalysisController() override;
  void RegisterCommands();

 private:
  void Volume(analysis::VolumeMode mode);
  // After a trace: the map drawn again with the vectors, the menus in step.
  void AfterTrace(bool traced);

  WindowContext& c_;
  ViewController& view_;
  std::unique_ptr<VolumeFrontEnd> volumes_;
  // The dialog's choices, kept for the run of the program.
  analysis::VolumeReportOptions volumeOptions_;
};

}  // namespace terravue::gui
