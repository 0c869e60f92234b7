#include "app/single_instance.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

#include "app/qt_text.h"
#include "common/messages.h"

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace terravue::gui {

SingleInstance::SingleInstance() = default;
SingleInstance::~SingleInstance() { Release(); }

QString SingleInstance::LockPath() {
  const QString name = FromUtf8(msg::InstanceMarker);
  const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (!runtime.isEmpty()) return runtime + QLatin1Char('/') + name + QStringLiteral(".lock");
  // The shared temporary folder serves every user: the marker names its owner.
  QString owner;
#ifdef Q_OS_UNIX
  owner = QLatin1Char('-') + QString::number(::getuid());
#endif
  return QDir::tempPath() + QLatin1Char('/') + name + owner + QStringLiteral(".lock");
}

SingleInstance::Result SingleInstance::Acquire() {
  if (lock_ && lock_->isLocked()) return Result::Acquired;
  lock_ = std::make_unique<QLockFile>(LockPath());
  // Staleness by owner only: a lock is stale when its process has ended, however old it is.
  lock_->setStaleLockTime(0);
  if (lock_->tryLock(0)) return Result::Acquired;
  return lock_->error() == QLockFile::LockFailedError ? Result::AlreadyRunning
                                                      : Result::Unavailable;
}

void SingleInstance::Release() {
  if (lock_) lock_->unlock();
  lock_.reset();
}

}  // namespace terravue::gui
