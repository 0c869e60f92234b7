#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>

// The interactive commands that stay active between events and take the map clicks, and the
// text of the command status line while they run.
namespace terravue::app {

// The numbers are those of the status texts.
enum class CommandKind : std::uint8_t {
  NewBorder = 1,
  Length = 2,
  QueryPoint = 3,  // only while its dialog is open
  NewBreakline = 4,
  Swap = 5,
  BreaklineQuery = 6,  // only while its dialog is open
  Animate = 7,
  QueryTriangle = 8,
};
inline constexpr int CommandKindCount = 8;

// Eight independent flags; usually one is set, exceptionally several.
class ActiveCommands {
 public:
  ActiveCommands() = default;
  ActiveCommands(std::initializer_list<CommandKind> kinds) {
    for (CommandKind k : kinds) Set(k, true);
  }

  bool Has(CommandKind kind) const { return flags_[Slot(kind)]; }
  void Set(CommandKind kind, bool on) { flags_[Slot(kind)] = on; }
  // `AnyCommandActive`.
  bool Any() const;
  // A command that holds the window (everything but the two query dialogs, which are modal
  // and only mark what they show).
  bool AnyHolding() const;

  friend bool operator==(const ActiveCommands&, const ActiveCommands&) = default;

 private:
  static std::size_t Slot(CommandKind kind) { return static_cast<std::size_t>(kind) - 1; }
  std::array<bool, CommandKindCount> flags_{};
};

// `ShowCommandStatus`: the command status line for `kind` with the count n; empty for a
// negative n and for the two query kinds.
std::string CommandStatusText(CommandKind kind, int n);

}  // namespace terravue::app
