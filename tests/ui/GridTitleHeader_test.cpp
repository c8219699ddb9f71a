#include "ui/GridTitleHeader.h"

#include <QCoreApplication>
#include <QHoverEvent>
#include <QImage>
#include <QStandardItemModel>
#include <QTableView>

#include <gtest/gtest.h>

namespace {

void Hover(QWidget* viewport, QEvent::Type type, QPoint at) {
  QHoverEvent event(type, at, viewport->mapToGlobal(at), QPointF(-1, -1));
  QCoreApplication::sendEvent(viewport, &event);
}

QColor FaceOf(GridTitleHeader& header, int section) {
  const QImage image = header.viewport()->grab().toImage();
  return image.pixelColor(header.sectionViewportPosition(section) + 3, 3);
}

}  // namespace

TEST(GridTitleHeader, LightsUpTheTitleUnderThePointer) {
  QTableView grid;
  auto* header = new GridTitleHeader(&grid);
  grid.setHorizontalHeader(header);
  QStandardItemModel model(2, 4);
  grid.setModel(&model);
  grid.resize(500, 200);
  grid.show();

  const QColor resting = FaceOf(*header, 2);
  const QPoint onSection2(header->sectionViewportPosition(2) + 10, 5);
  Hover(header->viewport(), QEvent::HoverEnter, onSection2);
  EXPECT_EQ(header->hoveredSection(), 2);
  EXPECT_NE(FaceOf(*header, 2), resting);
  EXPECT_EQ(FaceOf(*header, 1), resting);

  Hover(header->viewport(), QEvent::HoverMove, {header->sectionViewportPosition(1) + 10, 5});
  EXPECT_EQ(header->hoveredSection(), 1);
  EXPECT_EQ(FaceOf(*header, 2), resting);

  Hover(header->viewport(), QEvent::HoverLeave, {-1, -1});
  EXPECT_EQ(header->hoveredSection(), -1);
  EXPECT_EQ(FaceOf(*header, 1), resting);
}

TEST(GridTitleHeader, TitlesCanBeClickedAndColumnsResized) {
  GridTitleHeader header;
  QStandardItemModel model(1, 3);
  header.setModel(&model);
  EXPECT_TRUE(header.sectionsClickable());
  for (int section = 0; section < 3; ++section)
    EXPECT_EQ(header.sectionResizeMode(section), QHeaderView::Interactive) << section;
}
