#include "dataset/DataSetModel.h"

#include "common/AppError.h"
#include "common/RegionalForms.h"
#include "common/Win1252.h"
#include "dataset/DataSource.h"
#include "dataset/OrdenarGRID.h"
#include "support/RecordingDialogs.h"
#include "unit/ContributorSet.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

const std::vector<Contributor> kThree = {
    {1, "PARTIDO", "20", win1252::encode("João"), Stamp(2018, 8, 15, 10, 30, 5)},
    {2, "CANDIDATO", "10", "Ana", Stamp(2018, 8, 15)},
    {3, "PARTIDO", "30", {}, {}},
};

const std::vector<DataSetModel::Column> kColumns = {
    {"COD_CAM", "Código"},
    {"CNPJ_CAM", "CNPJ"},
    {"NOME_CAM", "Nome do Candidato / Partido"},
    {"DATACNPJ_CAM", "Data Inserção CNPJ"},
    {"LOGIN_INC_CAM", ""},
};
enum { kCod, kCnpj, kNome, kData, kLogin };

// The model tester reports through qWarning; every report is a failure.
QStringList testerReports;
void recordReport(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type != QtDebugMsg) testerReports << message;
}

class DataSetModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetRegionalLocale(QLocale(QLocale::Portuguese, QLocale::Brazil));
    testerReports.clear();
    previousHandler = qInstallMessageHandler(recordReport);
    set.setFields(ContributorFields(false));
    model = std::make_unique<DataSetModel>(&set, kColumns);
    tester = std::make_unique<QAbstractItemModelTester>(
        model.get(), QAbstractItemModelTester::FailureReportingMode::Warning);
  }
  void TearDown() override {
    qInstallMessageHandler(previousHandler);
    SetRegionalLocale(std::nullopt);
  }

  QString text(int row, int column) const { return model->index(row, column).data().toString(); }

  QtMessageHandler previousHandler = nullptr;
  RecordingDialogs recorder;
  ClientDataSet set;
  std::unique_ptr<DataSetModel> model;
  std::unique_ptr<QAbstractItemModelTester> tester;
};

TEST_F(DataSetModelTest, FollowsOpeningSortingEditingAndClosing) {
  ClientDataSet cdsCAM;
  DataSource dsCAM(&set);
  EXPECT_EQ(model->rowCount(), 0);
  set.open(ContributorRows(set.fields(), kThree));
  EXPECT_EQ(model->rowCount(), 3);
  OrdenarGRID(&cdsCAM, &dsCAM, "CNPJ_CAM");
  EXPECT_EQ(text(0, kCod), "2");
  EXPECT_TRUE(model->setData(model->index(2, kCnpj), "05"));
  EXPECT_EQ(text(0, kCod), "3");
  EXPECT_TRUE(model->setData(model->index(0, kNome), "Zé"));
  set.close();
  EXPECT_EQ(model->rowCount(), 0);
  set.open(ContributorRows(set.fields(), {{9, {}, "1", {}, {}}}));
  EXPECT_EQ(model->rowCount(), 1);
  EXPECT_TRUE(testerReports.isEmpty()) << testerReports.join('\n').toStdString();
  EXPECT_TRUE(recorder.boxes.empty());
}

