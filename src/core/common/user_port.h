#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace terravue {

struct FileProblem;

enum class MessageKind { Error, Warning, Info, Plain };

// Called with 0..100 while a long operation runs.
using ProgressFn = std::function<void(int percent)>;

// The only way the engine talks to the user. The Qt front end implements it with dialogs, the
// batch tool with the console, the tests with a scripted fake. Texts may hold "\r\n" breaks.
class UserPort {
 public:
  virtual ~UserPort() = default;

  // Message boxes: error, warning, information, and the plain box titled with the product name.
  virtual void Show(MessageKind kind, std::string_view text) = 0;
  // The "Confirm" box with Yes and No; true only for Yes.
  virtual bool AskYesNo(std::string_view text) = 0;
  // The same box for a question whose Yes throws work away (unsaved changes, the border or
  // breaklines held, points picked so far): No is the default button, so that a hasty Enter
  // keeps the work. Where nothing is pressed by default the question is the same.
  virtual bool AskToDiscard(std::string_view text) { return AskYesNo(text); }
  // A one-line input box pre-filled with `initial` (fully selected). Returns the typed text on
  // OK, nothing on Cancel. The box accepts at most maxChars characters (0: no limit).
  virtual std::optional<std::string> PromptLine(std::string_view title, std::string_view prompt,
                                                std::string_view initial,
                                                std::size_t maxChars) = 0;

  // The progress window: a non-modal note with an optional 0..100 gauge ...
  virtual void BeginProgress(std::string_view note, bool showGauge) = 0;
  virtual void SetProgress(int percent) = 0;
  virtual void EndProgress() = 0;
  // ... and the modal completion note with its "Continue" button.
  virtual void ShowCompletion(std::string_view note) = 0;

  // Shows a finished report file in the viewer (print, save a copy, font). The caller deletes
  // the work file afterwards.
  virtual void ShowReport(const std::string& path, std::string_view defaultSaveName,
                          std::string_view saveTitle) = 0;
  // Shows a file read-only without the viewer's tool bar (preview before an import).
  virtual void PreviewFile(const std::string& path) = 0;

  // The model's name or saved state changed: the front end rebuilds its caption.
  virtual void ModelStateChanged() {}

  // An error about one file: the message, then a line with the file's full path and the
  // system's reason ("PATH: REASON").
  virtual void ShowFileError(std::string_view message, const FileProblem& problem);

  void ShowError(std::string_view text) { Show(MessageKind::Error, text); }
  void ShowWarning(std::string_view text) { Show(MessageKind::Warning, text); }
  void ShowInfo(std::string_view text) { Show(MessageKind::Info, text); }
  void ShowPlain(std::string_view text) { Show(MessageKind::Plain, text); }

  // Input boxes with their checks (messages, re-asking, cancel notes) built on PromptLine.
  std::string InputText(std::string_view title, std::string_view prompt, std::string_view def,
                        std::size_t maxLength);
  std::int64_t InputInteger(std::string_view title, std::string_view prompt, std::int64_t value,
                            bool warnOnCancel, std::int64_t maximum, std::int64_t minimum);
  double InputReal(std::string_view title, std::string_view prompt, int decimals, double value,
                   double maximum, double minimum);

  ProgressFn Progress() {
    return [this](int percent) { SetProgress(percent); };
  }
};

}  // namespace terravue
