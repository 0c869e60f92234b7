#pragma once

#include <functional>

#include <QDialog>
#include <QPushButton>

namespace terravue::gui {

// The buttons of the Length and Query Triangle results: "Continue" returns to picking, "Finish"
// (also Escape) ends the command; "Help" is shown when there is help. `finished` says which.
inline void ConnectResultButtons(QDialog* dialog, QPushButton* continueButton, QPushButton* finishButton,
                                 QPushButton* helpButton, std::function<void()> help, bool& finished) {
  helpButton->setVisible(static_cast<bool>(help));
  if (help) QObject::connect(helpButton, &QPushButton::clicked, dialog, std::move(help));
  QObject::connect(continueButton, &QPushButton::clicked, dialog, [dialog, &finished] {
    finished = false;
    dialog->accept();
  });
  QObject::connect(finishButton, &QPushButton::clicked, dialog, [dialog, &finished] {
    finished = true;
    dialog->accept();
  });
}

}  // namespace terravue::gui
