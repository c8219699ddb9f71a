// The grid of the running window: sorting by title clicks and the colours of painted cells.
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <vector>

#include "ContributorRows.h"
#include "Installation.h"
#include "RunningProgram.h"
#include "data/UDM.h"
#include "dataset/DataSetModel.h"
#include "ui/UTavrel.h"

using tavrel::test::Installation;
using tavrel::test::RunningProgram;
using tavrel::test::TestServer;

namespace {

// Columns of the grid's model.
constexpr int kCod = 0;
constexpr int kTipo = 1;
constexpr int kCnpj = 2;
constexpr int kNome = 3;

const QColor kOdd(218, 218, 197);
const QColor kEven(236, 236, 217);
const QColor kSelection(210, 230, 210);

// The colour that most pixels of the rectangle have: the cell's background, whatever its text.
QColor Background(const QImage& image, const QRect& rect) {
  std::map<QRgb, int> counts;
  for (int y = rect.top(); y <= rect.bottom(); ++y)
    for (int x = rect.left(); x <= rect.right(); ++x) ++counts[image.pixel(x, y) | 0xff000000u];
  QRgb most = 0;
  int mostCount = -1;
  for (const auto& [rgb, count] : counts) {
    if (count > mostCount) most = rgb, mostCount = count;
  }
  return QColor(most);
}

// The darkest pixel of the rectangle, which is the text's colour where a stroke is solid.
int DarkestGrey(const QImage& image, const QRect& rect) {
  int darkest = 255;
  for (int y = rect.top(); y <= rect.bottom(); ++y)
    for (int x = rect.left(); x <= rect.right(); ++x)
      darkest = std::min(darkest, qGray(image.pixel(x, y)));
  return darkest;
}

std::string Name(const QColor& colour) {
  return QString("RGB(%1,%2,%3)")
      .arg(colour.red())
      .arg(colour.green())
      .arg(colour.blue())
      .toStdString();
}

class WindowGrid : public ::testing::Test {
 protected:
  void SetUp() override {
    tavrel::test::InsertContributors(
        install.database, {
                              {1, "CANDIDATO", "33300000000101", "JOAO DA SILVA", 2019, "4090",
                               "8411600", "2018-08-15 10:00"},
                              {2, "PARTIDO", "11100000000102", "PARTIDO VERDE", 2019, "3220",
                               "9492800", "2018-08-05 00:00"},
                              {3, "CANDIDATO", "44400000000103", "MARIA D'AVILA", 2019, "4090",
                               "8411600", "2018-08-15 00:00"},
                              {4, "PARTIDO", "22200000000104", "PARTIDO DA SILVA", 2019, "3220",
                               "9492800", "2018-05-08 00:00"},
                          });
    program.start({"tavrel", "joao"});
    ASSERT_TRUE(program.boxes.boxes.empty());
    ASSERT_EQ(program.columnTexts(kCod), (QStringList{"1", "2", "3", "4"}));
  }

  TFTavrel& window() { return program.window(); }
  ClientDataSet& cdsVis() { return program.module().cdsVis; }

  // A click of the mouse on the column's title.
  void clickTitle(int column) {
    QHeaderView* titles = window().DBGrid1->horizontalHeader();
    const QPoint centre(titles->sectionViewportPosition(column) + titles->sectionSize(column) / 2,
                        titles->height() / 2);
    QTest::mouseClick(titles->viewport(), Qt::LeftButton, {}, centre);
  }

  QStringList indexNames() {
    QStringList names;
    for (const IndexDef& def : cdsVis().indexDefs()) names << def.name;
    return names;
  }

  void search(const QString& tipo) {
    window().cboTipo->setCurrentText(tipo);
    window().btnPesquisar->click();
  }

  QImage gridImage() { return window().DBGrid1->viewport()->grab().toImage(); }

