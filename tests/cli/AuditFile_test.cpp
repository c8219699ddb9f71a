#include "app/AuditFile.h"

#include <gtest/gtest.h>
#include <QBuffer>
#include <QTemporaryDir>

#include "common/Clock.h"

namespace {

const QDateTime kStart(QDate(2024, 3, 5), QTime(9, 7, 1), Qt::UTC);
const QDateTime kEnd(QDate(2024, 3, 5), QTime(9, 30, 0), Qt::UTC);

AuditHead Head(bool dryRun = false) {
  return {.file = "/dados/cnpj.txt",
          .layout = ImportLayout::FixedColumn,
          .year = "2024",
          .login = "ana",
          .workstation = "estacao-1",
          .database = "servidor/3050:/dados/VOQDADOS.FDB",
          .mode = "linha a linha",
          .dryRun = dryRun,
          .start = kStart};
}

LineRecord Line(qint64 number, LineFate fate, qint32 code = 0) {
  return {.number = number,
          .fate = fate,
          .CNPJ = fate == LineFate::NotContributor ? QString()
                                                   : "1234567800019" + QString::number(number % 10),
          .Nome = fate == LineFate::NotContributor ? QString() : "NOME " + QString::number(number),
          .code = code};
}

// The audit of a run written into memory, read back as text.
class Audit : public ::testing::Test {
 protected:
  void SetUp() override { SetNow(kEnd); }
  void TearDown() override { SetNow(std::nullopt); }

  std::unique_ptr<AuditFile> open(const AuditHead& head = Head()) {
    auto buffer = std::make_unique<QBuffer>(&bytes);
    buffer->open(QIODevice::ReadWrite);
    return std::make_unique<AuditFile>(std::move(buffer), head,
                                       [this](const QString& reason) { failures << reason; });
  }
  QStringList lines() const { return QString::fromUtf8(bytes).split("\r\n"); }
  // The rows of the lines' table, from its header to the blank line after it.
  QStringList rows() const {
    const QStringList all = lines();
    const qsizetype header =
        all.indexOf("Linha;CNPJ;Nome;Resultado;Código;Data substituída;Explicação");
    QStringList table;
    for (qsizetype i = header + 1; i < all.size() && !all[i].isEmpty(); ++i) table << all[i];
    return table;
  }
  QString footer(const QString& name) const {
    for (const QString& line : lines())
      if (line.startsWith(name + ';')) return line.mid(name.size() + 1);
    return "(absent)";
  }

