#include "app/application.h"

#include <clocale>
#include <exception>

#include <QLocale>
#include <QMessageBox>

#include "app/qt_text.h"
#include "common/messages.h"

namespace terravue::gui {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
  // Qt adopts the user's C locale at start-up; numbers in files and on screen are always
  // written with a decimal point, so the numeric part goes back to "C" for the C library and Qt.
  std::setlocale(LC_NUMERIC, "C");
  QLocale::setDefault(QLocale::c());
}

bool Application::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    ReportUnhandled(e.what());
  } catch (...) {
    ReportUnhandled({});
  }
  return false;
}

void Application::ReportUnhandled(std::string_view what) {
  if (onError_) {
    onError_(what);
    return;
  }
  QMessageBox::critical(nullptr, FromUtf8(msg::TitleError),
                        MessageText(what.empty() ? msg::UnhandledErrorUnknown : what));
  QCoreApplication::exit(1);
}

}  // namespace terravue::gui