  Installation install;
  RunningProgram program;
};

TEST_F(WindowGrid, TitleClicksSortAscendingThenDescendingAndAnotherColumnStartsAgain) {
  const struct {
    int column;
    QString active;
    QStringList indexes;
    int shownColumn;
    QStringList shown;
  } clicks[] = {
      {kCnpj,
       "idxCNPJ_CAMAsc",
       {"idxCNPJ_CAMAsc", "idxCNPJ_CAMDec"},
       kCnpj,
       {"11100000000102", "22200000000104", "33300000000101", "44400000000103"}},
      {kCnpj,
       "idxCNPJ_CAMDec",
       {"idxCNPJ_CAMAsc", "idxCNPJ_CAMDec"},
       kCnpj,
       {"44400000000103", "33300000000101", "22200000000104", "11100000000102"}},
      {kTipo,
       "idxTIPO_CAMAsc",
       {"idxTIPO_CAMAsc", "idxTIPO_CAMDec"},
       kTipo,
       {"CANDIDATO", "CANDIDATO", "PARTIDO", "PARTIDO"}},
      {kTipo,
       "idxTIPO_CAMDec",
       {"idxTIPO_CAMAsc", "idxTIPO_CAMDec"},
       kTipo,
       {"PARTIDO", "PARTIDO", "CANDIDATO", "CANDIDATO"}},
      {kNome, "idxNOME_CAMAsc", {"idxNOME_CAMAsc", "idxNOME_CAMDec"}, kCod, {"1", "3", "4", "2"}},
  };
  int step = 0;
  for (const auto& c : clicks) {
    SCOPED_TRACE(++step);
    clickTitle(c.column);
    EXPECT_TRUE(program.boxes.boxes.empty());
    EXPECT_EQ(cdsVis().activeIndex(), c.active);
    EXPECT_EQ(indexNames(), c.indexes);
    EXPECT_EQ(program.columnTexts(c.shownColumn), c.shown);
  }
}

TEST_F(WindowGrid, EachTitleClickMakesTheFirstRowCurrent) {
  QTableView* grid = window().DBGrid1;
  for (int column : {kCnpj, kCnpj, kTipo}) {
    SCOPED_TRACE(column);
    const QModelIndex last = program.gridModel().index(3, kNome);
    grid->setCurrentIndex(last);
    cdsVis().moveTo(4);
    clickTitle(column);
    EXPECT_EQ(cdsVis().recNo(), 1);
    EXPECT_EQ(grid->currentIndex().row(), 0);
    EXPECT_EQ(grid->verticalScrollBar()->value(), 0);
  }
}

TEST_F(WindowGrid, TheOrderSurvivesANewSearchAndTheNextClickContinuesIt) {
  clickTitle(kCnpj);
  clickTitle(kCnpj);
  search("PARTIDO");
  EXPECT_EQ(program.columnTexts(kCnpj), (QStringList{"22200000000104", "11100000000102"}));
  EXPECT_EQ(cdsVis().activeIndex(), "idxCNPJ_CAMDec");
  search("TODOS");
  EXPECT_EQ(program.columnTexts(kCnpj),
            (QStringList{"44400000000103", "33300000000101", "22200000000104", "11100000000102"}));
  clickTitle(kCnpj);
  EXPECT_EQ(program.columnTexts(kCnpj),
            (QStringList{"11100000000102", "22200000000104", "33300000000101", "44400000000103"}));
  EXPECT_TRUE(program.boxes.boxes.empty());
}

TEST_F(WindowGrid, ATitleClickWhileTheSetIsClosedDoesNothing) {
  clickTitle(kCnpj);
  window().edtExercicio->setText("abc");
  window().btnPesquisar->click();
  ASSERT_FALSE(cdsVis().active());
  program.boxes.boxes.clear();

  clickTitle(kTipo);
  window().DBGrid1TitleClick(kTipo);
  EXPECT_TRUE(program.boxes.boxes.empty());
  EXPECT_FALSE(cdsVis().active());
  EXPECT_EQ(cdsVis().activeIndex(), "idxCNPJ_CAMAsc");
  EXPECT_EQ(indexNames(), (QStringList{"idxCNPJ_CAMAsc", "idxCNPJ_CAMDec"}));
}

TEST_F(WindowGrid, PaintedRowsAreStripedAndTheCurrentCellHasTheSelectionColour) {
  program.activate();
  QTableView* grid = window().DBGrid1;
  const struct {
    const char* name;
    std::function<void()> arrange;
  } cases[] = {
      {"focused grid", [&] { grid->setFocus(); }},
      {"focus elsewhere", [&] { window().edtExercicio->setFocus(); }},
      // Stripes follow the rows as shown: the first is odd whatever it holds.
      {"sorted descending",
       [&] {
         clickTitle(kCnpj);
         clickTitle(kCnpj);
         grid->setFocus();
       }},
  };
  const int currentRow = 1;
  const int currentColumn = kCnpj;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    c.arrange();
    grid->setCurrentIndex(program.gridModel().index(currentRow, currentColumn));
    const QImage image = gridImage();
    for (int row = 0; row < 4; ++row) {
      for (int column : {kTipo, kCnpj, kNome}) {
        const QRect rect = grid->visualRect(program.gridModel().index(row, column));
        const QColor expected = row == currentRow && column == currentColumn ? kSelection
                                : row % 2 == 0                               ? kOdd
                                                                             : kEven;
        EXPECT_EQ(Name(Background(image, rect)), Name(expected))
            << "row " << row << " column " << column;
        EXPECT_LE(DarkestGrey(image, rect), 40) << "row " << row << " column " << column;
      }
    }
  }
}

