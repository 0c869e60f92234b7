#include "common/safe_file.h"

#include <algorithm>
#include <cerrno>
#include <random>
#include <system_error>
#include <vector>

// The few system calls that standard C++ does not offer: creating a file exclusively with a
// descriptor to sync, syncing it and its folder, and reading back what was written. They are
// kept in this file and nowhere else in the engine.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace terravue {
namespace {

namespace fs = std::filesystem;

// Writes are gathered into blocks of this size before they reach the system.
constexpr std::size_t BlockSize = std::size_t{1} << 16;
// Fresh names tried before giving up; each is random, so a clash is already rare.
constexpr int NameAttempts = 16;

constexpr std::string_view NotRegularReason = "Not a regular file";

// ".tmp-" and eight hexadecimal digits from the system's random source.
std::string RandomSuffix() {
  std::random_device device;
  std::uniform_int_distribution<unsigned> digit(0, 15);
  std::string suffix = ".tmp-";
  for (int i = 0; i < 8; ++i) suffix += "0123456789abcdef"[digit(device)];
  return suffix;
}

// Creates `base` + a random suffix exclusively: O_EXCL never opens anything already there,
// a symbolic link included. Returns the descriptor, or -1 with errno set.
int CreateExclusive(const fs::path& base, fs::path& created) {
  for (int attempt = 0; attempt < NameAttempts; ++attempt) {
    fs::path candidate = base;
    candidate += RandomSuffix();
    const int fd = ::open(candidate.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0) {
      created = candidate;
      return fd;
    }
    if (errno != EEXIST) return -1;
  }
  errno = EEXIST;
  return -1;
}

// Writes all of `bytes`; 0, or the errno of the failure.
int WriteAll(int fd, std::string_view bytes) {
  const char* data = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, data, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (n == 0) return EIO;
    data += n;
    left -= static_cast<std::size_t>(n);
  }
  return 0;
}

// Gathers `bytes` in `buffer`, writing it out a block at a time (a large piece goes straight
// through); 0, or the errno of a failed write.
int BufferedWrite(int fd, std::string& buffer, std::string_view bytes) {
  if (buffer.size() + bytes.size() <= BlockSize) {
    buffer.append(bytes);
    return 0;
  }
  const int error = WriteAll(fd, buffer);
  buffer.clear();
  if (error != 0) return error;
  if (bytes.size() >= BlockSize) return WriteAll(fd, bytes);
  buffer.append(bytes);
  return 0;
}

// Reads `size` bytes at `offset`; 0, or the errno of the failure.
int ReadAt(int fd, char* data, std::size_t size, std::uint64_t offset) {
  while (size > 0) {
    const ssize_t n = ::pread(fd, data, size, static_cast<off_t>(offset));
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (n == 0) return EIO;  // the file is shorter than it said
    data += n;
    size -= static_cast<std::size_t>(n);
    offset += static_cast<std::uint64_t>(n);
  }
  return 0;
}

