#include "help/help_viewer.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

#include "app/qt_text.h"
#include "common/messages.h"
#include "common/user_port.h"

namespace terravue::gui {

namespace {

struct DialogPage {
  int context;
  std::string_view file, anchor;
};
constexpr DialogPage DialogPages[] = {
    {ImportHelpContext, help::HowTo, "import"},
    {ExportHelpContext, help::HowTo, "export"},
    {PrintSetupHelpContext, help::HowTo, "paper"},
};

const DialogPage* PageOf(int context) {
  for (const DialogPage& page : DialogPages)
    if (page.context == context) return &page;
  return nullptr;
}

}  // namespace

std::string_view HelpFileForContext(int context) {
  if (context >= 1000 && context <= 1099) return help::Analyzer;
  if (context >= 1100 && context <= 1199) return help::AnalyzerTutorial;
  if (const DialogPage* page = PageOf(context)) return page->file;
  return help::Main;
}

std::string_view HelpAnchorForContext(int context) {
  const DialogPage* page = PageOf(context);
  return page ? page->anchor : std::string_view{};
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

bool HelpViewer::ShowHelpFile(std::string_view baseName, std::string_view anchor) {
  const QString path = directory_ + FromUtf8(baseName) + QStringLiteral(".html");
  if (!QFileInfo(path).isFile()) {
    port_.ShowError(std::string(msg::HelpFileMissingPrefix) + QDir::toNativeSeparators(path).toStdString() +
                    std::string(msg::HelpFileMissingSuffix));
    return false;
  }
  QUrl url = QUrl::fromLocalFile(path);
  if (!anchor.empty()) url.setFragment(FromUtf8(anchor));
  browser_->setSource(url);
  ComeForward();
  return true;
}

void HelpViewer::ComeForward() {
  QWidget* modal = QApplication::activeModalWidget();
  if (modal && modal != this && modal != dialog_ && !isAncestorOf(modal)) {
    LeaveDialog();
    const QRect place = geometry();
    setParent(modal, windowFlags() | Qt::Window);
    setGeometry(place);
    dialog_ = modal;
    dialog_->installEventFilter(this);
  }
  show();
  raise();
  activateWindow();
}

void HelpViewer::LeaveDialog() {
  if (!dialog_) return;
  dialog_->removeEventFilter(this);
  dialog_ = nullptr;
  const bool shown = isVisible();
  const QRect place = geometry();
  setParent(nullptr, windowFlags() | Qt::Window);
  setGeometry(place);
  if (shown) show();
}

bool HelpViewer::eventFilter(QObject* watched, QEvent* event) {
  // The dialog closes (or goes): the help stays, as a window of its own.
  if (watched == dialog_ && (event->type() == QEvent::Hide || event->type() == QEvent::Destroy)) LeaveDialog();
  return QWidget::eventFilter(watched, event);
}

QString HelpViewer::CurrentFile() const { return browser_->source().toLocalFile(); }

QString HelpViewer::CurrentAnchor() const { return browser_->source().fragment(); }

}  // namespace terravue::gui
