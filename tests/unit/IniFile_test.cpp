#include "common/IniFile.h"
#include "common/AppError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class IniFileTest : public ::testing::Test {
 protected:
  QString pathOf(const QString& name) const { return dir.filePath(name); }

  QString fileWith(const QByteArray& bytes, const QString& name = "s.ini") const {
    QFile file(pathOf(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return file.fileName();
  }

  static QByteArray contents(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
  }

  QTemporaryDir dir;
};

TEST_F(IniFileTest, ReadsByTheWindowsProfileRules) {
  const IniFile ini(
      fileWith("top=before any section\r\n"
               "[VOQ]\r\n"
               "Ano=2018\r\n"
               "  Servidor \t=  10.0.0.5\t \r\n"
               "Vazio=\r\n"
               "Brancos=   \r\n"
               "Aspas=\" quoted \"\r\n"
               "Simples='x'\r\n"
               "Misturadas=\"x'\r\n"
               "SoUma=\"\r\n"
               "Dentro=a \"b\" c\r\n"
               "Igual=a=b\r\n"
               "Dup=first\r\n"
               "DUP=second\r\n"
               ";Comentario=x\r\n"
               "semvalor\r\n"
               "[ Outra ]\r\n"
               "Chave=outra\r\n"
               "[voq]\r\n"
               "Depois=a later section of the same name is not looked at\r\n"));
  const struct {
    QString section, key, expected;
  } cases[] = {
      {"VOQ", "Ano", "2018"},          {"voq", "ANO", "2018"},
      {"VOQ", "servidor", "10.0.0.5"}, {"VOQ", "Vazio", ""},
      {"VOQ", "Brancos", ""},          {"VOQ", "Aspas", " quoted "},
      {"VOQ", "Simples", "x"},         {"VOQ", "Misturadas", "\"x'"},
      {"VOQ", "SoUma", "\""},          {"VOQ", "Dentro", "a \"b\" c"},
      {"VOQ", "Igual", "a=b"},         {"VOQ", "Dup", "first"},
      {"Outra", "chave", "outra"},     {"VOQ", "Falta", "default"},
      {"VOQ", "Chave", "default"},     {"VOQ", "top", "default"},
      {"VOQ", "semvalor", "default"},  {"VOQ", "Depois", "default"},
      {"Nenhuma", "Ano", "default"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ini.readString(c.section, c.key, "default"), c.expected)
        << c.section.toStdString() << "/" << c.key.toStdString();
  }
}

TEST_F(IniFileTest, MissingFileOrFolderGivesTheDefaults) {
  for (const QString& path : {pathOf("nada.ini"), pathOf("falta/nada.ini"), dir.path()}) {
    const IniFile ini(path);
    EXPECT_EQ(ini.readString("IMPORTACNPJ", "PATH_ARQ_CNPJ", "C:\\"), "C:\\");
    EXPECT_EQ(ini.readInteger("IMPORTACNPJ", "EXTENSAO_ARQ", 1), 1);
  }
}

TEST_F(IniFileTest, ReadsIntegersOrGivesTheDefault) {
  const struct {
    QByteArray value;
    int expected;
  } cases[] = {
      {"2", 2},   {"+2", 2}, {"-3", -3},  {" 7\t", 7},         {"\"5\"", 5}, {"x", 99},
      {"2x", 99}, {"", 99},  {"1.5", 99}, {"99999999999", 99}, {"0x10", 99}, {"2 3", 99},
  };
  for (const auto& c : cases) {
    const IniFile ini(fileWith("[S]\nK=" + c.value + "\n"));
    EXPECT_EQ(ini.readInteger("S", "K", 99), c.expected) << c.value.toStdString();
  }
}

TEST_F(IniFileTest, ReadsUtf8OrWindows1252) {
  const QString expected = QString::fromUtf8("C:\\Usuários\\joão");
  const struct {
    const char* name;
    QByteArray bytes;
  } cases[] = {
      {"windows-1252", "[VOQ]\r\nK=C:\\Usu\xE1rios\\jo\xE3o\r\n"},
      {"utf-8", "[VOQ]\r\nK=C:\\Usu\xC3\xA1rios\\jo\xC3\xA3o\r\n"},
      {"utf-8 with bom", "\xEF\xBB\xBF[VOQ]\r\nK=C:\\Usu\xC3\xA1rios\\jo\xC3\xA3o\r\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IniFile(fileWith(c.bytes)).readString("VOQ", "K", ""), expected) << c.name;
  }
  // A UTF-8 sequence cut short at the end makes the whole file Windows-1252.
  EXPECT_EQ(IniFile(fileWith("[VOQ]\nK=\xC3\xA1\xC3")).readString("VOQ", "K", ""),
            QString::fromUtf8("Ã¡Ã"));
}

TEST_F(IniFileTest, WritingChangesOnlyWhatItMust) {
  const QByteArray before =
      "; tavrel\r\n"
      "[Outra]\r\n"
      "PATH_ARQ_CNPJ=nao\r\n"
      "\r\n"
      "[IMPORTACNPJ]\r\n"
      "  path_arq_cnpj = C:\\velho  \r\n"
      "EXTENSAO_ARQ=1\n"
      "\r\n"
      "[Fim]\r\n"
      "X=\xE9";
  const struct {
    const char* name;
    QString section, key, value;
    QByteArray after;
  } cases[] = {
      {"existing key, in place", "importacnpj", "PATH_ARQ_CNPJ", "D:\\dados",
       "; tavrel\r\n[Outra]\r\nPATH_ARQ_CNPJ=nao\r\n\r\n[IMPORTACNPJ]\r\n"
       "  path_arq_cnpj = D:\\dados\r\nEXTENSAO_ARQ=1\n\r\n[Fim]\r\nX=\xE9"},
      {"missing key, after the last line of its section", "IMPORTACNPJ", "NOVA", "2",
       "; tavrel\r\n[Outra]\r\nPATH_ARQ_CNPJ=nao\r\n\r\n[IMPORTACNPJ]\r\n"
       "  path_arq_cnpj = C:\\velho  \r\nEXTENSAO_ARQ=1\nNOVA=2\r\n\r\n[Fim]\r\nX=\xE9"},
      {"missing key, section at the end without a last line break", "Fim", "Y", "2",
       "; tavrel\r\n[Outra]\r\nPATH_ARQ_CNPJ=nao\r\n\r\n[IMPORTACNPJ]\r\n"
       "  path_arq_cnpj = C:\\velho  \r\nEXTENSAO_ARQ=1\n\r\n[Fim]\r\nX=\xE9\r\nY=2\r\n"},
      {"missing section", "Nova", "K", "v",
       "; tavrel\r\n[Outra]\r\nPATH_ARQ_CNPJ=nao\r\n\r\n[IMPORTACNPJ]\r\n"
       "  path_arq_cnpj = C:\\velho  \r\nEXTENSAO_ARQ=1\n\r\n[Fim]\r\nX=\xE9\r\n[Nova]\r\nK=v\r\n"},
      {"value with a character of the code page", "Fim", "X", QString::fromUtf8("ç"),
       "; tavrel\r\n[Outra]\r\nPATH_ARQ_CNPJ=nao\r\n\r\n[IMPORTACNPJ]\r\n"
       "  path_arq_cnpj = C:\\velho  \r\nEXTENSAO_ARQ=1\n\r\n[Fim]\r\nX=\xE7"},
  };
  for (const auto& c : cases) {
    const QString path = fileWith(before);
    IniFile(path).writeString(c.section, c.key, c.value);
    EXPECT_EQ(contents(path), c.after) << c.name;
  }
}

TEST_F(IniFileTest, NewLinesFollowTheFileLineBreaks) {
  const QString path = fileWith("[A]\nk=1");
  IniFile(path).writeInteger("B", "n", 7);
  EXPECT_EQ(contents(path), "[A]\nk=1\n[B]\nn=7\n");
}

TEST_F(IniFileTest, CreatesAMissingFileInWindows1252) {
  const IniFile ini(pathOf("tavrel.ini"));
  ini.writeString("IMPORTACNPJ", "PATH_ARQ_CNPJ", QString::fromUtf8("D:\\joão"));
  ini.writeInteger("IMPORTACNPJ", "EXTENSAO_ARQ", 2);
  EXPECT_EQ(contents(ini.path()),
            "[IMPORTACNPJ]\r\nPATH_ARQ_CNPJ=D:\\jo\xE3o\r\nEXTENSAO_ARQ=2\r\n");
  EXPECT_EQ(ini.readString("importacnpj", "path_arq_cnpj", ""), QString::fromUtf8("D:\\joão"));
  EXPECT_EQ(ini.readInteger("IMPORTACNPJ", "EXTENSAO_ARQ", 1), 2);
}

// A file is written back in the encoding it was read in, but for Windows-1252 bytes that would
// read back as other text, which make it UTF-8. A is the other key, read before and after.
TEST_F(IniFileTest, KeepsTheEncodingItReadWhenTheTextReadsBackTheSame) {
  const QString accented = QString::fromUtf8("é");
  const struct {
    const char* name;
    QByteArray before;  // null: no file
    QString value;
    QByteArray after;
    QString other;
  } cases[] = {
      {"utf-8 with bom", "\xEF\xBB\xBF[S]\r\nA=\xC3\xA9\r\nK=x\r\n", QString::fromUtf8("ã"),
       "\xEF\xBB\xBF[S]\r\nA=\xC3\xA9\r\nK=\xC3\xA3\r\n", accented},
      {"utf-8", "[S]\r\nA=\xC3\xA9\r\nK=x\r\n", QString::fromUtf8("ã"),
       "[S]\r\nA=\xC3\xA9\r\nK=\xC3\xA3\r\n", accented},
      {"windows-1252", "[S]\r\nA=\xE9\r\nK=x\r\n", QString::fromUtf8("ã"),
       "[S]\r\nA=\xE9\r\nK=\xE3\r\n", accented},
      {"windows-1252 cannot hold the value", "[S]\r\nA=\xE9\r\nK=x\r\n", QString::fromUtf8("日本"),
       "[S]\r\nA=\xC3\xA9\r\nK=\xE6\x97\xA5\xE6\x9C\xAC\r\n", accented},
      // "Ã©" in Windows-1252 is the UTF-8 of "é".
      {"new file, windows-1252 bytes that are utf-8",
       {},
       QString::fromUtf8("Ã©"),
       "[S]\r\nK=\xC3\x83\xC2\xA9\r\n",
       "?"},
      // The last byte alone is not UTF-8; without it the rest would be.
      {"value replaced, the rest then utf-8", "[S]\r\nA=\xEF\xBB\xBF\r\nK=\xBF", "x",
       "[S]\r\nA=\xC3\xAF\xC2\xBB\xC2\xBF\r\nK=x", QString::fromUtf8("ï»¿")},
  };
  for (const auto& c : cases) {
    const QString path = c.before.isNull() ? pathOf("new.ini") : fileWith(c.before);
    EXPECT_EQ(IniFile(path).readString("S", "A", "?"), c.other) << c.name;
    IniFile(path).writeString("S", "K", c.value);
    EXPECT_EQ(contents(path), c.after) << c.name;
    EXPECT_EQ(IniFile(path).readString("S", "K", ""), c.value) << c.name;
    EXPECT_EQ(IniFile(path).readString("S", "A", "?"), c.other) << c.name;
  }
}

TEST_F(IniFileTest, ALastLineEndingInACarriageReturnKeepsItsValue) {
  for (const QString& section : {QString("S"), QString("Nova")}) {
    const QString path = fileWith("[S]\r\nA=1\r");
    IniFile(path).writeString(section, "K", "2");
    EXPECT_EQ(IniFile(path).readString("S", "A", "?"), "1") << section.toStdString();
    EXPECT_EQ(IniFile(path).readString(section, "K", "?"), "2") << section.toStdString();
    EXPECT_TRUE(contents(path).startsWith("[S]\r\nA=1\r\n")) << section.toStdString();
  }
}

TEST_F(IniFileTest, EveryValueReadsBackAsWritten) {
  const IniFile ini(pathOf("v.ini"));
  for (const QString& value :
       {QString(""), QString("plain"), QString(" lead"), QString("trail\t"), QString("\"q\""),
        QString("'q'"), QString("\""), QString("a=b"), QString(";x"), QString("[x]")}) {
    ini.writeString("S", "K", value);
    EXPECT_EQ(ini.readString("S", "K", "default"), value) << value.toStdString();
  }
}

TEST_F(IniFileTest, FailsWhenTheFileCannotBeWritten) {
  const QString readOnly = fileWith("[S]\r\nK=old\r\n", "ro.ini");
  ASSERT_TRUE(QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ReadUser));
  const QString missingFolder = pathOf("falta/tavrel.ini");

  for (const QString& path : {readOnly, missingFolder, dir.path()}) {
    try {
      IniFile(path).writeString("S", "K", "new");
      ADD_FAILURE() << "no failure for " << path.toStdString();
    } catch (const AppError& e) {
      EXPECT_EQ(e.message(), "Não é possível gravar o arquivo: " + QDir::toNativeSeparators(path));
    }
  }
  EXPECT_EQ(contents(readOnly), "[S]\r\nK=old\r\n");
  EXPECT_FALSE(QFile::exists(missingFolder));
}

TEST_F(IniFileTest, RefusesLineBreaksThatWouldForgeOtherKeys) {
  const QString path = fileWith("[S]\r\nK=old\r\n");
  const struct {
    QString section, key, value;
  } cases[] = {
      {"S", "K", "C:\\x\r\n[VOQ]\r\nServidor=evil"},
      {"S", "K", "a\nb"},
      {"S", "K\rL", "v"},
      {"S]\n[T", "K", "v"},
  };
  for (const auto& c : cases) {
    EXPECT_THROW(IniFile(path).writeString(c.section, c.key, c.value), AppError);
  }
  EXPECT_EQ(contents(path), "[S]\r\nK=old\r\n");
}

}  // namespace
