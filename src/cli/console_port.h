#pragma once

#include <iosfwd>

#include "common/user_port.h"

namespace terravue::cli {

enum class YesNoPolicy { No, Yes };

// The batch tool's user: messages go to stderr, questions are answered by the --yes/--no
// policy, input boxes are cancelled (the engine then keeps its default), and reports are
// written to stdout. Progress notes ("Loading Coordinate > ...") are for someone watching: they
// are written only when stderr is a terminal, never into a log or a pipe.
class ConsolePort : public UserPort {
 public:
  ConsolePort(std::ostream& out, std::ostream& err, YesNoPolicy policy, bool showProgress = false)
      : out_(out), err_(err), policy_(policy), showProgress_(showProgress) {}

  void Show(MessageKind kind, std::string_view text) override;
  bool AskYesNo(std::string_view text) override;
  std::optional<std::string> PromptLine(std::string_view title, std::string_view prompt,
                                        std::string_view initial, std::size_t maxChars) override;
  void BeginProgress(std::string_view note, bool showGauge) override;
  void SetProgress(int percent) override;
  void EndProgress() override;
  void ShowCompletion(std::string_view note) override;
  void ShowReport(const std::string& path, std::string_view defaultSaveName,
                  std::string_view saveTitle) override;
  void PreviewFile(const std::string& path) override;
  // The message, then "PATH: REASON" on its own line.
  void ShowFileError(std::string_view message, const FileProblem& problem) override;

  int errorsShown() const { return errorsShown_; }

 private:
  std::ostream& out_;
  std::ostream& err_;
  YesNoPolicy policy_;
  bool showProgress_;
  int errorsShown_ = 0;
};

}  // namespace terravue::cli