// After a rename the folder's entry must reach the disk too. The new file is in place by then,
// so a failure here is no reason to report the write as failed.
void SyncFolder(const fs::path& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// ReplacingFile

ReplacingFile::~ReplacingFile() { Discard(); }

bool ReplacingFile::Create(const fs::path& target) {
  Discard();
  problem_.reset();
  buffer_.clear();
  written_ = 0;
  target_ = AbsolutePath(target);
  replaced_ = target_;

  std::error_code ec;
  const fs::file_status link = fs::symlink_status(target_, ec);
  if (ec && ec != std::errc::no_such_file_or_directory) return Fail(ec.value());
  if (fs::is_symlink(link)) {
    // A link is followed to the file it names, which is replaced in its own folder; a link
    // that leads nowhere is refused rather than replaced.
    replaced_ = fs::canonical(target_, ec);
    if (ec) return Fail(ec.value());
  }
  const fs::file_status existing = fs::status(replaced_, ec);
  if (fs::is_directory(existing)) return Fail(EISDIR);
  if (fs::exists(existing) && !fs::is_regular_file(existing)) return Fail(std::string(NotRegularReason));

  descriptor_ = CreateExclusive(replaced_, temporary_);
  if (descriptor_ < 0) return Fail(errno);
  buffer_.reserve(BlockSize);
  return true;
}

void ReplacingFile::Write(std::string_view bytes) {
  if (descriptor_ < 0 || problem_) return;
  written_ += bytes.size();
  if (const int error = BufferedWrite(descriptor_, buffer_, bytes)) Fail(error);
}

bool ReplacingFile::Flush() {
  if (buffer_.empty()) return true;
  const int error = WriteAll(descriptor_, buffer_);
  buffer_.clear();
  return error == 0 || Fail(error);
}

bool ReplacingFile::CheckWritten(ExpectedEnding ending) {
  struct stat written {};
  if (::fstat(descriptor_, &written) != 0) return Fail(errno);
  const auto size = static_cast<std::uint64_t>(written.st_size);
  if (size != written_)
    return Fail("the file holds " + std::to_string(size) + " of the " + std::to_string(written_) +
                " bytes written");
  if (ending.text.empty()) return true;

  const std::size_t window = std::max(ending.within, ending.text.size());
  const std::size_t tail = static_cast<std::size_t>(std::min<std::uint64_t>(window, size));
  std::string last(tail, '\0');
  if (const int error = ReadAt(descriptor_, last.data(), tail, size - tail)) return Fail(error);
  const bool found = ending.within == 0 ? last.ends_with(ending.text) : last.find(ending.text) != std::string::npos;
  if (!found) return Fail("the file is incomplete (" + std::to_string(size) + " bytes, without its end)");
  return true;
}

bool ReplacingFile::Commit(ExpectedEnding ending) {
  if (descriptor_ < 0) {
    if (!problem_) problem_ = FileProblem{target_, SystemReason(EBADF)};
    return false;
  }
  if (problem_ || !Flush() || !CheckWritten(ending)) {
    Discard();
    return false;
  }
  if (::fsync(descriptor_) != 0) return Fail(errno);
  // A replaced file keeps its permissions.
  std::error_code ec;
  const fs::file_status previous = fs::status(replaced_, ec);
  if (!ec && fs::is_regular_file(previous)) ::fchmod(descriptor_, static_cast<mode_t>(previous.permissions()));
  const int fd = descriptor_;
  descriptor_ = -1;
  if (::close(fd) != 0) return Fail(errno);
  if (::rename(temporary_.c_str(), replaced_.c_str()) != 0) return Fail(errno);
  temporary_.clear();
  SyncFolder(replaced_.parent_path());
  return true;
}

void ReplacingFile::Discard() {
  if (descriptor_ >= 0) ::close(descriptor_);
  descriptor_ = -1;
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
  buffer_.clear();
}

bool ReplacingFile::Fail(int error) { return Fail(SystemReason(error)); }

bool ReplacingFile::Fail(std::string reason) {
  // The first problem is the one the user needs; what follows from it adds nothing.
  if (!problem_) problem_ = FileProblem{target_, std::move(reason)};
  Discard();
  return false;
}

std::optional<FileProblem> WriteWholeFile(const fs::path& target, std::string_view bytes) {
  ReplacingFile file;
  if (file.Create(target)) {
    file.Write(bytes);
    if (file.Commit()) return std::nullopt;
  }
  return file.Problem();
}

// ---------------------------------------------------------------------------------------------
// ScratchFile

ScratchFile::~ScratchFile() { Close(); }

bool ScratchFile::Create(const fs::path& folder) {
  Close();
  problem_.reset();
  folder_ = AbsolutePath(folder);
  fs::path created;
  descriptor_ = CreateExclusive(folder_ / ".terravue-scratch", created);
  if (descriptor_ < 0) {
    Fail(errno);
    return false;
  }
  // Without a name the file is the descriptor's alone: nothing is left behind however the
  // program ends.
  ::unlink(created.c_str());
  buffer_.reserve(BlockSize);
  return true;
}

void ScratchFile::Write(std::string_view bytes) {
  if (descriptor_ < 0) return;
  if (buffer_.size() + bytes.size() <= MemoryHeld) {
    buffer_.append(bytes);
    return;
  }
  spilled_ = true;
  if (const int error = BufferedWrite(descriptor_, buffer_, bytes)) Fail(error);
}

bool ScratchFile::Flush() {
  if (buffer_.empty()) return true;
  const int error = WriteAll(descriptor_, buffer_);
  buffer_.clear();
  if (error == 0) return true;
  Fail(error);
  return false;
}

bool ScratchFile::CopyTo(ReplacingFile& out) {
  if (descriptor_ < 0) return false;
  if (!spilled_) {
    out.Write(buffer_);
    return !out.Problem();
  }
  if (!Flush()) return false;
  struct stat held {};
  if (::fstat(descriptor_, &held) != 0) {
    Fail(errno);
    return false;
  }
  const auto size = static_cast<std::uint64_t>(held.st_size);
  std::vector<char> block(BlockSize);
  for (std::uint64_t offset = 0; offset < size && !out.Problem();) {
    const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(BlockSize, size - offset));
    if (const int error = ReadAt(descriptor_, block.data(), n, offset)) {
      Fail(error);
      return false;
    }
    out.Write(std::string_view(block.data(), n));
    offset += n;
  }
  return !out.Problem();
}

void ScratchFile::Close() {
  if (descriptor_ >= 0) ::close(descriptor_);
  descriptor_ = -1;
  spilled_ = false;
  // The memory goes back at once; a scratch part may have been large.
  std::string().swap(buffer_);
}

void ScratchFile::Fail(int error) {
  if (!problem_) problem_ = FileProblem{folder_, SystemReason(error)};
  Close();
}

// ---------------------------------------------------------------------------------------------
// Reading

std::optional<FileProblem> OpenRegularFile(const fs::path& file, std::ifstream& in) {
  const fs::path shown = AbsolutePath(file);
  std::error_code ec;
  const fs::file_status status = fs::status(file, ec);
  if (ec) return FileProblem{shown, SystemReason(ec.value())};
  if (fs::is_directory(status)) return FileProblem{shown, SystemReason(EISDIR)};
  if (!fs::is_regular_file(status)) return FileProblem{shown, std::string(NotRegularReason)};
  errno = 0;
  in.open(file, std::ios::binary);
  if (!in.is_open()) return FileProblem{shown, SystemReason(errno != 0 ? errno : EACCES)};
  return std::nullopt;
}

}  // namespace terravue
