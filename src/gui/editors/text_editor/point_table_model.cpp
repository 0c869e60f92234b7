#include "editors/text_editor/point_table_model.h"

#include <algorithm>

#include "app/qt_text.h"

namespace terravue::gui {

using exchange::EditorColumn;

namespace {
EditorColumn ColumnOf(int column) { return static_cast<EditorColumn>(column - 1); }
}  // namespace

PointTableModel::PointTableModel(exchange::PointTableEditor& editor, QObject* parent)
    : QAbstractTableModel(parent), editor_(editor) {}

int PointTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : editor_.Rows(); }

int PointTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant PointTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= editor_.Rows()) return {};
  const PointIndex p = PointOf(index.row());
  const int column = index.column();
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
      if (column == NumberColumn) return static_cast<int>(p);
      return FromLatin1(editor_.CellText(p, ColumnOf(column)));
    case SortRole:
      if (column == NumberColumn) return static_cast<int>(p);
      if (column <= LabelColumn) return FromLatin1(editor_.CellText(p, ColumnOf(column)));
      return editor_.CellValue(p, ColumnOf(column));
    case Qt::TextAlignmentRole:
      if (column == NumberColumn || column > LabelColumn) return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
      return QVariant::fromValue(Qt::AlignCenter);
    default: return {};
  }
}

bool PointTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !index.isValid() || index.column() <= NumberColumn) return false;
  const QString text = value.toString().trimmed();
  if (!IsLatin1(text)) return false;
  if (!editor_.SetCell(PointOf(index.row()), ColumnOf(index.column()), ToLatin1(text))) return false;
  emit dataChanged(index, index);
  return true;
}

Qt::ItemFlags PointTableModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (index.column() >= LabelColumn) f |= Qt::ItemIsEditable;
  return f;
}

QVariant PointTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  if (section == NumberColumn) return QStringLiteral("Point #");
  if (section < ColumnCount) return FromLatin1(editor_.Heading(ColumnOf(section)));
  return {};
}

void PointTableModel::NumbersChangedFrom(int row) {
  // The border marks follow too: a ring closes over a deleted point.
  if (row < editor_.Rows()) emit dataChanged(index(row, NumberColumn), index(editor_.Rows() - 1, NumberColumn + 1));
}

std::optional<PointIndex> PointTableModel::Add() { return Insert(static_cast<PointIndex>(editor_.Rows() + 1)); }

std::optional<PointIndex> PointTableModel::Insert(PointIndex before) {
  if (!editor_.MayOpenRow()) return std::nullopt;
  const int row = std::min(RowOf(before), editor_.Rows());
  beginInsertRows({}, row, row);
  const std::optional<PointIndex> p = editor_.Insert(before);
  endInsertRows();
  NumbersChangedFrom(row + 1);
  return p;
}

std::optional<PointIndex> PointTableModel::Undelete() {
  if (!editor_.MayUndelete()) return std::nullopt;
  const int row = editor_.Rows();
  beginInsertRows({}, row, row);
  const std::optional<PointIndex> p = editor_.Undelete();
  endInsertRows();
  return p;
}

std::optional<PointIndex> PointTableModel::Delete(PointIndex p) {
  if (!editor_.MayDelete(p)) return std::nullopt;
  if (editor_.Rows() == 1) {
    // The last point gives way to an empty one: the one row is new.
    beginResetModel();
    const std::optional<PointIndex> next = editor_.Delete(p, true);
    endResetModel();
    return next;
  }
  const int row = RowOf(p);
  beginRemoveRows({}, row, row);
  const std::optional<PointIndex> next = editor_.Delete(p, true);
  endRemoveRows();
  NumbersChangedFrom(0);
  return next;
}

void PointTableModel::CoordinatesChanged() {
  if (editor_.Rows() > 0) emit dataChanged(index(0, LabelColumn + 1), index(editor_.Rows() - 1, ElevationColumn));
}

void PointTableModel::Rebuild(const std::function<void()>& change) {
  beginResetModel();
  change();
  endResetModel();
}

}  // namespace terravue::gui