// The clerk's click on a cell, with the small movement a hand makes between press and release:
// the pointer stays over the cell that became current.
TEST_F(WindowGrid, TheCellClickedKeepsTheSelectionColourUnderThePointer) {
  program.activate();
  QTableView* grid = window().DBGrid1;
  grid->setFocus();
  const struct {
    int row;
    int column;
  } clicks[] = {{1, kCnpj}, {2, kNome}, {0, kTipo}};
  for (const auto& c : clicks) {
    SCOPED_TRACE(std::to_string(c.row) + " " + std::to_string(c.column));
    const QRect cell = grid->visualRect(program.gridModel().index(c.row, c.column));
    QWidget* viewport = grid->viewport();
    QTest::mouseMove(viewport, cell.center() - QPoint(3, 0));
    QTest::mousePress(viewport, Qt::LeftButton, {}, cell.center() - QPoint(3, 0));
    QTest::mouseMove(viewport, cell.center());
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, cell.center());
    ASSERT_EQ(grid->currentIndex(), program.gridModel().index(c.row, c.column));

    const QImage image = gridImage();
    EXPECT_EQ(Name(Background(image, cell)), Name(kSelection));
    for (int column : {kTipo, kCnpj, kNome}) {
      if (column == c.column) continue;
      const QRect other = grid->visualRect(program.gridModel().index(c.row, column));
      EXPECT_EQ(Name(Background(image, other)), Name(c.row % 2 == 0 ? kOdd : kEven)) << column;
    }
  }
}

