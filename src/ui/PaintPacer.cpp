#include "ui/PaintPacer.h"

#include <QEvent>
#include <QLayout>

namespace {

// A screen refresh at 60 Hz.
constexpr qint64 kFrameMs = 16;

}  // namespace

PaintPacer::PaintPacer(QWidget* widget) : widget_(widget), window_(widget->window()) {
  window_->installEventFilter(this);
  holdBack();
}

PaintPacer::~PaintPacer() {
  if (window_) window_->removeEventFilter(this);
  if (widget_ && !blocked_) show();
}

void PaintPacer::changed() {
  if (widget_ && !blocked_ && (!sinceShown_.isValid() || sinceShown_.elapsed() >= kFrameMs)) {
    show();
    holdBack();
  }
}

bool PaintPacer::eventFilter(QObject* watched, QEvent* event) {
  if (watched == window_ && widget_) {
    // While a box is up the widget paints freely, as it would be exposed and painted again.
    if (event->type() == QEvent::WindowBlocked && !blocked_) {
      blocked_ = true;
      show();
    } else if (event->type() == QEvent::WindowUnblocked && blocked_) {
      blocked_ = false;
      holdBack();
    }
  }
  return false;
}

void PaintPacer::show() {
  if (QLayout* layout = widget_->layout()) {
    layout->setEnabled(true);
    layout->activate();
  }
  widget_->setUpdatesEnabled(true);
  widget_->repaint();
  sinceShown_.start();
}

void PaintPacer::holdBack() {
  if (QLayout* layout = widget_->layout()) layout->setEnabled(false);
  widget_->setUpdatesEnabled(false);
}
