#include "model/model_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <sstream>

#include "common/app_settings.h"
#include "common/messages.h"
#include "fuzz/model_reader_harness.h"
#include "model/surface_model.h"
#include "model_test_env.h"
#include "support/file_size_limit.h"

namespace terravue::model {
namespace {

using fuzz::BuildBaseModel;
using fuzz::ModelSnapshot;
using test::ByteBuilder;
namespace fs = std::filesystem;

// Offsets of the sections of a file holding the base model (5 points, 4 triangles, 1 breakline).
struct Layout {
  int type;
  std::size_t n = 5, t = 4, b = 1;
  std::size_t PointCount() const { return 5 + 79 + (type == ModelFileTypeMdl ? 2 : 0); }
  std::size_t X() const { return PointCount() + 2; }
  std::size_t Z() const { return X() + 16 * n; }
  std::size_t Border() const { return X() + 24 * n; }
  std::size_t Triangles() const { return Border() + 6 * n; }  // the "TRI" tag
  std::size_t Corners() const { return Triangles() + 5; }
  std::size_t Neighbours() const { return Corners() + 6 * t; }
  std::size_t Breaklines() const { return Neighbours() + 6 * t; }   // the "BRK" tag
  std::size_t CutFill() const { return Breaklines() + 5 + 4 * b; }  // the "CFD" tag
};

std::string TypeTag(int type) {
  return type == 2 ? "MDL" : type == 3 ? "MDV" : "MDX";
}

// The base model's file, built from the layout table rather than by the writer.
std::string BaseModelBytes(int type) {
  ByteBuilder f;
  f.Text(TypeTag(type) + "\r\n");
  std::string comment(79, '\0');
  comment[0] = 12;
  comment.replace(1, 12, "Base surface");
  f.Text(comment);
  if (type == ModelFileTypeMdl) f.Text("  ");
  f.U16(5);
  for (double x : {0, 10, 10, 0, 5}) f.F64(x);
  for (double y : {0, 0, 10, 10, 5}) f.F64(y);
  for (double z : {10, 11, 12, 13, 14}) f.F64(z);
  for (std::uint16_t next : {2, 3, 4, 1, 0}) f.U16(next);
  f.Text("   1   2   3   4   5");
  f.Text("TRI").U16(4);
  for (std::uint16_t p : {1, 2, 5, 2, 3, 5, 3, 4, 5, 4, 1, 5}) f.U16(p);
  for (std::uint16_t u : {2, 4, 0, 1, 3, 0, 2, 4, 0, 3, 1, 0}) f.U16(u);
  f.Text("BRK").U16(1).U16(2).U16(5);
  if (type != ModelFileTypeMdl) f.Text("CFD").U16(0);
  return f.bytes;
}

void PutU16(std::string& bytes, std::size_t at, std::uint16_t v) {
  bytes[at] = static_cast<char>(v & 0xFF);
  bytes[at + 1] = static_cast<char>(v >> 8);
}

void PutF64(std::string& bytes, std::size_t at, double v) {
  ByteBuilder b;
  b.F64(v);
  bytes.replace(at, 8, b.bytes);
}

// An .MDV file of the base model with `values` as its cut/fill section.
std::string WithCutFill(std::vector<double> values) {
  std::string bytes = BaseModelBytes(ModelFileTypeMdv);
  bytes.resize(Layout{ModelFileTypeMdv}.CutFill());
  ByteBuilder f;
  f.Text("CFD").U16(static_cast<std::uint16_t>(values.size()));
  for (double v : values) f.F64(v);
  return bytes + f.bytes;
}

ModelFileStatus ReadBytes(SurfaceModel& m, const std::string& bytes, int type, PointIndex firstPoint = 1,
                          TriangleIndex firstTriangle = 1, BreaklineIndex firstBreakline = 1) {
  return fuzz::ReadBytes(m, bytes, firstPoint, firstTriangle, type, firstBreakline);
}

class ModelFileTest : public test::SessionTest {};

class ModelFileTypeTest : public ModelFileTest, public ::testing::WithParamInterface<int> {};

TEST_P(ModelFileTypeTest, WritesTheExactLayoutAndReadsItBack) {
  const int type = GetParam();
  BuildBaseModel(model);
  std::ostringstream out;
  ASSERT_EQ(WriteModelStream(model, out, 1, model.PointCount, type), ModelFileStatus::Ok);
  ASSERT_EQ(out.str(), BaseModelBytes(type));

  const ModelSnapshot written = ModelSnapshot::Of(model);
  model.ClearModel();
  ASSERT_EQ(ReadBytes(model, out.str(), type), ModelFileStatus::Ok);
  ModelSnapshot read = ModelSnapshot::Of(model);
  // Cut/fill values are never written: they come back as zeros.
  EXPECT_EQ(read.cutFill, std::vector<double>(6, 0.0));
  EXPECT_EQ(read.cutFillCount, 0);
  read.cutFill = written.cutFill;
  read.cutFillCount = written.cutFillCount;
  EXPECT_EQ(read, written);
  EXPECT_EQ(model.Comment(), "Base surface");
  EXPECT_TRUE(CheckTopology(model).empty());
}

INSTANTIATE_TEST_SUITE_P(Types, ModelFileTypeTest, ::testing::Values(2, 3, 7),
                         [](const auto& info) { return TypeTag(info.param); });

TEST_F(ModelFileTest, SaveReplacesTheFileAtomicallyAndMarksTheModelSaved) {
  BuildBaseModel(model);
  const auto file = dir.path() / "SITE.MDL";
  test::WriteAll(file, "previous contents");
  settings.Set(settings::ModelSaved, false);

  ASSERT_TRUE(WriteModelFile(session, file, 1, model.PointCount, ModelFileTypeMdl));
  EXPECT_EQ(test::ReadAll(file), BaseModelBytes(ModelFileTypeMdl));
  EXPECT_TRUE(settings.Get(settings::ModelSaved));
  EXPECT_EQ(port.modelStateChanges, 1);
  EXPECT_TRUE(port.shown.empty()) << port.Transcript();
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator{}), 1);
}

