#include "ui/GridColumns.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QStandardItemModel>
#include <QTableView>

#include <gtest/gtest.h>

#include <algorithm>

TEST(GridColumns, ApplyGivesEachColumnItsTitleWidthAndVisibility) {
  QTableView grid;
  QStandardItemModel model(1, 13);
  grid.setModel(&model);
  ApplyGridColumns(grid);

  // A default width holds the field's display width in digits, or the title when that is
  // wider, with 2 px of room on either side.
  const QFontMetrics cells(grid.font());
  const QFontMetrics titles(grid.horizontalHeader()->font());
  const auto fitting = [&](int digits, const QString& title) {
    return std::max(digits * cells.horizontalAdvance(u'0'), titles.horizontalAdvance(title)) + 4;
  };
  const struct {
    int column;
    QString title;
    bool hidden;
    int width;  // 0: the default width for the display width
    int digits;
  } cases[] = {
      {0, "Código", true, 0, 10},       {1, "Tipo", false, 80, 20},
      {2, "CNPJ", false, 0, 20},        {3, "Nome do Candidato / Partido", false, 400, 250},
      {4, "Ano Eleição", false, 0, 10}, {5, "LOGIN_INC_CAM", true, 0, 30},
      {6, "DTA_INC_CAM", true, 0, 18},  {7, "LOGIN_ALT_CAM", true, 0, 30},
      {8, "DTA_ALT_CAM", true, 0, 18},  {9, "Nat Jurid", false, 64, 6},
      {10, "CNAE", false, 0, 10},       {11, "Data Inserção CNPJ", false, 120, 18},
      {12, "Cód Tom", false, 0, 10},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(model.headerData(c.column, Qt::Horizontal).toString(), c.title) << c.column;
    EXPECT_EQ(grid.isColumnHidden(c.column), c.hidden) << c.column;
    EXPECT_EQ(GridColumns()[c.column].displayChars, c.digits) << c.column;
    if (c.hidden) continue;
    const int width = c.width != 0 ? c.width : fitting(c.digits, c.title);
    EXPECT_EQ(grid.columnWidth(c.column), width) << c.column;
  }
}

TEST(GridColumns, DefaultWidthFitsTheDisplayWidthInDigitsAndNeverCutsTheTitle) {
  QFont font("DejaVu Sans");
  font.setPixelSize(11);
  const QFontMetrics metrics(font);
  const int digit = metrics.horizontalAdvance(u'0');
  const struct {
    GridColumn column;
    int width;
  } cases[] = {
      {{"CNPJ_CAM", "CNPJ", 0, true, 20}, 20 * digit + 4},
      {{"ANO_CAM", "Ano", 0, true, 10}, 10 * digit + 4},
      {{"X", "Um título bem mais largo que o campo", 0, true, 2},
       metrics.horizontalAdvance("Um título bem mais largo que o campo") + 4},
      {{"SEM_TITULO", "", 0, false, 1}, metrics.horizontalAdvance("SEM_TITULO") + 4},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DefaultColumnWidth(c.column, metrics, metrics), c.width) << c.column.field;
}

TEST(GridColumns, ModelWithFewerColumnsIsLeftAsFarAsItGoes) {
  QTableView grid;
  QStandardItemModel model(1, 3);
  grid.setModel(&model);
  ApplyGridColumns(grid);
  EXPECT_TRUE(grid.isColumnHidden(0));
  EXPECT_EQ(grid.columnWidth(1), 80);
  EXPECT_EQ(model.headerData(2, Qt::Horizontal).toString(), "CNPJ");
}
