#pragma once

#include <deque>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "common/safe_file.h"
#include "common/user_port.h"

namespace terravue::testing {

// A scripted user: records everything the engine shows and answers from queues. An empty
// yes/no queue answers No; an empty prompt queue answers Cancel.
class FakePort : public UserPort {
 public:
  enum class Kind { Error, Warning, Info, Plain, Question, Prompt, Progress, Completion, Report, Preview };

  struct Shown {
    Kind kind;
    std::string text;
    friend bool operator==(const Shown&, const Shown&) = default;
    // Readable failure output instead of the object's bytes.
    friend void PrintTo(const Shown& s, std::ostream* os) {
      static constexpr const char* Names[] = {"Error",    "Warning",  "Info",       "Plain",  "Question",
                                              "Prompt",   "Progress", "Completion", "Report", "Preview"};
      *os << '{' << Names[static_cast<int>(s.kind)] << ", \"" << s.text << "\"}";
    }
  };

  std::vector<Shown> shown;
  // The questions asked with No as the default (each is in `shown` as a Question too).
  std::vector<std::string> discardQuestions;
  std::deque<bool> yesNoAnswers;
  std::deque<std::optional<std::string>> promptAnswers;
  std::vector<int> progress;
  int modelStateChanges = 0;
  // Contents of each report shown, read while the work file still exists.
  std::vector<std::string> reports;
  // The file and reason behind each file error (the message itself is among `shown`).
  std::vector<FileProblem> fileProblems;

  void Show(MessageKind kind, std::string_view text) override;
  bool AskYesNo(std::string_view text) override;
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
  void ModelStateChanged() override { ++modelStateChanges; }
  void ShowFileError(std::string_view message, const FileProblem& problem) override;

  // The texts shown with one kind, in order.
  std::vector<std::string> Texts(Kind kind) const;
  // Everything shown, one "<kind>: <text>" line each, for readable failures.
  std::string Transcript() const;
};

}  // namespace terravue::testing
