// The browse button of the import file: where its dialog opens, and what tavrel.ini remembers.
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "CampaignLines.h"
#include "QtPrinters.h"
#include "RecordingDialogs.h"
#include "common/InstallDir.h"
#include "ui/UTavrel.h"

namespace {

const QStringList kFilters = {"TXT", "*.txt", "CSV", "*.csv"};

class FileChoice : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(install.isValid());
    SetInstallDir(install.path());
  }
  void TearDown() override { SetInstallDir(QString()); }

  QString iniPath() const { return install.filePath("tavrel.ini"); }

  QByteArray ini() const {
    QFile file(iniPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  void press(const dialogs::FileChoice& answer) {
    boxes.fileAnswers.push_back(answer);
    window.btnProcuraCNPJ->click();
    ASSERT_TRUE(boxes.boxes.empty()) << boxes.boxes.front().text.toStdString();
  }

  // Where the next press opens its dialog, and with which entry.
  RecordingDialogs::FileRequest nextRequest() {
    press({});
    return boxes.fileRequests.back();
  }

  QTemporaryDir install;
  RecordingDialogs boxes;
  TFTavrel window;
};

TEST_F(FileChoice, FirstUseOpensAtDriveCWithTheTxtEntry) {
  EXPECT_EQ(nextRequest(), (RecordingDialogs::FileRequest{"C:\\", kFilters, 1}));
  EXPECT_FALSE(QFile::exists(iniPath()));
}

TEST_F(FileChoice, ConfirmedChoiceIsRememberedForTheNextPress) {
  const struct {
    QString path;
    int entry;
    QString folder;
  } cases[] = {
      {"D:\\dados\\cnpj.csv", 2, "D:\\dados"},
      {"D:\\cnpj.csv", 2, "D:\\"},
      {"C:\\a\\b\\cnpj.txt", 1, "C:\\a\\b"},
      {"/home/fiscal/cnpj.txt", 1, "/home/fiscal"},
      {"/cnpj.csv", 2, "/"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path.toStdString());
    QFile::remove(iniPath());

    press({true, c.path, c.entry});

    EXPECT_EQ(window.edtCaminhoCNPJ->text(), c.path);
    EXPECT_EQ(ini().replace("\r\n", "\n"),
              QString("[IMPORTACNPJ]\nPATH_ARQ_CNPJ=%1\nEXTENSAO_ARQ=%2\n")
                  .arg(c.folder)
                  .arg(c.entry)
                  .toUtf8());
    EXPECT_EQ(nextRequest(), (RecordingDialogs::FileRequest{c.folder, kFilters, c.entry}));
  }
}

TEST_F(FileChoice, CancelLeavesThePathFieldAndTheFileAsTheyWere) {
  const QByteArray before = "[IMPORTACNPJ]\r\nPATH_ARQ_CNPJ=E:\\campanha\r\nEXTENSAO_ARQ=2\r\n";
  tavrel::test::WriteFile(iniPath(), before);
  window.edtCaminhoCNPJ->setText("F:\\digitado\\a mao.txt");

  press({false, "E:\\campanha\\outro.csv", 1});

  EXPECT_EQ(boxes.fileRequests.back(),
            (RecordingDialogs::FileRequest{"E:\\campanha", kFilters, 2}));
  EXPECT_EQ(window.edtCaminhoCNPJ->text(), "F:\\digitado\\a mao.txt");
  EXPECT_EQ(ini(), before);
}

TEST_F(FileChoice, ChoiceKeepsTheRestOfTheFile) {
  tavrel::test::WriteFile(iniPath(),
                          "; anotado a mao\r\n[OUTRA]\r\nA=1\r\n[IMPORTACNPJ]\r\n"
                          "PATH_ARQ_CNPJ=C:\\velho\r\nOUTRO=x\r\n[FIM]\r\nB=2\r\n");

  press({true, "D:\\dados\\cnpj.csv", 2});

  const QList<QByteArray> lines = ini().replace("\r\n", "\n").split('\n');
  const qsizetype section = lines.indexOf("[IMPORTACNPJ]");
  const qsizetype next = lines.indexOf("[FIM]");
  ASSERT_GE(section, 0);
  ASSERT_GT(next, section);
  const QList<QByteArray> entries = lines.mid(section + 1, next - section - 1);
  EXPECT_TRUE(entries.contains("PATH_ARQ_CNPJ=D:\\dados"));
  EXPECT_TRUE(entries.contains("EXTENSAO_ARQ=2"));
  EXPECT_TRUE(entries.contains("OUTRO=x"));
  EXPECT_FALSE(entries.contains("PATH_ARQ_CNPJ=C:\\velho"));
  EXPECT_EQ(lines.mid(0, section + 1),
            (QList<QByteArray>{"; anotado a mao", "[OUTRA]", "A=1", "[IMPORTACNPJ]"}));
  EXPECT_EQ(lines.mid(next), (QList<QByteArray>{"[FIM]", "B=2", ""}));
}

TEST_F(FileChoice, EntryThatIsNoNumberPreselectsTxt) {
  const struct {
    const char* stored;
    int entry;
  } cases[] = {{"abc", 1}, {"", 1}, {"2", 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored);
    tavrel::test::WriteFile(
        iniPath(),
        QByteArray("[IMPORTACNPJ]\r\nPATH_ARQ_CNPJ=E:\\x\r\nEXTENSAO_ARQ=") + c.stored + "\r\n");
    EXPECT_EQ(nextRequest(), (RecordingDialogs::FileRequest{"E:\\x", kFilters, c.entry}));
  }
}

}  // namespace
