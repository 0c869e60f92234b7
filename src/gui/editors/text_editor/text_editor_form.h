#pragma once

#include <functional>
#include <memory>
#include <optional>

#include <QDialog>
#include <QTableView>

#include "exchange/point_table.h"
#include "exchange/transforms.h"

class QLabel;
class QListWidget;
class QSortFilterProxyModel;

namespace terravue::gui {

class PointTableModel;

// What the editor's commands need from the rest of the window, each showing its dialogs over
// `over` (the editor). Transform, Verify and Remove run the dialogs of the Coordinate Editor and
// say whether they changed the points; Verify's location starts at the point `at`; Search hands
// back the point to move to.
struct TextEditorHooks {
  std::function<void(QWidget* over)> print;
  std::function<bool(QWidget* over, exchange::TransformKind)> transform;
  std::function<std::optional<PointIndex>(QWidget* over, PointIndex from)> search;
  std::function<bool(QWidget* over, PointIndex at)> verify;
  std::function<bool(QWidget* over)> remove;
};

// The table: Enter moves on to the next cell, from the last column to the label of the next
// row, and from the last row adds a point.
class PointTableView : public QTableView {
  Q_OBJECT

 public:
  using QTableView::QTableView;
  std::function<void()> onEnterPastTheEnd;
  // A cell being typed into is stored (before a command runs).
  void FinishEditing();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
  bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
  // A cell's line edit would keep Ctrl + letter (select all, copy, undo, ...): the editor's
  // commands have those keys.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void MoveToNextCell();
};

// "Coordinate Editor": the spreadsheet of all points with its own command list.
class TTextEditorForm : public QDialog {
  Q_OBJECT

 public:
  TTextEditorForm(exchange::PointTableEditor& editor, TextEditorHooks hooks, QWidget* parent = nullptr);
  ~TTextEditorForm() override;

  // Makes point p the active row and shows it.
  void SetActivePoint(PointIndex p);
  PointIndex ActivePoint() const;
  PointTableView& Table() { return *table_; }
  PointTableModel& Model() { return *model_; }
  // Runs a command of the list by its key letter (A, C, D, ...); unknown letters do nothing.
  void RunCommand(char key);

 private:
  void AddCommands();
  void RefreshPanel();
  void RefreshHint();

  exchange::PointTableEditor& editor_;
  TextEditorHooks hooks_;
  std::unique_ptr<PointTableModel> model_;
  QSortFilterProxyModel* proxy_ = nullptr;
  PointTableView* table_ = nullptr;
  QListWidget* commands_ = nullptr;
  QLabel* panel_ = nullptr;
  QLabel* totals_ = nullptr;
  QLabel* status_ = nullptr;
};

}  // namespace terravue::gui
