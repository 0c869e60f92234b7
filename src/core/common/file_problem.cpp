#include "common/file_problem.h"

#include <fstream>
#include <optional>
#include <system_error>

#include "common/safe_file.h"

namespace terravue {

namespace fs = std::filesystem;

std::string FileProblem::Line() const { return FileProblemLine(path, reason); }

fs::path AbsolutePath(const fs::path& file) {
  std::error_code ec;
  const fs::path absolute = fs::absolute(file, ec);
  return ec ? file : absolute.lexically_normal();
}

std::string FullPath(const fs::path& file) { return AbsolutePath(file).string(); }

std::string FileProblemLine(const fs::path& file, std::string_view reason) {
  std::string line = FullPath(file);
  if (!reason.empty()) {
    line += ": ";
    line += reason;
  }
  return line;
}

std::string SystemReason(int error) { return std::generic_category().message(error); }

// The same test every read makes before it opens a file (OpenRegularFile).
std::string ReadFailureReason(const fs::path& file) {
  std::ifstream in;
  const std::optional<FileProblem> problem = OpenRegularFile(file, in);
  return problem ? problem->reason : std::string();
}

std::string ReadProblemLine(const fs::path& file) { return FileProblemLine(file, ReadFailureReason(file)); }

}  // namespace terravue
