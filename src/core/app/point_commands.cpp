#include "app/point_commands.h"

#include <string>

#include "app/cursor.h"
#include "app/file_commands.h"
#include "common/format.h"
#include "common/messages.h"
#include "common/session.h"
#include "common/user_port.h"
#include "model/surface_model.h"
#include "tin/geometry.h"

namespace terravue::app {
namespace {

using model::SurfaceModel;

tin::PointValues ValuesOf(const SurfaceModel& m, PointIndex p) {
  return {m.GetPointLabel(p), m.PointX[p], m.PointY[p], m.PointZ[p]};
}

// The point the command acts on: the one nearest the cursor.
PointIndex PointAt(const SurfaceModel& m, const CursorState& cursor) {
  return m.PointCount == 0 ? NoPoint : tin::NearestPoint(m, cursor.x, cursor.y);
}

tin::PointEditResult Finish(Session& session, const tin::PointEditResult& result) {
  if (result.resetScale) ApplyLoadedModelDefaults(session.settings, session.model);
  return result;
}

}  // namespace

tin::PointEditResult AddPointCommand(Session& session, tin::LocateState& locate, PointDialog& dialog,
                                     const CursorState& cursor) {
  const SurfaceModel& m = session.model;
  const auto n = static_cast<PointIndex>(m.PointCount + 1);
  // The label keeps the last four characters, as the model stores it.
  std::string label = FormatInteger(n, 4);
  if (label.size() > 4) label.erase(0, label.size() - 4);
  const std::optional<tin::PointValues> typed =
      dialog.Show({msg::CaptionAddPoint, n, {label, cursor.x, cursor.y, cursor.z}, false, AddPointHelp});
  if (!typed) return {};
  return Finish(session, tin::AddPointRules(session, locate, *typed));
}

tin::PointEditResult DeletePointCommand(Session& session, tin::LocateState& locate, tin::UndeleteStack& undelete,
                                        PointDialog& dialog, const CursorState& cursor) {
  const SurfaceModel& m = session.model;
  const PointIndex p = PointAt(m, cursor);
  if (p == NoPoint) return {};
  const tin::PointValues point = ValuesOf(m, p);
  if (!dialog.Show({msg::CaptionDeletePoint, p, point, true, DeletePointHelp})) return {};
  const tin::PointEditResult result = tin::DeletePointRules(session, locate, p);
  // Only a point that really left the model can be undeleted: one kept after a refusal would
  // come back as a duplicate of itself.
  if (result.changed) undelete.Push(point);
  return result;
}

tin::PointEditResult EditPointCommand(Session& session, tin::LocateState& locate, PointDialog& dialog,
                                      const CursorState& cursor) {
  const SurfaceModel& m = session.model;
  const PointIndex p = PointAt(m, cursor);
  if (p == NoPoint) return {};
  const std::optional<tin::PointValues> typed =
      dialog.Show({msg::CaptionEditPoint, p, ValuesOf(m, p), false, EditPointHelp});
  if (!typed) return {};
  return Finish(session, tin::EditPointRules(session, locate, p, *typed));
}

tin::PointEditResult UndeletePointCommand(Session& session, tin::LocateState& locate, tin::UndeleteStack& undelete,
                                          PointDialog& dialog) {
  const SurfaceModel& m = session.model;
  if (m.PointCount >= m.MaxPoints) {
    session.port.ShowWarning(msg::FileAtPointCapacity);
    return {};
  }
  if (undelete.Empty()) {
    session.port.ShowInfo(msg::NothingToUndelete);
    return {};
  }
  const auto n = static_cast<PointIndex>(m.PointCount + 1);
  if (!dialog.Show({msg::CaptionUndeletePoint, n, undelete.Top(), true, UndeletePointHelp})) return {};
  return Finish(session, tin::AddPointRules(session, locate, undelete.Pop()));
}

}  // namespace terravue::app
