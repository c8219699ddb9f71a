#include "dataset/ClientDataSet.h"

#include "common/AppError.h"
#include "common/Win1252.h"
#include "unit/ContributorSet.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// Codes 1-4 with every sorted column in a different order from fetch order.
const std::vector<Contributor> kFour = {
    {1, "PARTIDO", "20", "Carla", Stamp(2018, 3, 1)},
    {2, "CANDIDATO", "10", "Ana", Stamp(2018, 1, 1)},
    {3, "PARTIDO", "40", "Bruno", Stamp(2018, 4, 1)},
    {4, "CANDIDATO", "30", "Dora", Stamp(2018, 2, 1)},
};

QString failureOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const AppError& e) {
    return e.message();
  }
  return "no failure";
}

class ClientDataSetTest : public ::testing::Test {
 protected:
  void SetUp() override { OpenWith(set, ContributorFields(false), kFour); }

  int field(const char* name) const { return set.fieldIndex(name); }
  void sortBy(const char* fieldName, bool descending) {
    set.clearIndexDefs();
    set.addIndexDef("idx", fieldName, descending);
    set.setActiveIndex("idx");
  }

  ClientDataSet set;
};

TEST_F(ClientDataSetTest, FindsFieldsWithoutRegardToCase) {
  EXPECT_EQ(set.fieldIndex("cnpj_cam"), 2);
  EXPECT_EQ(set.findField("Nome_Cam"), 3);
  EXPECT_EQ(set.findField("CNPJ"), -1);
  EXPECT_EQ(failureOf([&] { set.fieldIndex("CNPJ"); }), "Field 'CNPJ' not found");
}

TEST_F(ClientDataSetTest, WalksThePresentOrderAndStopsAtTheEnd) {
  EXPECT_EQ(set.recordCount(), 4);
  EXPECT_EQ(set.recNo(), 1);
  EXPECT_FALSE(set.eof());
  std::vector<FieldValue> seen;
  for (set.first(); !set.eof(); set.next()) seen.push_back(set.value("NOME_CAM"));
  EXPECT_EQ(seen, (std::vector<FieldValue>{"Carla", "Ana", "Bruno", "Dora"}));
  EXPECT_EQ(set.recNo(), 4);
  set.moveTo(2);
  EXPECT_EQ(set.value("COD_CAM"), FieldValue(2));
  EXPECT_FALSE(set.eof());
  EXPECT_EQ(failureOf([&] { set.moveTo(5); }), "Record 5 does not exist");
}

TEST_F(ClientDataSetTest, AnEmptySetHasNoCurrentRow) {
  OpenWith(set, ContributorFields(false), {});
  EXPECT_TRUE(set.eof());
  EXPECT_EQ(set.recNo(), 0);
  EXPECT_TRUE(isNull(set.value("COD_CAM")));
  EXPECT_EQ(failureOf([&] { set.beginEdit(); }), "There is no row to edit");
}

TEST_F(ClientDataSetTest, AClosedSetRefusesWorkButKeepsItsSortState) {
  sortBy("CNPJ_CAM", true);
  set.setMasterFields("X");
  set.close();
  EXPECT_FALSE(set.active());
  EXPECT_EQ(set.state(), DataSetState::Inactive);
  EXPECT_EQ(set.recordCount(), 0);
  EXPECT_EQ(set.activeIndex(), "idx");
  EXPECT_EQ(set.indexDefCount(), 1);
  EXPECT_EQ(set.masterFields(), "X");
  const QString closed = "Cannot perform this operation on a closed dataset";
  EXPECT_EQ(failureOf([&] { set.first(); }), closed);
  EXPECT_EQ(failureOf([&] { set.beginInsert(); }), closed);
  EXPECT_EQ(failureOf([&] { set.locate("COD_CAM", 1); }), closed);
}

TEST_F(ClientDataSetTest, RefusesRowsMadeForOtherFields) {
  std::vector<FieldDef> other = ContributorFields(false);
  other.pop_back();
  set.close();
  EXPECT_EQ(failureOf([&] { set.open(RowStore(other)); }), "The rows do not fit the set's fields");
  EXPECT_FALSE(set.active());
}

