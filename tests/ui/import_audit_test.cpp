// The audit file the window writes for every import run, and a run whose audit file cannot be
// written.
#include <QDir>
#include <QFile>
#include <QLabel>

#include <gtest/gtest.h>

#include "AuditCsv.h"
#include "CampaignLines.h"
#include "ImportSession.h"
#include "NumberedCandidates.h"
#include "QtPrinters.h"
#include "common/InstallDir.h"
#include "ui/UTavrel.h"

namespace tavrel::test {
namespace {

const RecordingDialogs::Box kImportedBox{dialogs::BoxKind::Information, "Information",
                                         "CNPJ dos Candidatos/Partidos Importado!"};

class ImportAudit : public ImportSession {
 protected:
  QStringList audits() const {
    const QDir logs(InstallDir() + "logs");
    QStringList paths;
    for (const QString& name : logs.entryList({"*.csv"}, QDir::Files)) paths << logs.filePath(name);
    return paths;
  }
};

TEST_F(ImportAudit, EveryRunLeavesAFileBesideTheProgramWithTheWindowsCounts) {
  run(file("tres.txt", "1CABECALHO\n" + NumberedCandidates(1, 3) + NumberedCandidates({2})));
  EXPECT_EQ(program.boxes.boxes, std::vector{kImportedBox});
  EXPECT_EQ(window().labImportou->text(), "(3 Importados e 0 Alterados)");

  const QStringList written = audits();
  ASSERT_EQ(written.size(), 1);
  EXPECT_EQ(AuditFooter(written[0], "Modo"), "janela");
  EXPECT_EQ(AuditFooter(written[0], "Login"), "operador");
  EXPECT_EQ(AuditFooter(written[0], "Início"), "15/03/2019 10:00:00");
  EXPECT_EQ(AuditFooter(written[0], "Importados"), "3");
  EXPECT_EQ(AuditFooter(written[0], "Alterados"), "0");
  QStringList fates;
  for (const QStringList& row : AuditRows(written[0])) fates << row[0] + ' ' + row[3];
  EXPECT_EQ(fates, (QStringList{"1 não é linha de contribuinte", "2 inserida", "3 inserida",
                                "4 inserida", "5 mantida: a data gravada não é mais antiga"}));

  run(file("outra.txt", NumberedCandidates({4})));
  EXPECT_EQ(audits().size(), 2) << "a file for every run";
}

TEST_F(ImportAudit, AFileThatCannotBeWrittenIsToldOnceAndTheRunGoesOn) {
  // A file where the logs folder would be.
  WriteFile(InstallDir() + "logs", "not a folder");
  run(file("tres.txt", NumberedCandidates(1, 3)));

  ASSERT_EQ(program.boxes.boxes.size(), 2u);
  const RecordingDialogs::Box told = program.boxes.boxes.front();
  EXPECT_EQ(told.kind, dialogs::BoxKind::Warning);
  EXPECT_TRUE(
      told.text.startsWith("Não foi possível gravar o arquivo de auditoria desta importação ("))
      << told.text.toStdString();
  EXPECT_TRUE(told.text.endsWith("). A importação continua sem ele."));
  EXPECT_EQ(program.boxes.boxes.back(), kImportedBox);
  EXPECT_EQ(rows("CNPJ_CAM"), (QStringList{NumberedCnpj(1), NumberedCnpj(2), NumberedCnpj(3)}));
}

}  // namespace
}  // namespace tavrel::test
