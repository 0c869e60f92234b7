#include "mainwindow/main_window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>

#include "app/qt_text.h"
#include "common/session.h"
#include "help/help_viewer.h"
#include "model/model_document.h"

namespace terravue::gui {
namespace {

// The blank sheet until the map canvas is drawn on it: letter-sized at 96 dots per inch.
constexpr QSize SheetSize(816, 1056);

QLabel* NewStatusLine(const QString& text, QWidget* parent) {
  auto* line = new QLabel(text, parent);
  line->setTextFormat(Qt::PlainText);
  line->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  line->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  line->setMinimumHeight(line->fontMetrics().height() + 4);
  return line;
}

}  // namespace

MainWindow::MainWindow(Session& session, HelpViewer& help, QWidget* parent)
    : QMainWindow(parent), session_(session), help_(help), sheetArea_(new QScrollArea) {
  auto* sheet = new QWidget;
  sheet->setFixedSize(SheetSize);
  sheet->setAutoFillBackground(true);
  sheet->setBackgroundRole(QPalette::Window);  // not the scroll area's dark surround
  QPalette paper = sheet->palette();
  paper.setColor(QPalette::Window, Qt::white);
  sheet->setPalette(paper);

  sheetArea_->setWidget(sheet);
  sheetArea_->setAlignment(Qt::AlignCenter);
  sheetArea_->setBackgroundRole(QPalette::Dark);

  auto* central = new QWidget;
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(sheetArea_, 1);
  layout->addWidget(BuildStatusLines());
  setCentralWidget(central);

  BuildMenus();
  resize(1000, 760);
  RefreshCaption();
}

QWidget* MainWindow::BuildStatusLines() {
  auto* lines = new QWidget;
  auto* layout = new QVBoxLayout(lines);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(1);
  mouseLine_ = NewStatusLine(QStringLiteral("Mouse:"), lines);
  cursorLine_ = NewStatusLine(QString(), lines);
  commandLine_ = NewStatusLine(QString(), lines);
  layout->addWidget(mouseLine_);
  layout->addWidget(cursorLine_);
  layout->addWidget(commandLine_);
  return lines;
}

void MainWindow::BuildMenus() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  file->addAction(QStringLiteral("E&xit"), this, &QWidget::close);

  struct HelpItem {
    const char* caption;
    std::string_view file;
  };
  static constexpr HelpItem helpItems[] = {
      {"&Contents", help::Main},
      {"&How To", help::HowTo},
      {"&Tutorial", help::Tutorial},
      {"&Breaklines", help::Breaklines},
      {"Surface &Analyzer", help::Analyzer},
      {"Surface Analyzer T&utorial", help::AnalyzerTutorial},
  };
  QMenu* helpMenu = menuBar()->addMenu(QStringLiteral("&Help"));
  for (const HelpItem& item : helpItems) {
    helpMenu->addAction(QString::fromLatin1(item.caption), this,
                        [this, file = item.file] { help_.ShowHelpFile(file); });
  }
}

void MainWindow::RefreshCaption() {
  setWindowTitle(FromUtf8(model::CaptionText(session_.model, session_.settings)));
}

void MainWindow::ApplyWindowState(int state) {
  switch (state) {
    case 1: showMinimized(); break;
    case 2: showMaximized(); break;
    default: showNormal(); break;
  }
}

int MainWindow::WindowStateCode() const {
  if (isMinimized()) return 1;
  if (isMaximized()) return 2;
  return 0;
}

bool MainWindow::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate && !activated_) {
    activated_ = true;
    // Leave the activation first: a modal window opened from inside it would nest in it.
    QTimer::singleShot(0, this, &MainWindow::FirstActivated);
  }
  return QMainWindow::event(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (model::ConfirmDiscard(session_, /*exiting=*/true)) {
    event->accept();
    emit Closed();
  } else {
    event->ignore();
  }
}

}  // namespace terravue::gui
