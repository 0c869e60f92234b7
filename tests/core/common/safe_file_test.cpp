#include "common/safe_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "support/file_size_limit.h"
#include "support/temp_files.h"

namespace terravue {
namespace {

namespace fs = std::filesystem;
using testing::ReadAll;

class SafeFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("terravue_safe_file_" + std::to_string(::getpid()) + "_" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  void Write(const fs::path& file, const std::string& text) { std::ofstream(file, std::ios::binary) << text; }
  // The names in the folder, so that a leftover temporary file shows.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path dir_;
};

TEST_F(SafeFileTest, ReplacesWholeAndKeepsThePermissions) {
  const fs::path file = dir_ / "OUT.DXF";
  Write(file, "previous");
  fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  ReplacingFile out;
  ASSERT_TRUE(out.Create(file));
  // Until the commit the target is untouched.
  out.Write(std::string(200000, 'x'));
  EXPECT_EQ(ReadAll(file), "previous");
  ASSERT_TRUE(out.Commit()) << out.Problem()->Line();
  EXPECT_EQ(ReadAll(file), std::string(200000, 'x'));
  EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(Names(), std::vector<std::string>{"OUT.DXF"});
}

// Things a file name may stand for that are no file to replace: refused with the reason, and
// left as they were.
struct NotAFileCase {
  const char* name;
  void (*make)(const fs::path&);
  const char* reason;
};

void PrintTo(const NotAFileCase& c, std::ostream* os) { *os << c.name; }

class NotAFileTest : public SafeFileTest, public ::testing::WithParamInterface<NotAFileCase> {};

TEST_P(NotAFileTest, IsRefusedAndLeftAlone) {
  const fs::path target = dir_ / "OUT";
  GetParam().make(target);
  const fs::file_type before = fs::symlink_status(target).type();
  const std::optional<FileProblem> problem = WriteWholeFile(target, "new");
  ASSERT_TRUE(problem);
  EXPECT_EQ(problem->Line(), target.string() + ": " + GetParam().reason);
  EXPECT_EQ(fs::symlink_status(target).type(), before);
  EXPECT_EQ(Names(), std::vector<std::string>{"OUT"});
}

INSTANTIATE_TEST_SUITE_P(
    Targets, NotAFileTest,
    ::testing::Values(
        NotAFileCase{"Folder", [](const fs::path& p) { fs::create_directory(p); }, "Is a directory"},
        NotAFileCase{"Fifo", [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }, "Not a regular file"},
        NotAFileCase{"LinkToADevice", [](const fs::path& p) { fs::create_symlink("/dev/null", p); },
                     "Not a regular file"},
        NotAFileCase{"LinkToNothing", [](const fs::path& p) { fs::create_symlink(p.parent_path() / "gone", p); },
                     "No such file or directory"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SafeFileTest, NeverWritesThroughALinkPlantedBesideTheTarget) {
  // Links at the names of fixed temporary files point at a file that must not change.
  const fs::path victim = dir_ / "VICTIM";
  Write(victim, "keep");
  for (const char* planted : {"OUT.MDL.tvtmp", "OUT.MDL.part", "OUT.MDL.tmp~", "OUT.MDL.tmp"})
    fs::create_symlink(victim, dir_ / planted);
  ASSERT_FALSE(WriteWholeFile(dir_ / "OUT.MDL", "model"));
  EXPECT_EQ(ReadAll(victim), "keep");
  EXPECT_EQ(ReadAll(dir_ / "OUT.MDL"), "model");

  // A target that is itself a link: the file it names is replaced, the link stays a link.
  fs::create_symlink(victim, dir_ / "LINK");
  ASSERT_FALSE(WriteWholeFile(dir_ / "LINK", "through"));
  EXPECT_TRUE(fs::is_symlink(dir_ / "LINK"));
  EXPECT_EQ(ReadAll(victim), "through");
}

TEST_F(SafeFileTest, AFullDiskLeavesThePreviousFileAndNothingBeside) {
  const fs::path file = dir_ / "SITE.MDL";
  Write(file, "previous");
  // Written in one go, and streamed in pieces past the buffer.
  const std::string whole = testing::WithFileSizeLimit(1000, [&] {
    const auto problem = WriteWholeFile(file, std::string(5000, 'm'));
    return problem ? problem->Line() : "written";
  });
  EXPECT_EQ(whole, file.string() + ": File too large");
  const std::string streamed = testing::WithFileSizeLimit(100000, [&] {
    ReplacingFile out;
    if (!out.Create(file)) return out.Problem()->Line();
    for (int i = 0; i < 10000; ++i) out.Write("0123456789abcdef\r\n");
    return out.Commit() ? std::string("written") : out.Problem()->Line();
  });
  EXPECT_EQ(streamed, file.string() + ": File too large");
  EXPECT_EQ(ReadAll(file), "previous");
  EXPECT_EQ(Names(), std::vector<std::string>{"SITE.MDL"});
}

TEST_F(SafeFileTest, ContentMadeByAnotherLibraryIsCheckedForItsEnd) {
  const fs::path file = dir_ / "MAP.pdf";
  Write(file, "previous");
  for (const std::string& written : {std::string("%PDF-1.4 ... cut short"), std::string()}) {
    ReplacingFile out;
    ASSERT_TRUE(out.Create(file));
    out.Write(written);
    EXPECT_FALSE(out.Commit({"%%EOF", 32}));
    EXPECT_NE(out.Problem()->reason.find("incomplete"), std::string::npos) << out.Problem()->reason;
  }
  EXPECT_EQ(ReadAll(file), "previous");
  ReplacingFile out;
  ASSERT_TRUE(out.Create(file));
  const std::string pdf = "%PDF-1.4 ...\n%%EOF\n";
  out.Write(pdf);
  EXPECT_TRUE(out.Commit({"%%EOF", 32}));
  EXPECT_EQ(ReadAll(file), pdf);
  EXPECT_EQ(Names(), std::vector<std::string>{"MAP.pdf"});
}

TEST_F(SafeFileTest, ConcurrentWritersNeverMixTheirFiles) {
  // Two writers replace the same file over and over while a reader looks at it: every look
  // sees one writer's file whole.
  const fs::path file = dir_ / "SHARED.DXF";
  const std::string a(300000, 'a'), b(200000, 'b');
  Write(file, a);
  std::atomic<bool> done{false};
  std::atomic<int> failures{0};
  auto writer = [&](const std::string& content) {
    for (int i = 0; i < 30; ++i)
      if (WriteWholeFile(file, content)) ++failures;
  };
  std::thread first(writer, a), second(writer, b);
  int mixed = 0;
  std::thread reader([&] {
    while (!done) {
      const std::string seen = ReadAll(file);
      if (seen != a && seen != b) ++mixed;
    }
  });
  first.join();
  second.join();
  done = true;
  reader.join();
  EXPECT_EQ(failures, 0);
  EXPECT_EQ(mixed, 0);
  EXPECT_EQ(Names(), std::vector<std::string>{"SHARED.DXF"});
}

// A scratch part is held in memory up to a limit and goes through the disk beyond it; either way
// it comes back whole and in order after what was written before it.
TEST_F(SafeFileTest, AScratchPartComesBackInOrderFromMemoryAndFromDisk) {
  for (const std::size_t size : {std::size_t{1000}, ScratchFile::MemoryHeld + 300000}) {
    std::string part;
    part.reserve(size);
    for (std::size_t i = 0; part.size() < size; ++i) part += std::to_string(i) + ',';
    ReplacingFile out;
    ASSERT_TRUE(out.Create(dir_ / "OUT.DXF"));
    ScratchFile scratch;
    ASSERT_TRUE(scratch.Create(dir_));
    for (std::size_t at = 0; at < part.size(); at += 7919) scratch.Write(std::string_view(part).substr(at, 7919));
    out.Write("head,");
    ASSERT_TRUE(scratch.CopyTo(out));
    scratch.Close();
    ASSERT_TRUE(out.Commit()) << out.Problem()->Line();
    EXPECT_TRUE(ReadAll(dir_ / "OUT.DXF") == "head," + part) << size;
    EXPECT_EQ(Names(), std::vector<std::string>{"OUT.DXF"});
  }
}

TEST_F(SafeFileTest, ReadingTakesRegularFilesOnly) {
  Write(dir_ / "POINTS.ASC", "1 2 3\n");
  ASSERT_EQ(::mkfifo((dir_ / "PIPE").c_str(), 0600), 0);
  fs::create_directory(dir_ / "FOLDER");
  std::ifstream in;
  EXPECT_FALSE(OpenRegularFile(dir_ / "POINTS.ASC", in));
  const struct {
    fs::path file;
    const char* reason;
  } refused[] = {{dir_ / "PIPE", "Not a regular file"},
                 {"/dev/zero", "Not a regular file"},
                 {dir_ / "FOLDER", "Is a directory"},
                 {dir_ / "MISSING", "No such file or directory"}};
  for (const auto& r : refused) {
    std::ifstream other;
    const auto problem = OpenRegularFile(r.file, other);
    ASSERT_TRUE(problem) << r.file;
    EXPECT_EQ(problem->Line(), r.file.string() + ": " + r.reason);
    EXPECT_FALSE(other.is_open());
  }
}

}  // namespace
}  // namespace terravue
