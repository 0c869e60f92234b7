#include "help/help_viewer.h"

#include <QDir>
#include <QFileInfo>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

#include "app/qt_text.h"
#include "common/messages.h"
#include "common/user_port.h"

namespace terravue::gui {

std::string_view HelpFileForContext(int context) {
  if (context >= 1000 && context <= 1099) return help::Analyzer;
  if (context >= 1100 && context <= 1199) return help::AnalyzerTutorial;
  return help::Main;
}

HelpViewer::HelpViewer(UserPort& port, const QString& programDirectory, QWidget* parent)
    : QWidget(parent, Qt::Window), port_(port), directory_(programDirectory), browser_(new QTextBrowser(this)) {
  setWindowTitle(FromUtf8(msg::ProductName));
  resize(720, 640);
  browser_->setOpenExternalLinks(false);
  browser_->setOpenLinks(true);
  browser_->setSearchPaths({directory_});

  auto* toolBar = new QToolBar(this);
  toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
  QAction* back = toolBar->addAction(QStringLiteral("Back"), browser_, &QTextBrowser::backward);
  QAction* forward = toolBar->addAction(QStringLiteral("Forward"), browser_, &QTextBrowser::forward);
  toolBar->addAction(QStringLiteral("Contents"), this, [this] { ShowHelpFile(help::Main); });
  back->setEnabled(false);
  forward->setEnabled(false);
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
  connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
    const QString title = browser_->documentTitle();
    setWindowTitle(title.isEmpty() ? FromUtf8(msg::ProductName) : title);
  });

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(toolBar);
  layout->addWidget(browser_);
}

bool HelpViewer::ShowHelpFile(std::string_view baseName) {
  const QString path = directory_ + FromUtf8(baseName) + QStringLiteral(".html");
  if (!QFileInfo(path).isFile()) {
    port_.ShowError(std::string(msg::HelpFileMissingPrefix) + QDir::toNativeSeparators(path).toStdString() +
                    std::string(msg::HelpFileMissingSuffix));
    return false;
  }
  browser_->setSource(QUrl::fromLocalFile(path));
  show();
  raise();
  activateWindow();
  return true;
}

QString HelpViewer::CurrentFile() const { return browser_->source().toLocalFile(); }

}  // namespace terravue::gui
