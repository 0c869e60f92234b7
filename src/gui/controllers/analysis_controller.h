#pragma once

#include <memory>

#include <QObject>

#include "analysis/volume.h"

namespace terravue::gui {

class VolumeFrontEnd;
struct WindowContext;

// The Volume menu (the Surface Comparison dialog and its report); the Surface Analyzer's own
// commands join here as they land.
class AnalysisController : public QObject {
  Q_OBJECT

 public:
  explicit AnalysisController(WindowContext& context, QObject* parent = nullptr);
  ~AnalysisController() override;
  void RegisterCommands();

 private:
  WindowContext& c_;
  std::unique_ptr<VolumeFrontEnd> volumes_;
  // The dialog's choices, kept for the run of the program.
  analysis::VolumeReportOptions volumeOptions_;
};

}  // namespace terravue::gui