TEST_F(ClientDataSetTest, CutsTextToTheFieldWidthAndAtANul) {
  const struct {
    const char* field;
    QString text;
    QByteArray stored;
  } cases[] = {
      {"CNPJ_CAM", QString(25, u'7'), QByteArray(20, '7')},
      {"NOME_CAM", QString(260, u'N'), QByteArray(250, 'N')},
      {"NATJUR_CAM", "1234567", "123456"},
      {"LOGIN_INC_CAM", QString(35, u'L'), QByteArray(30, 'L')},
      {"NOME_CAM", QString("AB") + QChar(0) + "CD", "AB"},
      {"NOME_CAM", QString("ção"), "\xE7\xE3o"},
      {"TIPO_CAM", "", ""},
  };
  for (const auto& c : cases) {
    set.beginInsert();
    set.setText(c.field, c.text);
    EXPECT_EQ(set.value(c.field), FieldValue(c.stored)) << c.field;
    set.post();
    EXPECT_EQ(set.value(c.field), FieldValue(c.stored)) << c.field;
  }
  set.beginEdit();
  set.setValue("CNPJ_CAM", QByteArray(30, '1'));
  EXPECT_EQ(set.value("CNPJ_CAM"), FieldValue(QByteArray(20, '1')));
}

TEST_F(ClientDataSetTest, RefusesValuesOfAnotherKind) {
  set.beginEdit();
  EXPECT_EQ(failureOf([&] { set.setValue("ANO_CAM", QByteArray("2018")); }),
            "Field 'ANO_CAM' cannot hold a value of this kind");
  EXPECT_EQ(failureOf([&] { set.setInteger("DATACNPJ_CAM", 1); }),
            "Field 'DATACNPJ_CAM' cannot hold a value of this kind");
  EXPECT_EQ(failureOf([&] { set.setValue("NOME_CAM", Stamp(2018, 1, 1)); }),
            "Field 'NOME_CAM' cannot hold a value of this kind");
  EXPECT_FALSE(set.modified());
  set.cancel();
  EXPECT_EQ(failureOf([&] { set.setInteger("ANO_CAM", 1); }), "Dataset not in edit or insert mode");
}

TEST(ClientDataSetCache, PostingWithoutCodCamFailsAndTheRowStaysStarted) {
  ClientDataSet cache;
  OpenWith(cache, ContributorFields(true), kFour);
  cache.beginInsert();
  cache.setText("TIPO_CAM", "PARTIDO");
  EXPECT_EQ(failureOf([&] { cache.post(); }), "Field 'COD_CAM' must have a value");
  EXPECT_EQ(cache.state(), DataSetState::Insert);
  EXPECT_EQ(cache.changeCount(), 0);
  EXPECT_EQ(cache.value("TIPO_CAM"), FieldValue("PARTIDO"));
  cache.setInteger("COD_CAM", 5);
  cache.post();
  EXPECT_EQ(cache.state(), DataSetState::Browse);
  EXPECT_EQ(cache.changeCount(), 1);
  EXPECT_EQ(cache.recordCount(), 5);

  cache.locate("COD_CAM", 2);
  cache.beginEdit();
  cache.setNull("COD_CAM");
  EXPECT_EQ(failureOf([&] { cache.post(); }), "Field 'COD_CAM' must have a value");
  EXPECT_EQ(cache.state(), DataSetState::Edit);
}

TEST_F(ClientDataSetTest, ABrowseCheckPostsASetRowAndDropsAnUntouchedOne) {
  set.beginInsert();
  EXPECT_FALSE(set.modified());
  set.checkBrowseMode();
  EXPECT_EQ(set.recordCount(), 4);
  EXPECT_EQ(set.changeCount(), 0);

  set.beginInsert();
  set.setNull("NOME_CAM");
  EXPECT_TRUE(set.modified());
  set.checkBrowseMode();
  EXPECT_EQ(set.state(), DataSetState::Browse);
  EXPECT_EQ(set.recordCount(), 5);
  EXPECT_EQ(set.changeCount(), 1);
}

