#include "common/InstallDir.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

TEST(InstallDir, IsTheExecutablesFolderWithATrailingSeparator) {
  int argc = 1;
  char name[] = "unit_tests";
  char* argv[] = {name, nullptr};
  const QCoreApplication app(argc, argv);
  SetInstallDir("");
  const QString dir = InstallDir();
  EXPECT_TRUE(dir.endsWith(u'/')) << dir.toStdString();
  EXPECT_TRUE(
      QFileInfo(dir + QFileInfo(QCoreApplication::applicationFilePath()).fileName()).isFile())
      << dir.toStdString();
}

TEST(InstallDir, CanBeSetForTests) {
  const struct {
    QString set, dir;
  } cases[] = {{"/tmp/x", "/tmp/x/"}, {"/tmp/x/", "/tmp/x/"}, {"rel", "rel/"}};
  for (const auto& c : cases) {
    SetInstallDir(c.set);
    EXPECT_EQ(InstallDir(), c.dir) << c.set.toStdString();
  }
  SetInstallDir("");
}

}  // namespace
