#include "dialogs/map_options/set_map_opts2_form.h"

#include <initializer_list>

#include "app/qt_text.h"
#include "common/app_settings.h"
#include "dialogs/map_options/option_controls.h"
#include "device/map_options.h"
#include "ui_set_map_opts2_form.h"

namespace terravue::gui {

using mapping::MapOptionPage;
using mapping::NumberKind;

namespace {

void Enable(bool on, std::initializer_list<QWidget*> widgets) {
  for (QWidget* w : widgets) w->setEnabled(on);
}

std::string Text(const QLineEdit* field) { return ToLatin1(field->text()); }

}  // namespace

TSetMapOpts2Form::TSetMapOpts2Form(MapOptionPage page, const SettingsRecord& s, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TSetMapOpts2Form>()),
      panels_(new ColourPanels(s.Get(device::CustomColours), this)),
      eastingFirst_(settings::EastingFirst(s)) {
  ui_->setupUi(this);
  setWindowTitle(FromUtf8(mapping::PageCaption(page)));
  Ui::TSetMapOpts2Form& u = *ui_;

  const mapping::SurfaceGridPage grid = mapping::LoadSurfaceGridPage(s);
  u.LabelGridInterval1->setText(eastingFirst_ ? QStringLiteral("X Interval >") : QStringLiteral("Northing Interval >"));
  u.LabelGridInterval2->setText(eastingFirst_ ? QStringLiteral("Y Interval >") : QStringLiteral("Easting Interval >"));
  BindNumberField(u.EditGridInterval1, NumberKind::Real, eastingFirst_ ? grid.intervalX : grid.intervalY);
  BindNumberField(u.EditGridInterval2, NumberKind::Real, eastingFirst_ ? grid.intervalY : grid.intervalX);
  BindNumberField(u.EditGridMultiple, NumberKind::Integer, grid.multiple);
  panels_->Add(u.PanelGridPrimaryColor, grid.primaryColour);
  panels_->Add(u.PanelGridMultipleColor, grid.multipleColour);
  FillWidthList(u.CBGridPrimaryWidth, grid.primaryWidth);
  FillWidthList(u.CBGridMultipleWidth, grid.multipleWidth);
  u.CBGridTextMode->setCurrentIndex(grid.textMode);
  BindNumberField(u.EditGridTextHeight, NumberKind::Real, grid.textHeight);
  u.CBGridTextDecimals->setCurrentIndex(grid.textDecimals);
  panels_->Add(u.PanelGridTextColor, grid.textColour);
  u.CBGridDashMode->setCurrentIndex(grid.dashMode);
  BindNumberField(u.EditGridDashLength, NumberKind::Real, grid.dashLength);
  BindNumberField(u.EditGridSpaceLength, NumberKind::Real, grid.spaceLength);

  const mapping::ContourPage con = mapping::LoadContourPage(s);
  BindNumberField(u.EditConInterval, NumberKind::Real, con.interval);
  BindNumberField(u.EditConMultiple, NumberKind::Integer, con.multiple);
  panels_->Add(u.PanelConPrimaryColor, con.primaryColour);
  panels_->Add(u.PanelConMultipleColor, con.multipleColour);
  FillWidthList(u.CBConPrimaryWidth, con.primaryWidth);
  FillWidthList(u.CBConMultipleWidth, con.multipleWidth);
  u.CBConLabelMode->setCurrentIndex(con.labelMode);
  u.CBConLabelDecimals->setCurrentIndex(con.labelDecimals);
  (con.labelDirection == 0 ? u.RBConUphill : u.RBConNorth)->setChecked(true);
  BindNumberField(u.EditConLabelFrequency, NumberKind::Real, con.labelFrequency);
  BindNumberField(u.EditConTextHeight, NumberKind::Real, con.textHeight);
  panels_->Add(u.PanelConTextColor, con.textColour);
  u.CBConDashMode->setCurrentIndex(con.dashMode);
  BindNumberField(u.EditConDashLength, NumberKind::Real, con.dashLength);
  BindNumberField(u.EditConSpaceLength, NumberKind::Real, con.spaceLength);
  u.CBConSmooth->setChecked(con.smooth);
  BindNumberField(u.EditConSegments, NumberKind::Integer, con.segments);
  BindNumberField(u.EditConTension, NumberKind::Real, con.tension);
  (con.rangeSpecified ? u.RBConSpecified : u.RBConMinMax)->setChecked(true);
  BindNumberField(u.EditConMinimum, NumberKind::SignedReal, con.minimum);
  BindNumberField(u.EditConMaximum, NumberKind::SignedReal, con.maximum);
  BindNumberField(u.EditConBase, NumberKind::SignedReal, con.base);

  const mapping::PointPage pts = mapping::LoadPointPage(s);
  u.CBPtsMaintainScale->setChecked(pts.maintainScale);
  panels_->Add(u.PanelPtsMarkerColor, pts.markerColour);
  u.CBPtsMarkerKind->setCurrentIndex(pts.markerKind);
  BindNumberField(u.EditPtsMarkerHeight, NumberKind::Real, pts.markerHeight);
  panels_->Add(u.PanelPtsLabelColor, pts.labelColour);
  u.CBPtsNumber->setChecked(pts.showNumber);
  u.CBPtsLabel->setChecked(pts.showLabel);
  u.CBPtsElevation->setChecked(pts.showElevation);
  u.CBPtsDeclutter->setChecked(pts.declutter);
  BindNumberField(u.EditPtsTextHeight, NumberKind::Real, pts.textHeight);
  BindNumberField(u.EditPtsTextAngle, NumberKind::SignedReal, pts.textAngle);
  u.CBPtsDecimals->setCurrentIndex(pts.elevationDecimals);
  u.CBPtsPath->setChecked(pts.showPath);
  u.CBPtsArrowHeads->setChecked(pts.pathArrowHeads);
  FillWidthList(u.CBPtsPathWidth, pts.pathWidth);

  const mapping::TitlePage ttl = mapping::LoadTitlePage(s);
  u.CBTtlBoxes->setChecked(ttl.useTitleBoxes);
  u.CBTtlTitle->setChecked(ttl.showTitle);
  u.CBTtlScale->setChecked(ttl.showScale);
  u.CBTtlDate->setChecked(ttl.showDate);
  u.CBTtlTime->setChecked(ttl.showTime);
  u.CBTtlFileName->setChecked(ttl.showFileName);
  u.CBTtlFileComment->setChecked(ttl.showFileComment);
  u.CBTtlComment->setChecked(ttl.showComment);
  const std::pair<QLineEdit*, const std::string*> titleTexts[] = {
      {u.EditTtlTitle, &ttl.titleText},     {u.EditTtlClient1, &ttl.client1},
      {u.EditTtlClient2, &ttl.client2},     {u.EditTtlLocation1, &ttl.location1},
      {u.EditTtlLocation2, &ttl.location2}, {u.EditTtlComment1, &ttl.comment1},
      {u.EditTtlComment2, &ttl.comment2}};
  for (const auto& [field, text] : titleTexts) {
    field->setMaxLength(static_cast<int>(device::TitleOptions::TitleText.capacity));
    field->setText(FromLatin1(*text));
  }
  BindNumberField(u.EditTtlTitleHeight, NumberKind::Real, ttl.titleTextHeight);
  BindNumberField(u.EditTtlMiscHeight, NumberKind::Real, ttl.miscTextHeight);
  panels_->Add(u.PanelTtlTitleColor, ttl.titleColour);
  panels_->Add(u.PanelTtlMiscColor, ttl.miscTextColour);

  const mapping::AnalyzerPage ana = mapping::LoadAnalyzerPage(s);
  panels_->Add(u.PanelAnaVectorColor, ana.vectorColour);
  FillWidthList(u.CBAnaVectorWidth, ana.vectorWidth);
  (ana.densityMode == 2 ? u.RBAnaDensitySlope : ana.densityMode == 1 ? u.RBAnaDensityElevation
                                                                     : u.RBAnaDensityNone)
      ->setChecked(true);
  u.CBAnaReverse->setChecked(ana.reversePattern);
  panels_->Add(u.PanelAnaDensityColor, ana.densityColour);
  u.CBAnaDownSlope->setChecked(ana.showDownSlope);
  BindNumberField(u.EditAnaArrowMagnitude, NumberKind::Real, ana.arrowMagnitude);
  u.CBAnaProportional->setChecked(ana.proportionalArrows);
  u.CBAnaTriCentres->setChecked(ana.arrowsAtTriangleCentres);
  u.CBAnaGridPoints->setChecked(ana.arrowsAtGridPoints);
  BindNumberField(u.EditAnaDownSlopeSpacing, NumberKind::Real, ana.downSlopeGridSpacing);
  panels_->Add(u.PanelAnaDownSlopeColor, ana.downSlopeColour);
  FillWidthList(u.CBAnaDownSlopeWidth, ana.downSlopeWidth);
  u.CBAnaFlowPath->setChecked(ana.showFlowPath);
  u.CBAnaStartPoints->setChecked(ana.startAtPoints);
  u.CBAnaStartTriCentres->setChecked(ana.startAtTriangleCentres);
  u.CBAnaStartGrid->setChecked(ana.startAtGridPoints);
  BindNumberField(u.EditAnaFlowSpacing, NumberKind::Real, ana.flowGridSpacing);
  u.CBAnaContinue->setChecked(ana.continueFromEnds);
  u.CBAnaWatersheds->setChecked(ana.showWatersheds);
  panels_->Add(u.PanelAnaFlowColor, ana.flowColour);
  FillWidthList(u.CBAnaFlowWidth, ana.flowWidth);
  panels_->Add(u.PanelAnaWatershedColor, ana.watershedColour);
  FillWidthList(u.CBAnaWatershedWidth, ana.watershedWidth);
  u.CBAnaRidges->setChecked(ana.showRidges);
  u.CBAnaRidgeContinue->setChecked(ana.continueFromRidgeEnds);
  panels_->Add(u.PanelAnaRidgeColor, ana.ridgeColour);
  FillWidthList(u.CBAnaRidgeWidth, ana.ridgeWidth);
  u.CBAnaCutFill->setChecked(ana.showCutFill);
  // Choosing the slope base opens the slope zones; they must be usable for it to stay chosen.
  connect(u.RBAnaDensitySlope, &QRadioButton::clicked, this, [this] {
    if (onDensitySlope && !onDensitySlope()) ui_->RBAnaDensityNone->setChecked(true);
  });

  switch (page) {
    case MapOptionPage::Contours: u.PageControl->setCurrentWidget(u.PageContours); break;
    case MapOptionPage::Points: u.PageControl->setCurrentWidget(u.PagePoints); break;
    case MapOptionPage::Titles: u.PageControl->setCurrentWidget(u.PageTitles); break;
    case MapOptionPage::SurfaceAnalyzer: u.PageControl->setCurrentWidget(u.PageAnalyzer); break;
    default: u.PageControl->setCurrentWidget(u.PageGrid); break;
  }

  for (QComboBox* list : {u.CBGridTextMode, u.CBGridDashMode, u.CBConLabelMode, u.CBConDashMode,
                          u.CBPtsMarkerKind})
    connect(list, &QComboBox::currentIndexChanged, this, &TSetMapOpts2Form::UpdateEnabling);
  for (QAbstractButton* box :
       std::initializer_list<QAbstractButton*>{u.CBConSmooth, u.RBConSpecified, u.RBConMinMax, u.CBPtsNumber,
                                               u.CBPtsLabel, u.CBPtsElevation, u.CBPtsPath, u.CBTtlTitle,
                                               u.CBTtlComment, u.RBAnaDensityNone, u.RBAnaDensityElevation,
                                               u.RBAnaDensitySlope, u.CBAnaDownSlope, u.CBAnaGridPoints,
                                               u.CBAnaFlowPath, u.CBAnaStartGrid, u.CBAnaWatersheds, u.CBAnaRidges})
    connect(box, &QAbstractButton::toggled, this, &TSetMapOpts2Form::UpdateEnabling);
  UpdateEnabling();
  connect(u.ButtonOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(u.ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TSetMapOpts2Form::~TSetMapOpts2Form() = default;

void TSetMapOpts2Form::UpdateEnabling() {
  Ui::TSetMapOpts2Form& u = *ui_;
  const bool gridText = u.CBGridTextMode->currentIndex() != 0;
  Enable(gridText, {u.LabelGridTextHeight, u.EditGridTextHeight, u.LabelGridTextDecimals, u.CBGridTextDecimals,
                    u.LabelGridTextColor, u.PanelGridTextColor});
  const bool gridDash = u.CBGridDashMode->currentIndex() != 0;
  Enable(gridDash, {u.LabelGridDashLength, u.EditGridDashLength, u.LabelGridSpaceLength, u.EditGridSpaceLength});

  const bool labels = u.CBConLabelMode->currentIndex() != 0;
  Enable(labels, {u.LabelConLabelDecimals, u.CBConLabelDecimals, u.GBConLabelDirection, u.LabelConLabelFrequency,
                  u.EditConLabelFrequency, u.LabelConTextHeight, u.EditConTextHeight, u.LabelConTextColor,
                  u.PanelConTextColor});
  const bool conDash = u.CBConDashMode->currentIndex() != 0;
  Enable(conDash, {u.LabelConDashLength, u.EditConDashLength, u.LabelConSpaceLength, u.EditConSpaceLength});
  const bool smooth = u.CBConSmooth->isChecked();
  Enable(smooth, {u.LabelConSegments, u.EditConSegments, u.LabelConTension, u.EditConTension});
  const bool specified = u.RBConSpecified->isChecked();
  Enable(specified, {u.LabelConMinimum, u.EditConMinimum, u.LabelConMaximum, u.EditConMaximum});

  const bool marker = u.CBPtsMarkerKind->currentIndex() != mapping::MarkerChoiceCount - 1;
  Enable(marker, {u.LabelPtsMarkerHeight, u.EditPtsMarkerHeight});
  const bool pointText = u.CBPtsNumber->isChecked() || u.CBPtsLabel->isChecked() || u.CBPtsElevation->isChecked();
  Enable(pointText, {u.LabelPtsLabelColor, u.PanelPtsLabelColor, u.LabelPtsTextHeight, u.EditPtsTextHeight,
                     u.LabelPtsTextAngle, u.EditPtsTextAngle, u.CBPtsDeclutter});
  Enable(u.CBPtsElevation->isChecked(), {u.LabelPtsDecimals, u.CBPtsDecimals});
  Enable(u.CBPtsPath->isChecked(), {u.CBPtsArrowHeads, u.LabelPtsPathWidth, u.CBPtsPathWidth});

  Enable(u.CBTtlTitle->isChecked(), {u.LabelTtlTitle, u.EditTtlTitle, u.LabelTtlTitleHeight, u.EditTtlTitleHeight,
                                     u.LabelTtlTitleColor, u.PanelTtlTitleColor});
  Enable(u.CBTtlComment->isChecked(), {u.LabelTtlComment, u.EditTtlComment1, u.EditTtlComment2});

  Enable(!u.RBAnaDensityNone->isChecked(), {u.CBAnaReverse, u.LabelAnaDensityColor, u.PanelAnaDensityColor});
  const bool downSlope = u.CBAnaDownSlope->isChecked();
  Enable(downSlope, {u.CBAnaProportional, u.LabelAnaArrowMagnitude, u.EditAnaArrowMagnitude, u.CBAnaTriCentres,
                     u.CBAnaGridPoints, u.LabelAnaDownSlopeColor, u.PanelAnaDownSlopeColor,
                     u.LabelAnaDownSlopeWidth, u.CBAnaDownSlopeWidth});
  Enable(downSlope && u.CBAnaGridPoints->isChecked(), {u.LabelAnaDownSlopeSpacing, u.EditAnaDownSlopeSpacing});
  const bool flow = u.CBAnaFlowPath->isChecked();
  Enable(flow, {u.CBAnaContinue, u.CBAnaStartPoints, u.CBAnaStartTriCentres, u.CBAnaStartGrid,
                u.LabelAnaFlowColor, u.PanelAnaFlowColor, u.LabelAnaFlowWidth, u.CBAnaFlowWidth, u.CBAnaWatersheds});
  Enable(flow && u.CBAnaStartGrid->isChecked(), {u.LabelAnaFlowSpacing, u.EditAnaFlowSpacing});
  Enable(flow && u.CBAnaWatersheds->isChecked(),
         {u.LabelAnaWatershedColor, u.PanelAnaWatershedColor, u.LabelAnaWatershedWidth, u.CBAnaWatershedWidth});
  Enable(u.CBAnaRidges->isChecked(), {u.CBAnaRidgeContinue, u.LabelAnaRidgeColor, u.PanelAnaRidgeColor,
                                      u.LabelAnaRidgeWidth, u.CBAnaRidgeWidth});
}

mapping::SurfaceGridPage TSetMapOpts2Form::SurfaceGrid() const {
  const Ui::TSetMapOpts2Form& u = *ui_;
  mapping::SurfaceGridPage p;
  p.intervalX = Text(eastingFirst_ ? u.EditGridInterval1 : u.EditGridInterval2);
  p.intervalY = Text(eastingFirst_ ? u.EditGridInterval2 : u.EditGridInterval1);
  p.multiple = Text(u.EditGridMultiple);
  p.primaryColour = panels_->Value(u.PanelGridPrimaryColor);
  p.multipleColour = panels_->Value(u.PanelGridMultipleColor);
  p.primaryWidth = u.CBGridPrimaryWidth->currentIndex();
  p.multipleWidth = u.CBGridMultipleWidth->currentIndex();
  p.textMode = u.CBGridTextMode->currentIndex();
  p.textHeight = Text(u.EditGridTextHeight);
  p.textDecimals = u.CBGridTextDecimals->currentIndex();
  p.textColour = panels_->Value(u.PanelGridTextColor);
  p.dashMode = u.CBGridDashMode->currentIndex();
  p.dashLength = Text(u.EditGridDashLength);
  p.spaceLength = Text(u.EditGridSpaceLength);
  return p;
}

mapping::ContourPage TSetMapOpts2Form::Contours() const {
  const Ui::TSetMapOpts2Form& u = *ui_;
  mapping::ContourPage p;
  p.interval = Text(u.EditConInterval);
  p.multiple = Text(u.EditConMultiple);
  p.primaryColour = panels_->Value(u.PanelConPrimaryColor);
  p.multipleColour = panels_->Value(u.PanelConMultipleColor);
  p.primaryWidth = u.CBConPrimaryWidth->currentIndex();
  p.multipleWidth = u.CBConMultipleWidth->currentIndex();
  p.labelMode = u.CBConLabelMode->currentIndex();
  p.labelDecimals = u.CBConLabelDecimals->currentIndex();
  p.labelDirection = u.RBConUphill->isChecked() ? 0 : 1;
  p.labelFrequency = Text(u.EditConLabelFrequency);
  p.textHeight = Text(u.EditConTextHeight);
  p.textColour = panels_->Value(u.PanelConTextColor);
  p.dashMode = u.CBConDashMode->currentIndex();
  p.dashLength = Text(u.EditConDashLength);
  p.spaceLength = Text(u.EditConSpaceLength);
  p.smooth = u.CBConSmooth->isChecked();
  p.segments = Text(u.EditConSegments);
  p.tension = Text(u.EditConTension);
  p.rangeSpecified = u.RBConSpecified->isChecked();
  p.minimum = Text(u.EditConMinimum);
  p.maximum = Text(u.EditConMaximum);
  p.base = Text(u.EditConBase);
  return p;
}

mapping::PointPage TSetMapOpts2Form::Points() const {
  const Ui::TSetMapOpts2Form& u = *ui_;
  mapping::PointPage p;
  p.maintainScale = u.CBPtsMaintainScale->isChecked();
  p.markerColour = panels_->Value(u.PanelPtsMarkerColor);
  p.markerKind = u.CBPtsMarkerKind->currentIndex();
  p.markerHeight = Text(u.EditPtsMarkerHeight);
  p.labelColour = panels_->Value(u.PanelPtsLabelColor);
  p.showNumber = u.CBPtsNumber->isChecked();
  p.showLabel = u.CBPtsLabel->isChecked();
  p.showElevation = u.CBPtsElevation->isChecked();
  p.declutter = u.CBPtsDeclutter->isChecked();
  p.textHeight = Text(u.EditPtsTextHeight);
  p.textAngle = Text(u.EditPtsTextAngle);
  p.elevationDecimals = u.CBPtsDecimals->currentIndex();
  p.showPath = u.CBPtsPath->isChecked();
  p.pathArrowHeads = u.CBPtsArrowHeads->isChecked();
  p.pathWidth = u.CBPtsPathWidth->currentIndex();
  return p;
}

mapping::TitlePage TSetMapOpts2Form::Titles() const {
  const Ui::TSetMapOpts2Form& u = *ui_;
  mapping::TitlePage p;
  p.useTitleBoxes = u.CBTtlBoxes->isChecked();
  p.showTitle = u.CBTtlTitle->isChecked();
  p.showScale = u.CBTtlScale->isChecked();
  p.showDate = u.CBTtlDate->isChecked();
  p.showTime = u.CBTtlTime->isChecked();
  p.showFileName = u.CBTtlFileName->isChecked();
  p.showFileComment = u.CBTtlFileComment->isChecked();
  p.showComment = u.CBTtlComment->isChecked();
  p.titleText = Text(u.EditTtlTitle);
  p.client1 = Text(u.EditTtlClient1);
  p.client2 = Text(u.EditTtlClient2);
  p.location1 = Text(u.EditTtlLocation1);
  p.location2 = Text(u.EditTtlLocation2);
  p.comment1 = Text(u.EditTtlComment1);
  p.comment2 = Text(u.EditTtlComment2);
  p.titleTextHeight = Text(u.EditTtlTitleHeight);
  p.miscTextHeight = Text(u.EditTtlMiscHeight);
  p.titleColour = panels_->Value(u.PanelTtlTitleColor);
  p.miscTextColour = panels_->Value(u.PanelTtlMiscColor);
  return p;
}

mapping::AnalyzerPage TSetMapOpts2Form::Analyzer() const {
  const Ui::TSetMapOpts2Form& u = *ui_;
  mapping::AnalyzerPage p;
  p.vectorColour = panels_->Value(u.PanelAnaVectorColor);
  p.vectorWidth = u.CBAnaVectorWidth->currentIndex();
  p.densityMode = u.RBAnaDensitySlope->isChecked() ? 2 : u.RBAnaDensityElevation->isChecked() ? 1 : 0;
  p.reversePattern = u.CBAnaReverse->isChecked();
  p.densityColour = panels_->Value(u.PanelAnaDensityColor);
  p.showDownSlope = u.CBAnaDownSlope->isChecked();
  p.arrowMagnitude = Text(u.EditAnaArrowMagnitude);
  p.proportionalArrows = u.CBAnaProportional->isChecked();
  p.arrowsAtTriangleCentres = u.CBAnaTriCentres->isChecked();
  p.arrowsAtGridPoints = u.CBAnaGridPoints->isChecked();
  p.downSlopeGridSpacing = Text(u.EditAnaDownSlopeSpacing);
  p.downSlopeColour = panels_->Value(u.PanelAnaDownSlopeColor);
  p.downSlopeWidth = u.CBAnaDownSlopeWidth->currentIndex();
  p.showFlowPath = u.CBAnaFlowPath->isChecked();
  p.startAtPoints = u.CBAnaStartPoints->isChecked();
  p.startAtTriangleCentres = u.CBAnaStartTriCentres->isChecked();
  p.startAtGridPoints = u.CBAnaStartGrid->isChecked();
  p.flowGridSpacing = Text(u.EditAnaFlowSpacing);
  p.continueFromEnds = u.CBAnaContinue->isChecked();
  p.showWatersheds = u.CBAnaWatersheds->isChecked();
  p.flowColour = panels_->Value(u.PanelAnaFlowColor);
  p.flowWidth = u.CBAnaFlowWidth->currentIndex();
  p.watershedColour = panels_->Value(u.PanelAnaWatershedColor);
  p.watershedWidth = u.CBAnaWatershedWidth->currentIndex();
  p.showRidges = u.CBAnaRidges->isChecked();
  p.continueFromRidgeEnds = u.CBAnaRidgeContinue->isChecked();
  p.ridgeColour = panels_->Value(u.PanelAnaRidgeColor);
  p.ridgeWidth = u.CBAnaRidgeWidth->currentIndex();
  p.showCutFill = u.CBAnaCutFill->isChecked();
  return p;
}

std::string TSetMapOpts2Form::CustomColours() const { return panels_->CustomColours(); }

}  // namespace terravue::gui
