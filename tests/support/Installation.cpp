#include "Installation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "common/InstallDir.h"

namespace tavrel::test {

Installation::Installation(const QString& owner, int port) {
  if (!dir_.isValid()) throw TestServerError("cannot create a temporary installation folder");
  QDir(dir_.path()).mkpath("data/SGB_DADOS");
  database = TestServer::serverPath(dir_.path()) + "/data/SGB_DADOS/VOQDADOS.FDB";
  if (port == TestServer::port()) TestServer::createDatabase(database, owner);
  writeVoqIni(port);
  SetInstallDir(dir_.path() + "/");
}

QString Installation::folderTemplate() {
  const QString parent = TestServer::folder() + "/installs";
  if (!QDir().mkpath(parent))
    throw TestServerError(QString("cannot create %1").arg(parent).toStdString());
  return parent + "/install-XXXXXX";
}

Installation::~Installation() {
  SetInstallDir(QString());
}

void Installation::writeVoqIni(int port) {
  QFile ini(dir_.path() + "/voq.ini");
  if (!ini.open(QIODevice::WriteOnly))
    throw TestServerError(QString("cannot write %1").arg(ini.fileName()).toStdString());
  QString settings = QStringLiteral(
                         "[VOQ]\nServidor=localhost\nSO_Servidor=LINUX\nPORTACON=%1\n"
                         "Caminho_Base_Dados=%2/data/\n")
                         .arg(port)
                         .arg(TestServer::serverPath(dir_.path()));
  const QFileInfo client(TestServer::clientLibrary());
  if (!client.fileName().isEmpty()) {
    settings += QStringLiteral("CaminhoDLLCON=%1/\nDLLCON=%2\n")
                    .arg(client.absolutePath(), client.fileName());
  }
  ini.write(settings.toUtf8());
}

}  // namespace tavrel::test
