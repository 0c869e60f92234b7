#pragma once

#include <functional>
#include <memory>

#include <QApplication>
#include <QTimer>
#include <QWidget>

namespace terravue::testing {

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

}  // namespace terravue::testing