TEST_F(ClientDataSetTest, CancelRestoresAnEditedRowAndDropsANewOne) {
  set.moveTo(3);
  set.beginEdit();
  set.setText("NOME_CAM", "Outro");
  EXPECT_EQ(set.valueAt(2, field("NOME_CAM")), FieldValue("Outro"));
  set.cancel();
  EXPECT_EQ(set.value("NOME_CAM"), FieldValue("Bruno"));

  set.beginInsert();
  EXPECT_EQ(set.recNo(), 0);
  set.setInteger("COD_CAM", 9);
  set.cancel();
  EXPECT_EQ(set.recNo(), 3);
  EXPECT_EQ(set.recordCount(), 4);
  EXPECT_EQ(set.changeCount(), 0);
}

TEST_F(ClientDataSetTest, LogsInsertsAndRewritesWithTheFetchedValues) {
  set.beginInsert();
  set.setInteger("COD_CAM", 5);
  set.setText("NOME_CAM", "Eva");
  set.post();
  const RowId inserted = set.pendingChanges().front().row;

  set.locate("COD_CAM", 3);
  set.beginEdit();
  set.setText("NOME_CAM", "Beto");
  set.post();
  set.beginEdit();  // a second edit keeps the fetched values
  set.setText("CNPJ_CAM", "41");
  set.post();

  set.locate("COD_CAM", 5);
  set.beginEdit();  // an edited insert stays an insert
  set.setText("TIPO_CAM", "PARTIDO");
  set.post();

  const std::vector<PendingChange> changes = set.pendingChanges();
  ASSERT_EQ(changes.size(), 2u);
  EXPECT_EQ(changes[0].kind, ChangeKind::Insert);
  EXPECT_EQ(changes[0].row, inserted);
  EXPECT_EQ(changes[0].original, std::vector<FieldValue>(set.fields().size()));
  EXPECT_EQ(changes[0].current[field("NOME_CAM")], FieldValue("Eva"));
  EXPECT_EQ(changes[0].changedFields(),
            (std::vector<int>{field("COD_CAM"), field("TIPO_CAM"), field("NOME_CAM")}));
  EXPECT_EQ(changes[1].kind, ChangeKind::Modify);
  EXPECT_EQ(changes[1].original[field("NOME_CAM")], FieldValue("Bruno"));
  EXPECT_EQ(changes[1].original[field("CNPJ_CAM")], FieldValue("40"));
  EXPECT_EQ(changes[1].current[field("NOME_CAM")], FieldValue("Beto"));
  EXPECT_EQ(changes[1].changedFields(), (std::vector<int>{field("CNPJ_CAM"), field("NOME_CAM")}));
}

TEST_F(ClientDataSetTest, SettlesEachChangeAsTheDatabaseAnswered) {
  set.locate("COD_CAM", 1);
  set.beginEdit();
  set.setText("NOME_CAM", "Aceita");
  set.post();
  set.locate("COD_CAM", 2);
  set.beginEdit();
  set.setText("NOME_CAM", "Corrigir");
  set.post();
  set.locate("COD_CAM", 3);
  set.beginEdit();
  set.setText("NOME_CAM", "Desfeita");
  set.setInteger("COD_CAM", 33);
  set.post();
  set.beginInsert();
  set.setInteger("COD_CAM", 5);
  set.post();
  const std::vector<PendingChange> changes = set.pendingChanges();
  ASSERT_EQ(changes.size(), 4u);

  set.acceptChange(changes[0].row);
  set.refuseChange(changes[1].row, ReconcileAction::Correct);
  set.refuseChange(changes[2].row, ReconcileAction::Cancel);
  set.refuseChange(changes[3].row, ReconcileAction::Cancel);

  ASSERT_EQ(set.changeCount(), 1);
  EXPECT_EQ(set.pendingChanges().front().current[field("NOME_CAM")], FieldValue("Corrigir"));
  EXPECT_EQ(CodesInOrder(set), (std::vector<qint32>{1, 2, 3, 4}));
  std::vector<FieldValue> names;
  for (qsizetype i = 0; i < set.recordCount(); ++i)
    names.push_back(set.valueAt(i, field("NOME_CAM")));
  EXPECT_EQ(names, (std::vector<FieldValue>{"Aceita", "Corrigir", "Bruno", "Dora"}));
  EXPECT_FALSE(set.locate("COD_CAM", 5));
  EXPECT_FALSE(set.locate("COD_CAM", 33));
  EXPECT_TRUE(set.locate("COD_CAM", 3));
}

