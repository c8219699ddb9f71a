#include "common/AppError.h"
#include "common/InstallDir.h"
#include "common/TrataErros.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QString kDefaultLibraryFolder = "C:\\Arquivos de programas\\Firebird\\Firebird_2_1\\bin\\";

// An installation in a temporary folder: voq.ini beside the "executable", and the folders
// VOQ7/Centro/SGB_DADOS and xut that the suite's working folders are made in.
class CaminhoDBTest : public ::testing::Test {
 protected:
  void SetUp() override { freshInstallation(); }
  void TearDown() override { SetInstallDir(""); }

  void freshInstallation() {
    root = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(root->isValid());
    ASSERT_TRUE(QDir(base()).mkpath("VOQ7/Centro/SGB_DADOS"));
    ASSERT_TRUE(QDir(base()).mkpath("xut"));
    SetInstallDir(base());
  }

  QString base() const { return root->path(); }

  void writeVoq(const QString& lines) const {
    QFile file(base() + "/voq.ini");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(("[VOQ]\r\n" + lines).toUtf8());
  }

  QSet<QString> folders() const {
    QSet<QString> found;
    QDirIterator it(base(), QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) found.insert(QDir(base()).relativeFilePath(it.next()));
    return found;
  }

  struct Row {
    QString code, expected, created;
  };

  // Each code in a fresh installation, so that every row shows what it creates. "<D>" stands
  // for the installation folder.
  void expectRows(const QString& voqLines, const std::vector<Row>& rows) {
    for (const Row& row : rows) {
      SCOPED_TRACE(row.code.toStdString());
      freshInstallation();
      writeVoq(QString(voqLines).replace("<D>", base()));
      const QSet<QString> before = folders();

      EXPECT_EQ(CaminhoDB(row.code), QString(row.expected).replace("<D>", base()));
      const QSet<QString> created = folders() - before;
      EXPECT_EQ(created, row.created.isEmpty() ? QSet<QString>() : QSet<QString>{row.created});
    }
  }

  std::unique_ptr<QTemporaryDir> root;
};

TEST_F(CaminhoDBTest, WithoutSettingsFileEveryKeyTakesItsDefault) {
  const Row rows[] = {
      {"B", "localhost/3050:SGB_DADOS\\", ""},
      {"D", "SGB_DADOS\\", ""},
      {"SRV", "localhost/3050", ""},
      {"DLLFB", kDefaultLibraryFolder + "fbclient.dll", ""},
      {"CDLLFB", kDefaultLibraryFolder, ""},
      {"PORTA", "3050", ""},
      {"EXE", "\\", ""},
      {"NAOEXISTE", "\\TABDEF\\", ""},
  };
  for (const Row& row : rows)
    EXPECT_EQ(CaminhoDB(row.code), row.expected) << row.code.toStdString();
}

