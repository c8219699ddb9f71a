// The real command-line program against the private server: its exit statuses, its audit file,
// the dry run, a failed run and a stop, each way of importing alike.
#include <gtest/gtest.h>
#include <QRegularExpression>
#include <QThread>

#include "CampaignLines.h"
#include "CommandLineRun.h"
#include "NumberedCandidates.h"
#include "QtPrinters.h"
#include "TestServer.h"

#ifndef _WIN32
#include <csignal>
#endif

namespace tavrel::test {
namespace {

class CommandLine : public ::testing::Test {
 protected:
  InstalledCommand command;
  CampaignFiles files;
};

TEST_F(CommandLine, HelpAndVersionGoToStandardOutput) {
  const CommandResult help = command.run({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(help.out.contains("Situação de saída")) << help.out.toStdString();
  EXPECT_EQ(help.err, "");
  const CommandResult version = command.run({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_TRUE(version.out.startsWith("tavrel-import ")) << version.out.toStdString();
}

TEST_F(CommandLine, UsageAndInputErrorsEndWithStatusTwoAndTouchNothing) {
  const QString good = files.write("bons.txt", NumberedCandidates(1, 3));
  const QString blocker = files.write("bloqueio", "not a folder");
  const struct {
    QStringList arguments;
    const char* says;
  } cases[] = {
      {{"--login=ana", good + ".nada"}, "arquivo não encontrado"},
      {{good}, "falta o login"},
      {{"--login=ana", "--layout=xls", good}, "leiaute desconhecido"},
      {{"--login=ana", "--year=19", good}, "exercício inválido"},
      {{"--login=ana", "--log=" + blocker + "/auditoria.csv", good},
       "o arquivo de auditoria não pode ser gravado"},
  };
  for (const auto& c : cases) {
    const CommandResult result = command.run(c.arguments);
    EXPECT_EQ(result.status, 2) << c.arguments.join(' ').toStdString();
    EXPECT_TRUE(result.err.contains(QString::fromUtf8(c.says))) << result.err.toStdString();
    EXPECT_EQ(result.out, "");
  }
  EXPECT_EQ(command.rowCount(), 0);
  EXPECT_EQ(LogsFolder(command), QStringList());
}

TEST_F(CommandLine, ADatabaseThatCannotBeReachedEndsWithStatusThree) {
  command.install.writeVoqIni(1);  // nothing listens there
  const CommandResult result =
      command.run({"--login=ana", files.write("bons.txt", NumberedCandidates(1, 3))});
  EXPECT_EQ(result.status, 3);
  EXPECT_TRUE(result.err.contains("não foi possível conectar ao banco de dados"))
      << result.err.toStdString();
  EXPECT_EQ(LogsFolder(command), QStringList());
}

// Under Wine the program reads the prefix's regional forms, American ones, in which the files'
// day/month/year dates are no dates: what follows runs on Linux only.
#ifndef _WIN32

// The same behaviour from both ways of importing: line by line, and in blocks.
class EachWay : public CommandLine, public ::testing::WithParamInterface<const char*> {
 protected:
  CommandResult import(QStringList arguments) {
    if (*GetParam()) arguments.prepend(GetParam());
    return command.run(arguments);
  }
};

INSTANTIATE_TEST_SUITE_P(Ways, EachWay, ::testing::Values("", "--bulk"),
                         [](const auto& info) { return *info.param ? "Bulk" : "LineByLine"; });

TEST_P(EachWay, ImportsAndItsAuditFileTellsWhatTheTableHolds) {
  const QString path =
      files.write("cinco.txt", "1CABECALHO\n" + NumberedCandidates(1, 5) + NumberedCandidates({2}));
  const CommandResult result = import({"--login=ana", "--year=2019", path});
  ASSERT_EQ(result.status, 0) << result.err.toStdString();
  EXPECT_TRUE(result.err.contains("CNPJ dos Candidatos/Partidos Importado!"));
  EXPECT_TRUE(result.err.contains("(5 Importados e 0 Alterados) de 7 linhas; 1 mantidas"))
      << result.err.toStdString();

  // Written into the logs folder beside the program, as nothing else was asked.
  const QStringList audits = LogsFolder(command);
  ASSERT_EQ(audits.size(), 1);
  EXPECT_EQ(AuditFooter(audits[0], "Login"), "ana");
  EXPECT_EQ(AuditFooter(audits[0], "Exercício"), "2019");
  EXPECT_EQ(AuditFooter(audits[0], "Modo"), *GetParam() ? "em bloco" : "linha a linha");
  EXPECT_EQ(AuditFooter(audits[0], "Importados"), "5");
  EXPECT_EQ(AuditFooter(audits[0], "Alterados"), "0");
  const QList<QStringList> rows = AuditRows(audits[0]);
  ASSERT_EQ(rows.size(), 7);
  EXPECT_EQ(rows[0].mid(0, 4), (QStringList{"1", "", "", "não é linha de contribuinte"}));
  // Every inserted line's code is the row the table holds for its CNPJ.
  QStringList inserted;
  for (const QStringList& row : rows.mid(1, 5)) {
    EXPECT_EQ(row[3], "inserida");
    inserted << row[4] << row[1];
  }
  EXPECT_EQ(inserted, command.rows("COD_CAM, CNPJ_CAM"));
  EXPECT_EQ(rows[6].mid(0, 5), (QStringList{"7", NumberedCnpj(2), NumberedName(2),
                                            "mantida: a data gravada não é mais antiga", "2"}));
  EXPECT_EQ(command.rows("DISTINCT LOGIN_INC_CAM"), QStringList{"ana"});
}

TEST_P(EachWay, AFailedRunKeepsItsCommitsSaysHowManyAndMarksTheRestUndone) {
  // Line 1500 is cut before its date: storing it fails the run.
  const QString path =
      files.write("falha.txt", NumberedCandidates(1, 1499) + NumberedCandidate(1500).left(180) +
                                   "\n" + NumberedCandidates(1501, 1000));
  const QString audit = files.write("auditoria.csv", "");
  const CommandResult result = import({"--login=ana", "--year=2019", "--log=" + audit, path});
  EXPECT_EQ(result.status, 1);
  EXPECT_TRUE(
      result.err.contains("linha 1500: Erro ao importar os CNPJ dos Candidatos/Partidos "
                          "Importado!\nErro: '// :' is not a valid date and time"))
      << result.err.toStdString();
  EXPECT_TRUE(
      result.err.contains("A importação falhou e foi desfeita até o último commit: "
                          "ficaram gravadas as 1000 primeiras linhas lidas (1000 "
                          "Importados e 0 Alterados)."))
      << result.err.toStdString();
  EXPECT_EQ(command.rowCount(), 1000);

  const QList<QStringList> rows = AuditRows(audit);
  ASSERT_EQ(rows.size(), 1500);
  EXPECT_EQ(rows[999].mid(0, 5),
            (QStringList{"1000", NumberedCnpj(1000), NumberedName(1000), "inserida", "1000"}));
  EXPECT_EQ(rows[1000][3], "desfeita");
  EXPECT_EQ(rows[1000][6], "inserida");
  EXPECT_EQ(rows[1499][0], "1500");
  EXPECT_EQ(rows[1499][3], "desfeita");
  EXPECT_EQ(rows[1499][6], "erro que parou a importação: '// :' is not a valid date and time");
  EXPECT_EQ(AuditFooter(audit, "Linhas desfeitas"), "500");
  EXPECT_EQ(AuditFooter(audit, "Situação"), "falhou: '// :' is not a valid date and time");
}

TEST_P(EachWay, ADryRunForetellsTheRunAndLeavesTheTableAsItWas) {
  TestServer::isql(
      command.install.database,
      QString("INSERT INTO GR_CONTRIB_CAMPANHA (COD_CAM, CNPJ_CAM, NOME_CAM, ANO_CAM, "
              "DATACNPJ_CAM) VALUES (1, '%1', 'ANTIGO', 2019, '2017-01-01 10:00');\n"
              "INSERT INTO GR_CONTRIB_CAMPANHA (COD_CAM, CNPJ_CAM, NOME_CAM, ANO_CAM, "
              "DATACNPJ_CAM) VALUES (2, '%2', 'NOVO', 2019, '2020-01-01 10:00');\n"
              "INSERT INTO GR_CONTRIB_CAMPANHA (COD_CAM, CNPJ_CAM, NOME_CAM, ANO_CAM, "
              "DATACNPJ_CAM) VALUES (3, '%3', 'OUTRO ANO', 2015, '2017-01-01 10:00');\n"
              "ALTER TABLE GR_CONTRIB_CAMPANHA ADD CONSTRAINT CK_NOT_THE_FOURTH "
              "CHECK (CNPJ_CAM <> '%4');\nCOMMIT;\n")
          .arg(NumberedCnpj(1), NumberedCnpj(2), NumberedCnpj(3), NumberedCnpj(4)));
  const QString path = files.write("seis.txt", NumberedCandidates(1, 6));
  const QString everything =
      "COD_CAM, TIPO_CAM, CNPJ_CAM, NOME_CAM, ANO_CAM, COD_TOM_CAM, NATJUR_CAM, CNAE_CAM, "
      "DATACNPJ_CAM, LOGIN_INC_CAM, DTA_INC_CAM, LOGIN_ALT_CAM, DTA_ALT_CAM";
  const QStringList before = command.rows(everything);

  const QString foretold = files.write("simulacao.csv", "");
  const CommandResult dry =
      import({"--login=ana", "--year=2019", "--dry-run", "--log=" + foretold, path});
  ASSERT_EQ(dry.status, 0) << dry.err.toStdString();
  EXPECT_TRUE(
      dry.err.contains("Simulação: seriam 2 inseridas, 1 reescritas, 2 mantidas e 1 "
                       "recusadas pelo banco, de 6 linhas; nada foi gravado."))
      << dry.err.toStdString();
  EXPECT_TRUE(dry.err.contains("CK_NOT_THE_FOURTH")) << "the database's refusal is told";
  EXPECT_EQ(command.rows(everything), before);

  const QString done = files.write("real.csv", "");
  const CommandResult real = import({"--login=ana", "--year=2019", "--log=" + done, path});
  ASSERT_EQ(real.status, 0) << real.err.toStdString();
  EXPECT_NE(command.rows(everything), before);
  const QList<QStringList> outcomes = AuditRows(done);
  EXPECT_EQ(AuditRows(foretold), outcomes);
  QStringList fates;
  for (const QStringList& row : outcomes) fates << row[3];
  EXPECT_EQ(fates, (QStringList{"reescrita", "mantida: a data gravada não é mais antiga",
                                "mantida: o CNPJ está gravado em outro exercício",
                                "recusada pelo banco", "inserida", "inserida"}));
}

// What a signal leaves: the commits made before it, and the rest rolled back.
class Stop : public CommandLine, public ::testing::WithParamInterface<int> {};

INSTANTIATE_TEST_SUITE_P(Signals, Stop, ::testing::Values(SIGINT, SIGTERM),
                         [](const auto& info) { return info.param == SIGINT ? "Int" : "Term"; });

TEST_P(Stop, RollsBackToTheLastCommitAndSaysWhatStayed) {
  constexpr int kLines = 20000;
  const QString path = files.write("muitas.txt", NumberedCandidates(1, kLines));
  const QString audit = files.write("auditoria.csv", "");
  const auto process = command.start({"--login=ana", "--year=2019", "--log=" + audit, path});
  while (command.rowCount() < 1000 && process->state() == QProcess::Running) QThread::msleep(50);
  ASSERT_EQ(process->state(), QProcess::Running) << "the run ended before it could be stopped";
  ::kill(static_cast<pid_t>(process->processId()), GetParam());
  const CommandResult result = InstalledCommand::finish(*process);

  EXPECT_EQ(result.status, 130) << result.err.toStdString();
  const QRegularExpressionMatch kept =
      QRegularExpression(
          "Importação interrompida e desfeita até o último commit: ficaram "
          "gravadas as (\\d+) primeiras linhas lidas \\((\\d+) Importados")
          .match(result.err);
  ASSERT_TRUE(kept.hasMatch()) << result.err.toStdString();
  const int stayed = kept.captured(1).toInt();
  EXPECT_EQ(kept.captured(2).toInt(), stayed);
  EXPECT_GE(stayed, 1000);
  EXPECT_LT(stayed, kLines);
  EXPECT_EQ(stayed % 1000, 0);
  EXPECT_EQ(command.rowCount(), stayed);
  const QList<QStringList> rows = AuditRows(audit);
  ASSERT_GT(rows.size(), stayed);
  EXPECT_EQ(rows[stayed - 1][3], "inserida");
  EXPECT_EQ(rows[stayed][3], "desfeita");
  EXPECT_EQ(rows.back()[3], "desfeita");
  EXPECT_EQ(AuditFooter(audit, "Situação"), "interrompido");
}
#endif

}  // namespace
}  // namespace tavrel::test
