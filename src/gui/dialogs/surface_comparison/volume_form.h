#pragma once

#include <memory>
#include <optional>
#include <string_view>

#include <QDialog>
#include <QString>

#include "analysis/volume.h"

class QLineEdit;

namespace Ui {
class TVolumeForm;
}

namespace terravue {
class UserPort;
}

namespace terravue::gui {

// "Surface Comparison": first the progress of a volume computation (the two surfaces and the
// three phases, inputs disabled), then, shown modally, the report options: shrink/swell factors,
// the cut/fill listing and five comment lines. It hands back a plain VolumeReportOptions.
class TVolumeForm : public QDialog {
  Q_OBJECT

 public:
  explicit TVolumeForm(UserPort& port, QWidget* parent = nullptr);
  ~TVolumeForm() override;

  // Shown without waiting, inputs disabled, the phases at "0%".
  void BeginComparison(const QString& existing, const QString& proposed);
  // Phase 1..3 at percent; repainted at once.
  void SetPhase(int phase, int percent);
  // Hidden, inputs enabled again.
  void EndComparison();

  // Shown modally from `current` (the comment lines start empty). The values on Continue,
  // nothing on Cancel.
  std::optional<analysis::VolumeReportOptions> AskReportOptions(const analysis::VolumeReportOptions& current);

 private:
  void FormActivate(const analysis::VolumeReportOptions& current);
  void CBIncludeCFDataChange(int index);
  void ButtonContinueClick();
  void SetInputsEnabled(bool enabled);
  // The factor typed in `field`, or nothing after the field's refusal.
  std::optional<double> ReadFactor(QLineEdit* field, std::string_view errorText);

  std::unique_ptr<Ui::TVolumeForm> ui_;
  UserPort& port_;
  analysis::VolumeReportOptions values_;
};

}  // namespace terravue::gui
