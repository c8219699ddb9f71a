#pragma once

#include <QLabel>

// A label of a fixed size whose text changes often. Its size hint is its size: QLabel would
// lay out every new text only to find a size that a fixed widget never takes.
class FixedSizeLabel : public QLabel {
 public:
  FixedSizeLabel(QWidget* parent, QSize size) : QLabel(parent) { setFixedSize(size); }

  QSize sizeHint() const override { return minimumSize(); }
  QSize minimumSizeHint() const override { return minimumSize(); }
};
