#include "editors/text_editor/text_editor_form.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QShortcut>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QVBoxLayout>

#include "app/qt_text.h"
#include "common/messages.h"
#include "editors/text_editor/point_table_model.h"

namespace terravue::gui {

namespace {

struct EditorCommand {
  const char* caption;
  char key;
  const char* description;
};

constexpr EditorCommand Commands[] = {
    {"&Add", 'A', "Add a new point"},
    {"&Comment", 'C', "Edit the comment associated with the file"},
    {"&Delete", 'D', "Delete the selected point"},
    {"&Factor", 'F', "Multiply or divide the coordinates of all points"},
    {"&Insert", 'I', "Insert a new point into the existing list of points"},
    {"&Jump", 'J', "Move to a specified point"},
    {"&New", 'N', "Remove all existing points"},
    {"&Print", 'P', "Print a listing of all points"},
    {"&Remove", 'R', "Remove non-border points (interior and/or exterior)"},
    {"R&otate", 'O', "Rotate the coordinates of all points"},
    {"&Search", 'S', "Search for various coordinate values"},
    {"&Translate", 'T', "Add or subtract to/from the coordinates of all points"},
    {"&Undelete", 'U', "Undelete up to 25 points"},
    {"&Verify", 'V', "Search for duplicate points"},
    {"E&xit Editor", 'X', "Exit this editor and return to the main window"},
};

// "&Add" -> "Add", "E&xit Editor" -> "Exit Editor".
QString Plain(const char* caption) { return QString::fromLatin1(caption).remove(QLatin1Char('&')); }

}  // namespace

void PointTableView::keyPressEvent(QKeyEvent* event) {
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && state() != EditingState &&
      event->modifiers() == Qt::NoModifier) {
    MoveToNextCell();
    return;
  }
  QTableView::keyPressEvent(event);
}

void PointTableView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
  QTableView::closeEditor(editor, hint);
  if (hint == QAbstractItemDelegate::SubmitModelCache) MoveToNextCell();
}

bool PointTableView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
  if (!QTableView::edit(index, trigger, event)) return false;
  if (QWidget* editor = indexWidget(index)) editor->installEventFilter(this);
  return true;
}

bool PointTableView::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    // Left unaccepted, the key goes on to the window's shortcuts.
    if (mods == Qt::ControlModifier && key->key() >= Qt::Key_A && key->key() <= Qt::Key_Z) return true;
  }
  return QTableView::eventFilter(watched, event);
}

void PointTableView::FinishEditing() {
  if (state() != EditingState) return;
  QWidget* editor = QApplication::focusWidget();
  if (!editor || !viewport()->isAncestorOf(editor)) return;
  commitData(editor);
  QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void PointTableView::MoveToNextCell() {
  const QModelIndex at = currentIndex();
  if (!at.isValid() || !model()) return;
  const int columns = model()->columnCount();
  if (at.column() + 1 < columns) {
    setCurrentIndex(at.siblingAtColumn(at.column() + 1));
    return;
  }
  if (at.row() + 1 < model()->rowCount()) {
    setCurrentIndex(model()->index(at.row() + 1, PointTableModel::LabelColumn));
    return;
  }
  if (onEnterPastTheEnd) onEnterPastTheEnd();
}

TTextEditorForm::TTextEditorForm(exchange::PointTableEditor& editor, TextEditorHooks hooks, QWidget* parent)
    : QDialog(parent), editor_(editor), hooks_(std::move(hooks)), model_(std::make_unique<PointTableModel>(editor)) {
  setObjectName(QStringLiteral("TTextEditorForm"));
  setWindowTitle(FromUtf8(msg::TextEditorCaption));
  setSizeGripEnabled(true);
  setMinimumSize(400, 150);
  resize(760, 520);

  panel_ = new QLabel(this);
  panel_->setObjectName(QStringLiteral("PanelFile"));
  totals_ = new QLabel(this);
  totals_->setObjectName(QStringLiteral("PanelTotals"));
  totals_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  auto* top = new QHBoxLayout;
  top->addWidget(panel_, 1);
  top->addWidget(totals_);

  commands_ = new QListWidget(this);
  commands_->setObjectName(QStringLiteral("ListCommands"));
  commands_->setMinimumWidth(75);
  commands_->setMaximumWidth(150);
  commands_->setMouseTracking(true);
  AddCommands();

  proxy_ = new QSortFilterProxyModel(this);
  proxy_->setSourceModel(model_.get());
  proxy_->setSortRole(PointTableModel::SortRole);
  table_ = new PointTableView(this);
  table_->setObjectName(QStringLiteral("TablePoints"));
  table_->setModel(proxy_);
  table_->setSortingEnabled(true);
  table_->sortByColumn(PointTableModel::NumberColumn, Qt::AscendingOrder);
  table_->verticalHeader()->hide();
  // Fixed row heights: the view never measures 32763 rows.
  table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
  table_->horizontalHeader()->setHighlightSections(true);
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  table_->setColumnWidth(PointTableModel::NumberColumn, 70);
  table_->setColumnWidth(PointTableModel::NumberColumn + 1, 28);
  table_->setColumnWidth(PointTableModel::LabelColumn, 70);
  for (int c = PointTableModel::LabelColumn + 1; c <= PointTableModel::ElevationColumn; ++c)
    table_->setColumnWidth(c, 120);
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->setSelectionBehavior(QAbstractItemView::SelectItems);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::AnyKeyPressed);
  table_->onEnterPastTheEnd = [this] { RunCommand('A'); };

  auto* splitter = new QSplitter(Qt::Horizontal, this);
  splitter->addWidget(commands_);
  splitter->addWidget(table_);
  splitter->setStretchFactor(1, 1);
  splitter->setChildrenCollapsible(false);
  splitter->setSizes({130, 620});

  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("StatusLine"));
  status_->setFrameShape(QFrame::StyledPanel);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(splitter, 1);
  layout->addWidget(status_);

  connect(table_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { RefreshHint(); });
  connect(model_.get(), &QAbstractItemModel::dataChanged, this, [this] { RefreshPanel(); });
  RefreshPanel();
}

