#include "dialogs/surface_comparison/volume_front_end.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include "app/qt_text.h"
#include "dialogs/surface_comparison/volume_form.h"
#include "model/model_file.h"

namespace terravue::gui {
namespace {

constexpr QLatin1String ModelFilter("Terravue (*.MDL *.mdl)");
constexpr QLatin1String SiblingFilter("PLAINVALE (*.MDV *.mdv)");

}  // namespace

VolumeFrontEnd::VolumeFrontEnd(UserPort& port, QWidget* parent) : port_(port), parent_(parent) {}

VolumeFrontEnd::~VolumeFrontEnd() {
  // Without a parent window nothing else owns the form.
  if (form_ && !form_->parent()) delete form_.data();
}

TVolumeForm& VolumeFrontEnd::Form() {
  if (!form_) form_ = new TVolumeForm(port_, parent_);
  return *form_;
}

std::optional<analysis::ProposedFileChoice> VolumeFrontEnd::ChooseProposedFile(const std::string& directory,
                                                                               const std::string& fileName) {
  QString start = PathFromBytes(directory);
  if (start.isEmpty() || !QFileInfo(start).isDir()) start = QDir::homePath();
  QFileDialog dialog(parent_, QString(), start);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilters({QString(ModelFilter), QString(SiblingFilter)});
  dialog.setDefaultSuffix(QStringLiteral("MDL"));
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
    dialog.setDefaultSuffix(filter == SiblingFilter ? QStringLiteral("MDV") : QStringLiteral("MDL"));
  });
  if (!fileName.empty()) dialog.selectFile(PathFromBytes(fileName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  const int type = dialog.selectedNameFilter() == SiblingFilter ? model::ModelFileTypeMdv : model::ModelFileTypeMdl;
  return analysis::ProposedFileChoice{ToFsPath(dialog.selectedFiles().constFirst()), type};
}

void VolumeFrontEnd::BeginComparison(const std::string& existingText, const std::string& proposedText) {
  // File names are file-system bytes; the counts are plain digits.
  Form().BeginComparison(PathFromBytes(existingText), PathFromBytes(proposedText));
}

void VolumeFrontEnd::SetPhase(int phase, int percent) { Form().SetPhase(phase, percent); }

void VolumeFrontEnd::EndComparison() { Form().EndComparison(); }

std::optional<analysis::VolumeReportOptions> VolumeFrontEnd::AskReportOptions(
    const analysis::VolumeReportOptions& current) {
  return Form().AskReportOptions(current);
}

}  // namespace terravue::gui
