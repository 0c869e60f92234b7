#pragma once

#include <functional>
#include <string_view>

#include <QApplication>

namespace terravue::gui {

// The application object. Every event passes through notify(), so an exception that escapes
// a handler is caught there, before it could unwind through Qt, and handed to the handler set
// by the controller (which shows it and ends the program).
class Application : public QApplication {
  Q_OBJECT

 public:
  using ErrorHandler = std::function<void(std::string_view what)>;

  Application(int& argc, char** argv);

  void SetUnhandledErrorHandler(ErrorHandler handler) { onError_ = std::move(handler); }

  bool notify(QObject* receiver, QEvent* event) override;

 private:
  void ReportUnhandled(std::string_view what);

  ErrorHandler onError_;
};

}  // namespace terravue::gui
