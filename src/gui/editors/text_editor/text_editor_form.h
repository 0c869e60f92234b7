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

// What the editor's commands need from the rest of the window. Verify and Remove run the
// dialogs of the Coordinate Editor and say whether they changed the points; Search hands back
// the point found.
struct TextEditorHooks {
  std::function<void()> print;
  std::function<bool(exchange::TransformKind)> transform;
  std::function<std::optional<PointIndex>(PointIndex from)> search;
  std::function<bool(PointIndex at)> verify;
  std::function<bool()> remove;
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
