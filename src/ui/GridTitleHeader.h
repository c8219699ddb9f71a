#pragma once

#include <QHeaderView>

// The grid's title row: clickable titles that light up under the mouse pointer.
class GridTitleHeader : public QHeaderView {
  Q_OBJECT

 public:
  explicit GridTitleHeader(QWidget* parent = nullptr);

  // The section under the pointer, -1 when none.
  int hoveredSection() const { return hovered_; }

 protected:
  bool viewportEvent(QEvent* event) override;
  void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

 private:
  void setHovered(int logicalIndex);

  int hovered_ = -1;
};
