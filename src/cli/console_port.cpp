#include "console_port.h"

#include <fstream>
#include <ostream>
#include <string>

#include "common/safe_file.h"

namespace terravue::cli {
namespace {

constexpr std::string_view WarningPrefix = "WARNING - ";

// Message texts carry "\r\n" breaks for the dialogs; the console wants plain line feeds.
std::string ConsoleText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i];
  }
  return out;
}

}  // namespace

void ConsolePort::Show(MessageKind kind, std::string_view text) {
  switch (kind) {
    case MessageKind::Error:
      ++errorsShown_;
      err_ << "Error: ";
      break;
    case MessageKind::Warning:
      err_ << "Warning: ";
      // Some warning texts carry their own "WARNING - " for the box; once is enough here.
      if (text.starts_with(WarningPrefix)) text.remove_prefix(WarningPrefix.size());
      break;
    case MessageKind::Info:
    case MessageKind::Plain: break;
  }
  err_ << ConsoleText(text) << '\n';
}

bool ConsolePort::AskYesNo(std::string_view text) {
  const bool yes = policy_ == YesNoPolicy::Yes;
  err_ << ConsoleText(text) << (yes ? " [yes]" : " [no]") << '\n';
  return yes;
}

std::optional<std::string> ConsolePort::PromptLine(std::string_view, std::string_view prompt,
                                                   std::string_view initial, std::size_t) {
  err_ << ConsoleText(prompt) << " [" << initial << "]\n";
  return std::nullopt;
}

void ConsolePort::BeginProgress(std::string_view note, bool) {
  if (showProgress_) err_ << ConsoleText(note) << '\n';
}
void ConsolePort::SetProgress(int) {}
void ConsolePort::EndProgress() {}
void ConsolePort::ShowCompletion(std::string_view note) { err_ << ConsoleText(note) << '\n'; }

void ConsolePort::ShowReport(const std::string& path, std::string_view, std::string_view) {
  std::ifstream in(path, std::ios::binary);
  out_ << in.rdbuf();
  out_.flush();
}

void ConsolePort::PreviewFile(const std::string& path) { ShowReport(path, {}, {}); }

void ConsolePort::ShowFileError(std::string_view message, const FileProblem& problem) {
  Show(MessageKind::Error, message);
  err_ << problem.Line() << '\n';
}

}  // namespace terravue::cli
