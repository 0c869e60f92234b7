#pragma once

#include <QPointer>
#include <QWidget>

#include "analysis/volume.h"

namespace terravue {
class UserPort;
}

namespace terravue::gui {

class TVolumeForm;

// The desktop's part in Volume > Two Surfaces and Volume > Single Surface: the open dialog for
// the proposed model and the Surface Comparison form. The Volume menu runs
//   analysis::RunVolumeCommand(session, mode, frontEnd, options)
// with the options it keeps for the whole run of the program.
class VolumeFrontEnd : public analysis::VolumeUi {
 public:
  VolumeFrontEnd(UserPort& port, QWidget* parent);
  ~VolumeFrontEnd() override;

  std::optional<analysis::ProposedFileChoice> ChooseProposedFile(const std::string& directory,
                                                                 const std::string& fileName) override;
  void BeginComparison(const std::string& existingText, const std::string& proposedText) override;
  void SetPhase(int phase, int percent) override;
  void EndComparison() override;
  std::optional<analysis::VolumeReportOptions> AskReportOptions(
      const analysis::VolumeReportOptions& current) override;

  TVolumeForm& Form();

 private:
  UserPort& port_;
  QPointer<QWidget> parent_;
  // Made on first use and kept; owned by the parent window when there is one.
  QPointer<TVolumeForm> form_;
};

}  // namespace terravue::gui
