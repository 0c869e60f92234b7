#include "dialogs/coordinates/search_form.h"

#include "app/qt_text.h"
#include "common/format.h"
#include "common/messages.h"
#include "model/surface_model.h"
#include "ui_search_form.h"

namespace terravue::gui {
namespace {

QString Number(double v) { return FromUtf8(FormatReal(v, 0, 3)); }

}  // namespace

TSearchForm::TSearchForm(const model::SurfaceModel& model, UserPort& port, std::function<void(int)> help,
                         QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TSearchForm>()), model_(model), port_(port) {
  Ui::TSearchForm& u = *ui_;
  u.setupUi(this);
  u.ButtonHelp->setVisible(static_cast<bool>(help));
  connect(u.ButtonHelp, &QPushButton::clicked, this, [help = std::move(help)] {
    if (help) help(HelpContext);
  });
  u.CBType->setCurrentIndex(static_cast<int>(search_.Criteria().type));
  connect(u.ButtonQuit, &QPushButton::clicked, this, &QDialog::accept);
  connect(u.ButtonNew, &QPushButton::clicked, this, &TSearchForm::ButtonNewClick);
  connect(u.ButtonContinue, &QPushButton::clicked, this, &TSearchForm::ButtonContinueClick);
  connect(u.ButtonSetCursor, &QPushButton::clicked, this, &TSearchForm::SetToCursorClick);
  connect(u.EditLabel, &QLineEdit::editingFinished, this, &TSearchForm::LabelExit);
  connect(u.EditX, &QLineEdit::editingFinished, this, [this] { CoordinateExit(0); });
  connect(u.EditY, &QLineEdit::editingFinished, this, [this] { CoordinateExit(1); });
  connect(u.EditZ, &QLineEdit::editingFinished, this, [this] { CoordinateExit(2); });
  for (QCheckBox* box : {u.CBLabel, u.CBX, u.CBY, u.CBZ})
    connect(box, &QCheckBox::clicked, this, &TSearchForm::CriteriaChanged);
  connect(u.CBType, &QComboBox::activated, this, &TSearchForm::CriteriaChanged);
  ClearResults();
  UpdateButtons();
}

TSearchForm::~TSearchForm() = default;

std::optional<PointIndex> TSearchForm::Run(bool eastingFirst, double x, double y, double z) {
  rememberedX_ = x;
  rememberedY_ = y;
  rememberedZ_ = z;
  FormActivate(eastingFirst);
  if (exec() != QDialog::Accepted || !ui_->CBUpdateCursor->isChecked() || !search_.HasResult(model_))
    return std::nullopt;
  return search_.Current();
}

void TSearchForm::FormActivate(bool eastingFirst) {
  Ui::TSearchForm& u = *ui_;
  if (eastingFirst != eastingFirst_) {
    // The plan fields trade places with the order; what they hold goes with them.
    const QString first = u.EditX->text(), second = u.EditY->text();
    const bool firstOn = u.CBX->isChecked(), secondOn = u.CBY->isChecked();
    u.EditX->setText(second);
    u.EditY->setText(first);
    u.CBX->setChecked(secondOn);
    u.CBY->setChecked(firstOn);
    eastingFirst_ = eastingFirst;
  }
  const QString first = eastingFirst ? QStringLiteral("X >") : QStringLiteral("Northing >");
  const QString second = eastingFirst ? QStringLiteral("Y >") : QStringLiteral("Easting >");
  u.LabelX->setText(first);
  u.LabelY->setText(second);
  u.LabelXCaption->setText(first);
  u.LabelYCaption->setText(second);
  u.CBUpdateCursor->setChecked(false);
  ShowResult();
  UpdateButtons();
}

void TSearchForm::SetToCursorClick() {
  Ui::TSearchForm& u = *ui_;
  u.EditX->setText(Number(eastingFirst_ ? rememberedX_ : rememberedY_));
  u.EditY->setText(Number(eastingFirst_ ? rememberedY_ : rememberedX_));
  u.EditZ->setText(Number(rememberedZ_));
}

void TSearchForm::LabelExit() {
  Ui::TSearchForm& u = *ui_;
  if (!u.EditLabel->text().isEmpty()) u.CBLabel->setChecked(true);
  if (exchange::RightJustifiedLabel(ToLatin1(u.EditLabel->text())) != search_.Criteria().label) changed_ = true;
  UpdateButtons();
}

void TSearchForm::CoordinateExit(int which) {
  Ui::TSearchForm& u = *ui_;
  QLineEdit* fields[] = {u.EditX, u.EditY, u.EditZ};
  QCheckBox* boxes[] = {u.CBX, u.CBY, u.CBZ};
  // A field the user typed into is a criterion; one the program filled is not, until edited.
  const bool edited = fields[which]->isModified();
  boxes[which]->setChecked(edited);
  if (edited) changed_ = true;
  UpdateButtons();
}

void TSearchForm::CriteriaChanged() {
  changed_ = true;
  UpdateButtons();
}

void TSearchForm::ButtonNewClick() {
  Ui::TSearchForm& u = *ui_;
  ClearResults();
  exchange::SearchCriteria c;
  c.type = static_cast<exchange::SearchType>(u.CBType->currentIndex());
  c.useLabel = u.CBLabel->isChecked();
  c.label = ToLatin1(u.EditLabel->text());
  const auto read = [](QCheckBox* box, QLineEdit* field, bool& use, double& value) {
    const std::optional<double> v = box->isChecked() ? ParseReal(ToLatin1(field->text())) : std::nullopt;
    use = v.has_value();
    if (v) value = *v;
  };
  // The stored X is the Easting whatever the order of the fields.
  read(u.CBX, u.EditX, eastingFirst_ ? c.useX : c.useY, eastingFirst_ ? c.x : c.y);
  read(u.CBY, u.EditY, eastingFirst_ ? c.useY : c.useX, eastingFirst_ ? c.y : c.x);
  read(u.CBZ, u.EditZ, c.useZ, c.z);
  search_.NewSearch(model_, port_, c);
  changed_ = false;
  ShowResult();
  UpdateButtons();
}

void TSearchForm::ButtonContinueClick() {
  ClearResults();
  search_.ContinueSearch(model_, port_);
  ShowResult();
  UpdateButtons();
}

void TSearchForm::ClearResults() {
  Ui::TSearchForm& u = *ui_;
  const QString none = FromUtf8(msg::SearchNotAvailable);
  for (QLabel* field : {u.LabelNumber, u.LabelFound, u.LabelXFound, u.LabelYFound, u.LabelZFound})
    field->setText(none);
  for (QLabel* field : {u.LabelXDeviation, u.LabelYDeviation, u.LabelZDeviation}) field->clear();
}

void TSearchForm::ShowResult() {
  ClearResults();
  if (!search_.HasResult(model_)) return;
  Ui::TSearchForm& u = *ui_;
  const PointIndex p = search_.Current();
  const exchange::SearchCriteria& c = search_.Criteria();
  const model::PointLabelText& label = model_.PointLabel[p];
  u.LabelNumber->setText(QString::number(p));
  u.LabelFound->setText(FromLatin1(std::string(label.begin(), label.end())));
  const double x = model_.PointX[p], y = model_.PointY[p], z = model_.PointZ[p];
  u.LabelXFound->setText(Number(eastingFirst_ ? x : y));
  u.LabelYFound->setText(Number(eastingFirst_ ? y : x));
  u.LabelZFound->setText(Number(z));
  const QString dx = c.useX ? Number(x - c.x) : QString(), dy = c.useY ? Number(y - c.y) : QString();
  u.LabelXDeviation->setText(eastingFirst_ ? dx : dy);
  u.LabelYDeviation->setText(eastingFirst_ ? dy : dx);
  u.LabelZDeviation->setText(c.useZ ? Number(z - c.z) : QString());
}

void TSearchForm::UpdateButtons() {
  Ui::TSearchForm& u = *ui_;
  const bool any = u.CBLabel->isChecked() || u.CBX->isChecked() || u.CBY->isChecked() || u.CBZ->isChecked();
  const bool more = any && !changed_ && search_.CanContinue(model_);
  u.ButtonNew->setEnabled(any);
  u.ButtonContinue->setEnabled(more);
  u.ButtonContinue->setDefault(more);
  u.ButtonNew->setDefault(any && !more);
  u.ButtonQuit->setDefault(!any);
  u.CBUpdateCursor->setEnabled(search_.HasResult(model_));
  if (!u.CBUpdateCursor->isEnabled()) u.CBUpdateCursor->setChecked(false);
}

}  // namespace terravue::gui
