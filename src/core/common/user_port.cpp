#include "common/user_port.h"

#include "common/file_problem.h"
#include "common/format.h"
#include "common/messages.h"
#include "common/text_encoding.h"

namespace terravue {
namespace {

// The number boxes take up to 255 characters, like any one-line edit of the program.
constexpr std::size_t kNumberBoxChars = 255;

}  // namespace

void UserPort::ShowFileError(std::string_view message, const FileProblem& problem) {
  ShowError(std::string(message) + "\r\n" + problem.Line());
}

std::string UserPort::InputText(std::string_view title, std::string_view prompt,
                                std::string_view def, std::size_t maxLength) {
  // The box itself is not limited: a longer entry is refused with a message that says why.
  const auto typed = PromptLine(title, prompt, def, 0);
  if (!typed) return std::string(def);
  if (Utf8Length(*typed) > maxLength) {
    ShowError(std::string(msg::StringTooLong) + FormatInteger(static_cast<std::int64_t>(maxLength), 0));
    return std::string(def);
  }
  return *typed;
}

std::int64_t UserPort::InputInteger(std::string_view title, std::string_view prompt,
                                    std::int64_t value, bool warnOnCancel, std::int64_t maximum,
                                    std::int64_t minimum) {
  std::string text = FormatInteger(value, 0);
  for (;;) {
    const auto typed = PromptLine(title, prompt, text, kNumberBoxChars);
    if (!typed) {
      if (warnOnCancel)
        ShowInfo(std::string(msg::InputCanceledPrefix) + FormatInteger(value, 0) +
                 std::string(msg::InputCanceledSuffix));
      return value;
    }
    text = *typed;
    const auto parsed = ParseInteger(text);
    if (!parsed) continue;
    if (*parsed < minimum) {
      ReportBelowMinimum(*this, prompt, FormatInteger(minimum, 0));
    } else if (*parsed > maximum) {
      ReportAboveMaximum(*this, prompt, FormatInteger(maximum, 0));
    } else {
      return *parsed;
    }
  }
}

double UserPort::InputReal(std::string_view title, std::string_view prompt, int decimals,
                           double value, double maximum, double minimum) {
  std::string text = FormatReal(value, 0, decimals);
  for (;;) {
    const auto typed = PromptLine(title, prompt, text, kNumberBoxChars);
    if (!typed) {
      ShowInfo(std::string(msg::InputCanceledPrefix) + FormatReal(value, 0, decimals) +
               std::string(msg::InputCanceledSuffix));
      return value;
    }
    text = *typed;
    const auto parsed = ParseReal(text);
    if (!parsed) continue;
    if (*parsed < minimum) {
      ReportBelowMinimum(*this, prompt, FormatReal(minimum, 0, decimals));
    } else if (*parsed > maximum) {
      ReportAboveMaximum(*this, prompt, FormatReal(maximum, 0, decimals));
    } else {
      return *parsed;
    }
  }
}

}  // namespace terravue