TEST_F(ClientDataSetTest, LocateFollowsInsertsKeyEditsCancelsAndReopening) {
  EXPECT_TRUE(set.locate("COD_CAM", 3));
  EXPECT_EQ(set.value("NOME_CAM"), FieldValue("Bruno"));
  EXPECT_FALSE(set.locate("COD_CAM", 7));
  EXPECT_EQ(set.value("NOME_CAM"), FieldValue("Bruno"));  // no move when nothing is found

  set.beginInsert();
  set.setInteger("COD_CAM", 7);
  set.cancel();
  EXPECT_FALSE(set.locate("COD_CAM", 7));

  set.beginInsert();
  set.setInteger("COD_CAM", 7);
  set.setText("NOME_CAM", "Gil");
  set.post();
  set.first();
  EXPECT_TRUE(set.locate("COD_CAM", 7));
  EXPECT_EQ(set.value("NOME_CAM"), FieldValue("Gil"));

  set.locate("COD_CAM", 2);
  set.beginEdit();
  set.setInteger("COD_CAM", 20);
  set.post();
  EXPECT_FALSE(set.locate("COD_CAM", 2));
  EXPECT_TRUE(set.locate("COD_CAM", 20));
  EXPECT_EQ(set.value("NOME_CAM"), FieldValue("Ana"));

  set.beginInsert();  // a second row with a taken key: the earlier row is the one found
  set.setInteger("COD_CAM", 4);
  set.setText("NOME_CAM", "Repetido");
  set.post();
  EXPECT_TRUE(set.locate("COD_CAM", 4));
  EXPECT_EQ(set.value("NOME_CAM"), FieldValue("Dora"));

  OpenWith(set, ContributorFields(false), {{8, "PARTIDO", "80", "Hugo", {}}});
  EXPECT_FALSE(set.locate("COD_CAM", 4));
  EXPECT_TRUE(set.locate("COD_CAM", 8));
  EXPECT_EQ(set.value("NOME_CAM"), FieldValue("Hugo"));
}

TEST_F(ClientDataSetTest, PutsNullsFirstAscendingAndLastDescending) {
  const struct {
    const char* field;
    std::vector<Contributor> rows;
    std::vector<qint32> ascending, descending;
  } cases[] = {
      {"NOME_CAM",
       {{1, {}, {}, "B", {}}, {2, {}, {}, {}, {}}, {3, {}, {}, "A", {}}, {4, {}, {}, {}, {}}},
       {2, 4, 3, 1},
       {1, 3, 2, 4}},
      {"DATACNPJ_CAM",
       {{1, {}, {}, {}, Stamp(2018, 5, 1)},
        {2, {}, {}, {}, {}},
        {3, {}, {}, {}, Stamp(2017, 5, 1, 23, 59, 59)},
        {4, {}, {}, {}, QDateTime()}},
       {2, 4, 3, 1},
       {1, 3, 2, 4}},
      {"COD_CAM",
       {{9, {}, {}, {}, {}}, {{}, {}, {}, "x", {}}, {-3, {}, {}, {}, {}}},
       {0, -3, 9},
       {9, -3, 0}},
  };
  for (const auto& c : cases) {
    OpenWith(set, ContributorFields(false), c.rows);
    sortBy(c.field, false);
    EXPECT_EQ(CodesInOrder(set), c.ascending) << c.field;
    sortBy(c.field, true);
    EXPECT_EQ(CodesInOrder(set), c.descending) << c.field;
  }
}