TEST_F(ModelFileTest, FailedSaveKeepsThePreviousFileAndTheModifiedState) {
  BuildBaseModel(model);
  const auto file = dir.path() / "SITE.MDL";
  test::WriteAll(file, "previous contents");
  settings.Set(settings::ModelSaved, false);

  // The file cannot be written in full: the disk fills up after a few bytes.
  const std::string full = testing::WithFileSizeLimit(64, [&] {
    const bool written = WriteModelFile(session, file, 1, model.PointCount, ModelFileTypeMdl);
    return std::string(written ? "written" : "failed") + "\n" + port.Transcript();
  });
  EXPECT_EQ(full, "failed\nerror: File management error.\r\n" + file.string() + ": File too large\n");
  EXPECT_EQ(test::ReadAll(file), "previous contents");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator{}), 1);

  // No folder to write in.
  const auto nowhere = dir.path() / "missing" / "SITE.MDL";
  EXPECT_FALSE(WriteModelFile(session, nowhere, 1, model.PointCount, 2));
  EXPECT_EQ(port.Texts(testing::FakePort::Kind::Error),
            std::vector<std::string>{"File management error.\r\n" + nowhere.string() + ": No such file or directory"});
  EXPECT_FALSE(settings.Get(settings::ModelSaved));
}

TEST_F(ModelFileTest, WritingWithoutPointsCreatesNoFileAndShowsNothing) {
  const auto file = dir.path() / "EMPTY.MDL";
  EXPECT_FALSE(WriteModelFile(session, file, 1, 0, ModelFileTypeMdl));
  EXPECT_FALSE(fs::exists(file));
  EXPECT_TRUE(port.shown.empty());
}