TEST_F(CaminhoDBTest, CodeTableWithAServer) {
  expectRows(
      "Ano=2018\r\n"
      "Servidor=10.0.0.5\r\n"
      "ServidorTabDef=10.0.0.9\r\n"
      "Caminho_Base_Dados=C:\\voq7\\Cidades\\Centro\\\r\n"
      "Caminho_TabDef=D:\\Voq7\\Tab\\\r\n"
      "Diretorio_Servidor=<D>/VOQ7/Centro/\r\n"
      "Diretorio_XUT=<D>/xut/\r\n"
      "DLLCON=fb.dll\r\n"
      "PORTACON=3051\r\n"
      "CaminhoDLLCON=C:\\fb\\\r\n",
      {
          {"D", "<D>/VOQ7/Centro/SGB_DADOS\\", ""},
          {"B", "10.0.0.5/3051:C:\\voq7\\Cidades\\Centro\\SGB_DADOS\\", ""},
          {"SRV", "10.0.0.5/3051", ""},
          {"DA", "<D>/VOQ7/Centro/SGB_DADOS\\", ""},
          {"DA2", "<D>/VOQ7/Centro/SGB_DADOS\\", ""},
          {"DAX", "<D>/VOQ7/Centro/SGB_DADOS\\", ""},
          {"BA", "10.0.0.5/3051:C:\\voq7\\Cidades\\Centro\\SGB_DADOS\\", ""},
          {"BA1", "10.0.0.5/3051:C:\\voq7\\Cidades\\Centro\\SGB_DADOS\\", ""},
          {"TD", "<D>/VOQ7\\TABDEF\\", ""},
          {"TB", "10.0.0.9/3051:D:\\VOQ7\\TABDEF\\", ""},
          {"BK", "C:\\voq7\\Cidades\\Centro\\SGB_DADOS\\", ""},
          {"BKAD", "<D>/VOQ7/Centro/SGB_DADOS\\BCK\\", "VOQ7/Centro/SGB_DADOS/BCK"},
          {"BKAB", "C:\\voq7\\Cidades\\Centro\\ARQ2018\\BCK\\", "VOQ7/Centro/SGB_DADOS/BCK"},
          {"AP", "<D>/VOQ7/Centro/", ""},
          {"TPD", "<D>/VOQ7/Centro/SGB_DADOS\\TEMP\\", "VOQ7/Centro/SGB_DADOS/TEMP"},
          {"TPB", "C:\\voq7\\Cidades\\Centro\\SGB_DADOS\\TEMP\\", "VOQ7/Centro/SGB_DADOS/TEMP"},
          {"DE", "<D>/VOQ7/Centro/SGB_DADOS\\EXPORTA\\", "VOQ7/Centro/SGB_DADOS/EXPORTA"},
          {"DI", "<D>/VOQ7/Centro/SGB_DADOS\\IMPORTA\\", "VOQ7/Centro/SGB_DADOS/IMPORTA"},
          {"RTM", "<D>/VOQ7/Centro/RTM\\", "VOQ7/Centro/RTM"},
          {"RTMXUT", "<D>/xut/RTM\\", "xut/RTM"},
          {"RPT", "<D>/VOQ7/Centro/Relatorios\\", "VOQ7/Centro/Relatorios"},
          {"IMA", "", ""},
          {"SB", "", ""},
          {"STB", "", ""},
          {"EXE", "<D>/VOQ7\\", ""},
          {"DLLFB", "C:\\fb\\fb.dll", ""},
          {"CDLLFB", "C:\\fb\\", ""},
          {"PORTA", "3051", ""},
          {"NAOEXISTE", "", ""},
          {"", "", ""},
      });
}

