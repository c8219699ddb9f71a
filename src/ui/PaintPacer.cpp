#include "ui/PaintPacer.h"

#include <QLayout>

namespace {

// A screen refresh at 60 Hz.
constexpr qint64 kFrameMs = 16;

}  // namespace

PaintPacer::PaintPacer(QWidget* widget) : widget_(widget) {
  holdBack();
}

PaintPacer::~PaintPacer() {
  if (widget_) show();
}

void PaintPacer::changed() {
  if (widget_ && (!sinceShown_.isValid() || sinceShown_.elapsed() >= kFrameMs)) {
    show();
    holdBack();
  }
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