TEST_F(ClientDataSetTest, EqualValuesKeepFetchOrderWhateverTheOrderBefore) {
  OpenWith(set, ContributorFields(false),
           {{1, "PARTIDO", "1", {}, {}},
            {2, "CANDIDATO", "2", {}, {}},
            {3, "PARTIDO", "3", {}, {}},
            {4, "CANDIDATO", "4", {}, {}},
            {5, "PARTIDO", "5", {}, {}}});
  sortBy("CNPJ_CAM", true);
  ASSERT_EQ(CodesInOrder(set), (std::vector<qint32>{5, 4, 3, 2, 1}));
  sortBy("TIPO_CAM", false);
  EXPECT_EQ(CodesInOrder(set), (std::vector<qint32>{2, 4, 1, 3, 5}));
  sortBy("TIPO_CAM", true);
  EXPECT_EQ(CodesInOrder(set), (std::vector<qint32>{1, 3, 5, 2, 4}));
}

TEST_F(ClientDataSetTest, RanksTextByLetterBeforeCaseAndAccent) {
  const auto nome = [](qint32 cod, const char* utf8) {
    return Contributor{cod, {}, {}, win1252::encode(QString::fromUtf8(utf8)), {}};
  };
  OpenWith(set, ContributorFields(false),
           {nome(1, "ZÉLIA"), nome(2, "água"), nome(3, "zeca"), nome(4, "Álvaro"), nome(5, "AGUA"),
            nome(6, "Abel"), nome(7, ""), nome(8, "Çanga")});
  sortBy("NOME_CAM", false);
  EXPECT_EQ(CodesInOrder(set), (std::vector<qint32>{7, 6, 5, 2, 4, 8, 3, 1}));
}

TEST_F(ClientDataSetTest, RanksLongTextsThatShareABeginning) {
  const auto nome = [](qint32 cod, const char* utf8) {
    return Contributor{cod, {}, {}, win1252::encode(QString::fromUtf8(utf8)), {}};
  };
  OpenWith(set, ContributorFields(false),
           {nome(1, "ELEIÇÃO 2018 JOSÉ DA SILVA DEPUTADO FEDERAL"),
            nome(2, "ELEICAO 2018 JOSE DA SILVA DEPUTADO ESTADUAL"),
            nome(3, "eleição 2018 josé da silva deputado estadual"),
            nome(4, "ELEIÇÃO 2018 JOSÉ DA SILVA"), nome(5, "ELEIÇÃO 2018 MARIA DA CONCEIÇÃO SOUZA"),
            nome(6, "ELEIÇÃO 2018 MARIA DA CONCEIÇÃO ALMEIDA")});
  sortBy("NOME_CAM", false);
  EXPECT_EQ(CodesInOrder(set), (std::vector<qint32>{4, 2, 3, 1, 6, 5}));
  sortBy("NOME_CAM", true);
  EXPECT_EQ(CodesInOrder(set), (std::vector<qint32>{5, 6, 1, 3, 2, 4}));
  sortBy("NOME_CAM", false);
  set.beginInsert();  // placed by comparing it with single rows
  set.setInteger("COD_CAM", 7);
  set.setText("NOME_CAM", "Eleição 2018 José da Silva Deputado Estadual");
  set.post();
  EXPECT_EQ(CodesInOrder(set), (std::vector<qint32>{4, 2, 7, 3, 1, 6, 5}));
  set.beginInsert();  // ranked before José da Silva although its bytes are not
  set.setInteger("COD_CAM", 8);
  set.setText("NOME_CAM", "eleição 2018 josé da costa");
  set.post();
  EXPECT_EQ(CodesInOrder(set), (std::vector<qint32>{8, 4, 2, 7, 3, 1, 6, 5}));
}

