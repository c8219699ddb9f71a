#include "TestServer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <atomic>

#include "LinuxTool.h"

namespace tavrel::test {
namespace {

constexpr int kToolTimeoutMs = 120'000;
const char kIsql[] = "/usr/bin/isql-fb";

QString fromEnv(const char* name, const char* fallback) {
  const QString value = qEnvironmentVariable(name);
  return value.isEmpty() ? QString::fromUtf8(fallback) : value;
}

IsqlResult runTool(const QString& program, const QStringList& args, const QByteArray& input,
                   const QProcessEnvironment& environment = TestServer::toolEnvironment()) {
  const LinuxToolResult run =
      runLinuxTool(program, args, input, QProcess::MergedChannels, environment, kToolTimeoutMs);
  return {run.exitCode, QString::fromUtf8(run.output)};
}

QString testName() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  QString name = info ? QString("%1.%2").arg(info->test_suite_name(), info->name())
                      : QString("suite-%1").arg(QCoreApplication::applicationPid());
  // Parameterised names hold '/', which would make folders.
  name.replace(QRegularExpression("[^A-Za-z0-9_.-]"), "_");
  return name;
}

}  // namespace

QString TestServer::folder() {
  return fromEnv("TAVREL_FB_DIR", TAVREL_DEFAULT_FB_DIR);
}

QString TestServer::sourceDir() {
  return fromEnv("TAVREL_SOURCE_DIR", TAVREL_DEFAULT_SOURCE_DIR);
}

int TestServer::port() {
  QFile file(folder() + "/port");
  if (!file.open(QIODevice::ReadOnly))
    throw TestServerError(QString("no private Firebird server: %1 is missing (run "
                                  "scripts/fbserver.sh start %2, or the tests through ctest)")
                              .arg(file.fileName(), folder())
                              .toStdString());
  bool ok = false;
  const int value = QString::fromLatin1(file.readAll()).trimmed().toInt(&ok);
  if (!ok || value <= 0)
    throw TestServerError(QString("%1 holds no port").arg(file.fileName()).toStdString());
  return value;
}

QString TestServer::host() {
  return QString("localhost/%1").arg(port());
}

QString TestServer::connectString(const QString& path) {
  return host() + ":" + serverPath(path);
}

QString TestServer::serverPath(const QString& path) {
#ifdef Q_OS_WIN
  static const QRegularExpression wineRoot("^[Zz]:(?=/)");
  return QDir::fromNativeSeparators(path).remove(wineRoot);
#else
  return path;
#endif
}

QVersionNumber TestServer::serverVersion() {
  QFile file(folder() + "/version");
  if (!file.open(QIODevice::ReadOnly))
    throw TestServerError(
        QString("no private Firebird server: %1 is missing").arg(file.fileName()).toStdString());
  const QString text = QString::fromLatin1(file.readAll()).trimmed();
  const QVersionNumber value = QVersionNumber::fromString(text);
  if (value.segmentCount() != 2 || value.toString() != text)
    throw TestServerError(
        QString("%1 holds no major.minor version: %2").arg(file.fileName(), text).toStdString());
  return value;
}

QString TestServer::localTimestamp() {
  return serverVersion() < QVersionNumber(2, 5) ? "CURRENT_TIMESTAMP" : "LOCALTIMESTAMP";
}

QString TestServer::clientLibrary() {
  const QString library = qEnvironmentVariable("TAVREL_FB_CLIENT");
  // The program would load the default client instead of a missing one, and pass for it.
  if (!library.isEmpty() && !QFileInfo(library).isFile())
    throw TestServerError(QString("no client library at %1").arg(library).toStdString());
  return library;
}

QString TestServer::clientVersion() {
  const QString file = clientLibrary().isEmpty() ? QString("libfbclient.so.2") : clientLibrary();
  QLibrary library(file);
  const auto version = reinterpret_cast<void (*)(char*)>(library.resolve("isc_get_client_version"));
  if (version == nullptr)
    throw TestServerError(
        QString("cannot ask %1 its version: %2").arg(file, library.errorString()).toStdString());
  char text[256] = {};
  version(text);
  return QString::fromLatin1(text);
}

QVersionNumber TestServer::clientRelease() {
  // "LI-V2.5.9.27139 Firebird 2.5": the product's release after its name.
  const QString text = clientVersion();
  const QVersionNumber release = QVersionNumber::fromString(text.section(' ', -1));
  if (release.segmentCount() != 2 || !text.section(' ', -2, -2).startsWith("Firebird"))
    throw TestServerError(
        QString("cannot read the client's release from '%1'").arg(text).toStdString());
  return release;
}