TTextEditorForm::~TTextEditorForm() {
  // The view lets go of the model before the model goes.
  table_->setModel(nullptr);
}

void TTextEditorForm::AddCommands() {
  for (const EditorCommand& c : Commands) {
    auto* item = new QListWidgetItem(Plain(c.caption), commands_);
    item->setData(Qt::UserRole, QChar::fromLatin1(c.key));
    item->setToolTip(QString::fromLatin1(c.description) + QStringLiteral(" (Ctrl+%1)").arg(QChar::fromLatin1(c.key)));
    item->setStatusTip(QString::fromLatin1(c.description));
    auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | static_cast<Qt::Key>(c.key)), this);
    shortcut->setContext(Qt::WindowShortcut);
    const char key = c.key;
    connect(shortcut, &QShortcut::activated, this, [this, key] { RunCommand(key); });
  }
  connect(commands_, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { RunCommand(item->data(Qt::UserRole).toChar().toLatin1()); });
  connect(commands_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { RunCommand(item->data(Qt::UserRole).toChar().toLatin1()); });
  connect(commands_, &QListWidget::itemEntered, this,
          [this](QListWidgetItem* item) { status_->setText(item->statusTip()); });
}

void TTextEditorForm::SetActivePoint(PointIndex p) {
  if (p < 1 || p > editor_.Rows()) return;
  const QModelIndex source = model_->index(PointTableModel::RowOf(p), PointTableModel::LabelColumn);
  const QModelIndex at = proxy_->mapFromSource(source);
  const int column = table_->currentIndex().isValid() ? table_->currentIndex().column() : PointTableModel::LabelColumn;
  table_->setCurrentIndex(at.siblingAtColumn(column));
  table_->scrollTo(table_->currentIndex(), QAbstractItemView::PositionAtCenter);
  table_->setFocus();
  RefreshHint();
}

PointIndex TTextEditorForm::ActivePoint() const {
  const QModelIndex at = proxy_->mapToSource(table_->currentIndex());
  return at.isValid() ? PointTableModel::PointOf(at.row()) : PointIndex{1};
}

void TTextEditorForm::RunCommand(char key) {
  // A cell being typed into is stored first.
  table_->FinishEditing();
  const PointIndex active = ActivePoint();
  std::optional<PointIndex> next;
  switch (key) {
    case 'A': next = model_->Add(); break;
    case 'C': editor_.EditComment(); break;
    case 'D': next = model_->Delete(active); break;
    case 'I': next = model_->Insert(active); break;
    case 'U': next = model_->Undelete(); break;
    case 'J': next = editor_.Jump(active); break;
    case 'N': model_->Rebuild([&] { next = editor_.New(); }); break;
    case 'P':
      if (hooks_.print) hooks_.print(this);
      break;
    case 'F':
    case 'T':
    case 'O': {
      const auto kind = key == 'F'   ? exchange::TransformKind::Factor
                        : key == 'T' ? exchange::TransformKind::Translate
                                     : exchange::TransformKind::Rotate;
      if (hooks_.transform &&
          editor_.RunSurfaceCommand([&] { return hooks_.transform(this, kind); }))
        model_->CoordinatesChanged();
      break;
    }
    case 'S':
      if (hooks_.search) next = hooks_.search(this, active);
      break;
    case 'V':
      if (!hooks_.verify) break;
      model_->Rebuild([&] {
        if (editor_.RunSurfaceCommand([&] { return hooks_.verify(this, active); }))
          next = std::min<PointIndex>(active, static_cast<PointIndex>(editor_.Rows()));
      });
      break;
    case 'R':
      if (!hooks_.remove) break;
      model_->Rebuild([&] {
        if (editor_.RunSurfaceCommand([&] { return hooks_.remove(this); })) next = 1;
      });
      break;
    case 'X': accept(); return;
    default: return;
  }
  RefreshPanel();
  if (next) SetActivePoint(*next);
  RefreshHint();
}

void TTextEditorForm::RefreshPanel() {
  panel_->setText(FromLatin1(editor_.PanelText()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  totals_->setText(FromLatin1(editor_.TotalsText()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void TTextEditorForm::RefreshHint() { status_->setText(FromLatin1(editor_.RowHint(ActivePoint()))); }

}  // namespace terravue::gui
