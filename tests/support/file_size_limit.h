#pragma once

// A full disk for one piece of work: it runs in a child process whose files cannot grow past a
// given size.

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <exception>
#include <functional>
#include <string>

namespace terravue::testing {

// Runs `work` in a child process in which no file can grow beyond `bytes`, as if the disk were
// full there. The child ignores SIGXFSZ, so a write past the limit fails with EFBIG ("File too
// large") instead of ending it. Returns what `work` returned, or how the child ended when it
// did not return.
inline std::string WithFileSizeLimit(rlim_t bytes, const std::function<std::string()>& work) {
  int fds[2];
  if (::pipe(fds) != 0) return "no pipe";
  const pid_t pid = ::fork();
  if (pid < 0) return "no child";
  if (pid == 0) {
    ::close(fds[0]);
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{bytes, bytes};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    // Nothing may leave the child but through the pipe: an exception would run the rest of
    // the tests here, under the limit.
    std::string result;
    try {
      result = work();
    } catch (const std::exception& e) {
      result = std::string("exception: ") + e.what();
    } catch (...) {
      result = "exception";
    }
    const char* data = result.data();
    std::size_t left = result.size();
    while (left > 0) {
      const ssize_t n = ::write(fds[1], data, left);
      if (n <= 0) break;
      data += n;
      left -= static_cast<std::size_t>(n);
    }
    // No test framework teardown in the child.
    ::_exit(0);
  }
  ::close(fds[1]);
  std::string result;
  char block[4096];
  for (ssize_t n; (n = ::read(fds[0], block, sizeof block)) > 0;) result.append(block, static_cast<std::size_t>(n));
  ::close(fds[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (!WIFEXITED(status)) return "child ended by signal " + std::to_string(WTERMSIG(status));
  return result;
}

}  // namespace terravue::testing
