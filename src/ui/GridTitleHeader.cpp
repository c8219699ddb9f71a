#include "ui/GridTitleHeader.h"

#include <QHoverEvent>
#include <QPainter>

GridTitleHeader::GridTitleHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
  setSectionsClickable(true);
  setHighlightSections(false);
  setSectionResizeMode(QHeaderView::Interactive);
  viewport()->setAttribute(Qt::WA_Hover);
}

bool GridTitleHeader::viewportEvent(QEvent* event) {
  switch (event->type()) {
    case QEvent::HoverEnter:
    case QEvent::HoverMove:
      setHovered(logicalIndexAt(static_cast<QHoverEvent*>(event)->position().toPoint()));
      break;
    case QEvent::HoverLeave:
      setHovered(-1);
      break;
    default:
      break;
  }
  return QHeaderView::viewportEvent(event);
}

void GridTitleHeader::setHovered(int logicalIndex) {
  if (logicalIndex == hovered_) return;
  hovered_ = logicalIndex;
  viewport()->update();
}

void GridTitleHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
  // The style's header drawing leaves the painter clipped; what follows must not be.
  painter->save();
  QHeaderView::paintSection(painter, rect, logicalIndex);
  painter->restore();
  if (logicalIndex != hovered_) return;
  QColor light = palette().color(QPalette::Highlight);
  light.setAlpha(48);
  painter->fillRect(rect, light);
}
