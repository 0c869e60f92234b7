#include "dialogs/progress_window.h"

#include <algorithm>

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/qt_text.h"
#include "common/messages.h"

namespace terravue::gui {

ProgressWindow::ProgressWindow(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::CustomizeWindowHint),
      note_(new QLabel(this)),
      gauge_(new QProgressBar(this)),
      continue_(new QPushButton(FromUtf8(msg::ContinueButton), this)) {
  setWindowTitle(FromUtf8(msg::ProgressTitle));
  QFont bold = note_->font();
  bold.setBold(true);
  note_->setFont(bold);
  note_->setTextFormat(Qt::PlainText);
  note_->setWordWrap(true);
  note_->setMinimumWidth(320);
  gauge_->setRange(0, 100);
  continue_->setDefault(true);
  connect(continue_, &QPushButton::clicked, this, &QDialog::accept);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(continue_);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(note_);
  layout->addWidget(gauge_);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void ProgressWindow::Begin(const QString& note, bool showGauge) {
  note_->setText(note);
  gauge_->setValue(0);
  gauge_->setVisible(showGauge);
  continue_->hide();
  setModal(false);
  show();
  raise();
  Paint();
}

void ProgressWindow::SetPercent(int percent) {
  percent = std::clamp(percent, 0, 100);
  if (percent == gauge_->value()) return;  // callers report far more often than it can change
  gauge_->setValue(percent);
  if (isVisible()) Paint();
}

void ProgressWindow::End() { hide(); }

void ProgressWindow::ShowCompletion(const QString& note) {
  hide();  // a window shown non-modally must be hidden before it can become modal
  note_->setText(note);
  gauge_->hide();
  continue_->show();
  continue_->setFocus();
  setModal(true);
  exec();
  hide();
}

QString ProgressWindow::Note() const { return note_->text(); }
int ProgressWindow::Percent() const { return gauge_->value(); }
bool ProgressWindow::GaugeVisible() const { return !gauge_->isHidden(); }

void ProgressWindow::Paint() {
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  repaint();
}

}  // namespace terravue::gui
