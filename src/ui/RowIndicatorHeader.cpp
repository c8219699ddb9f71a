#include "ui/RowIndicatorHeader.h"

#include <QItemSelectionModel>
#include <QPainter>
#include <QPolygonF>
#include <QStyleOptionHeader>

namespace {
constexpr int kWidth = 12;
}

RowIndicatorHeader::RowIndicatorHeader(QWidget* parent) : QHeaderView(Qt::Vertical, parent) {
  setFixedWidth(kWidth);
  setSectionResizeMode(QHeaderView::Fixed);
  setDefaultSectionSize(fontMetrics().height() + 4);
}

void RowIndicatorHeader::setSelectionModel(QItemSelectionModel* selectionModel) {
  QHeaderView::setSelectionModel(selectionModel);
  if (selectionModel == nullptr) return;
  connect(selectionModel, &QItemSelectionModel::currentRowChanged, viewport(),
          qOverload<>(&QWidget::update));
}

void RowIndicatorHeader::paintSection(QPainter* painter, const QRect& rect,
                                      int logicalIndex) const {
  QStyleOptionHeader option;
  initStyleOption(&option);
  option.rect = rect;
  option.section = logicalIndex;
  style()->drawControl(QStyle::CE_HeaderSection, &option, painter, this);

  if (selectionModel() == nullptr || selectionModel()->currentIndex().row() != logicalIndex) return;
  const QPointF centre = QRectF(rect).center();
  const qreal half = 3.5;
  const QPolygonF marker{{centre.x() - half / 2, centre.y() - half},
                         {centre.x() + half, centre.y()},
                         {centre.x() - half / 2, centre.y() + half}};
  painter->save();
  painter->setRenderHint(QPainter::Antialiasing);
  painter->setPen(Qt::NoPen);
  painter->setBrush(palette().color(QPalette::WindowText));
  painter->drawPolygon(marker);
  painter->restore();
}