  QByteArray bytes;
  QStringList failures;
};

TEST_F(Audit, OpensInASpreadsheetWithItsHeadAndTheEndTimeFilledIn) {
  {
    auto audit = open();
    audit->ended({.outcome = ImportOutcome::Imported});
  }
  ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF")) << "a BOM tells the spreadsheet it is UTF-8";
  const QStringList all = lines();
  EXPECT_EQ(all[0], QString::fromUtf8("\uFEFFImportação de CNPJ de campanha"));
  EXPECT_EQ(all.mid(1, 9),
            (QStringList{"Arquivo;/dados/cnpj.txt", "Leiaute;TXT", "Exercício;2024", "Login;ana",
                         "Estação;estacao-1", "Banco de dados;servidor/3050:/dados/VOQDADOS.FDB",
                         "Modo;linha a linha", "Início;05/03/2024 09:07:01",
                         "Término;05/03/2024 09:30:00"}));
  EXPECT_EQ(footer("Situação"), "importado");
  EXPECT_TRUE(failures.isEmpty());
}

TEST_F(Audit, EveryLineGetsARowInOrderWithItsOutcome) {
  {
    auto audit = open();
    audit->record(Line(1, LineFate::NotContributor));
    audit->record(Line(2, LineFate::Inserted, 7));
    LineRecord rewritten = Line(3, LineFate::Rewritten, 4);
    rewritten.replaced = QDateTime(QDate(2018, 9, 26), QTime(14, 30), Qt::UTC);
    audit->record(rewritten);
    audit->record(Line(4, LineFate::NotOlder, 4));
    audit->record(Line(5, LineFate::OtherYear, 2));
    LineRecord refused = Line(6, LineFate::Refused, 8);
    refused.explanation = "violation of PRIMARY or UNIQUE KEY constraint \"PK_X\"";
    audit->record(refused);
    audit->record(Line(7, LineFate::NotContributor));
    audit->record(Line(8, LineFate::NotContributor));
    audit->ended({.outcome = ImportOutcome::Imported,
                  .lines = 8,
                  .linesRead = 8,
                  .imported = 1,
                  .rewritten = 1});
  }
  EXPECT_EQ(rows(),
            (QStringList{
                "1;;;não é linha de contribuinte;;;",
                "2;12345678000192;NOME 2;inserida;7;;",
                "3;12345678000193;NOME 3;reescrita;4;26/09/2018 14:30:00;",
                "4;12345678000194;NOME 4;mantida: a data gravada não é mais antiga;4;;",
                "5;12345678000195;NOME 5;mantida: o CNPJ está gravado em outro exercício;2;;",
                "6;12345678000196;NOME 6;recusada pelo banco;8;;\"violation of PRIMARY or UNIQUE "
                "KEY constraint \"\"PK_X\"\"\"",
                "7;;;não é linha de contribuinte;;;",
                "8;;;não é linha de contribuinte;;;",
            }));
  EXPECT_EQ(footer("Importados"), "1");
  EXPECT_EQ(footer("Alterados"), "1");
  EXPECT_EQ(footer("Mantidos"), "2");
  EXPECT_EQ(footer("Recusados pelo banco"), "1");
  EXPECT_EQ(footer("Não são linhas de contribuinte"), "3");
  EXPECT_EQ(footer("Linhas desfeitas"), "(absent)");
}

TEST_F(Audit, FieldsAreReadBackAsTheyWereAndNeverAsFormulas) {
  {
    auto audit = open();
    LineRecord line = Line(1, LineFate::Refused);
    line.Nome = "=HYPERLINK(\"x\";\"y\")";
    line.explanation = "first line\nsecond; line";
    audit->record(line);
    LineRecord plus = Line(2, LineFate::Inserted, 1);
    plus.Nome = "+55 ; -1";
    audit->record(plus);
    audit->ended({});
  }
  const QString text = QString::fromUtf8(bytes);
  EXPECT_TRUE(
      text.contains("1;12345678000191;\"'=HYPERLINK(\"\"x\"\";\"\"y\"\")\";recusada pelo banco;;;"
                    "\"first line\nsecond; line\"\r\n"))
      << text.toStdString();
  EXPECT_TRUE(text.contains("2;12345678000192;\"'+55 ; -1\";inserida;1;;\r\n"));
}

TEST_F(Audit, LinesAfterTheLastCommitOfAFailedRunAreMarkedUndone) {
  {
    auto audit = open();
    audit->record(Line(1, LineFate::Inserted, 1));
    audit->record(Line(2, LineFate::NotContributor));
    audit->committed();
    audit->record(Line(3, LineFate::NotContributor));
    audit->record(Line(4, LineFate::NotContributor));
    audit->record(Line(5, LineFate::Inserted, 2));
    LineRecord failed = Line(6, LineFate::Failed);
    failed.explanation = "'// :' is not a valid date and time";
    audit->record(failed);
    audit->ended({.outcome = ImportOutcome::Failed,
                  .lines = 9,
                  .linesRead = 5,
                  .linesCommitted = 2,
                  .imported = 2,
                  .error = "'// :' is not a valid date and time"});
  }
  EXPECT_EQ(rows(), (QStringList{
                        "1;12345678000191;NOME 1;inserida;1;;",
                        "2;;;não é linha de contribuinte;;;",
                        "3;;;desfeita;;;não é linha de contribuinte",
                        "4;;;desfeita;;;não é linha de contribuinte",
                        "5;12345678000195;NOME 5;desfeita;2;;inserida",
                        "6;12345678000196;NOME 6;desfeita;;;erro que parou a importação: '// :' "
                        "is not a valid date and time",
                    }));
  EXPECT_EQ(footer("Situação"), "falhou: '// :' is not a valid date and time");
  EXPECT_EQ(footer("Linhas gravadas até o último commit"), "2");
  EXPECT_EQ(footer("Linhas desfeitas"), "4");
}

TEST_F(Audit, ADryRunKeepsEveryOutcomeAndSaysNothingWasStored) {
  {
    auto audit = open(Head(true));
    audit->record(Line(1, LineFate::Inserted, 1));
    audit->ended({.outcome = ImportOutcome::Imported, .lines = 1, .linesRead = 1, .imported = 1});
  }
  EXPECT_TRUE(lines()[0].endsWith("(nada foi gravado)"));
  EXPECT_EQ(rows(), QStringList{"1;12345678000191;NOME 1;inserida;1;;"});
  EXPECT_EQ(footer("Situação"), "simulação concluída: nada foi gravado");
}

TEST(AuditFolder, IsMadeWhenMissingAndEveryRunGetsAFileOfItsOwn) {
  QTemporaryDir dir;
  const QString logs = dir.path() + "/logs";
  QString error;
  auto first = AuditFile::createIn(logs, Head(), {}, &error);
  auto second = AuditFile::createIn(logs, Head(), {}, &error);
  ASSERT_TRUE(first && second) << error.toStdString();
  EXPECT_EQ(first->path(), logs + "/importacao-20240305-090701.csv");
  EXPECT_EQ(second->path(), logs + "/importacao-20240305-090701-2.csv");
}

TEST(AuditFolder, ThatCannotBeMadeIsToldAndNothingIsOpened) {
  QTemporaryDir dir;
  QFile blocker(dir.path() + "/logs");
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));  // a file where the folder would be
  QString error;
  EXPECT_EQ(AuditFile::createIn(dir.path() + "/logs", Head(), {}, &error), nullptr);
  EXPECT_TRUE(error.contains("logs")) << error.toStdString();
}

}  // namespace