TEST_F(DataSetModelTest, ShowsEachKindOfValueAsText) {
  set.open(ContributorRows(set.fields(), kThree));
  const struct {
    int row, column;
    QString shown;
  } cases[] = {
      {0, kCod, "1"},           {0, kNome, "João"}, {0, kData, "15/08/2018 10:30:05"},
      {1, kData, "15/08/2018"},  // midnight: the date alone
      {2, kNome, ""},           {2, kData, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(text(c.row, c.column), c.shown) << c.row << "," << c.column;
    EXPECT_EQ(model->index(c.row, c.column).data(Qt::EditRole).toString(), c.shown);
  }
}

TEST_F(DataSetModelTest, AlignsNumbersRightAndEverythingElseLeft) {
  set.open(ContributorRows(set.fields(), kThree));
  const auto horizontal = [&](int column) {
    return Qt::Alignment(model->index(0, column).data(Qt::TextAlignmentRole).toInt()) &
           Qt::AlignHorizontal_Mask;
  };
  EXPECT_EQ(horizontal(kCod), Qt::AlignRight);
  EXPECT_EQ(horizontal(kCnpj), Qt::AlignLeft);
  EXPECT_EQ(horizontal(kData), Qt::AlignLeft);
}

TEST_F(DataSetModelTest, NumbersRowsByThePresentOrder) {
  set.addIndexDef("porCnpjDec", "CNPJ_CAM", true);
  const struct {
    const char* order;
    std::function<void()> choose;
    QStringList codes;  // top to bottom
  } orders[] = {
      {"as fetched", [] {}, {"1", "2", "3"}},
      {"by CNPJ", [this] { set.setIndexFieldNames("CNPJ_CAM"); }, {"2", "1", "3"}},
      {"by CNPJ descending", [this] { set.setActiveIndex("porCnpjDec"); }, {"3", "1", "2"}},
  };
  for (const auto& o : orders) {
    SCOPED_TRACE(o.order);
    set.open(ContributorRows(set.fields(), kThree));
    o.choose();
    for (int recNo = 1; recNo <= 3; ++recNo) {
      const int row = recNo - 1;
      EXPECT_EQ(text(row, kCod), o.codes[row]);
      EXPECT_EQ(model->index(row, kCnpj).data(DataSetModel::RecNoRole).toInt(), recNo);
      // The set numbers the same row alike.
      ASSERT_TRUE(set.locate("COD_CAM", o.codes[row].toInt()));
      EXPECT_EQ(set.recNo(), recNo);
    }
  }
}

TEST_F(DataSetModelTest, EditsStayInTheSetInTheFieldsOwnForm) {
  const struct {
    int column;
    QString typed;
    bool accepted;
    FieldValue stored;
  } cases[] = {
      {kNome, "José", true, QByteArray("Jos\xE9")},
      {kCnpj, QString(25, u'1'), true, QByteArray(20, '1')},
      {kCod, " 17", true, 17},
      {kCod, "", true, {}},
      {kCod, "x", false, 1},
      {kData, "16/09/2019 08:05", true, Stamp(2019, 9, 16, 8, 5)},
      {kData, "16/09/2019", true, Stamp(2019, 9, 16)},
      {kData, "31/02/2019", false, Stamp(2018, 8, 15, 10, 30, 5)},
  };
  for (const auto& c : cases) {
    set.open(ContributorRows(set.fields(), kThree));
    const int field = set.fieldIndex(kColumns[c.column].field);
    EXPECT_EQ(model->setData(model->index(0, c.column), c.typed), c.accepted)
        << c.typed.toStdString();
    EXPECT_EQ(set.valueAt(0, field), c.stored) << c.typed.toStdString();
    EXPECT_EQ(set.state(), DataSetState::Browse);
    EXPECT_EQ(set.changeCount(), c.accepted ? 1 : 0);
  }
  EXPECT_TRUE(testerReports.isEmpty()) << testerReports.join('\n').toStdString();
}

TEST_F(DataSetModelTest, ShowsTheRowBeingInsertedBeforeTheCurrentOneUntilItIsLeft) {
  const auto names = [this] {
    QStringList shown;
    for (int row = 0; row < model->rowCount(); ++row) shown << text(row, kNome);
    return shown;
  };
  set.open(ContributorRows(set.fields(), kThree));
  set.moveTo(2);
  EXPECT_TRUE(model->insertRow(1));
  EXPECT_EQ(set.state(), DataSetState::Insert);
  EXPECT_EQ(names(), (QStringList{"João", "", "Ana", ""}));
  EXPECT_EQ(model->currentRow(), 1);

  // The stored rows refuse edits while a row is started; the started one takes them.
  EXPECT_FALSE(model->setData(model->index(2, kNome), "Outro"));
  EXPECT_TRUE(model->setData(model->index(1, kNome), "Nova"));
  EXPECT_EQ(set.state(), DataSetState::Insert);
  EXPECT_EQ(names(), (QStringList{"João", "Nova", "Ana", ""}));

  // Leaving it posts it to the end of the fetch order; the row moved to is current.
  model->setCurrentRow(3);
  EXPECT_EQ(set.state(), DataSetState::Browse);
  EXPECT_EQ(names(), (QStringList{"João", "Ana", "", "Nova"}));
  EXPECT_EQ(set.value("COD_CAM"), FieldValue(3));
  EXPECT_EQ(model->currentRow(), 2);

  // A new row left untouched goes again; a removed row leaves the set with its change.
  EXPECT_TRUE(model->insertRow(0));
  model->setCurrentRow(2);
  EXPECT_EQ(names(), (QStringList{"João", "Ana", "", "Nova"}));
  EXPECT_EQ(set.value("COD_CAM"), FieldValue(2));
  EXPECT_TRUE(model->removeRow(3));
  EXPECT_EQ(names(), (QStringList{"João", "Ana", ""}));
  EXPECT_EQ(set.changeCount(), 0);
  EXPECT_FALSE(model->removeRow(3));
  EXPECT_TRUE(testerReports.isEmpty()) << testerReports.join('\n').toStdString();
}

TEST_F(DataSetModelTest, TitlesTheColumnsAndFallsBackToTheFieldName) {
  EXPECT_EQ(model->headerData(kCod, Qt::Horizontal).toString(), "Código");
  EXPECT_EQ(model->headerData(kData, Qt::Horizontal).toString(), "Data Inserção CNPJ");
  EXPECT_EQ(model->headerData(kLogin, Qt::Horizontal).toString(), "LOGIN_INC_CAM");
}

TEST_F(DataSetModelTest, TellsAndMovesTheCurrentRow) {
  QSignalSpy moved(model.get(), &DataSetModel::currentRowChanged);
  set.open(ContributorRows(set.fields(), kThree));
  EXPECT_EQ(model->currentRow(), 0);
  set.moveTo(3);
  EXPECT_EQ(model->currentRow(), 2);
  model->setCurrentRow(1);
  EXPECT_EQ(set.recNo(), 2);
  set.close();
  EXPECT_EQ(model->currentRow(), -1);
  QList<int> rows;
  for (const QList<QVariant>& signal : moved) rows << signal.at(0).toInt();
  EXPECT_EQ(rows, (QList<int>{0, 2, 1, -1}));
}

TEST(DataSetModelColumns, ANameThatIsNoFieldIsRefused) {
  ClientDataSet set;
  set.setFields(ContributorFields(false));
  EXPECT_THROW(DataSetModel(&set, {{"NADA", "Nada"}}), AppError);
}

}  // namespace
