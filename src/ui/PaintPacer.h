#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>

// Paints a widget whose content changes faster than a screen can show, at most once a frame:
// laying out and painting text for every line of a large import would cost as much as the
// import's own work, and nobody sees more than one frame. Between frames the widget and its
// children hold back their updates; the last content is painted when the pacer goes.
class PaintPacer {
 public:
  explicit PaintPacer(QWidget* widget);
  ~PaintPacer();
  PaintPacer(const PaintPacer&) = delete;
  PaintPacer& operator=(const PaintPacer&) = delete;

  // After new content: paints it now when a frame has passed since the last painting.
  void changed();

 private:
  void paintNow();

  QPointer<QWidget> widget_;
  QElapsedTimer sincePainted_;
};
