#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>

// Lays out and paints a widget whose content changes faster than a screen can show, at most
// once a frame: measuring and drawing text for every line of a large import would cost as much
// as the import's own work, and nobody sees more than one frame. Between frames the widget
// holds back its layout and its children's updates; the last content is shown when the pacer
// goes.
class PaintPacer {
 public:
  explicit PaintPacer(QWidget* widget);
  ~PaintPacer();
  PaintPacer(const PaintPacer&) = delete;
  PaintPacer& operator=(const PaintPacer&) = delete;

  // After new content: shows it now when a frame has passed since it was last shown.
  void changed();

 private:
  void show();
  void holdBack();

  QPointer<QWidget> widget_;
  QElapsedTimer sinceShown_;
};
