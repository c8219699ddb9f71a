#include "ui/PaintPacer.h"

namespace {

// A screen refresh at 60 Hz.
constexpr qint64 kFrameMs = 16;

}  // namespace

PaintPacer::PaintPacer(QWidget* widget) : widget_(widget) {
  widget_->setUpdatesEnabled(false);
}

PaintPacer::~PaintPacer() {
  if (widget_) paintNow();
}

void PaintPacer::changed() {
  if (widget_ && (!sincePainted_.isValid() || sincePainted_.elapsed() >= kFrameMs)) {
    paintNow();
    widget_->setUpdatesEnabled(false);
  }
}

void PaintPacer::paintNow() {
  widget_->setUpdatesEnabled(true);
  widget_->repaint();
  sincePainted_.start();
}
