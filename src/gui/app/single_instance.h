#pragma once

#include <memory>

#include <QString>

class QLockFile;

namespace terravue::gui {

// One running copy per user: a lock file "TERRAVUE_RUNNING.lock" in the user's runtime folder.
// A lock left behind by a process that no longer runs is taken over.
class SingleInstance {
 public:
  enum class Result {
    Acquired,
    AlreadyRunning,
    Unavailable,  // the lock file could not be made at all; the program runs unguarded
  };

  SingleInstance();
  ~SingleInstance();  // releases the lock

  Result Acquire();
  void Release();

  static QString LockPath();

 private:
  std::unique_ptr<QLockFile> lock_;
};

}  // namespace terravue::gui
