#include "common/file_problem.h"

#include <cerrno>
#include <fstream>
#include <system_error>

namespace terravue {

namespace fs = std::filesystem;

std::string FullPath(const fs::path& file) {
  std::error_code ec;
  const fs::path full = fs::absolute(file, ec);
  return ec ? file.string() : full.lexically_normal().string();
}

std::string FileProblemLine(const fs::path& file, std::string_view reason) {
  std::string line = FullPath(file);
  if (!reason.empty()) {
    line += ": ";
    line += reason;
  }
  return line;
}

std::string SystemReason(int error) { return std::generic_category().message(error); }

std::string ReadFailureReason(const fs::path& file) {
  std::error_code ec;
  const fs::file_status status = fs::status(file, ec);
  if (ec) return ec.message();
  if (fs::is_directory(status)) return SystemReason(EISDIR);
  // Opening a FIFO or a device to find out could block; such a thing is no data file anyway.
  if (!fs::is_regular_file(status)) return "Not a regular file";
  errno = 0;
  std::ifstream in(file, std::ios::binary);
  if (in.is_open()) return {};
  // The library opens through the system, which leaves its reason in errno.
  return SystemReason(errno != 0 ? errno : EIO);
}

std::string ReadProblemLine(const fs::path& file) { return FileProblemLine(file, ReadFailureReason(file)); }

}  // namespace terravue
