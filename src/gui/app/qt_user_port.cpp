#include "app/qt_user_port.h"

#include <algorithm>

#include <QMessageBox>
#include <QPushButton>

#include "app/qt_text.h"
#include "common/file_problem.h"
#include "common/messages.h"
#include "dialogs/input_box.h"
#include "dialogs/progress_window.h"
#include "report/report_viewer.h"

namespace terravue::gui {
namespace {

struct BoxStyle {
  QMessageBox::Icon icon;
  std::string_view title;
};

BoxStyle StyleOf(MessageKind kind) {
  switch (kind) {
    case MessageKind::Error: return {QMessageBox::Critical, msg::TitleError};
    case MessageKind::Warning: return {QMessageBox::Warning, msg::TitleWarning};
    case MessageKind::Info: return {QMessageBox::Information, msg::TitleInformation};
    case MessageKind::Plain: break;
  }
  return {QMessageBox::NoIcon, msg::ProductName};
}

// Texts such as "The file <A.MDL> ..." must never be taken for markup.
void PrepareBox(QMessageBox& box, QMessageBox::Icon icon, std::string_view title,
                std::string_view text) {
  box.setIcon(icon);
  box.setWindowTitle(FromUtf8(title));
  box.setTextFormat(Qt::PlainText);
  box.setText(MessageText(text));
}

}  // namespace

QtUserPort::QtUserPort(SettingsRecord& settings) : settings_(settings) {}

QtUserPort::~QtUserPort() {
  delete progress_.data();
  delete viewer_.data();
}

void QtUserPort::SetParentWindow(QWidget* window) {
  if (window == parent_) return;
  // Windows made for the old parent would stay tied to it.
  delete progress_.data();
  delete viewer_.data();
  parent_ = window;
}

// A box shown while the stay-on-top progress window is up would open beneath it; the window
// steps aside until the box is answered.
class QtUserPort::ProgressAside {
 public:
  explicit ProgressAside(QtUserPort& port) : window_(port.progress_) {
    if (window_ && window_->isVisible()) {
      window_->hide();
      hidden_ = true;
    }
  }
  ~ProgressAside() {
    if (hidden_ && window_) window_->show();
  }
  ProgressAside(const ProgressAside&) = delete;
  ProgressAside& operator=(const ProgressAside&) = delete;

 private:
  QPointer<ProgressWindow> window_;
  bool hidden_ = false;
};

void QtUserPort::Show(MessageKind kind, std::string_view text) {
  const ProgressAside aside(*this);
  const BoxStyle style = StyleOf(kind);
  QMessageBox box(parent_);
  PrepareBox(box, style.icon, style.title, text);
  QPushButton* ok = box.addButton(FromUtf8(msg::ButtonOK), QMessageBox::AcceptRole);
  box.setDefaultButton(ok);
  box.setEscapeButton(ok);
  box.exec();
}

bool QtUserPort::AskYesNo(std::string_view text) { return Ask(text, true); }

bool QtUserPort::AskToDiscard(std::string_view text) { return Ask(text, false); }

bool QtUserPort::Ask(std::string_view text, bool yesByDefault) {
  const ProgressAside aside(*this);
  QMessageBox box(parent_);
  PrepareBox(box, QMessageBox::Question, msg::TitleConfirm, text);
  QPushButton* yes = box.addButton(FromUtf8(msg::ButtonYes), QMessageBox::YesRole);
  QPushButton* no = box.addButton(FromUtf8(msg::ButtonNo), QMessageBox::NoRole);
  box.setDefaultButton(yesByDefault ? yes : no);
  box.setEscapeButton(no);
  box.exec();
  return box.clickedButton() == yes;
}

std::optional<std::string> QtUserPort::PromptLine(std::string_view title, std::string_view prompt,
                                                  std::string_view initial, std::size_t maxChars) {
  // QLineEdit's own ceiling, also taken for 0 ("no limit": the engine checks the length itself
  // so that it can say why an entry is refused).
  constexpr std::size_t MaxEditLength = 32767;
  const std::size_t limit = maxChars == 0 ? MaxEditLength : std::min(maxChars, MaxEditLength);
  const ProgressAside aside(*this);
  InputBox box(FromUtf8(title), MessageText(prompt), FromUtf8(initial), static_cast<int>(limit),
               parent_);
  if (box.exec() != QDialog::Accepted) return std::nullopt;
  return box.Value().toStdString();
}

ProgressWindow& QtUserPort::Progress() {
  if (!progress_) progress_ = new ProgressWindow(parent_);
  return *progress_;
}

ReportViewer& QtUserPort::Viewer() {
  if (!viewer_) viewer_ = new ReportViewer(settings_, *this, parent_);
  return *viewer_;
}

void QtUserPort::BeginProgress(std::string_view note, bool showGauge) {
  Progress().Begin(MessageText(note), showGauge);
}

void QtUserPort::SetProgress(int percent) { Progress().SetPercent(percent); }

void QtUserPort::EndProgress() {
  if (progress_) progress_->End();
}

void QtUserPort::ShowCompletion(std::string_view note) {
  Progress().ShowCompletion(MessageText(note));
}

void QtUserPort::ShowReport(const std::string& path, std::string_view defaultSaveName,
                            std::string_view saveTitle) {
  ReportViewer& viewer = Viewer();
  if (!viewer.Open(PathFromBytes(path), false, FromUtf8(defaultSaveName), FromUtf8(saveTitle))) {
    ShowError(std::string(msg::FileNotFound) + "\r\n" + ReadProblemLine(path));
    return;
  }
  viewer.exec();
}

void QtUserPort::PreviewFile(const std::string& path) {
  ReportViewer& viewer = Viewer();
  if (!viewer.Open(PathFromBytes(path), true)) {
    ShowError(std::string(msg::FileNotFound) + "\r\n" + ReadProblemLine(path));
    return;
  }
  viewer.exec();
}

void QtUserPort::ModelStateChanged() {
  if (onModelState_) onModelState_();
}

}  // namespace terravue::gui
