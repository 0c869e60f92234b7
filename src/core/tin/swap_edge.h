#pragma once

namespace terravue {
struct Session;
namespace tin {
struct LocateState;
struct BreaklineEditorState;
}  // namespace tin
}  // namespace terravue

namespace terravue::tin {

// The click of the Swap command at (x, y): the edge of the triangle there that lies nearest to
// the click becomes the other diagonal of its quadrilateral. The new diagonal is recorded as a
// breakline, so that it survives the next triangulation; a breakline along the old diagonal is
// dropped (not kept for Undelete). False, after the message, when nothing was swapped.
bool SwapEdgeAt(Session& session, tin::LocateState& locate, tin::BreaklineEditorState& editor, double x, double y);

}  // namespace terravue::tin