TEST_F(ClientDataSetTest, NamedIndexesAreFoundWithoutRegardToCase) {
  set.addIndexDef("idxCNPJ_CAMAsc", "CNPJ_CAM", false);
  EXPECT_EQ(failureOf([&] { set.addIndexDef("IDXCNPJ_CAMASC", "NOME_CAM", false); }),
            "Duplicate index name 'IDXCNPJ_CAMASC'");
  ASSERT_NE(set.findIndexDef("IDXcnpj_camASC"), nullptr);
  EXPECT_EQ(set.findIndexDef("IDXcnpj_camASC")->fields, "CNPJ_CAM");
  set.setActiveIndex("idxcnpj_camasc");
  EXPECT_EQ(set.activeIndex(), "idxCNPJ_CAMAsc");
  EXPECT_EQ(CodesInOrder(set), (std::vector<qint32>{2, 1, 4, 3}));
  EXPECT_EQ(failureOf([&] { set.setActiveIndex("idxNada"); }), "Index 'idxNada' not found");
  EXPECT_EQ(set.activeIndex(), "idxCNPJ_CAMAsc");
  set.clearIndexDefs();
  EXPECT_EQ(set.activeIndex(), "");
  EXPECT_EQ(CodesInOrder(set), (std::vector<qint32>{1, 2, 3, 4}));
}

TEST_F(ClientDataSetTest, FieldListOrderAndNamedIndexReplaceEachOther) {
  set.setIndexFieldNames("NOME_CAM");
  EXPECT_EQ(CodesInOrder(set), (std::vector<qint32>{2, 3, 1, 4}));
  sortBy("CNPJ_CAM", true);
  EXPECT_EQ(set.indexFieldNames(), "");
  EXPECT_EQ(CodesInOrder(set), (std::vector<qint32>{3, 4, 1, 2}));
  set.setIndexFieldNames("DATACNPJ_CAM");
  EXPECT_EQ(set.activeIndex(), "");
  EXPECT_EQ(CodesInOrder(set), (std::vector<qint32>{2, 4, 1, 3}));
  EXPECT_EQ(failureOf([&] { set.setIndexFieldNames("NADA"); }), "Field 'NADA' not found");
  EXPECT_EQ(set.indexFieldNames(), "DATACNPJ_CAM");
}

TEST_F(ClientDataSetTest, TheActiveOrderIsBuiltAgainOverNewRows) {
  sortBy("CNPJ_CAM", true);
  OpenWith(set, ContributorFields(false),
           {{11, {}, "5", {}, {}}, {12, {}, "9", {}, {}}, {13, {}, "7", {}, {}}});
  EXPECT_EQ(set.activeIndex(), "idx");
  EXPECT_EQ(CodesInOrder(set), (std::vector<qint32>{12, 13, 11}));
  EXPECT_EQ(set.recNo(), 1);
}

TEST_F(ClientDataSetTest, ActivatingAnOrderPostsTheStartedRowFirst) {
  set.moveTo(2);
  set.beginEdit();
  set.setText("CNPJ_CAM", "99");
  sortBy("CNPJ_CAM", false);
  EXPECT_EQ(set.state(), DataSetState::Browse);
  EXPECT_EQ(set.changeCount(), 1);
  EXPECT_EQ(CodesInOrder(set), (std::vector<qint32>{1, 4, 3, 2}));
  EXPECT_EQ(set.value("COD_CAM"), FieldValue(2));  // the current row is followed, not its place
}

TEST(ClientDataSetCache, AnOrderIsNotActivatedWhenTheStartedRowCannotBePosted) {
  ClientDataSet cache;
  OpenWith(cache, ContributorFields(true), kFour);
  cache.addIndexDef("idx", "CNPJ_CAM", false);
  cache.beginInsert();
  cache.setText("CNPJ_CAM", "00");
  EXPECT_EQ(failureOf([&] { cache.setActiveIndex("idx"); }), "Field 'COD_CAM' must have a value");
  EXPECT_EQ(cache.activeIndex(), "");
  EXPECT_EQ(cache.state(), DataSetState::Insert);
  EXPECT_EQ(CodesInOrder(cache), (std::vector<qint32>{1, 2, 3, 4}));
}

