// The window's commands while a run lets window events run: a search and title clicks touch only
// the viewing set, so the run stores, counts and caches what it would without them.
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include <gtest/gtest.h>

#include "ContributorRows.h"
#include "ImportSession.h"
#include "LabelWatch.h"
#include "NumberedCandidates.h"
#include "QtPrinters.h"
#include "data/UDM.h"
#include "ui/UTavrel.h"

using namespace tavrel::test;

namespace {

constexpr int kCodColumn = 0;
constexpr int kCnpjColumn = 2;

using CommandsDuringARun = ImportSession;

TEST_F(CommandsDuringARun, SearchAndTitleClicksTouchOnlyTheViewingSet) {
  // Stored earlier under older dates: the file rewrites them.
  for (int n = 1; n <= 3; ++n) {
    InsertContributors(install.database,
                       {{n, "CANDIDATO", NumberedCnpj(n), QString("ANTIGO %1").arg(n), 2019, "4090",
                         "8411600", "2018-01-01 00:00"}});
  }
  const QString path = file("trinta.txt", NumberedCandidates(1, 30));
  QString countDuringTheRun;
  LabelWatch count(window().LabCount);
  count.when("10 de 30", [&] {
    window().cboColuna->setCurrentText("NOME");
    window().cboColunaChange();
    window().edtCampo->setText("CANDIDATO 2");
    window().btnPesquisar->click();
    countDuringTheRun = window().LabCount->text();
    for (int click = 0; click < 2; ++click)
      emit window().DBGrid1->horizontalHeader()->sectionClicked(kCnpjColumn);
  });

  run(path);

  EXPECT_EQ(count.shown.filter(" de ").size(), 30);
  // The search saw the run's own rewrite of row 2, in its transaction.
  EXPECT_EQ(countDuringTheRun, "1 Registros.");
  EXPECT_EQ(program.boxes.boxes,
            (std::vector<RecordingDialogs::Box>{{dialogs::BoxKind::Information, "Information",
                                                 "CNPJ dos Candidatos/Partidos Importado!"}}));
  EXPECT_EQ(window().labImportou->text(), "(27 Importados e 3 Alterados)");

  // The search at the end keeps the filter and the descending order chosen during the run.
  EXPECT_EQ(module().cdsVis.activeIndex(), "idxCNPJ_CAMDec");
  EXPECT_EQ(program.columnTexts(kCodColumn),
            (QStringList{"29", "28", "27", "26", "25", "24", "23", "22", "21", "20", "2"}));
  EXPECT_EQ(window().LabCount->text(), "11 Registros.");

  // The write cache and the table are as a run alone leaves them.
  QStringList stored;
  for (int n = 1; n <= 30; ++n) {
    const bool rewritten = n <= 3;
    stored << QString::number(n) << NumberedCnpj(n) << NumberedName(n)
           << (rewritten ? "<null>" : "operador") << (rewritten ? "operador" : "<null>");
  }
  EXPECT_EQ(rows("COD_CAM, CNPJ_CAM, NOME_CAM, LOGIN_INC_CAM, LOGIN_ALT_CAM"), stored);
  EXPECT_FALSE(module().Conexao.inTransaction());
  const ClientDataSet& cache = module().cdsCAM;
  EXPECT_EQ(cache.indexDefCount(), 0);
  EXPECT_EQ(cache.activeIndex(), "");
  EXPECT_EQ(cache.state(), DataSetState::Browse);
  EXPECT_EQ(cache.changeCount(), 0);
  EXPECT_EQ(cachedCodes(), rows("COD_CAM"));
}

}  // namespace
