#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// The line a failed file operation adds to its message: which file, by its full path, and what
// the system said about it ("Permission denied", "No such file or directory").
namespace terravue {

// What went wrong with a file: which one, and why in the system's words.
struct FileProblem {
  std::filesystem::path path;  // absolute
  std::string reason;          // e.g. "No space left on device"
  // "PATH: REASON", the line that goes with a file message.
  std::string Line() const;
};

// A path as file messages name it: absolute and without "." or ".." steps; the path as given
// when that fails.
std::filesystem::path AbsolutePath(const std::filesystem::path& file);

// The same, as text.
std::string FullPath(const std::filesystem::path& file);

// "<full path>: <reason>", or the full path alone without a reason.
std::string FileProblemLine(const std::filesystem::path& file, std::string_view reason);

// The system's text for an errno value.
std::string SystemReason(int error);

// Why `file` cannot be opened for reading, asked of the system once more: a missing file or
// folder, no permission, a folder or a device where a file was expected. Empty when the file
// opens now.
std::string ReadFailureReason(const std::filesystem::path& file);

// The problem line of a file that could not be read, with the reason ReadFailureReason finds.
std::string ReadProblemLine(const std::filesystem::path& file);

}  // namespace terravue
