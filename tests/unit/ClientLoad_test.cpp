#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QTemporaryDir>
#include <QtEndian>

#include "firebird/Client.h"
#include "firebird/Error.h"
#include "firebird/LibraryFile.h"

namespace {

constexpr int kProgramBits = QT_POINTER_SIZE * 8;

// The first bytes of a shared library built for bits, as the platform's loader reads them.
QByteArray elfHead(int bits) {
  QByteArray head = QByteArrayLiteral("\x7F\x45\x4C\x46");  // 0x7F "ELF"
  head += char(bits == 32 ? 1 : 2);
  head += QByteArray(59, '\0');
  return head;
}

QByteArray peHead(int bits) {
  QByteArray head(0x200, '\0');
  head[0] = 'M';
  head[1] = 'Z';
  qToLittleEndian<quint32>(0x80, head.data() + 0x3C);
  head.replace(0x80, 4, QByteArray("PE\0\0", 4));
  qToLittleEndian<quint16>(bits == 32 ? 0x10B : 0x20B, head.data() + 0x80 + 24);
  return head;
}

QByteArray nativeHead(int bits) {
#ifdef Q_OS_WIN
  return peHead(bits);
#else
  return elfHead(bits);
#endif
}

// A real shared library of the program's own word size that is no Firebird client.
QString otherLibrary() {
#ifdef Q_OS_WIN
  return QDir(qEnvironmentVariable("SystemRoot")).filePath("System32/kernel32.dll");
#else
  return QDir(QLibraryInfo::path(QLibraryInfo::LibrariesPath)).filePath("libQt6Core.so.6");
#endif
}

class ClientLoad : public ::testing::Test {
 protected:
  QString write(const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return QDir::toNativeSeparators(path);
  }

  // The text a load of path fails with.
  static QString failureOf(const QString& path) {
    try {
      fb::Client::load(path);
    } catch (const fb::Error& e) {
      return e.message();
    }
    return QStringLiteral("(loaded)");
  }

  QTemporaryDir dir;
};

TEST_F(ClientLoad, ReadsTheWordSizeALibraryWasBuiltFor) {
  const struct {
    const char* name;
    QByteArray head;
    int bits;
  } cases[] = {
      {"elf32", elfHead(32), 32},
      {"elf64", elfHead(64), 64},
      {"pe32", peHead(32), 32},
      {"pe64", peHead(64), 64},
      {"text", "[VOQ]\r\nServidor=x\r\n", 0},
      {"mz-only", QByteArray("MZ") + QByteArray(100, '\0'), 0},
      {"pe-offset-past-the-end",
       [] {
         QByteArray h = peHead(32);
         qToLittleEndian<quint32>(0x7FFFFFF0, h.data() + 0x3C);
         return h;
       }(),
       0},
      {"empty", QByteArray(), 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(fb::libraryBits(write(c.name, c.head)), c.bits) << c.name;
  }
  EXPECT_EQ(fb::libraryBits(dir.filePath("missing")), 0);
}

TEST_F(ClientLoad, AFileThatCannotServeSaysWhichFileAndWhy) {
  const int otherBits = kProgramBits == 64 ? 32 : 64;
  const QString wrongSize = write("fbclient-other-size", nativeHead(otherBits));
  EXPECT_EQ(failureOf(wrongSize),
            QStringLiteral("A biblioteca cliente do Firebird %1 é de %2 bits e este programa é de "
                           "%3 bits: use um cliente do Firebird de %3 bits ou a versão de %2 bits "
                           "deste programa.")
                .arg(wrongSize)
                .arg(otherBits)
                .arg(kProgramBits));

  const QString text = write("fbclient-text", "not a library\n");
  EXPECT_EQ(failureOf(text),
            QStringLiteral("%1 não é uma biblioteca cliente do Firebird.").arg(text));

  const QString other = otherLibrary();
  ASSERT_TRUE(QFile::exists(other)) << other.toStdString();
  const QString notFirebird = failureOf(other);
  EXPECT_TRUE(notFirebird.endsWith(
      " não é uma biblioteca cliente do Firebird: não tem a função isc_attach_database."))
      << notFirebird.toStdString();
}

}  // namespace
