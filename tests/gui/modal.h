#pragma once

#include <functional>
#include <memory>

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>

namespace terravue::testing {

// The named child of a form; a missing one ends the test run, naming it.
template <typename T>
T* Child(QWidget* w, const char* name) {
  T* child = w->findChild<T*>(QString::fromLatin1(name));
  if (!child) qFatal("no child %s", name);
  return child;
}

// Runs `action` on the next modal window to appear (message box, input box, dialog), from
// inside that window's own event loop. Gives up after about five seconds.
inline void OnNextModal(std::function<void(QWidget*)> action) {
  auto* timer = new QTimer;
  auto tries = std::make_shared<int>(0);
  QObject::connect(timer, &QTimer::timeout, [timer, tries, action = std::move(action)] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal && ++*tries < 500) return;
    timer->stop();
    timer->deleteLater();
    if (modal) action(modal);
  });
  timer->start(10);
}

// Runs `action` on the first modal window that `match` accepts, waiting past any other (such as
// a file dialog still closing). Gives up after about five seconds.
inline void OnModalWhere(std::function<bool(QWidget*)> match, std::function<void(QWidget*)> action) {
  auto* timer = new QTimer;
  auto tries = std::make_shared<int>(0);
  QObject::connect(timer, &QTimer::timeout, [timer, tries, match = std::move(match), action = std::move(action)] {
    QWidget* modal = QApplication::activeModalWidget();
    const bool found = modal && modal->isVisible() && match(modal);
    if (!found && ++*tries < 500) return;
    timer->stop();
    timer->deleteLater();
    if (found) action(modal);
  });
  timer->start(10);
}

// Types the name into the file dialog and presses its accept button. The dialog lists its
// folder in the background and may take the typed name back meanwhile: it is typed again
// until the dialog closes.
inline void TypeFileName(QFileDialog* dialog, const QString& path, int tries = 20) {
  const QFileInfo file(path);
  dialog->setDirectory(file.absolutePath());
  if (auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit")) edit->setText(file.fileName());
  QMetaObject::invokeMethod(dialog, "accept");
  if (tries > 0)
    QTimer::singleShot(100, dialog, [dialog, path, tries] {
      if (dialog->isVisible()) TypeFileName(dialog, path, tries - 1);
    });
}

}  // namespace terravue::testing
