#include "dataset/OrdenarGRID.h"

#include "dataset/DataSource.h"
#include "support/RecordingDialogs.h"
#include "unit/ContributorSet.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

const QString kAgregado = "Campos do tipo agregado não podem ser Ordenados.";
const QString kVinculoCorreto =
    "Esta Grade não poderá ser ordenada corretamente por causa de restrições ou vinculo com "
    "outras tabelas.";
const QString kVinculo =
    "Esta Grade não poderá ser ordenada por causa de restrições ou vinculo com outras tabelas.";

// Fetch order 1 2 3 4; CNPJ ascending 2 1 4 3; TIPO ascending 2 4 1 3.
const std::vector<Contributor> kFour = {
    {1, "PARTIDO", "20", "Carla", {}},
    {2, "CANDIDATO", "10", "Ana", {}},
    {3, "PARTIDO", "40", "Bruno", {}},
    {4, "CANDIDATO", "30", "Dora", {}},
};
const std::vector<qint32> kFetched = {1, 2, 3, 4};
const std::vector<qint32> kCnpjAsc = {2, 1, 4, 3};
const std::vector<qint32> kCnpjDec = {3, 4, 1, 2};

class OrdenarGRIDTest : public ::testing::Test {
 protected:
  void SetUp() override {
    cdsCAM.setFields(ContributorFields(true));
    OpenWith(cdsVis, ContributorFields(false), kFour);
  }

  std::vector<QString> indexNames() const {
    std::vector<QString> names;
    for (const IndexDef& def : cdsVis.indexDefs()) names.push_back(def.name);
    return names;
  }
  std::vector<RecordingDialogs::Box> warnings(std::vector<QString> texts) const {
    std::vector<RecordingDialogs::Box> boxes;
    for (const QString& text : texts) boxes.push_back({dialogs::BoxKind::Warning, "Warning", text});
    return boxes;
  }
  void click(const QString& column) { OrdenarGRID(&cdsCAM, &dsCAM, column); }

  RecordingDialogs recorder;
  ClientDataSet cdsCAM;
  ClientDataSet cdsVis;
  DataSource dsCAM{&cdsVis};
};

TEST_F(OrdenarGRIDTest, AlternatesOnOneColumnAndStartsAscendingOnAnother) {
  const struct {
    QString column;
    std::vector<qint32> order;
    QString active;
    std::vector<QString> definitions;
  } clicks[] = {
      {"CNPJ_CAM", kCnpjAsc, "idxCNPJ_CAMAsc", {"idxCNPJ_CAMAsc", "idxCNPJ_CAMDec"}},
      {"CNPJ_CAM", kCnpjDec, "idxCNPJ_CAMDec", {"idxCNPJ_CAMAsc", "idxCNPJ_CAMDec"}},
      {"CNPJ_CAM", kCnpjAsc, "idxCNPJ_CAMAsc", {"idxCNPJ_CAMAsc", "idxCNPJ_CAMDec"}},
      {"CNPJ_CAM", kCnpjDec, "idxCNPJ_CAMDec", {"idxCNPJ_CAMAsc", "idxCNPJ_CAMDec"}},
      {"TIPO_CAM", {2, 4, 1, 3}, "idxTIPO_CAMAsc", {"idxTIPO_CAMAsc", "idxTIPO_CAMDec"}},
      {"TIPO_CAM", {1, 3, 2, 4}, "idxTIPO_CAMDec", {"idxTIPO_CAMAsc", "idxTIPO_CAMDec"}},
  };
  for (const auto& c : clicks) {
    cdsVis.moveTo(3);
    click(c.column);
    EXPECT_EQ(CodesInOrder(cdsVis), c.order) << c.active.toStdString();
    EXPECT_EQ(cdsVis.activeIndex(), c.active);
    EXPECT_EQ(indexNames(), c.definitions);
    EXPECT_EQ(cdsVis.recNo(), 1) << "each click moves to the first row";
  }
  EXPECT_TRUE(recorder.boxes.empty());
}

