#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/user_port.h"

namespace terravue {

// The user of work done behind the scenes (a surface built for a calculation, a benchmark, a
// fuzz run): sees nothing, answers No and cancels every prompt.
class QuietPort final : public UserPort {
 public:
  void Show(MessageKind, std::string_view) override {}
  bool AskYesNo(std::string_view) override { return false; }
  std::optional<std::string> PromptLine(std::string_view, std::string_view, std::string_view, std::size_t) override {
    return std::nullopt;
  }
  void BeginProgress(std::string_view, bool) override {}
  void SetProgress(int) override {}
  void EndProgress() override {}
  void ShowCompletion(std::string_view) override {}
  void ShowReport(const std::string&, std::string_view, std::string_view) override {}
  void PreviewFile(const std::string&) override {}
};

}  // namespace terravue