QString TestServer::password(const QString& user) {
  const QString name = user.toUpper();
  if (name == "SYSDBA") return "tulipvane";
  if (name == "QEBVOQ") return "bromel";
  throw TestServerError(QString("no password known for %1").arg(user).toStdString());
}

void TestServer::setPassword(const QString& user, const QString& newPassword) {
  const QVersionNumber version = serverVersion();
  if (version.majorVersion() >= 3) {
    const QString any = createFreshDatabase();
    isql(any, QStringLiteral("ALTER USER %1 PASSWORD '%2' USING PLUGIN Srp;\n"
                             "ALTER USER %1 PASSWORD '%2' USING PLUGIN Legacy_UserManager;\n")
                  .arg(user.toUpper(), newPassword));
    return;
  }
  // Firebird 2.1 has no ALTER USER; gsec of the server's own tree goes through the server.
  const QString tree = QString("%1/firebird%2%3")
                           .arg(folder())
                           .arg(version.majorVersion())
                           .arg(version.minorVersion());
  QProcessEnvironment environment = toolEnvironment();
  environment.insert("FIREBIRD", tree);
  const IsqlResult gsec = runTool(tree + "/bin/gsec",
                                  {"-user", "SYSDBA", "-password", password("SYSDBA"), "-database",
                                   QString("%1:%2/security2.fdb").arg(host(), serverPath(tree)), "-modify",
                                   user.toUpper(), "-pw", newPassword},
                                  QByteArray(), environment);
  const QString output = gsec.output.trimmed();
  if (gsec.exitCode != 0 ||
      !(output.isEmpty() || output.startsWith("Warning - maximum 8 significant bytes")))
    throw TestServerError(QString("gsec of %1 could not set the password of %2:\n%3")
                              .arg(tree, user, output)
                              .toStdString());
}

QProcessEnvironment TestServer::toolEnvironment() {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove("FIREBIRD");
  return environment;
}

QString TestServer::freshDatabasePath() {
  static std::atomic<int> counter{0};
  const QString dir = folder() + "/dbs";
  if (!QDir().mkpath(dir))
    throw TestServerError(QString("cannot create %1").arg(dir).toStdString());
  const QString path = QString("%1/%2-%3.fdb").arg(dir, testName()).arg(++counter);
  if (QFile::exists(path) && !QFile::remove(path))
    throw TestServerError(QString("cannot remove the old %1").arg(path).toStdString());
  return path;
}

QString TestServer::createDatabase(const QString& path, const QString& owner) {
  const QString script = sourceDir() + "/scripts/mkdb.sh";
  const IsqlResult result =
      runTool("bash", {script, QString::number(port()), serverPath(path), owner}, QByteArray());
  if (result.exitCode != 0)
    throw TestServerError(QString("%1 failed (exit %2):\n%3")
                              .arg(script)
                              .arg(result.exitCode)
                              .arg(result.output)
                              .toStdString());
  return path;
}

QString TestServer::createFreshDatabase(const QString& owner) {
  return createDatabase(freshDatabasePath(), owner);
}

IsqlResult TestServer::runIsql(const QString& path, const QString& sql, const QString& user,
                               const QString& charset) {
  return runTool(kIsql,
                 {"-q", "-ch", charset, "-user", user.toUpper(), "-password", password(user),
                  connectString(path)},
                 sql.toUtf8());
}

QString TestServer::isql(const QString& path, const QString& sql, const QString& user,
                         const QString& charset) {
  const IsqlResult result = runIsql(path, sql, user, charset);
  if (result.exitCode != 0 || result.output.contains("Statement failed"))
    throw TestServerError(QString("isql-fb on %1 failed (exit %2):\n%3\nSQL:\n%4")
                              .arg(path)
                              .arg(result.exitCode)
                              .arg(result.output, sql)
                              .toStdString());
  return result.output;
}

QStringList TestServer::values(const QString& path, const QString& select, const QString& user) {
  // In list mode every line is a column name padded to 32 characters, then the value.
  constexpr int kNameWidth = 32;
  QString statement = select.trimmed();
  if (!statement.endsWith(';')) statement += ';';
  const QString output = isql(path, "set list on;\n" + statement + "\n", user);
  QStringList result;
  for (const QString& line : output.split('\n')) {
    QString row = line;
    if (row.endsWith('\r')) row.chop(1);
    if (row.trimmed().isEmpty()) continue;
    QString value = row.mid(kNameWidth);
    while (value.endsWith(' ')) value.chop(1);
    result << value;
  }
  return result;
}

}  // namespace tavrel::test
