#include "common/InstallDir.h"

#include <QCoreApplication>
#include <QDir>

namespace {
QString overridden;

QString withSeparator(const QString& dir) {
  return dir.endsWith(u'/') ? dir : dir + u'/';
}
}  // namespace

QString InstallDir() {
  return withSeparator(overridden.isEmpty() ? QCoreApplication::applicationDirPath() : overridden);
}

void SetInstallDir(QString dir) {
  overridden = QDir::fromNativeSeparators(dir);
}
