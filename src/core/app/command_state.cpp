#include "app/command_state.h"

#include <algorithm>

#include "common/format.h"
#include "common/messages.h"

namespace terravue::app {

bool ActiveCommands::Any() const {
  return std::any_of(flags_.begin(), flags_.end(), [](bool f) { return f; });
}

bool ActiveCommands::AnyHolding() const {
  for (int k = 1; k <= CommandKindCount; ++k) {
    const auto kind = static_cast<CommandKind>(k);
    if (kind != CommandKind::QueryPoint && kind != CommandKind::BreaklineQuery && Has(kind)) return true;
  }
  return false;
}

std::string CommandStatusText(CommandKind kind, int n) {
  if (n < 0) return {};
  auto counted = [n](std::string_view text) { return std::string(text) + FormatInteger(n, 0); };
  switch (kind) {
    case CommandKind::NewBorder: return counted(msg::StatusNewBorder);
    case CommandKind::Length: return counted(msg::StatusLength);
    case CommandKind::NewBreakline: return counted(msg::StatusNewBreakline);
    case CommandKind::Swap: return std::string(msg::StatusSwap);
    case CommandKind::Animate: return std::string(msg::StatusAnimate);
    case CommandKind::QueryTriangle: return counted(msg::StatusQueryTriangle);
    case CommandKind::QueryPoint:
    case CommandKind::BreaklineQuery: break;
  }
  return {};
}

}  // namespace terravue::app
