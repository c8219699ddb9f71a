#pragma once

#include <QHeaderView>

// The grid's row-indicator column: a narrow vertical header that marks the current row with a
// triangle instead of showing row numbers.
class RowIndicatorHeader : public QHeaderView {
  Q_OBJECT

 public:
  explicit RowIndicatorHeader(QWidget* parent = nullptr);

  void setSelectionModel(QItemSelectionModel* selectionModel) override;

 protected:
  void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
};