TEST_F(ModelFileTest, PartialRangeRenumbersBorderLinksAndLeavesOutTrianglesAndBreaklines) {
  BuildBaseModel(model);
  std::ostringstream out;
  ASSERT_EQ(WriteModelStream(model, out, 2, 4, ModelFileTypeMdl), ModelFileStatus::Ok);
  ASSERT_EQ(ReadBytes(model, out.str(), ModelFileTypeMdl), ModelFileStatus::Ok);
  EXPECT_EQ(model.PointCount, 3);
  EXPECT_EQ(model.PointX[1], 10);
  // 2->3->4 becomes 1->2->3; the link from 4 back to 1 leaves the range.
  EXPECT_EQ((std::array{model.BorderNext[1], model.BorderNext[2], model.BorderNext[3]}),
            (std::array<PointIndex, 3>{2, 3, 0}));
  EXPECT_EQ(model.TriangleCount, 0);
  EXPECT_EQ(model.BreaklineCount, 0);
}

struct FailureCase {
  const char* name;
  int type;
  std::function<void(std::string&, const Layout&)> damage;
  ModelFileStatus status;
  const char* message;
  const char* fault = "";  // for InvalidData: what is out of range, named in the file
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class ModelFileFailureTest : public ModelFileTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ModelFileFailureTest, LeavesAnEmptyModelAndShowsTheMessage) {
  const auto& c = GetParam();
  std::string bytes = BaseModelBytes(c.type);
  c.damage(bytes, Layout{c.type});
  const auto file = dir.path() / "DAMAGED.MDL";
  test::WriteAll(file, bytes);

  BuildBaseModel(model);
  const auto comment = model.FieldComment;
  EXPECT_EQ(ReadModelFile(model, file, 1, 1, c.type, 1), c.status);
  EXPECT_EQ(model.PointCount + model.TriangleCount + model.BreaklineCount + model.CutFillCount, 0);
  EXPECT_EQ(model.FieldComment, comment);

  BuildBaseModel(model);
  EXPECT_FALSE(ReadModelFile(session, file, 1, 1, c.type, 1));
  // The message names the file and what is wrong with it on a line of its own.
  ASSERT_EQ(port.fileProblems.size(), 1u);
  EXPECT_EQ(port.Texts(testing::FakePort::Kind::Error),
            std::vector<std::string>{std::string(c.message) + "\r\n" + port.fileProblems[0].Line()});
  EXPECT_EQ(model.PointCount, 0);
  // What is wrong goes with the message, named in the file.
  EXPECT_EQ(port.fileProblems[0].path, file);
  if (c.status == ModelFileStatus::InvalidData) {
    EXPECT_EQ(port.fileProblems[0].reason, c.fault);
  }
}

const char* const Management = "File management error.";
const char* const Memory = "Insufficient memory to load file.";

