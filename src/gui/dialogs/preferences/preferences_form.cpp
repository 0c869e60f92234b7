#include "dialogs/preferences/preferences_form.h"

#include <QHeaderView>

#include "app/qt_text.h"
#include "common/format.h"
#include "common/messages.h"
#include "ui_preferences_form.h"

namespace terravue::gui {

using device::CadProgram;

TPreferencesForm::TPreferencesForm(UserPort& port, const app::Preferences& preferences, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TPreferencesForm>()), port_(port), values_(preferences) {
  ui_->setupUi(this);
  Ui::TPreferencesForm& u = *ui_;
  setWindowTitle(FromUtf8(msg::PreferencesCaption));
  u.PageControl->setCurrentIndex(0);

  (values_.units == 1 ? u.RBMetric : u.RBEnglish)->setChecked(true);
  (values_.coordinateOrder == 1 ? u.RBEastingNorthing : u.RBNorthingEasting)->setChecked(true);
  (values_.angleConvention == 1 ? u.RBSurveyors : u.RBEngineers)->setChecked(true);
  (values_.blackBackground ? u.RBBlack : u.RBWhite)->setChecked(true);
  u.CBAutoLoad->setChecked(values_.autoLoad);
  u.CBEnhancedCursor->setChecked(values_.enhancedCursor);

  QRadioButton* programs[] = {u.RBAutoCad, u.RBAutoSketch, u.RBGenericCadd, u.RBGeneralCadd};
  programs[static_cast<int>(values_.cadProgram)]->setChecked(true);
  u.CBACADUse3D->setChecked(values_.use3DPolylines);
  u.CBACAD3DFaces->setChecked(values_.output3DFaces);
  u.CBACADTextType->setCurrentIndex(values_.standardTextType ? 0 : 1);
  u.CBGCADFastLoad->setChecked(values_.fastLoad);
  for (QRadioButton* b : programs) connect(b, &QRadioButton::toggled, this, [this] { ShowCadOptions(); });
  ShowCadOptions();

  u.GridSizes->setColumnCount(3);
  u.GridSizes->setRowCount(settings::ScalePresetRows);
  u.GridSizes->horizontalHeader()->hide();
  u.GridSizes->verticalHeader()->hide();
  u.GridSizes->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  for (int row = 0; row < settings::ScalePresetRows; ++row) {
    u.GridSizes->setItem(row, 0, new QTableWidgetItem(FromUtf8(msg::PresetRowOption[row])));
    u.GridSizes->setItem(row, 1, new QTableWidgetItem(FromUtf8(msg::PresetRowKind[row])));
    u.GridSizes->setItem(row, 2, new QTableWidgetItem);
    u.GridSizes->item(row, 2)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  }
  // The page follows the units as soon as they are switched, before OK.
  connect(u.RBMetric, &QRadioButton::toggled, this, [this] { ShowPresets(0); });
  connect(u.ListScales, &QListWidget::currentRowChanged, this, [this] { ShowSizes(); });
  connect(u.ListScales, &QListWidget::itemDoubleClicked, this, [this] { EditPreset(); });
  connect(u.GridSizes, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { EditSize(row); });
  connect(u.ButtonAdd, &QPushButton::clicked, this, &TPreferencesForm::AddPreset);
  connect(u.ButtonEdit, &QPushButton::clicked, this, &TPreferencesForm::EditPreset);
  connect(u.ButtonDelete, &QPushButton::clicked, this, &TPreferencesForm::DeletePreset);
  ShowPresets(0);

  u.ButtonCadDirectory->setText(FromUtf8(msg::CadDataDirButton));
  u.ButtonCadDirectory->hide();
  u.ButtonCadLayers->hide();
  u.ButtonHelp->hide();
  connect(u.ButtonOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(u.ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TPreferencesForm::~TPreferencesForm() = default;

void TPreferencesForm::SetCadActions(std::function<void()> dataDirectory, std::function<void()> layers) {
  auto bind = [this](QPushButton* button, std::function<void()> action) {
    button->setVisible(static_cast<bool>(action));
    button->disconnect(this);
    if (action) connect(button, &QPushButton::clicked, this, std::move(action));
  };
  bind(ui_->ButtonCadDirectory, std::move(dataDirectory));
  bind(ui_->ButtonCadLayers, std::move(layers));
}

void TPreferencesForm::SetHelp(std::function<void()> help) {
  ui_->ButtonHelp->setVisible(static_cast<bool>(help));
  ui_->ButtonHelp->disconnect(this);
  if (help) connect(ui_->ButtonHelp, &QPushButton::clicked, this, std::move(help));
}

int TPreferencesForm::ShownUnit() const { return ui_->RBMetric->isChecked() ? 1 : 0; }

int TPreferencesForm::SelectedPreset() const { return ui_->ListScales->currentRow(); }

app::Preferences TPreferencesForm::Values() const {
  const Ui::TPreferencesForm& u = *ui_;
  app::Preferences p = values_;
  p.units = ShownUnit();
  p.coordinateOrder = u.RBEastingNorthing->isChecked() ? 1 : 0;
  p.angleConvention = u.RBSurveyors->isChecked() ? 1 : 0;
  p.blackBackground = u.RBBlack->isChecked();
  p.autoLoad = u.CBAutoLoad->isChecked();
  p.enhancedCursor = u.CBEnhancedCursor->isChecked();
  if (u.RBAutoSketch->isChecked()) p.cadProgram = CadProgram::AutoSketch;
  else if (u.RBGenericCadd->isChecked()) p.cadProgram = CadProgram::GenericCadd;
  else if (u.RBGeneralCadd->isChecked()) p.cadProgram = CadProgram::GeneralCadd;
  else p.cadProgram = CadProgram::AutoCad;
  p.use3DPolylines = u.CBACADUse3D->isChecked();
  p.output3DFaces = u.CBACAD3DFaces->isChecked();
  p.standardTextType = u.CBACADTextType->currentIndex() == 0;
  p.fastLoad = u.CBGCADFastLoad->isChecked();
  return p;
}

// ---- The preset page ------------------------------------------------------------------------

void TPreferencesForm::ShowPresets(int select) {
  Ui::TPreferencesForm& u = *ui_;
  const int unit = ShownUnit();
  u.LabelScale->setText(FromUtf8(unit == 1 ? msg::PresetScaleMetres : msg::PresetScaleFeet));
  u.LabelHeight->setText(FromUtf8(unit == 1 ? msg::PresetHeightMetres : msg::PresetHeightFeet));
  const device::ScalePresetList& list = values_.presets[static_cast<std::size_t>(unit)];
  {
    const QSignalBlocker block(u.ListScales);
    u.ListScales->clear();
    for (const device::ScalePreset& p : list) u.ListScales->addItem(FromUtf8(FormatReal(p.scale, 0, 3)));
    if (!list.empty()) u.ListScales->setCurrentRow(std::clamp(select, 0, static_cast<int>(list.size()) - 1));
  }
  u.ButtonAdd->setEnabled(device::CanAddScalePreset(list));
  u.ButtonDelete->setEnabled(device::CanDeleteScalePreset(list));
  u.ButtonEdit->setEnabled(!list.empty());
  ShowSizes();
}

void TPreferencesForm::ShowSizes() {
  const device::ScalePresetList& list = values_.presets[static_cast<std::size_t>(ShownUnit())];
  const int i = SelectedPreset();
  for (int row = 0; row < settings::ScalePresetRows; ++row) {
    const bool shown = i >= 0 && i < static_cast<int>(list.size());
    const QString text = shown ? FromUtf8(FormatReal(list[static_cast<std::size_t>(i)].sizes[static_cast<std::size_t>(row)], 0, 3))
                               : QString();
    ui_->GridSizes->item(row, 2)->setText(text);
  }
}

void TPreferencesForm::AddPreset() {
  const int unit = ShownUnit();
  const int at = device::AddScalePreset(port_, values_.presets[static_cast<std::size_t>(unit)], unit);
  if (at >= 0) ShowPresets(at);
}

void TPreferencesForm::EditPreset() {
  const int at = device::EditScalePreset(port_, values_.presets[static_cast<std::size_t>(ShownUnit())], SelectedPreset());
  if (at >= 0) ShowPresets(at);
}

void TPreferencesForm::DeletePreset() {
  device::ScalePresetList& list = values_.presets[static_cast<std::size_t>(ShownUnit())];
  if (!device::CanDeleteScalePreset(list)) return;
  ShowPresets(device::DeleteScalePreset(list, SelectedPreset()));
}

void TPreferencesForm::EditSize(int row) {
  if (device::EditPresetSize(port_, values_.presets[static_cast<std::size_t>(ShownUnit())], SelectedPreset(), row))
    ShowSizes();
}

// ---- The CAD page ---------------------------------------------------------------------------

void TPreferencesForm::ShowCadOptions() {
  Ui::TPreferencesForm& u = *ui_;
  const bool dxf = u.RBAutoCad->isChecked() || u.RBAutoSketch->isChecked();
  u.PagesCadOptions->setCurrentWidget(dxf ? u.PageDxf : u.PageBatch);
  // The layer dialog opens in the mode of the page: names for DXF, numbers for batch files.
  u.ButtonCadLayers->setText(FromUtf8(dxf ? msg::CadLayerNamesButton : msg::CadLayerNumbersButton));
  u.CBGCADFastLoad->setVisible(u.RBGenericCadd->isChecked());
}

}  // namespace terravue::gui
