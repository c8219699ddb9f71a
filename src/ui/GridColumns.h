#pragma once

#include <QString>

#include <array>

class QFontMetrics;
class QTableView;

// The columns of the contributor grid, in the order in which the model delivers the fields.
struct GridColumn {
  const char* field;
  QString title;  // empty: the column shows its field name
  int width;      // 0: wide enough for displayChars of the grid's font
  bool shown;
  int displayChars;  // the field's display width in characters
};

const std::array<GridColumn, 13>& GridColumns();

// The width a column without a width of its own gets: its field's display width in digit
// widths of the grid's font, never narrower than its title in the title font.
int DefaultColumnWidth(const GridColumn& column, const QFontMetrics& cells,
                       const QFontMetrics& titles);

// Titles, widths and hidden flags; call it again whenever the grid gets a new model.
void ApplyGridColumns(QTableView& grid);
