#include "dialogs/cad/cad_layers_form.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/qt_text.h"
#include "common/messages.h"
#include "common/settings_record.h"
#include "common/user_port.h"

namespace terravue::gui {
namespace {

using cad::CadLayerColumn;
using cad::CadLayerMode;
using cad::CadLayerRow;

// Table columns: the row label, then one per field.
enum Column { LabelColumn = 0, NameColumn, AcadColourColumn, BatchNumberColumn, BatchColourColumn, ColumnCount };

CadLayerColumn FieldOf(int column) {
  switch (column) {
    case AcadColourColumn: return CadLayerColumn::AcadColour;
    case BatchNumberColumn: return CadLayerColumn::BatchNumber;
    case BatchColourColumn: return CadLayerColumn::BatchColour;
    default: return CadLayerColumn::Name;
  }
}

// The editors of the cells: a name of at most 12 characters; a colour of three characters
// (digits and a minus sign); a layer number of four digits; a batch colour of three digits.
class CellDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override {
    auto* edit = new QLineEdit(parent);
    QString pattern;
    switch (index.column()) {
      case NameColumn: edit->setMaxLength(static_cast<int>(CadLayer::NameCapacity)); return edit;
      case AcadColourColumn: pattern = QStringLiteral("-?[0-9]{0,2}|[0-9]{0,3}"); break;
      case BatchNumberColumn: pattern = QStringLiteral("[0-9]{0,4}"); break;
      default: pattern = QStringLiteral("[0-9]{0,3}"); break;
    }
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), edit));
    return edit;
  }
};

int& FieldValue(CadLayerRow& row, int column) {
  switch (column) {
    case AcadColourColumn: return row.acadColour;
    case BatchNumberColumn: return row.batchNumber;
    default: return row.batchColour;
  }
}

}  // namespace

TCADLayersForm::TCADLayersForm(UserPort& port, CadLayerMode mode, std::vector<CadLayerRow> rows, QWidget* parent)
    : QDialog(parent), port_(port), mode_(mode), rows_(std::move(rows)) {
  setObjectName(QStringLiteral("TCADLayersForm"));
  setWindowTitle(FromUtf8(msg::CadLayersCaption));
  auto* layout = new QVBoxLayout(this);
  panel_ = new QLabel(FromUtf8(mode == CadLayerMode::Names ? msg::CadLayerNamesPanel : msg::CadLayerNumbersPanel), this);
  panel_->setObjectName(QStringLiteral("PanelTitle"));
  panel_->setAlignment(Qt::AlignCenter);
  layout->addWidget(panel_);

  table_ = new QTableWidget(static_cast<int>(rows_.size()), ColumnCount, this);
  table_->setObjectName(QStringLiteral("CADTable"));
  table_->setHorizontalHeaderLabels({QString(), FromUtf8(msg::CadLayerNameHeading), FromUtf8(msg::CadLayerColourHeading),
                                     FromUtf8(msg::CadLayerNumberHeading), FromUtf8(msg::CadLayerColourHeading)});
  table_->verticalHeader()->hide();
  table_->setItemDelegate(new CellDelegate(table_));
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  const bool names = mode == CadLayerMode::Names;
  table_->setColumnHidden(NameColumn, !names);
  table_->setColumnHidden(AcadColourColumn, !names);
  table_->setColumnHidden(BatchNumberColumn, names);
  table_->setColumnHidden(BatchColourColumn, names);
  layout->addWidget(table_);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("ButtonOK"));
  buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("ButtonCancel"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);

  Fill();
  connect(table_, &QTableWidget::cellChanged, this, &TCADLayersForm::CellChanged);
  connect(table_, &QTableWidget::currentCellChanged, this, &TCADLayersForm::ActiveCellChanged);
  table_->setCurrentCell(0, names ? NameColumn : BatchNumberColumn);
  table_->resizeColumnsToContents();
  resize(420, 560);
}

void TCADLayersForm::Fill() {
  filling_ = true;
  for (int r = 0; r < static_cast<int>(rows_.size()); ++r) {
    const CadLayerRow& row = rows_[static_cast<std::size_t>(r)];
    auto* label = new QTableWidgetItem(FromUtf8(row.label));
    label->setFlags(Qt::ItemIsEnabled);
    label->setTextAlignment(Qt::AlignCenter);
    table_->setItem(r, LabelColumn, label);
    table_->setItem(r, NameColumn, new QTableWidgetItem(FromLatin1(row.name)));
    table_->setItem(r, AcadColourColumn, new QTableWidgetItem(QString::number(row.acadColour)));
    table_->setItem(r, BatchNumberColumn, new QTableWidgetItem(QString::number(row.batchNumber)));
    table_->setItem(r, BatchColourColumn, new QTableWidgetItem(QString::number(row.batchColour)));
  }
  filling_ = false;
}

// A number is taken when it fits its cell; otherwise the range error, and the cell shows its
// previous value again.
void TCADLayersForm::CellChanged(int r, int column) {
  if (filling_ || r < 0 || r >= static_cast<int>(rows_.size())) return;
  CadLayerRow& row = rows_[static_cast<std::size_t>(r)];
  QTableWidgetItem* item = table_->item(r, column);
  if (!item) return;
  if (column == NameColumn) {
    QString text = item->text().left(static_cast<int>(CadLayer::NameCapacity));
    if (!IsLatin1(text)) text = FromLatin1(row.name);
    row.name = ToLatin1(text);
    if (text != item->text()) {
      filling_ = true;
      item->setText(text);
      filling_ = false;
    }
    return;
  }
  if (column == LabelColumn) return;
  bool ok = false;
  const int value = item->text().toInt(&ok);
  if (ok && cad::CheckCadLayerCell(port_, FieldOf(column), value)) {
    FieldValue(row, column) = value;
    return;
  }
  filling_ = true;
  item->setText(QString::number(FieldValue(row, column)));
  filling_ = false;
}

void TCADLayersForm::Highlight(int row, int column, bool on) {
  QFont font = table_->font();
  font.setBold(on);
  const QBrush brush = on ? QBrush(Qt::red) : table_->palette().text();
  if (QTableWidgetItem* heading = column >= 0 ? table_->horizontalHeaderItem(column) : nullptr) {
    heading->setFont(font);
    heading->setForeground(brush);
  }
  if (QTableWidgetItem* label = row >= 0 ? table_->item(row, LabelColumn) : nullptr) {
    label->setFont(font);
    label->setForeground(brush);
  }
}

void TCADLayersForm::ActiveCellChanged(int row, int column, int previousRow, int previousColumn) {
  Highlight(previousRow, previousColumn, false);
  Highlight(row, column, true);
}

std::vector<CadLayerRow> TCADLayersForm::Rows() const { return rows_; }

bool EditCadLayers(QWidget* parent, UserPort& port, SettingsRecord& settings, CadLayerMode mode) {
  TCADLayersForm form(port, mode, cad::LoadCadLayerRows(settings, mode), parent);
  if (form.exec() != QDialog::Accepted) return false;
  return cad::StoreCadLayerRows(port, settings, mode, form.Rows());
}

}  // namespace terravue::gui
