#pragma once

#include <functional>
#include <optional>

#include <QAbstractTableModel>

#include "exchange/point_table.h"

namespace terravue::gui {

// The point text editor's table over the model itself: one row per point, no copy of the
// points. Edits go through the engine's PointTableEditor; structural changes tell the view
// exactly which rows moved, so one edit never rebuilds the table.
class PointTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  // Columns: the point number, then the engine's columns.
  static constexpr int NumberColumn = 0;
  static constexpr int LabelColumn = 1 + static_cast<int>(exchange::EditorColumn::Label);
  static constexpr int ElevationColumn = 1 + static_cast<int>(exchange::EditorColumn::Elevation);
  static constexpr int ColumnCount = 1 + exchange::EditorColumnCount;
  // Numbers sort as numbers.
  static constexpr int SortRole = Qt::UserRole + 1;

  explicit PointTableModel(exchange::PointTableEditor& editor, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // Rows and points: row r shows point r + 1.
  static int RowOf(PointIndex p) { return static_cast<int>(p) - 1; }
  static PointIndex PointOf(int row) { return static_cast<PointIndex>(row + 1); }

  // The editor's commands that add or take away rows, told to the view as they happen. Each
  // returns the row to make active, or nothing when it was refused.
  std::optional<PointIndex> Add();
  std::optional<PointIndex> Insert(PointIndex before);
  std::optional<PointIndex> Delete(PointIndex p);
  std::optional<PointIndex> Undelete();
  // Every coordinate may have changed (Factor, Translate, Rotate).
  void CoordinatesChanged();
  // The points are replaced by `change` (New, Remove, Verify): the view starts afresh.
  void Rebuild(const std::function<void()>& change);

 private:
  // Later rows took other numbers: their number cells change.
  void NumbersChangedFrom(int row);

  exchange::PointTableEditor& editor_;
};

}  // namespace terravue::gui
