#include "dialogs/properties_form.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/qt_text.h"
#include "common/format.h"
#include "common/messages.h"

namespace terravue::gui {
namespace {

QLabel* Cell(const QString& text, QWidget* parent, Qt::Alignment alignment = Qt::AlignLeft) {
  auto* label = new QLabel(text, parent);
  label->setAlignment(alignment | Qt::AlignVCenter);
  return label;
}

QGroupBox* Group(std::string_view title, QWidget* parent) { return new QGroupBox(FromUtf8(title), parent); }

}  // namespace

TPropertiesForm::TPropertiesForm(const model::SurfaceProperties& p, QWidget* parent) : QDialog(parent) {
  setWindowTitle(FromUtf8(msg::PropertiesTitle));
  setObjectName(QStringLiteral("TPropertiesForm"));
  auto* rows = new QVBoxLayout(this);

  QGroupBox* file = Group(msg::PropertiesFileName, this);
  auto* fileLayout = new QVBoxLayout(file);
  auto* fileName = Cell(QString(), file);
  fileName->setObjectName(QStringLiteral("LabelFileName"));
  fileName->setMinimumWidth(360);
  // The path is cut in its middle to the label's width; the whole of it is the tooltip.
  const QString path = PathFromBytes(p.fileName);
  fileName->setText(fileName->fontMetrics().elidedText(path, Qt::ElideMiddle, 360));
  fileName->setToolTip(path);
  fileLayout->addWidget(fileName);
  rows->addWidget(file);

  QGroupBox* comment = Group(msg::PropertiesComment, this);
  auto* commentLayout = new QVBoxLayout(comment);
  auto* commentText = Cell(FromLatin1(p.comment), comment);
  commentText->setObjectName(QStringLiteral("LabelComment"));
  commentText->setWordWrap(true);
  commentLayout->addWidget(commentText);
  rows->addWidget(comment);

  auto* middle = new QHBoxLayout;
  QGroupBox* counts = Group(msg::PropertiesCounts, this);
  auto* countGrid = new QGridLayout(counts);
  const std::pair<std::string_view, unsigned> countRows[] = {
      {msg::PropertiesPoints, p.points}, {msg::PropertiesTriangles, p.triangles}, {msg::PropertiesBreaklines, p.breaklines}};
  int r = 0;
  for (const auto& [caption, n] : countRows) {
    countGrid->addWidget(Cell(FromUtf8(caption), counts), r, 0);
    countGrid->addWidget(Cell(QString::number(n), counts, Qt::AlignRight), r, 1);
    ++r;
  }
  middle->addWidget(counts);
  QGroupBox* status = Group(msg::PropertiesStatus, this);
  auto* statusGrid = new QGridLayout(status);
  auto yesNo = [](bool b) { return FromUtf8(b ? msg::PropertiesYes : msg::PropertiesNo); };
  statusGrid->addWidget(Cell(FromUtf8(msg::PropertiesBordered), status), 0, 0);
  statusGrid->addWidget(Cell(yesNo(p.bordered), status), 0, 1);
  statusGrid->addWidget(Cell(FromUtf8(msg::PropertiesTriangulated), status), 1, 0);
  statusGrid->addWidget(Cell(yesNo(p.triangulated), status), 1, 1);
  statusGrid->setRowStretch(2, 1);
  middle->addWidget(status);
  rows->addLayout(middle);

  // The extents: an empty corner, minimum, maximum and range, and an empty last column.
  auto* extents = new QGridLayout;
  extents->setHorizontalSpacing(8);
  const int widths[] = {30, 90, 90, 90, 60};
  for (int c = 0; c < 5; ++c) extents->setColumnMinimumWidth(c, widths[c]);
  extents->addWidget(Cell(FromUtf8(msg::ExtentsMinimum), this, Qt::AlignRight), 0, 1);
  extents->addWidget(Cell(FromUtf8(msg::ExtentsMaximum), this, Qt::AlignRight), 0, 2);
  extents->addWidget(Cell(FromUtf8(msg::ExtentsRange), this, Qt::AlignRight), 0, 3);
  r = 1;
  for (const model::SurfaceProperties::ExtentRow& row : p.extents) {
    extents->addWidget(Cell(FromUtf8(row.axis), this), r, 0);
    const double values[] = {row.minimum, row.maximum, row.range};
    for (int c = 0; c < 3; ++c)
      extents->addWidget(Cell(FromUtf8(FormatReal(values[c], 0, 3) + p.unit), this, Qt::AlignRight), r, c + 1);
    ++r;
  }
  rows->addLayout(extents);

  auto* saved = Cell(FromUtf8(p.savedNote), this);
  saved->setObjectName(QStringLiteral("LabelSaved"));
  rows->addWidget(saved);
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("ButtonOK"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  rows->addWidget(ok, 0, Qt::AlignHCenter);
  ok->setFocus();
}

}  // namespace terravue::gui
