#include "support/fake_port.h"

#include <fstream>
#include <sstream>

namespace terravue::testing {

namespace {

FakePort::Kind KindOf(MessageKind kind) {
  switch (kind) {
    case MessageKind::Error: return FakePort::Kind::Error;
    case MessageKind::Warning: return FakePort::Kind::Warning;
    case MessageKind::Info: return FakePort::Kind::Info;
    case MessageKind::Plain: return FakePort::Kind::Plain;
  }
  return FakePort::Kind::Plain;
}

const char* NameOf(FakePort::Kind kind) {
  switch (kind) {
    case FakePort::Kind::Error: return "error";
    case FakePort::Kind::Warning: return "warning";
    case FakePort::Kind::Info: return "info";
    case FakePort::Kind::Plain: return "plain";
    case FakePort::Kind::Question: return "question";
    case FakePort::Kind::Prompt: return "prompt";
    case FakePort::Kind::Progress: return "progress";
    case FakePort::Kind::Completion: return "completion";
    case FakePort::Kind::Report: return "report";
    case FakePort::Kind::Preview: return "preview";
  }
  return "?";
}

}  // namespace

void FakePort::Show(MessageKind kind, std::string_view text) {
  shown.push_back({KindOf(kind), std::string(text)});
}

bool FakePort::AskYesNo(std::string_view text) {
  shown.push_back({Kind::Question, std::string(text)});
  if (yesNoAnswers.empty()) return false;
  const bool answer = yesNoAnswers.front();
  yesNoAnswers.pop_front();
  return answer;
}

bool FakePort::AskToDiscard(std::string_view text) {
  discardQuestions.emplace_back(text);
  return AskYesNo(text);
}

std::optional<std::string> FakePort::PromptLine(std::string_view, std::string_view prompt,
                                                std::string_view initial, std::size_t) {
  shown.push_back({Kind::Prompt, std::string(prompt) + " [" + std::string(initial) + "]"});
  if (promptAnswers.empty()) return std::nullopt;
  auto answer = promptAnswers.front();
  promptAnswers.pop_front();
  return answer;
}

void FakePort::BeginProgress(std::string_view note, bool) {
  shown.push_back({Kind::Progress, std::string(note)});
}

void FakePort::SetProgress(int percent) { progress.push_back(percent); }

void FakePort::EndProgress() {}

void FakePort::ShowCompletion(std::string_view note) {
  shown.push_back({Kind::Completion, std::string(note)});
}

void FakePort::ShowReport(const std::string& path, std::string_view defaultSaveName,
                          std::string_view saveTitle) {
  shown.push_back({Kind::Report, std::string(defaultSaveName) + " | " + std::string(saveTitle)});
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  reports.push_back(text.str());
}

void FakePort::PreviewFile(const std::string& path) { shown.push_back({Kind::Preview, path}); }

void FakePort::ShowFileError(std::string_view message, const FileProblem& problem) {
  UserPort::ShowFileError(message, problem);
  fileProblems.push_back(problem);
}

std::vector<std::string> FakePort::Texts(Kind kind) const {
  std::vector<std::string> texts;
  for (const auto& s : shown)
    if (s.kind == kind) texts.push_back(s.text);
  return texts;
}

std::string FakePort::Transcript() const {
  std::string out;
  for (const auto& s : shown) out += std::string(NameOf(s.kind)) + ": " + s.text + "\n";
  return out;
}

}  // namespace terravue::testing
