#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "Installation.h"
#include "RunningProgram.h"

class TFTavrel;
class Tdm;

namespace tavrel::test {

// A fresh database on the private server and the program running on it for the login
// "operador" (clock at 15/03/2019), with a folder for campaign files and the imports run as the
// operator runs them: path typed, "Importar" pressed.
class ImportSession : public ::testing::Test {
 protected:
  void SetUp() override;

  TFTavrel& window() { return program.window(); }
  Tdm& module() { return program.module(); }

  // Writes a campaign file into the folder; its path.
  QString file(const QString& name, const QByteArray& bytes);
  void run(const QString& path);

  // Columns of the table's rows ordered by COD_CAM, read by isql-fb; see TestServer::values.
  QStringList rows(const QString& columns, const QString& where = "1 = 1");
  // The COD_CAM of every row the write cache holds, ascending; empty while it is closed.
  QStringList cachedCodes();

  Installation install;
  RunningProgram program;
  QTemporaryDir files;
};

}  // namespace tavrel::test
