#pragma once

#include <optional>

namespace terravue {
struct Session;
}

namespace terravue::tin {

struct LocateState;

// Remove Points: deletes every point that is not a border point, inside the border, outside it
// or both. The ring is stored counter-clockwise afterwards; a triangulated model is triangulated
// again. The number removed; nothing (and nothing removed) without a valid border ring.
std::optional<int> RemovePoints(Session& session, LocateState& state, bool interior, bool exterior);

// The dialog's OK: RemovePoints with its result message ("12 points were removed.").
void RemovePointsCommand(Session& session, LocateState& state, bool interior, bool exterior);

}  // namespace terravue::tin
