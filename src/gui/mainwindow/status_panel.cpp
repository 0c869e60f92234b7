#include "mainwindow/status_panel.h"

#include <QLabel>
#include <QSplitter>
#include <QVBoxLayout>

#include "app/status_lines.h"

namespace terravue::gui {
namespace {

QLabel* NewStatusLine(const QString& name, QWidget* parent) {
  auto* line = new QLabel(parent);
  line->setObjectName(name);
  line->setTextFormat(Qt::PlainText);
  line->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  line->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  line->setMinimumHeight(line->fontMetrics().height() + 4);
  return line;
}

}  // namespace

StatusPanel::StatusPanel(QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 1, 2, 2);
  layout->setSpacing(1);

  cursorPanel_ = new QSplitter(Qt::Horizontal, this);
  cursorPanel_->setObjectName(QStringLiteral("CursorPanel"));
  cursorPanel_->setChildrenCollapsible(false);
  cursorLine_ = NewStatusLine(QStringLiteral("CursorStatusLine"), cursorPanel_);
  cursorLine_->setMinimumWidth(app::CursorLineMinWidth);
  // The width follows the text (app::CursorLineWidth), which may exceed the usual limit.
  commandLine_ = NewStatusLine(QStringLiteral("CommandStatusLine"), cursorPanel_);
  cursorPanel_->addWidget(cursorLine_);
  cursorPanel_->addWidget(commandLine_);
  cursorPanel_->setStretchFactor(1, 1);
  connect(cursorPanel_, &QSplitter::splitterMoved, this, [this] { emit CursorMarginChanged(CursorMargin()); });

  mouseLine_ = NewStatusLine(QStringLiteral("MouseStatusLine"), this);
  layout->addWidget(cursorPanel_);
  layout->addWidget(mouseLine_);
}

void StatusPanel::SetMouseText(const QString& text) {
  mouseText_ = text;
  if (!hinting_) mouseLine_->setText(text);
}

void StatusPanel::ShowHint(const QString& hint) {
  hinting_ = !hint.isEmpty();
  mouseLine_->setText(hinting_ ? hint : mouseText_);
}

int StatusPanel::TextWidth() const { return cursorLine_->fontMetrics().horizontalAdvance(cursorLine_->text()); }

int StatusPanel::CursorMargin() const { return cursorLine_->width() - TextWidth(); }

void StatusPanel::SetCursorText(const QString& text, int margin) {
  cursorLine_->setText(text);
  const auto width = app::CursorLineWidth(cursorLine_->width(), TextWidth(), margin);
  if (!width) return;
  const QList<int> sizes = cursorPanel_->sizes();
  const int total = sizes.value(0) + sizes.value(1);
  cursorPanel_->setSizes({*width, std::max(0, total - *width)});
  // Before the window is shown the splitter has no room yet: the line keeps the width asked.
  if (total <= 0) cursorLine_->resize(*width, cursorLine_->height());
}

void StatusPanel::SetCommandText(const QString& text) { commandLine_->setText(text); }

}  // namespace terravue::gui
