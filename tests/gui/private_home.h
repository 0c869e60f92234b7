#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// A home folder of the test's own, with the settings and runtime folders inside it, so that a
// test that starts the whole program neither reads nor writes the user's settings and lock.
inline std::unique_ptr<QTemporaryDir> MakePrivateHome() {
  auto home = std::make_unique<QTemporaryDir>();
  if (!home->isValid()) return home;
  qputenv("HOME", home->path().toUtf8());
  qputenv("XDG_CONFIG_HOME", home->filePath("config").toUtf8());
  QDir().mkpath(home->filePath("runtime"));
  QFile::setPermissions(home->filePath("runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  qputenv("XDG_RUNTIME_DIR", home->filePath("runtime").toUtf8());
  return home;
}