TEST_F(OrdenarGRIDTest, TheOrderOutlivesANewSearchAndTheNextClickGoesOn) {
  click("CNPJ_CAM");
  click("CNPJ_CAM");
  OpenWith(cdsVis, ContributorFields(false),
           {{11, {}, "5", {}, {}}, {12, {}, "9", {}, {}}, {13, {}, "7", {}, {}}});
  EXPECT_EQ(CodesInOrder(cdsVis), (std::vector<qint32>{12, 13, 11}));
  click("CNPJ_CAM");
  EXPECT_EQ(CodesInOrder(cdsVis), (std::vector<qint32>{11, 13, 12}));
  EXPECT_EQ(cdsVis.activeIndex(), "idxCNPJ_CAMAsc");
}

TEST_F(OrdenarGRIDTest, AFieldListOrderOnTheClickedFieldMakesTheFirstClickDescending) {
  const struct {
    QString fieldList;
    std::vector<qint32> order;
    QString active;
  } cases[] = {
      {"CNPJ_CAM", kCnpjDec, "idxCNPJ_CAMDec"},
      {"NOME_CAM", kCnpjAsc, "idxCNPJ_CAMAsc"},
      {"", kCnpjAsc, "idxCNPJ_CAMAsc"},
  };
  for (const auto& c : cases) {
    cdsVis.clearIndexDefs();
    cdsVis.setIndexFieldNames(c.fieldList);
    click("CNPJ_CAM");
    EXPECT_EQ(CodesInOrder(cdsVis), c.order) << c.fieldList.toStdString();
    EXPECT_EQ(cdsVis.activeIndex(), c.active);
  }
}

TEST_F(OrdenarGRIDTest, DefinitionsWithNoneActiveGiveThePairAndDescending) {
  cdsVis.addIndexDef("idxNOME_CAMAsc", "NOME_CAM", false);
  click("CNPJ_CAM");
  EXPECT_EQ(CodesInOrder(cdsVis), kCnpjDec);
  EXPECT_EQ(cdsVis.activeIndex(), "idxCNPJ_CAMDec");
  EXPECT_EQ(indexNames(), (std::vector<QString>{"idxCNPJ_CAMAsc", "idxCNPJ_CAMDec"}));
}

TEST_F(OrdenarGRIDTest, FieldListsAreComparedWithTheirCase) {
  click("CNPJ_CAM");
  click("cnpj_cam");  // another field list: a new pair, ascending
  EXPECT_EQ(CodesInOrder(cdsVis), kCnpjAsc);
  EXPECT_EQ(cdsVis.activeIndex(), "idxcnpj_camAsc");
}

TEST_F(OrdenarGRIDTest, RefusesFieldsItCannotSortAndKeepsTheOrder) {
  const struct {
    const char* name;
    std::function<void(std::vector<FieldDef>&)> change;
    QString warning;
  } cases[] = {
      {"lookup",
       [](std::vector<FieldDef>& f) { f[FieldOf(f, "NOME_CAM")].lookupKeyFields = "COD_CAM"; },
       kAgregado},
      {"blob", [](std::vector<FieldDef>& f) { f[FieldOf(f, "NOME_CAM")].type = FieldType::Blob; },
       kAgregado},
  };
  for (const auto& c : cases) {
    std::vector<FieldDef> fields = ContributorFields(false);
    c.change(fields);
    OpenWith(cdsVis, fields, kFour);
    cdsVis.clearIndexDefs();
    click("CNPJ_CAM");
    recorder.boxes.clear();
    click("NOME_CAM");
    EXPECT_EQ(recorder.boxes, warnings({c.warning})) << c.name;
    EXPECT_EQ(CodesInOrder(cdsVis), kCnpjAsc) << c.name;
    EXPECT_EQ(indexNames(), (std::vector<QString>{"idxCNPJ_CAMAsc", "idxCNPJ_CAMDec"}));
  }
}