INSTANTIATE_TEST_SUITE_P(
    Damage, ModelFileFailureTest,
    ::testing::Values(
        FailureCase{"EmptyFile", 2, [](std::string& b, const Layout&) { b.clear(); },
                    ModelFileStatus::ReadError, Management},
        FailureCase{"EndsInsideTheMagic", 2, [](std::string& b, const Layout&) { b.resize(3); },
                    ModelFileStatus::ReadError, Management},
        FailureCase{"SiblingFileReadAsOwnType", 2,
                    [](std::string& b, const Layout&) { b = BaseModelBytes(ModelFileTypeMdv); },
                    ModelFileStatus::BadHeader, "Bad header in .MDL file."},
        FailureCase{"OwnFileReadAsSiblingType", 3,
                    [](std::string& b, const Layout&) { b = BaseModelBytes(ModelFileTypeMdl); },
                    ModelFileStatus::BadHeader, "Bad header in .MDV file."},
        FailureCase{"ThirdVariantMagic", 9, [](std::string& b, const Layout&) { b[2] = 'V'; },
                    ModelFileStatus::BadHeader, "Bad header in .MDX file."},
        FailureCase{"EndsInsideTheComment", 2, [](std::string& b, const Layout&) { b.resize(40); },
                    ModelFileStatus::ReadError, Management},
        FailureCase{"EndsInsideTheLabels", 2,
                    [](std::string& b, const Layout& l) { b.resize(l.Triangles() - 1); },
                    ModelFileStatus::ReadError, Management},
        FailureCase{"TriangleTagDiffers", 2, [](std::string& b, const Layout& l) { b[l.Triangles()] = 'X'; },
                    ModelFileStatus::BadHeader, "Bad header in .MDL file."},
        FailureCase{"BreaklineTagDiffers", 3,
                    [](std::string& b, const Layout& l) { b[l.Breaklines() + 2] = 'L'; },
                    ModelFileStatus::BadHeader, "Bad header in .MDV file."},
        FailureCase{"EndsInsideTheBreaklines", 2,
                    [](std::string& b, const Layout& l) { b.resize(l.Breaklines() + 7); },
                    ModelFileStatus::ReadError, Management},
        FailureCase{"CutFillSectionMissing", 3,
                    [](std::string& b, const Layout& l) { b.resize(l.CutFill()); },
                    ModelFileStatus::ReadError, Management},
        FailureCase{"CutFillTagDiffers", 3, [](std::string& b, const Layout& l) { b[l.CutFill()] = 'c'; },
                    ModelFileStatus::BadHeader, "Bad header in .MDV file."},
        FailureCase{"MorePointsThanTheCapacity", 2,
                    [](std::string& b, const Layout& l) { PutU16(b, l.PointCount(), 32764); },
                    ModelFileStatus::TooLarge, Memory},
        FailureCase{"PointCountThatWouldWrap", 2,
                    [](std::string& b, const Layout& l) { PutU16(b, l.PointCount(), 65535); },
                    ModelFileStatus::TooLarge, Memory},
        FailureCase{"MoreTrianglesThanTheCapacity", 2,
                    [](std::string& b, const Layout& l) { PutU16(b, l.Triangles() + 3, 65527); },
                    ModelFileStatus::TooLarge, Memory},
        FailureCase{"MoreBreaklinesThanTheCapacity", 2,
                    [](std::string& b, const Layout& l) { PutU16(b, l.Breaklines() + 3, 40000); },
                    ModelFileStatus::TooLarge, Memory},
        FailureCase{"NaNCoordinate", 2,
                    [](std::string& b,
                       const Layout& l) { PutF64(b, l.Z() + 16, std::numeric_limits<double>::quiet_NaN()); },
                    ModelFileStatus::InvalidData, Management, "point 3: Z nan is beyond 1e+09"},
        // One flipped byte in an exponent: in range of a double, far out of any survey.
        FailureCase{"CoordinateBeyondTheLimit", 2,
                    [](std::string& b, const Layout& l) { PutF64(b, l.X() + 8, 2.26e13); },
                    ModelFileStatus::InvalidData, Management, "point 2: X 2.26e+13 is beyond 1e+09"},
        FailureCase{"InfiniteCoordinate", 2,
                    [](std::string& b,
                       const Layout& l) { PutF64(b, l.X(), -std::numeric_limits<double>::infinity()); },
                    ModelFileStatus::InvalidData, Management, "point 1: X -inf is beyond 1e+09"},
        FailureCase{"InfiniteCutFill", 3,
                    [](std::string& b,
                       const Layout&) { b = WithCutFill({1.5, std::numeric_limits<double>::infinity()}); },
                    ModelFileStatus::InvalidData, Management, "point 2: cut/fill inf is out of range"},
        FailureCase{"MoreCutFillValuesThanPoints", 3,
                    [](std::string& b, const Layout&) { b = WithCutFill(std::vector<double>(6, 1.0)); },
                    ModelFileStatus::InvalidData, Management, "6 cut/fill values for 5 points"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ModelFileTest, MissingFileIsAFileManagementError) {
  BuildBaseModel(model);
  EXPECT_FALSE(ReadModelFile(session, dir.path() / "NONE.MDL", 1, 1, ModelFileTypeMdl, 1));
  EXPECT_EQ(port.Texts(testing::FakePort::Kind::Error),
            std::vector<std::string>{std::string(Management) + "\r\n" + (dir.path() / "NONE.MDL").string() +
                                     ": No such file or directory"});
  EXPECT_EQ(model.PointCount, 0);
}

struct IndexCase {
  const char* name;
  std::function<void(std::string&, const Layout&)> set;
  bool accepted;
};

void PrintTo(const IndexCase& c, std::ostream* os) { *os << c.name; }

class StoredIndexTest : public ModelFileTest, public ::testing::WithParamInterface<IndexCase> {};

// Indices are checked against the file's own counts, so that the caller can renumber an
// appended surface without producing references outside it.
TEST_P(StoredIndexTest, MustLieWithinTheFilesOwnCounts) {
  std::string bytes = BaseModelBytes(ModelFileTypeMdl);
  GetParam().set(bytes, Layout{ModelFileTypeMdl});
  BuildBaseModel(model);
  const ModelFileStatus status = ReadBytes(model, bytes, ModelFileTypeMdl, 6, 5, 2);
  if (GetParam().accepted) {
    EXPECT_EQ(status, ModelFileStatus::Ok);
    EXPECT_EQ(model.PointCount, 10);
  } else {
    EXPECT_EQ(status, ModelFileStatus::InvalidData);
    EXPECT_EQ(model.PointCount, 5);
    EXPECT_EQ(model.TriangleCount, 4);
    EXPECT_EQ(model.BreaklineCount, 1);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Indices, StoredIndexTest,
    ::testing::Values(
        IndexCase{"BorderLinkToLastPoint",
                  [](std::string& b, const Layout& l) { PutU16(b, l.Border() + 8, 5); }, true},
        IndexCase{"BorderLinkPastLastPoint",
                  [](std::string& b, const Layout& l) { PutU16(b, l.Border(), 6); }, false},
        IndexCase{"CornerZero", [](std::string& b, const Layout& l) { PutU16(b, l.Corners() + 4, 0); },
                  false},
        IndexCase{"CornerPastLastPoint",
                  [](std::string& b, const Layout& l) { PutU16(b, l.Corners() + 22, 6); }, false},
        IndexCase{"NeighbourLastTriangle",
                  [](std::string& b, const Layout& l) { PutU16(b, l.Neighbours() + 4, 4); }, true},
        IndexCase{"NeighbourPastLastTriangle",
                  [](std::string& b, const Layout& l) { PutU16(b, l.Neighbours() + 4, 5); }, false},
        IndexCase{"BreaklineEndZero",
                  [](std::string& b, const Layout& l) { PutU16(b, l.Breaklines() + 5, 0); }, false},
        IndexCase{"BreaklineEndPastLastPoint",
                  [](std::string& b, const Layout& l) { PutU16(b, l.Breaklines() + 7, 6); }, false}),
    [](const auto& info) { return std::string(info.param.name); });

// Triangles whose indices are in range but do not form a surface: the model opens without them,
// with its points, border and breaklines, and says so; appended behind a surface, the first
// surface keeps its own.
struct TriangleFaultCase {
  const char* name;
  std::function<void(std::string&, const Layout&)> damage;
  const char* fault;  // empty: the triangles are sound and kept
};

void PrintTo(const TriangleFaultCase& c, std::ostream* os) { *os << c.name; }

class TriangleFaultTest : public ModelFileTest, public ::testing::WithParamInterface<TriangleFaultCase> {};

TEST_P(TriangleFaultTest, OpensUntriangulatedAndSaysSo) {
  const auto& c = GetParam();
  std::string bytes = BaseModelBytes(ModelFileTypeMdl);
  c.damage(bytes, Layout{ModelFileTypeMdl});
  const auto file = dir.path() / "SITE.MDL";
  test::WriteAll(file, bytes);
  const bool kept = std::string(c.fault).empty();

  ASSERT_TRUE(ReadModelFile(session, file, 1, 1, ModelFileTypeMdl, 1)) << port.Transcript();
  EXPECT_EQ(model.PointCount, 5);
  EXPECT_EQ(model.TriangleCount, kept ? 4 : 0);
  EXPECT_EQ(model.BreaklineCount, 1);
  EXPECT_EQ(model.BorderNext[4], 1);
  EXPECT_TRUE(CheckTopology(model).empty());
  if (kept) {
    EXPECT_TRUE(port.shown.empty()) << port.Transcript();
  } else {
    EXPECT_EQ(port.Texts(testing::FakePort::Kind::Warning),
              std::vector<std::string>{std::string(msg::TrianglesNotLoaded) + "\r\n(" + c.fault + ")"});
  }

  BuildBaseModel(model);
  ASSERT_EQ(ReadBytes(model, bytes, ModelFileTypeMdl, 6, 5, 2), ModelFileStatus::Ok);
  EXPECT_EQ(model.PointCount, 10);
  EXPECT_EQ(model.TriangleCount, kept ? 8 : 4);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, TriangleFaultTest,
    ::testing::Values(
        TriangleFaultCase{"Sound", [](std::string&, const Layout&) {}, ""},
        TriangleFaultCase{"NeighbourNotMutual", [](std::string& b, const Layout& l) { PutU16(b, l.Neighbours() + 2, 0); },
                          "triangle 4: neighbour 1 does not list it back"},
        TriangleFaultCase{"NeighbourSharesNoEdge",
                          [](std::string& b, const Layout& l) {
                            PutU16(b, l.Neighbours() + 2, 3);  // triangle 1 lists 3, 3 lists 1
                            PutU16(b, l.Neighbours() + 14, 1);
                          },
                          "triangle 1: neighbour 3 does not share an edge"},
        TriangleFaultCase{"RepeatedCorner", [](std::string& b, const Layout& l) { PutU16(b, l.Corners() + 8, 2); },
                          "triangle 2: corners 2, 2, 5 are not distinct"},
        // The centre point moved out over the edge 1-2: triangle 1 folds over its neighbours,
        // and every area and volume would count that ground twice.
        TriangleFaultCase{"FoldedOverAnEdge", [](std::string& b, const Layout& l) { PutF64(b, l.X() + 72, -5); },
                          "triangles 1 and 4: lie on the same side of edge 1-5 (folded)"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ModelFileTest, AppendCopiesIndicesUnchangedBehindTheFirstSurface) {
  BuildBaseModel(model);
  const ModelSnapshot base = ModelSnapshot::Of(model);
  ASSERT_EQ(ReadBytes(model, WithCutFill({0.25, -0.5}), ModelFileTypeMdv, 6, 5, 2), ModelFileStatus::Ok);

  EXPECT_EQ(model.PointCount, 10);
  EXPECT_EQ(model.TriangleCount, 8);
  EXPECT_EQ(model.BreaklineCount, 2);
  EXPECT_EQ(model.CutFillCount, 7);
  EXPECT_EQ(model.PointX[7], 10);
  EXPECT_EQ(model.BorderNext[6], 2);  // file numbering: the caller renumbers
  EXPECT_EQ(model.TriVertex[5], (TriangleCorners{1, 2, 5}));
  EXPECT_EQ(model.TriNeighbour[8], (TriangleNeighbours{3, 1, 0}));
  EXPECT_EQ(model.Breaklines[2].From, 2);
  EXPECT_EQ(model.GetPointLabel(10), "   5");
  EXPECT_EQ((std::vector(model.PointCutFill.begin() + 6, model.PointCutFill.begin() + 11)),
            (std::vector<double>{0.25, -0.5, 0, 0, 0}));
  EXPECT_EQ(model.Comment(), "Base surface");

  model.PointCount = base.points;
  model.TriangleCount = base.triangles;
  model.BreaklineCount = base.breaklineCount;
  model.CutFillCount = base.cutFillCount;
  EXPECT_EQ(ModelSnapshot::Of(model), base);
}

TEST_F(ModelFileTest, FailedAppendRestoresTheFirstSurfaceWithItsCutFillValuesAndComment) {
  BuildBaseModel(model);
  model.SetComment("First surface");
  const ModelSnapshot base = ModelSnapshot::Of(model);
  std::string truncated = BaseModelBytes(ModelFileTypeMdv);
  truncated.resize(Layout{ModelFileTypeMdv}.CutFill() + 4);

  EXPECT_EQ(ReadBytes(model, truncated, ModelFileTypeMdv, 6, 5, 2), ModelFileStatus::ReadError);
  EXPECT_EQ(ModelSnapshot::Of(model), base);
  EXPECT_EQ(model.CutFillCount, 2);
  EXPECT_EQ(model.Comment(), "First surface");
}

TEST_F(ModelFileTest, AppendBeyondThePointCapacityKeepsTheFirstSurface) {
  BuildBaseModel(model);
  model.PointCount = static_cast<std::uint16_t>(model.MaxPoints - 2);
  EXPECT_EQ(ReadBytes(model, BaseModelBytes(2), ModelFileTypeMdl,
                      static_cast<PointIndex>(model.PointCount + 1), 5, 2),
            ModelFileStatus::TooLarge);
  EXPECT_EQ(model.PointCount, model.MaxPoints - 2);
  EXPECT_EQ(model.TriangleCount, 4);
  EXPECT_EQ(model.CutFillCount, 2);
}

TEST_F(ModelFileTest, CutFillValuesSetTheirCountAndZeroTheRestOfTheLoadedPoints) {
  for (std::size_t i = 1; i <= 5; ++i) model.PointCutFill[i] = 9;  // left by an earlier model
  ASSERT_EQ(ReadBytes(model, WithCutFill({1, 2, 3}), ModelFileTypeMdv), ModelFileStatus::Ok);
  EXPECT_EQ(model.CutFillCount, 3);
  EXPECT_EQ((std::vector(model.PointCutFill.begin() + 1, model.PointCutFill.begin() + 6)),
            (std::vector<double>{1, 2, 3, 0, 0}));

  ASSERT_EQ(ReadBytes(model, WithCutFill({}), ModelFileTypeMdv), ModelFileStatus::Ok);
  EXPECT_EQ(model.CutFillCount, 0);
  EXPECT_EQ((std::vector(model.PointCutFill.begin() + 1, model.PointCutFill.begin() + 6)),
            std::vector<double>(5, 0.0));
}

TEST_F(ModelFileTest, OversizedCommentLengthIsClampedAndTrailingBytesIgnored) {
  std::string bytes = BaseModelBytes(ModelFileTypeMdl);
  bytes[5] = static_cast<char>(200);
  bytes += "trailing garbage";
  ASSERT_EQ(ReadBytes(model, bytes, ModelFileTypeMdl), ModelFileStatus::Ok);
  EXPECT_EQ(model.FieldComment[0], 78);
  EXPECT_EQ(model.Comment().substr(0, 12), "Base surface");
  EXPECT_EQ(model.PointCount, 5);
}

TEST_F(ModelFileTest, FirstIndicesThatLeaveAGapAreRefusedWithoutChange) {
  BuildBaseModel(model);
  const ModelSnapshot base = ModelSnapshot::Of(model);
  const std::array<std::array<std::uint16_t, 3>, 4> firsts{{{0, 1, 1}, {7, 5, 2}, {6, 9, 2}, {6, 5, 0}}};
  for (auto [p, t, b] : firsts) {
    EXPECT_EQ(ReadBytes(model, BaseModelBytes(2), ModelFileTypeMdl, p, t, b), ModelFileStatus::InvalidData);
    EXPECT_EQ(ModelSnapshot::Of(model), base);
  }
  SurfaceModel unallocated;
  EXPECT_EQ(ReadBytes(unallocated, BaseModelBytes(2), ModelFileTypeMdl), ModelFileStatus::InvalidData);
}

}  // namespace
}  // namespace terravue::model
