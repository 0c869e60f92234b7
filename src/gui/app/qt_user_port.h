#pragma once

#include <functional>

#include <QPointer>
#include <QWidget>

#include "common/user_port.h"

namespace terravue {
class SettingsRecord;
}

namespace terravue::gui {

class ProgressWindow;
class ReportViewer;

// The engine's user on the desktop: modal message boxes, the input box, the progress window
// and the report viewer. Texts cross in UTF-8 both ways and messages are shown as plain text
// (never as markup). The input box refuses characters outside Latin-1, which the fields it
// fills cannot hold.
class QtUserPort : public UserPort {
 public:
  explicit QtUserPort(SettingsRecord& settings);
  ~QtUserPort() override;

  // The window the boxes belong to; may be unset while the program starts or ends.
  void SetParentWindow(QWidget* window);
  void SetModelStateHandler(std::function<void()> handler) { onModelState_ = std::move(handler); }

  void Show(MessageKind kind, std::string_view text) override;
  bool AskYesNo(std::string_view text) override;
  // No is the default button.
  bool AskToDiscard(std::string_view text) override;
  std::optional<std::string> PromptLine(std::string_view title, std::string_view prompt,
                                        std::string_view initial, std::size_t maxChars) override;
  void BeginProgress(std::string_view note, bool showGauge) override;
  void SetProgress(int percent) override;
  void EndProgress() override;
  void ShowCompletion(std::string_view note) override;
  void ShowReport(const std::string& path, std::string_view defaultSaveName,
                  std::string_view saveTitle) override;
  void PreviewFile(const std::string& path) override;
  void ModelStateChanged() override;

  ProgressWindow& Progress();
  ReportViewer& Viewer();

 private:
  class ProgressAside;
  bool Ask(std::string_view text, bool yesByDefault);

  SettingsRecord& settings_;
  QPointer<QWidget> parent_;
  // Made once and reused; owned by the parent window when there is one.
  QPointer<ProgressWindow> progress_;
  QPointer<ReportViewer> viewer_;
  std::function<void()> onModelState_;
};

}  // namespace terravue::gui