TEST_F(OrdenarGRIDTest, RefusesADetailSetAndKeepsTheOrder) {
  click("CNPJ_CAM");
  cdsVis.setMasterFields("COD_CAM");
  click("NOME_CAM");
  EXPECT_EQ(recorder.boxes, warnings({kVinculoCorreto}));
  EXPECT_EQ(CodesInOrder(cdsVis), kCnpjAsc);
  EXPECT_EQ(cdsVis.activeIndex(), "idxCNPJ_CAMAsc");

  cdsVis.setMasterFields("   ");  // blank
  click("NOME_CAM");
  EXPECT_EQ(recorder.boxes.size(), 1u);
  EXPECT_EQ(cdsVis.activeIndex(), "idxNOME_CAMAsc");
}

TEST_F(OrdenarGRIDTest, AnUnknownFieldWarnsAndDropsTheSortState) {
  click("CNPJ_CAM");
  click("CNPJ");
  EXPECT_EQ(recorder.boxes, warnings({kVinculo}));
  EXPECT_EQ(cdsVis.indexDefCount(), 0);
  EXPECT_EQ(cdsVis.activeIndex(), "");
  EXPECT_EQ(CodesInOrder(cdsVis), kFetched);
  click("CNPJ_CAM");
  EXPECT_EQ(CodesInOrder(cdsVis), kCnpjAsc);
}

TEST_F(OrdenarGRIDTest, AnInPlaceEditThatCannotBePostedWarnsAndDropsTheSortState) {
  const struct {
    QString column;
    std::vector<QString> warnings;
  } cases[] = {
      // Toggling fails at once.
      {"TIPO_CAM", {kVinculo}},
      // The new pair fails to activate; then moving to the first row fails too.
      {"CNPJ_CAM", {kVinculo, kVinculo}},
  };
  for (const auto& c : cases) {
    std::vector<FieldDef> fields = ContributorFields(false);
    fields[FieldOf(fields, "NOME_CAM")].required = true;
    OpenWith(cdsVis, fields, kFour);
    click("TIPO_CAM");
    cdsVis.beginEdit();
    cdsVis.setNull("NOME_CAM");
    recorder.boxes.clear();
    click(c.column);
    EXPECT_EQ(recorder.boxes, warnings(c.warnings)) << c.column.toStdString();
    EXPECT_EQ(cdsVis.indexDefCount(), 0);
    EXPECT_EQ(cdsVis.state(), DataSetState::Edit);
    EXPECT_EQ(CodesInOrder(cdsVis), kFetched);
  }
}

TEST_F(OrdenarGRIDTest, DoesNothingWhileTheWritePathHasAStartedRow) {
  const struct {
    const char* name;
    std::function<void(ClientDataSet&)> start;
  } cases[] = {
      {"inserting", [](ClientDataSet& cds) { cds.beginInsert(); }},
      {"editing", [](ClientDataSet& cds) { cds.beginEdit(); }},
  };
  for (const auto& c : cases) {
    OpenWith(cdsCAM, ContributorFields(true), kFour);
    c.start(cdsCAM);
    cdsVis.moveTo(3);
    click("CNPJ_CAM");
    EXPECT_EQ(CodesInOrder(cdsVis), kFetched) << c.name;
    EXPECT_EQ(cdsVis.indexDefCount(), 0) << c.name;
    EXPECT_EQ(cdsVis.recNo(), 3) << c.name;
  }
  EXPECT_TRUE(recorder.boxes.empty());
}

TEST_F(OrdenarGRIDTest, DoesNothingWithoutAnOpenSet) {
  click("CNPJ_CAM");
  cdsVis.close();
  click("CNPJ_CAM");
  click("NADA");
  EXPECT_EQ(cdsVis.activeIndex(), "idxCNPJ_CAMAsc");

  DataSource empty;
  OrdenarGRID(&cdsCAM, &empty, "CNPJ_CAM");
  OrdenarGRID(&cdsCAM, nullptr, "CNPJ_CAM");
  EXPECT_TRUE(recorder.boxes.empty());
}

}  // namespace