TEST_F(ClientDataSetTest, PostedRowsTakeTheirPlaceInTheActiveOrder) {
  sortBy("NOME_CAM", false);  // Ana 2, Bruno 3, Carla 1, Dora 4
  set.first();
  set.beginEdit();
  set.setText("NOME_CAM", "Zuleica");
  set.post();
  EXPECT_EQ(CodesInOrder(set), (std::vector<qint32>{3, 1, 4, 2}));
  EXPECT_EQ(set.recNo(), 4);

  set.beginInsert();
  set.setInteger("COD_CAM", 5);
  set.setText("NOME_CAM", "Carla");  // after the fetched Carla: equal values keep posting order
  set.post();
  EXPECT_EQ(CodesInOrder(set), (std::vector<qint32>{3, 1, 5, 4, 2}));
  EXPECT_EQ(set.recNo(), 3);

  set.moveTo(5);
  set.beginEdit();
  set.setText("NOME_CAM", "Abigail");
  set.post();
  EXPECT_EQ(CodesInOrder(set), (std::vector<qint32>{2, 3, 1, 5, 4}));
  EXPECT_EQ(set.recNo(), 1);

  // Row 2's first posted name was Zuleica; cancelling its rewrite brings back Ana.
  set.refuseChange(set.pendingChanges().front().row, ReconcileAction::Cancel);
  EXPECT_EQ(CodesInOrder(set), (std::vector<qint32>{2, 3, 1, 5, 4}));
  set.moveTo(1);
  EXPECT_EQ(set.value("NOME_CAM"), FieldValue("Ana"));
}

}  // namespace

TEST_F(ClientDataSetTest, DeletingDropsTheRowAndItsChangeOrTheRowBeingInserted) {
  const struct {
    const char* name;
    std::function<void()> arrange;  // leaves the row to delete current or started
    QStringList names;              // what the set holds afterwards, in its order
    qsizetype changes;
    qsizetype recNo;
  } cases[] = {
      {"a fetched row", [&] { set.moveTo(2); }, {"Carla", "Bruno", "Dora"}, 0, 2},
      {"the last row", [&] { set.moveTo(4); }, {"Carla", "Ana", "Bruno"}, 0, 3},
      {"an edited row",
       [&] {
         set.moveTo(3);
         set.beginEdit();
         set.setText("NOME_CAM", "Beto");
         set.post();
       },
       {"Carla", "Ana", "Dora"},
       0,
       3},
      {"a posted new row",
       [&] {
         set.beginInsert();
         set.setText("NOME_CAM", "Eva");
         set.post();
       },
       {"Carla", "Ana", "Bruno", "Dora"},
       0,
       4},
      {"the row being inserted",
       [&] {
         set.moveTo(2);
         set.beginInsert();
         set.setText("NOME_CAM", "Eva");
       },
       {"Carla", "Ana", "Bruno", "Dora"},
       0,
       2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    OpenWith(set, ContributorFields(false), kFour);
    c.arrange();
    set.deleteRecord();
    QStringList names;
    for (qsizetype i = 0; i < set.recordCount(); ++i)
      names << QString::fromLatin1(std::get<QByteArray>(set.valueAt(i, field("NOME_CAM"))));
    EXPECT_EQ(names, c.names);
    EXPECT_EQ(set.changeCount(), c.changes);
    EXPECT_EQ(set.state(), DataSetState::Browse);
    EXPECT_EQ(set.recNo(), c.recNo);
  }
}

TEST_F(ClientDataSetTest, AnInsertShowsBeforeTheCurrentRow) {
  set.moveTo(3);
  EXPECT_EQ(set.insertPosition(), -1);
  set.beginInsert();
  EXPECT_EQ(set.insertPosition(), 2);
  set.cancel();
  EXPECT_EQ(set.insertPosition(), -1);
  OpenWith(set, ContributorFields(false), {});
  set.beginInsert();
  EXPECT_EQ(set.insertPosition(), 0);
  set.cancel();
  EXPECT_EQ(failureOf([&] { set.deleteRecord(); }),
            "Cannot perform this operation on an empty dataset");
}
