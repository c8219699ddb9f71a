#include "ui/GridColumns.h"

#include <QAbstractItemModel>
#include <QFontMetrics>
#include <QHeaderView>
#include <QTableView>

#include <algorithm>

const std::array<GridColumn, 13>& GridColumns() {
  static const std::array<GridColumn, 13> columns{{
      {"COD_CAM", QStringLiteral("Código"), 0, false, 10},
      {"TIPO_CAM", QStringLiteral("Tipo"), 80, true, 20},
      {"CNPJ_CAM", QStringLiteral("CNPJ"), 0, true, 20},
      {"NOME_CAM", QStringLiteral("Nome do Candidato / Partido"), 400, true, 250},
      {"ANO_CAM", QStringLiteral("Ano Eleição"), 0, true, 10},
      {"LOGIN_INC_CAM", QString(), 0, false, 30},
      {"DTA_INC_CAM", QString(), 0, false, 18},
      {"LOGIN_ALT_CAM", QString(), 0, false, 30},
      {"DTA_ALT_CAM", QString(), 0, false, 18},
      {"NATJUR_CAM", QStringLiteral("Nat Jurid"), 64, true, 6},
      {"CNAE_CAM", QStringLiteral("CNAE"), 0, true, 10},
      {"DATACNPJ_CAM", QStringLiteral("Data Inserção CNPJ"), 120, true, 18},
      {"COD_TOM_CAM", QStringLiteral("Cód Tom"), 0, true, 10},
  }};
  return columns;
}

namespace {
QString TitleOf(const GridColumn& column) {
  return column.title.isEmpty() ? QString::fromLatin1(column.field) : column.title;
}
}  // namespace

int DefaultColumnWidth(const GridColumn& column, const QFontMetrics& cells,
                       const QFontMetrics& titles) {
  // Cell and title text each keep 2 px of room on either side.
  const int forCells = column.displayChars * cells.horizontalAdvance(u'0') + 4;
  const int forTitle = titles.horizontalAdvance(TitleOf(column)) + 4;
  return std::max(forCells, forTitle);
}

void ApplyGridColumns(QTableView& grid) {
  QAbstractItemModel* model = grid.model();
  if (model == nullptr) return;
  const QFontMetrics cells(grid.font());
  const QFontMetrics titles(grid.horizontalHeader()->font());
  for (int i = 0; i < static_cast<int>(GridColumns().size()) && i < model->columnCount(); ++i) {
    const GridColumn& column = GridColumns()[i];
    model->setHeaderData(i, Qt::Horizontal, TitleOf(column));
    grid.setColumnWidth(
        i, column.width != 0 ? column.width : DefaultColumnWidth(column, cells, titles));
    grid.setColumnHidden(i, !column.shown);
  }
}
