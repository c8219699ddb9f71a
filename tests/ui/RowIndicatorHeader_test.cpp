#include "ui/RowIndicatorHeader.h"

#include <QImage>
#include <QStandardItemModel>
#include <QTableView>

#include <gtest/gtest.h>

namespace {

// Pixels much darker than the header's face: the marker's.
int DarkPixels(const QImage& image, const QRect& area) {
  int count = 0;
  for (int y = area.top() + 2; y < area.bottom() - 1; ++y)
    for (int x = area.left() + 2; x < area.right() - 1; ++x)
      count += qGray(image.pixel(x, y)) < 100 ? 1 : 0;
  return count;
}

}  // namespace

TEST(RowIndicatorHeader, MarksTheCurrentRowOnlyAndShowsNoNumbers) {
  QTableView grid;
  auto* header = new RowIndicatorHeader(&grid);
  grid.setVerticalHeader(header);
  QStandardItemModel model(12, 3);
  grid.setModel(&model);
  grid.resize(300, 300);
  grid.show();

  for (int current : {0, 2, 5}) {
    grid.setCurrentIndex(model.index(current, 1));
    const QImage image = header->viewport()->grab().toImage();
    for (int row = 0; row < 6; ++row) {
      const QRect section(0, header->sectionViewportPosition(row), header->width(),
                          header->sectionSize(row));
      if (row == current)
        EXPECT_GT(DarkPixels(image, section), 4) << "row " << row;
      else
        EXPECT_EQ(DarkPixels(image, section), 0) << "row " << row << ", current " << current;
    }
  }
}

TEST(RowIndicatorHeader, IsANarrowColumn) {
  QTableView grid;
  grid.setVerticalHeader(new RowIndicatorHeader(&grid));
  QStandardItemModel model(120, 3);
  grid.setModel(&model);
  grid.resize(300, 300);
  grid.show();
  EXPECT_LE(grid.verticalHeader()->width(), 12);
}
