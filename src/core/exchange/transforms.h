#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace terravue {
struct Session;
namespace model {
class SurfaceModel;
}
namespace tin {
struct LocateState;
}
}  // namespace terravue

// Factor, Translate and Rotate: whole-model changes of the point coordinates (units, a datum
// shift, a turn in plan), and the texts of their dialogs.
namespace terravue::exchange {

// Coordinates beyond this magnitude are refused, as the import refuses them: nothing the program
// draws, exports or triangulates needs more, and arithmetic on them stays exact to thousandths.
inline constexpr double MaxCoordinate = 999999999.999;

enum class TransformKind { Factor, Translate, Rotate };

struct Transform {
  TransformKind kind = TransformKind::Factor;
  // Factor: per-axis factors; Translate: per-axis offsets. X is the Easting, Y the Northing.
  double x = 1, y = 1, z = 1;
  // Rotate: the centre and the angle in degrees, counter-clockwise from East, or clockwise from
  // North for the surveyors' angle convention.
  double centreX = 0, centreY = 0, degrees = 0;
  bool surveyorsAngles = false;
};

// The three operations on points 1..PointCount, without any check: factor and rotate round the
// results to thousandths, translate keeps them as they come.
void FactorPoints(model::SurfaceModel& m, double fx, double fy, double fz);
void TranslatePoints(model::SurfaceModel& m, double ox, double oy, double oz);
void RotatePoints(model::SurfaceModel& m, double cx, double cy, double degrees, bool surveyorsAngles);

// The message when the transform cannot be applied (a plan factor of 0, a value that is no
// finite number, a result beyond MaxCoordinate), or empty.
std::string_view TransformProblem(const model::SurfaceModel& m, const Transform& t);

// The dialogs' OK: checks the transform (refusing it with its message and changing nothing),
// applies it, keeps the border ring turning the same way when a factor mirrors the plan, and
// keeps a triangulated surface sound: when some triangle turned over or collapsed the points are
// triangulated again. Marks the model modified. False when refused.
bool ApplyTransform(Session& session, tin::LocateState& state, const Transform& t);

// The turning sense (+1, -1, 0) of triangles 1..TriangleCount, and whether every triangle still
// turns that way (the other way for a mirror) without collapsing: then moved points left the
// triangle list a valid triangulation of the field.
std::vector<std::int8_t> TriangleSenses(const model::SurfaceModel& m);
bool TrianglesKeepSense(const model::SurfaceModel& m, const std::vector<std::int8_t>& before, bool mirrored);

// The captions of the factor and translate dialogs' three fields in dialog order: with the
// Northing-Easting order the first field is the Northing (Y).
struct FieldLabels {
  std::string_view first, second, third;
};
FieldLabels TransformFieldLabels(TransformKind kind, bool eastingFirst);

// The rotate dialog's presets: the mean X and Y of all points (0 without points).
void MeanPosition(const model::SurfaceModel& m, double& x, double& y);

}  // namespace terravue::exchange