TEST_F(CaminhoDBTest, CodeTableWithoutAServer) {
  // Barra only reaches the results of RPT and STB here.
  expectRows(
      "Ano=2018\r\n"
      "ServidorTabDef=10.0.0.9\r\n"
      "SO_Servidor=LINUX\r\n"
      "Caminho_Base_Dados=<D>/VOQ7/Centro/\r\n"
      "Caminho_TabDef=D:\\Voq7\\Tab\\\r\n"
      "Diretorio_Servidor=C:\\ignorado\\\r\n"
      "Diretorio_XUT=<D>/xut/\r\n",
      {
          {"D", "<D>/VOQ7/Centro/SGB_DADOS\\", ""},
          {"B", "localhost/3050:<D>/VOQ7/Centro/SGB_DADOS\\", ""},
          {"SRV", "localhost/3050", ""},
          {"DA9", "<D>/VOQ7/Centro/SGB_DADOS\\", ""},
          {"BA", "<D>/VOQ7/Centro/SGB_DADOS\\", ""},
          {"TD", "D:\\VOQ7\\TABDEF\\", ""},
          {"TB", "10.0.0.9/3050:D:\\VOQ7\\TABDEF\\", ""},
          {"BK", "<D>/VOQ7/Centro/SGB_DADOS\\", ""},
          {"BKAD", "<D>/VOQ7/Centro/SGB_DADOS\\BCK\\", "VOQ7/Centro/SGB_DADOS/BCK"},
          {"BKAB", "<D>/VOQ7/Centro/SGB_DADOS\\BCK\\", "VOQ7/Centro/SGB_DADOS/BCK"},
          {"AP", "<D>/VOQ7/Centro/", ""},
          {"TPD", "<D>/VOQ7/Centro/SGB_DADOS\\TEMP\\", "VOQ7/Centro/SGB_DADOS/TEMP"},
          {"TPB", "<D>/VOQ7/Centro/SGB_DADOS\\TEMP\\", "VOQ7/Centro/SGB_DADOS/TEMP"},
          {"DE", "<D>/VOQ7/Centro/SGB_DADOS\\EXPORTA\\", "VOQ7/Centro/SGB_DADOS/EXPORTA"},
          {"DI", "<D>/VOQ7/Centro/SGB_DADOS\\IMPORTA\\", "VOQ7/Centro/SGB_DADOS/IMPORTA"},
          {"RTM", "<D>/VOQ7/Centro/RTM\\", "VOQ7/Centro/RTM"},
          {"RTMXUT", "<D>/xut/RTM\\", "xut/RTM"},
          {"RPT", "localhost/3050:<D>/VOQ7/Centro//Relatorios/", "VOQ7/Centro/Relatorios"},
          {"IMA", "<D>/VOQ7/Centro/IMAGENS\\", "VOQ7/Centro/IMAGENS"},
          {"SB", "localhost/3050:<D>/VOQ7/Centro/SGB_DADOS\\", ""},
          {"STB", "localhost/3050:<D>/VOQ7/TABDEF/", "VOQ7/TABDEF"},
          {"EXE", "<D>/VOQ7\\", ""},
          {"DLLFB", kDefaultLibraryFolder + "fbclient.dll", ""},
          {"CDLLFB", kDefaultLibraryFolder, ""},
          {"PORTA", "3050", ""},
          {"NAOEXISTE", "<D>/VOQ7\\TABDEF\\", ""},
      });
}

TEST_F(CaminhoDBTest, OnlyLinuxInCapitalsTurnsTheSeparator) {
  const struct {
    QString soLines;
    QString b, tb;
  } cases[] = {
      {"", "10.0.0.5/3051:/dados/voq7/centro/SGB_DADOS\\", "10.0.0.5/3051:/dados/VOQ7\\TABDEF\\"},
      {"SO_Servidor=LINUX\r\nSO_ServidorTabDef=LINUX\r\n",
       "10.0.0.5/3051:/dados/voq7/centro/SGB_DADOS/", "10.0.0.5/3051:/dados/VOQ7/TABDEF/"},
      {"so_servidor = LINUX \r\n", "10.0.0.5/3051:/dados/voq7/centro/SGB_DADOS/",
       "10.0.0.5/3051:/dados/VOQ7\\TABDEF\\"},
      {"SO_Servidor=linux\r\nSO_ServidorTabDef=Linux\r\n",
       "10.0.0.5/3051:/dados/voq7/centro/SGB_DADOS\\", "10.0.0.5/3051:/dados/VOQ7\\TABDEF\\"},
      {"SO_ServidorTabDef=LINUX\r\n", "10.0.0.5/3051:/dados/voq7/centro/SGB_DADOS\\",
       "10.0.0.5/3051:/dados/VOQ7/TABDEF/"},
  };
  for (const auto& c : cases) {
    writeVoq("Servidor=10.0.0.5\r\nPORTACON=3051\r\nCaminho_Base_Dados=/dados/voq7/centro/\r\n" +
             c.soLines);
    EXPECT_EQ(CaminhoDB("B"), c.b) << c.soLines.toStdString();
    EXPECT_EQ(CaminhoDB("TB"), c.tb) << c.soLines.toStdString();
  }
}

