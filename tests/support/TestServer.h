#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QVersionNumber>

#include <stdexcept>

// Access for tests to the private Firebird server that a ctest fixture starts
// (scripts/fbserver.sh). The server's folder comes from TAVREL_FB_DIR, the scripts from
// TAVREL_SOURCE_DIR; both default to the paths of the build that compiled this library, so a
// test executable also runs by hand once `scripts/fbserver.sh start build/fbserver` has run.
// TAVREL_FB_CLIENT names the client library the program and the tests load (empty: the
// platform's default, Debian's Firebird 3 client).
//
// A failure (no server, a script or isql-fb that fails) throws TestServerError, whose text
// carries the tool's output; gtest reports it as the test's failure and ends the test.
namespace tavrel::test {

class TestServerError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct IsqlResult {
  int exitCode = -1;
  QString output;  // standard output and standard error, in the order written
};

class TestServer {
 public:
  static QString folder();                            // TAVREL_FB_DIR
  static QString sourceDir();                         // TAVREL_SOURCE_DIR
  static int port();                                  // read from <folder>/port at every call
  static QString host();                              // "localhost/PORT"
  static QString connectString(const QString& path);  // "localhost/PORT:" + serverPath(path)
  static QVersionNumber serverVersion();              // major.minor, from <folder>/version
  static QString clientLibrary();                     // TAVREL_FB_CLIENT, which must exist
  static QString clientVersion();                     // as that library tells it
  static QVersionNumber clientRelease();              // major.minor of clientVersion()

  // The server's local clock as a plain timestamp, which isql-fb can show: LOCALTIMESTAMP, or
  // CURRENT_TIMESTAMP on Firebird 2.1, which has no LOCALTIMESTAMP and no time zones.
  static QString localTimestamp();

  // path as the server's machine names it. A test built for Windows runs under Wine, which shows
  // Linux's root as drive Z:, and the server, a Linux process, knows no drives.
  static QString serverPath(const QString& path);

  // "tulipvane" for SYSDBA, "bromel" for QEBVOQ.
  static QString password(const QString& user);

  // Sets the server's password of user (SYSDBA's account does it) in every user manager the
  // server logs in with: Srp and the legacy one from Firebird 3 on, gsec's on Firebird 2.x.
  // Firebird 2.x keeps only 8 bytes of it.
  static void setPassword(const QString& user, const QString& newPassword);

  // The environment for the Firebird tools the tests run (isql-fb, the scripts): without the
  // FIREBIRD that points the Firebird 2.5 client at its tree, which would give isql-fb another
  // version's messages and settings.
  static QProcessEnvironment toolEnvironment();

  // A path under <folder>/dbs named after the running test, new at every call
  // (<Suite>.<Test>-<n>.fdb); a file left there by an earlier run is removed.
  static QString freshDatabasePath();

  // Creates the database through scripts/mkdb.sh (owner SYSDBA or QEBVOQ, default character
  // set WIN1252, the program's tables). Returns path.
  static QString createDatabase(const QString& path, const QString& owner = "SYSDBA");

  // freshDatabasePath() then createDatabase().
  static QString createFreshDatabase(const QString& owner = "SYSDBA");

  // Runs sql through isql-fb as user against the database at path. With the UTF8 connection
  // character set the output shows what was stored, whatever the client sent.
  static IsqlResult runIsql(const QString& path, const QString& sql, const QString& user = "SYSDBA",
                            const QString& charset = "UTF8");

  // runIsql, throwing when isql-fb fails or reports a failed statement.
  static QString isql(const QString& path, const QString& sql, const QString& user = "SYSDBA",
                      const QString& charset = "UTF8");

  // The values of a query, row after row, each row's columns in order, read from isql-fb's
  // list mode: trailing blanks are cut and a null reads "<null>".
  static QStringList values(const QString& path, const QString& select,
                            const QString& user = "SYSDBA");
};

}  // namespace tavrel::test