// What the clerk typed into a cell is in the set before a title click changes the order. A click
// of the mouse moves the focus from the editor to the grid, which writes the text first, or
// reports a text the field cannot hold; a title click that leaves the editor open posts it
// itself, and a text that cannot be posted makes it a warning that leaves no order.
TEST_F(WindowGrid, ATitleClickPostsTheTextTypedIntoACell) {
  program.activate();
  QTableView* grid = window().DBGrid1;
  const int kAno = 4;
  const QStringList sortedWithZuleica = {"PARTIDO VERDE", "PARTIDO DA SILVA", "ZULEICA",
                                         "MARIA D'AVILA"};
  const struct {
    const char* name;
    bool mouse;  // a click of the mouse, or the title click alone
    int column;
    const char* typed;
    std::vector<RecordingDialogs::Box> boxes;
    QString active;
    QStringList shown;
  } cases[] = {
      {"a name, clicked", true, kNome, "ZULEICA", {}, "idxCNPJ_CAMAsc", sortedWithZuleica},
      {"a name, editor open", false, kNome, "ZULEICA", {}, "idxCNPJ_CAMAsc", sortedWithZuleica},
      {"a year that is no number, clicked",
       true,
       kAno,
       "abc",
       {{dialogs::BoxKind::Error, "window_tests", "'abc' is not a valid integer value."}},
       "idxCNPJ_CAMAsc",
       {"PARTIDO VERDE", "PARTIDO DA SILVA", "JOAO DA SILVA", "MARIA D'AVILA"}},
      {"a year that is no number, editor open",
       false,
       kAno,
       "abc",
       {{dialogs::BoxKind::Warning, "Warning",
         "Esta Grade não poderá ser ordenada por causa de restrições ou vinculo com outras "
         "tabelas."}},
       "",
       {"JOAO DA SILVA", "PARTIDO VERDE", "MARIA D'AVILA", "PARTIDO DA SILVA"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    search("TODOS");
    cdsVis().clearIndexDefs();
    program.boxes.boxes.clear();
    grid->setFocus();
    grid->setCurrentIndex(program.gridModel().index(0, c.column));
    // The first key opens the editor, which takes the focus and the keys after it.
    QTest::keyClicks(grid, QString(c.typed).left(1));
    QTest::keyClicks(QApplication::focusWidget(), QString(c.typed).mid(1));
    ASSERT_NE(grid->indexWidget(grid->currentIndex()), nullptr);

    if (c.mouse) {
      clickTitle(kCnpj);
    } else {
      window().DBGrid1TitleClick(kCnpj);
    }
    EXPECT_EQ(program.boxes.boxes, c.boxes);
    EXPECT_EQ(cdsVis().activeIndex(), c.active);
    EXPECT_EQ(program.columnTexts(kNome), c.shown);
    EXPECT_EQ(program.columnTexts(kAno), QStringList(4, "2019"));
    EXPECT_EQ(cdsVis().state(), DataSetState::Browse);
    if (c.mouse) EXPECT_EQ(grid->indexWidget(grid->currentIndex()), nullptr);
  }
}

// Insert and Ctrl+Delete change the rows the grid shows, never the table; the next search shows
// the table again.
TEST_F(WindowGrid, InsertedAndDeletedRowsStayInTheGridUntilTheNextSearch) {
  program.activate();
  QTableView* grid = window().DBGrid1;
  grid->setFocus();
  grid->setCurrentIndex(program.gridModel().index(1, kNome));

  QTest::keyClick(grid, Qt::Key_Insert);
  EXPECT_EQ(program.columnTexts(kNome), (QStringList{"JOAO DA SILVA", "", "PARTIDO VERDE",
                                                     "MARIA D'AVILA", "PARTIDO DA SILVA"}));
  EXPECT_EQ(grid->currentIndex(), program.gridModel().index(1, kNome));
  EXPECT_EQ(cdsVis().state(), DataSetState::Insert);

  // Typed, confirmed with Enter and left: the new row takes its place at the end.
  QTest::keyClicks(grid, "N");
  QTest::keyClicks(QApplication::focusWidget(), "OVO");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  QTest::keyClick(grid, Qt::Key_Down);
  EXPECT_EQ(cdsVis().state(), DataSetState::Browse);
  EXPECT_EQ(program.columnTexts(kNome), (QStringList{"JOAO DA SILVA", "PARTIDO VERDE",
                                                     "MARIA D'AVILA", "PARTIDO DA SILVA", "NOVO"}));
  EXPECT_EQ(grid->currentIndex(), program.gridModel().index(1, kNome));

  // A row inserted and left untouched goes again.
  QTest::keyClick(grid, Qt::Key_Insert);
  QTest::keyClick(grid, Qt::Key_Up);
  EXPECT_EQ(program.gridModel().rowCount(), 5);
  EXPECT_EQ(grid->currentIndex(), program.gridModel().index(0, kNome));

  // Ctrl+Delete asks first; Cancel keeps the row, OK deletes it.
  program.boxes.confirmAnswers = {false, true};
  for (int press = 0; press < 2; ++press)
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
  const RecordingDialogs::Box question{dialogs::BoxKind::Confirmation, "Confirm", "Delete record?"};
  EXPECT_EQ(program.boxes.boxes, (std::vector{question, question}));
  EXPECT_EQ(program.columnTexts(kNome),
            (QStringList{"PARTIDO VERDE", "MARIA D'AVILA", "PARTIDO DA SILVA", "NOVO"}));

  EXPECT_EQ(TestServer::values(install.database,
                               "SELECT COUNT(*) FROM GR_CONTRIB_CAMPANHA WHERE NOME_CAM = 'NOVO' "
                               "OR COD_CAM = 1"),
            QStringList{"1"});
  search("TODOS");
  EXPECT_EQ(program.columnTexts(kCod), (QStringList{"1", "2", "3", "4"}));
  EXPECT_EQ(window().LabCount->text(), "4 Registros.");
}

TEST_F(WindowGrid, DrawColumnCellChoosesTheSelectionColourOnlyForItsThreeStates) {
  using F = GridDrawFlag;
  const struct {
    const char* name;
    GridDrawState state;
    bool selection;
  } cases[] = {
      {"selected", F::Selected, true},
      {"focused", F::Focused, true},
      {"selected focused", F::Selected | F::Focused, true},
      {"none", {}, false},
      {"selected hot-tracked", F::Selected | F::HotTrack, false},
      {"selected focused pressed", F::Selected | F::Focused | F::Pressed, false},
      {"focused row-selected", F::Focused | F::RowSelected, false},
      {"fixed selected", F::Fixed | F::Selected, false},
      {"hot-tracked", F::HotTrack, false},
  };
  const QRect rect(0, 0, 120, 18);
  for (const auto& c : cases) {
    for (int row : {0, 1, 2}) {
      SCOPED_TRACE(std::string(c.name) + " row " + std::to_string(row));
      QImage image(rect.size(), QImage::Format_RGB32);
      image.fill(Qt::white);
      QPainter painter(&image);
      window().DBGrid1DrawColumnCell(&painter, rect, program.gridModel().index(row, kTipo),
                                     c.state);
      painter.end();
      const QColor expected = c.selection ? kSelection : row % 2 == 0 ? kOdd : kEven;
      EXPECT_EQ(Name(Background(image, rect)), Name(expected));
      EXPECT_LE(DarkestGrey(image, rect), 40);
    }
  }
}

}  // namespace
