#include "ui/HotTrackButton.h"

#include <QStyleOptionButton>
#include <QStylePainter>

void HotTrackButton::enterEvent(QEnterEvent* event) {
  hot_ = true;
  update();
  QPushButton::enterEvent(event);
}

void HotTrackButton::leaveEvent(QEvent* event) {
  hot_ = false;
  update();
  QPushButton::leaveEvent(event);
}

void HotTrackButton::paintEvent(QPaintEvent* event) {
  if (!hot_ || !isEnabled()) {
    QPushButton::paintEvent(event);
    return;
  }
  QStylePainter painter(this);
  painter.fillRect(rect(), kHotTrack);
  painter.setPen(QPen(kHighlight, 2));
  painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));

  QStyleOptionButton option;
  initStyleOption(&option);
  option.palette.setColor(QPalette::ButtonText, palette().color(QPalette::Button));
  option.rect = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
  painter.drawControl(QStyle::CE_PushButtonLabel, option);
}