TEST_F(CaminhoDBTest, TabDefKeysAbsentTakeTheirSiblingsValueButEmptyStaysEmpty) {
  const struct {
    QString lines, tb;
  } cases[] = {
      {"", "10.0.0.5/3050:C:\\VOQ7\\TABDEF\\"},
      {"ServidorTabDef=\r\n", "localhost/3050:C:\\VOQ7\\TABDEF\\"},
      {"Caminho_TabDef=\r\n", "10.0.0.5/3050:\\TABDEF\\"},
      {"ServidorTabDef=10.0.0.9\r\nCaminho_TabDef=E:\\tab\\\r\n",
       "10.0.0.9/3050:E:\\tab\\\\TABDEF\\"},
  };
  for (const auto& c : cases) {
    writeVoq("Servidor=10.0.0.5\r\nCaminho_Base_Dados=C:\\voq7\\x\\\r\n" + c.lines);
    EXPECT_EQ(CaminhoDB("TB"), c.tb) << c.lines.toStdString();
  }
}

TEST_F(CaminhoDBTest, CodesAreCaseBlind) {
  writeVoq("Servidor=10.0.0.5\r\nCaminho_Base_Dados=C:\\x\\\r\nDiretorio_Servidor=" + base() +
           "/VOQ7/Centro/\r\n");
  const struct {
    QString code, same;
  } cases[] = {{"b", "B"},       {"dllfb", "DLLFB"}, {"Porta", "PORTA"},
               {"bKaD", "BKAD"}, {"da3", "DA3"},     {"exe", "EXE"}};
  for (const auto& c : cases) {
    EXPECT_FALSE(CaminhoDB(c.same).isEmpty()) << c.same.toStdString();
    EXPECT_EQ(CaminhoDB(c.code), CaminhoDB(c.same)) << c.code.toStdString();
  }
}

TEST_F(CaminhoDBTest, CutsAfterTheFirstVoq7) {
  const struct {
    QString cam, exe;
  } cases[] = {
      {"C:\\voq7\\Cidades\\Centro\\", "C:\\VOQ7\\"},
      {"C:\\Sistemas\\", "C:\\Sistemas\\\\"},
      {"x\\VoQ7a\\VOQ7\\", "x\\VOQ7\\"},
      {"C:\\VOQ70\\", "C:\\VOQ7\\"},
      {"C:\\VOQ\\7\\", "C:\\VOQ\\7\\\\"},
      {"", "\\"},
  };
  for (const auto& c : cases) {
    writeVoq("Caminho_Base_Dados=" + c.cam + "\r\n");
    EXPECT_EQ(CaminhoDB("EXE"), c.exe) << c.cam.toStdString();
  }
}

TEST_F(CaminhoDBTest, EnsuringAFolderLeavesAnExistingOneAndCreatesOneLevelOnly) {
  const QString dir = base() + "/VOQ7/Centro/";
  writeVoq("Servidor=s\r\nDiretorio_Servidor=" + dir + "\r\n");
  ASSERT_TRUE(QDir(base()).mkpath("VOQ7/Centro/SGB_DADOS/BCK/guardado"));
  const QSet<QString> before = folders();
  EXPECT_EQ(CaminhoDB("BKAD"), dir + "SGB_DADOS\\BCK\\");
  EXPECT_EQ(folders(), before);

  ASSERT_TRUE(QDir(dir + "SGB_DADOS").removeRecursively());
  try {
    CaminhoDB("BKAD");
    ADD_FAILURE() << "a folder was made whose parent is missing";
  } catch (const AppError& e) {
    EXPECT_EQ(e.message(), "Não é possível criar o diretório: " + dir + "SGB_DADOS\\BCK\\");
  }
  EXPECT_FALSE(QFile::exists(dir + "SGB_DADOS"));
}

TEST_F(CaminhoDBTest, FailsWhenAFileTakesTheFolderName) {
  const QString cam = base() + "/VOQ7/Centro/";
  writeVoq("Caminho_Base_Dados=" + cam + "\r\n");
  QFile file(cam + "RTM");
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  EXPECT_THROW(CaminhoDB("RTM"), AppError);
}

TEST_F(CaminhoDBTest, ReadsTheSettingsFileAtEveryCall) {
  writeVoq("PORTACON=3051\r\n");
  EXPECT_EQ(CaminhoDB("PORTA"), "3051");
  writeVoq("PORTACON=3052\r\n");
  EXPECT_EQ(CaminhoDB("PORTA"), "3052");
}

}  // namespace
