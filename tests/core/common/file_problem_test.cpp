// The line naming a failed file and the system's reason.

#include "common/file_problem.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "support/temp_files.h"

namespace terravue {
namespace {

namespace fs = std::filesystem;
using testing::TempDirectory;

// Restores the working folder the test moved away from.
struct InFolder {
  explicit InFolder(const fs::path& folder) : previous(fs::current_path()) { fs::current_path(folder); }
  ~InFolder() { fs::current_path(previous); }
  fs::path previous;
};

TEST(FileProblem, NamesTheFileByItsFullPathWithTheSystemsReason) {
  TempDirectory dir;
  const InFolder here(dir.path());
  std::ofstream("SITE.ASC") << "1 2 3\n";
  fs::create_directory("FOLDER.ASC");
  ASSERT_EQ(mkfifo("PIPE.ASC", 0600), 0);

  struct Case {
    const char* name;
    const char* reason;
  };
  const Case cases[] = {
      {"SITE.ASC", ""},  // readable: nothing to say
      {"GONE.ASC", "No such file or directory"},
      {"NOWHERE/SITE.ASC", "No such file or directory"},
      {"FOLDER.ASC", "Is a directory"},
      {"PIPE.ASC", "Not a regular file"},  // found without opening it, which could block
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ReadFailureReason(c.name), c.reason);
    const std::string full = (dir.path() / c.name).string();
    EXPECT_EQ(ReadProblemLine(c.name), *c.reason ? full + ": " + c.reason : full);
  }
  EXPECT_EQ(FullPath("./A/../SITE.ASC"), (dir.path() / "SITE.ASC").string());
}

TEST(FileProblem, AFileWithoutReadPermissionSaysSo) {
  if (geteuid() == 0) GTEST_SKIP() << "the superuser reads every file";
  TempDirectory dir;
  const fs::path file = dir.path() / "LOCKED.MDL";
  std::ofstream(file) << "x";
  fs::permissions(file, fs::perms::none);
  EXPECT_EQ(ReadProblemLine(file), file.string() + ": Permission denied");
}

}  // namespace
}  // namespace terravue
