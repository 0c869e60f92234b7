#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>

#include "common/file_problem.h"

// Files written whole or not at all, and files read only when they are plain files.
//
// Every file the program writes goes through ReplacingFile: the new content goes into a fresh
// file beside the target, created exclusively under a random name (so nothing planted there,
// a symbolic link least of all, is ever opened), and only when it is complete, checked and on
// the disk does it take the target's name. Any failure removes that file and leaves the
// target as it was.
namespace terravue {

// What a finished file must end with before it may replace the target: for content that another
// library made without reporting its errors (a PDF's "%%EOF").
struct ExpectedEnding {
  std::string_view text;
  std::size_t within = 0;  // the text must start within the last `within` bytes; 0: at the very end
};

class ReplacingFile {
 public:
  ReplacingFile() = default;
  // An uncommitted file is discarded.
  ~ReplacingFile();
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  // Creates the new file beside `target`. False, with the problem kept, when the target exists
  // and is no regular file (a folder, a device, a pipe) or the file cannot be created. A target
  // that is a symbolic link is followed: the file it names is replaced, the link stays.
  bool Create(const std::filesystem::path& target);
  bool IsOpen() const { return descriptor_ >= 0; }

  // Buffered; after the first failure nothing more is written and Commit fails.
  void Write(std::string_view bytes);

  // Puts the file in place: flushes, checks its size (or its ending), syncs it to the disk,
  // gives it the permissions of the file it replaces, renames it over the target and syncs the
  // folder. False, with the problem kept and the new file removed, when any step fails.
  bool Commit(ExpectedEnding ending = {});
  // Removes the new file; the target stays as it was.
  void Discard();

  const std::filesystem::path& Target() const { return target_; }
  const std::filesystem::path& TemporaryPath() const { return temporary_; }
  // Set once anything failed.
  const std::optional<FileProblem>& Problem() const { return problem_; }

 private:
  bool Flush();
  bool Fail(int error);
  bool Fail(std::string reason);
  bool CheckWritten(ExpectedEnding ending);

  std::filesystem::path target_;     // absolute, as given
  std::filesystem::path replaced_;   // the file that is replaced (a link's target)
  std::filesystem::path temporary_;  // the new file while it is written
  int descriptor_ = -1;
  std::string buffer_;
  std::uint64_t written_ = 0;
  std::optional<FileProblem> problem_;
};

// Writes `bytes` as the whole new content of `target` through a ReplacingFile; the problem
// when it could not.
std::optional<FileProblem> WriteWholeFile(const std::filesystem::path& target, std::string_view bytes);

// A scratch file without a name in a given folder: it holds a part of a file being written
// that must come after a part not yet known, and it disappears when closed, also when the
// program is killed. The first MemoryHeld bytes stay in memory and reach the disk only when
// more follow: most parts are far smaller, and going through the disk would write and read
// them once more.
class ScratchFile {
 public:
  ScratchFile() = default;
  ~ScratchFile();
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;

  // False, with the problem kept, when it cannot be made in `folder`.
  bool Create(const std::filesystem::path& folder);
  // Buffered, like ReplacingFile::Write.
  void Write(std::string_view bytes);
  // Appends everything written so far to `out`; false when reading it back failed (the
  // problem is kept here) or `out` failed.
  bool CopyTo(ReplacingFile& out);
  void Close();

  const std::optional<FileProblem>& Problem() const { return problem_; }

  static constexpr std::size_t MemoryHeld = std::size_t{64} << 20;

 private:
  bool Flush();
  void Fail(int error);

  std::filesystem::path folder_;
  int descriptor_ = -1;
  std::string buffer_;
  bool spilled_ = false;  // bytes went to the disk
  std::optional<FileProblem> problem_;
};

// Opens `file` for reading when it is a regular file (or a link to one); otherwise, or when
// it cannot be opened, the problem. Pipes and devices are refused: reading them could block
// for ever or never end.
std::optional<FileProblem> OpenRegularFile(const std::filesystem::path& file, std::ifstream& in);

}  // namespace terravue
